#pragma once
// Every table of the dictionary, with its typed field and key handles.
#include "dictionary/tables/people.h"
#include "dictionary/tables/picklists.h"
#include "dictionary/tables/prayer.h"
#include "dictionary/tables/worship.h"
