#pragma once
// The one place this library reaches the store's error conditions and table declarations.
#include "runtime/data/errors.h"
#include "runtime/data/schema.h"
