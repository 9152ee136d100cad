#pragma once
// What the expression builder offers: its categories, the functions of each syntax with
// their «parameter» templates and one-line descriptions, the operators and the constants.
#include <string>
#include <vector>

namespace qrywiz {

struct BuilderEntry {
  std::string name;         // as listed
  std::string insertText;   // what choosing it inserts (a template for functions)
  std::string description;  // the line shown below the list
};

inline constexpr const char* kBuilderCategories[] = {
    "Application Data", "All Functions", "Math & Trig Functions", "Text Functions",
    "Date & Time Functions", "Other Functions", "Constants"};
inline constexpr int kBuilderCategoryCount = 7;

// The functions of a category (2 to 6; 2 is every function in alphabetical order).
std::vector<BuilderEntry> builderFunctions(int category, bool sqlSyntax);

struct BuilderOperator {
  const char* use;
  const char* caption;
  const char* text;
  const char* name;  // its tip
};
const std::vector<BuilderOperator>& builderOperators();

// The constants category: text, number, date and time.
const std::vector<BuilderEntry>& builderConstants();

}  // namespace qrywiz
