#pragma once
// What can go wrong with an expression: when it is parsed (codes 800 and 801) and when it
// is evaluated (a value is still produced; the problem is reported beside it).
#include <string>
#include <string_view>

namespace vrt::expr {

enum class Problem {
  // Parsing.
  EmptyExpression,
  UnexpectedCharacter,
  UnterminatedText,
  UnknownPicture,
  NumberTooLarge,
  MissingValue,
  MissingCloseParen,
  MissingOperator,
  NestedTooDeeply,
  UnknownName,
  UnknownFunction,
  TooFewArguments,
  TooManyArguments,
  // Evaluation.
  NoLongerBound,
  DivisionByZero,
  OutOfRange,
  InvalidArgument,
  InvalidPicture,
  TextTooLong,
};

// The error code a problem is reported under (800, 801, or 91 for evaluation faults).
int problemCode(Problem p);
// The problem's text with `detail` (a name, a token) filled in.
std::string problemText(Problem p, std::string_view detail = {});

struct ParseError {
  int code = 0;      // 800 syntax, 801 unknown name
  int position = 0;  // 1-based character position in the text
  std::string message;
};

// The first problem met while evaluating; code 0 when there was none.
struct EvalError {
  int code = 0;
  int position = 0;
  std::string message;
  explicit operator bool() const { return code != 0; }
};

}  // namespace vrt::expr
