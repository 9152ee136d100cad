#include "runtime/expr/problems.h"

#include "runtime/data/errors.h"

namespace vrt::expr {

namespace {

struct ProblemEntry {
  Problem problem;
  int code;
  const char* text;  // "%1" stands for the detail
};

constexpr ProblemEntry kProblems[] = {
    {Problem::EmptyExpression, kExpressionSyntax, "The expression is empty"},
    {Problem::UnexpectedCharacter, kExpressionSyntax, "Unexpected character %1"},
    {Problem::UnterminatedText, kExpressionSyntax, "A text constant has no closing quote"},
    {Problem::UnknownPicture, kExpressionSyntax, "Unknown picture %1"},
    {Problem::NumberTooLarge, kExpressionSyntax, "The number %1 is too large"},
    {Problem::MissingValue, kExpressionSyntax, "A value is missing before %1"},
    {Problem::MissingCloseParen, kExpressionSyntax, "A closing parenthesis is missing before %1"},
    {Problem::MissingOperator, kExpressionSyntax, "An operator is missing before %1"},
    {Problem::NestedTooDeeply, kExpressionSyntax, "The expression is nested too deeply"},
    {Problem::UnknownName, kUnknownName, "Unknown name %1"},
    {Problem::UnknownFunction, kUnknownName, "Unknown function %1"},
    {Problem::TooFewArguments, kExpressionSyntax, "Too few arguments for %1"},
    {Problem::TooManyArguments, kExpressionSyntax, "Too many arguments for %1"},
    {Problem::NoLongerBound, kUnknownName, "%1 is no longer bound"},
    {Problem::DivisionByZero, kBadArgument, "Division by zero"},
    {Problem::OutOfRange, kBadArgument, "The result of %1 is out of range"},
    {Problem::InvalidArgument, kBadArgument, "Invalid argument for %1"},
    {Problem::InvalidPicture, kBadArgument, "Invalid picture %1"},
    {Problem::TextTooLong, kBadArgument, "The text made by %1 is too long and was cut"},
};

const ProblemEntry& entry(Problem p) {
  for (const auto& e : kProblems)
    if (e.problem == p) return e;
  return kProblems[0];
}

}  // namespace

int problemCode(Problem p) { return entry(p).code; }

std::string problemText(Problem p, std::string_view detail) {
  std::string text = entry(p).text;
  if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, detail);
  return text;
}

}  // namespace vrt::expr
