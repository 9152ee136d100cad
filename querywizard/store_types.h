#pragma once
// The one place this library reaches the store's error conditions and table declarations.
#include "runtime/store/errors.h"
#include "runtime/store/schema.h"
