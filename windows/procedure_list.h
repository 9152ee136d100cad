#pragma once
// Every procedure registered by name (procedures.h), for checks that cover each screen the
// program has, such as every window having its page in the user guide.
#include <string>
#include <vector>

namespace vesp {

// The registered names, upper-cased, in alphabetical order.
std::vector<std::string> RegisteredProcedures();

}  // namespace vesp
