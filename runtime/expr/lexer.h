#pragma once
// Splits expression text into tokens.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/expr/problems.h"

namespace vrt::expr {

enum class Tok : unsigned char {
  End, Number, Text, Name, Picture,
  LParen, RParen, Comma,
  Plus, Minus, Star, Slash, Percent, Caret, Amp,
  Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
  Not, And, Or,
};

struct Token {
  Tok kind = Tok::End;
  std::size_t offset = 0;  // byte offset in the text
  std::size_t length = 0;  // bytes of source text
  std::string text;        // names as written, text constants without quotes, picture text
  double number = 0;
};

// 1-based character position of a byte offset.
int characterPosition(std::string_view text, std::size_t offset);
// The error for `p` found at byte `offset` of `text`; the message names the position.
ParseError parseError(Problem p, std::string_view text, std::size_t offset, std::string_view detail = {});

// The tokens of `text`, ending with Tok::End; nullopt with `error` set when a character
// cannot start a token, a text constant is not closed, or a picture is unknown.
std::optional<std::vector<Token>> tokenize(std::string_view text, ParseError& error);

}  // namespace vrt::expr
