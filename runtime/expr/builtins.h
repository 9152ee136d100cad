#pragma once
// Implementations of the standard functions, by group; the table in functions.cpp names them.
#include "runtime/expr/functions.h"

namespace vrt::expr::builtins {

// Text: builtins_text.cpp
Value sub(Args& a);
Value instring(Args& a);
Value clip(Args& a);
Value left(Args& a);
Value right(Args& a);
Value center(Args& a);
Value all(Args& a);
Value len(Args& a);
Value upper(Args& a);
Value lower(Args& a);
Value isAlpha(Args& a);
Value isUpper(Args& a);
Value isLower(Args& a);
Value numeric(Args& a);
Value val(Args& a);
Value chr(Args& a);
Value format(Args& a);
Value deformat(Args& a);
Value matchWords(Args& a);

// Numbers: builtins_math.cpp
Value abs(Args& a);
Value integer(Args& a);
Value round(Args& a);
Value sqrt(Args& a);
Value log10(Args& a);
Value loge(Args& a);
Value sin(Args& a);
Value cos(Args& a);
Value tan(Args& a);
Value asin(Args& a);
Value acos(Args& a);
Value atan(Args& a);
Value random(Args& a);

// Dates and times: builtins_dates.cpp
Value date(Args& a);
Value day(Args& a);
Value month(Args& a);
Value year(Args& a);
Value today(Args& a);
Value clock(Args& a);
Value age(Args& a);

// Choices and tests: builtins_choice.cpp
Value choose(Args& a);
Value inlist(Args& a);
Value inrange(Args& a);
Value match(Args& a);
Value null(Args& a);

}  // namespace vrt::expr::builtins
