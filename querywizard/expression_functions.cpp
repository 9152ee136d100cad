#include "querywizard/expression_functions.h"

#include <algorithm>

namespace qrywiz {

namespace {

enum Group { Math = 3, Text = 4, DateTime = 5, Other = 6 };

struct FunctionRow {
  Group group;
  const char* name;
  const char* insertText;
  const char* description;
};

const FunctionRow kStandard[] = {
    {Math, "ABS", "ABS( «expression» )", "Returns the absolute value of a number."},
    {Math, "ACOS", "ACOS( «expression» )", "Returns the arc cosine of a number, in radians."},
    {Math, "ASIN", "ASIN( «expression» )", "Returns the arc sine of a number, in radians."},
    {Math, "ATAN", "ATAN( «expression» )", "Returns the arc tangent of a number, in radians."},
    {Math, "COS", "COS( «radians» )", "Returns the cosine of an angle given in radians."},
    {Math, "INT", "INT( «expression» )", "Returns the integer part of a number."},
    {Math, "LOG10", "LOG10( «expression» )", "Returns the base 10 logarithm of a number."},
    {Math, "LOGE", "LOGE( «expression» )", "Returns the natural logarithm of a number."},
    {Math, "ROUND", "ROUND( «expression», «order» )", "Rounds a number to the given power of ten."},
    {Math, "SIN", "SIN( «radians» )", "Returns the sine of an angle given in radians."},
    {Math, "SQRT", "SQRT( «expression» )", "Returns the square root of a number."},
    {Math, "TAN", "TAN( «radians» )", "Returns the tangent of an angle given in radians."},
    {DateTime, "AGE", "AGE( «birthdate», «base date» )", "Returns the age from a birth date, in years or months."},
    {DateTime, "CLOCK", "CLOCK()", "Returns the time of day now."},
    {DateTime, "DATE", "DATE( «month», «day», «year» )", "Returns the date of a month, day and year."},
    {DateTime, "DAY", "DAY( «date» )", "Returns the day of the month of a date."},
    {DateTime, "MONTH", "MONTH( «date» )", "Returns the month of a date."},
    {DateTime, "YEAR", "YEAR( «date» )", "Returns the year of a date."},
    {DateTime, "TODAY", "TODAY()", "Returns today's date."},
    {Text, "ALL", "ALL( «string», «length» )", "Returns a string repeated to the given length."},
    {Text, "CENTER", "CENTER( «string», «length» )", "Returns a string centred in the given length."},
    {Text, "CLIP", "CLIP( «string» )", "Removes trailing blanks from a string."},
    {Text, "DEFORMAT", "DEFORMAT( «string», «picture» )", "Removes the formatting of a picture from a string."},
    {Text, "FORMAT", "FORMAT( «value», «picture» )", "Returns a value formatted with a picture."},
    {Text, "ISALPHA", "ISALPHA( «string» )", "Tells whether a string begins with a letter."},
    {Text, "ISLOWER", "ISLOWER( «string» )", "Tells whether a string begins with a lower-case letter."},
    {Text, "ISUPPER", "ISUPPER( «string» )", "Tells whether a string begins with an upper-case letter."},
    {Text, "LEFT", "LEFT( «string», «length» )", "Returns a string left-justified, or its leftmost characters."},
    {Text, "LEN", "LEN( «string» )", "Returns the length of a string."},
    {Text, "LOWER", "LOWER( «string» )", "Returns a string in lower case."},
    {Text, "NUMERIC", "NUMERIC( «string» )", "Tells whether a string is a valid number."},
    {Text, "RIGHT", "RIGHT( «string», «length» )", "Returns a string right-justified, or its rightmost characters."},
    {Text, "SUB", "SUB( «string», «position», «length» )", "Returns part of a string."},
    {Text, "UPPER", "UPPER( «string» )", "Returns a string in upper case."},
    {Other, "CHOOSE", "CHOOSE( «expression», «value», «value» )", "Returns the value chosen by an index or a condition."},
    {Other, "CHR", "CHR( «code» )", "Returns the character of a character code."},
    {Other, "INLIST", "INLIST( «search», «value», «value» )", "Returns the position of a value in a list, or 0."},
    {Other, "INRANGE", "INRANGE( «expression», «low», «high» )", "Tells whether a value lies within a range."},
    {Other, "INSTRING", "INSTRING( «substring», «string», «step», «start» )", "Returns where a substring occurs in a string, or 0."},
    {Other, "MATCH", "MATCH( «first», «second», «mode» )", "Tells whether two values match as the mode says."},
    {Other, "NULL", "NULL( «field» )", "Tells whether a field holds no value."},
    {Other, "RANDOM", "RANDOM( «low», «high» )", "Returns a random whole number within a range."},
    {Other, "VAL", "VAL( «character» )", "Returns the character code of a character."},
};

const FunctionRow kSql[] = {
    {Math, "ABS", "ABS( «expression» )", "Returns the absolute value of a number."},
    {Math, "ROUND", "ROUND( «expression», «places» )", "Rounds a number to the given decimal places."},
    {Math, "SQRT", "SQRT( «expression» )", "Returns the square root of a number."},
    {Text, "SUBSTRING", "SUBSTRING( «string» FROM «start» FOR «length» )", "Returns part of a string."},
    {Text, "UPPER", "UPPER( «string» )", "Returns a string in upper case."},
    {Text, "LOWER", "LOWER( «string» )", "Returns a string in lower case."},
    {Text, "TRIM", "TRIM( «string» )", "Removes leading and trailing blanks from a string."},
    {Text, "POSITION", "POSITION( «substring» IN «string» )", "Returns where a substring occurs in a string, or 0."},
    {Text, "CHAR_LENGTH", "CHAR_LENGTH( «string» )", "Returns the length of a string."},
    {DateTime, "DAY", "DAY( «date» )", "Returns the day of the month of a date."},
    {DateTime, "MONTH", "MONTH( «date» )", "Returns the month of a date."},
    {DateTime, "YEAR", "YEAR( «date» )", "Returns the year of a date."},
    {Other, "BETWEEN", "«expression» BETWEEN «low» AND «high»", "Tells whether a value lies within a range."},
    {Other, "COALESCE", "COALESCE( «value», «value» )", "Returns the first of its values that is not null."},
    {Other, "LIKE", "«expression» LIKE «pattern»", "Tells whether a string matches a pattern with % and _."},
    {Other, "IN", "«expression» IN ( «value», «value» )", "Tells whether a value is one of a list."},
};

}  // namespace

std::vector<BuilderEntry> builderFunctions(int category, bool sqlSyntax) {
  std::vector<BuilderEntry> out;
  auto add = [&](const auto& rows) {
    for (const FunctionRow& r : rows)
      if (category == 2 || r.group == category) out.push_back({r.name, r.insertText, r.description});
  };
  if (sqlSyntax) add(kSql);
  else add(kStandard);
  if (category == 2)
    std::sort(out.begin(), out.end(), [](const BuilderEntry& a, const BuilderEntry& b) { return a.name < b.name; });
  return out;
}

const std::vector<BuilderOperator>& builderOperators() {
  static const std::vector<BuilderOperator> ops{
      {"?Add", "+", "+", "Addition"}, {"?Subtract", "-", "-", "Subtraction"},
      {"?Multiply", "*", "*", "Multiplication"}, {"?Divide", "/", "/", "Division"},
      {"?Modulus", "%", "%", "Modulus Division"}, {"?Power", "^", "^", "Exponentiation"},
      {"?Less", "<", "<", "Less Than"}, {"?Greater", ">", ">", "Greater Than"}, {"?Equal", "=", "=", "Equal To"},
      {"?NotEqual", "<>", "<>", "Not Equal To"}, {"?LessEqual", "<=", "<=", "Less Than Or Equal To"},
      {"?GreaterEqual", ">=", ">=", "Greater Than Or Equal To"}, {"?Group", "( )", "( )", "Logical Grouping"},
      {"?Concat", "&&", "&", "Concatenation"}, {"?And", "AND", "AND", "Boolean AND"},
      {"?Or", "OR", "OR", "Boolean OR"}, {"?Not", "NOT", "NOT", "Boolean (logical) NOT"},
  };
  return ops;
}

const std::vector<BuilderEntry>& builderConstants() {
  static const std::vector<BuilderEntry> constants{
      {"Text...", "text", "Enter an aplha numeric constant."},
      {"Number...", "number", "Enter a numeric constant."},
      {"Date...", "date", "Enter a date constant."},
      {"Time...", "time", "Enter a time constant."},
  };
  return constants;
}

}  // namespace qrywiz
