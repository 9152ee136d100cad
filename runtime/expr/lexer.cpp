#include "runtime/expr/lexer.h"

#include <charconv>
#include <cmath>

#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"

namespace vrt::expr {

namespace {

struct Symbol {
  std::string_view text;
  Tok kind;
};

// Longer symbols first, so that "<>" is not read as "<" and ">".
constexpr Symbol kSymbols[] = {
    {"<>", Tok::NotEqual}, {"<=", Tok::LessEqual}, {">=", Tok::GreaterEqual}, {"=<", Tok::LessEqual},
    {"=>", Tok::GreaterEqual}, {"(", Tok::LParen}, {")", Tok::RParen}, {",", Tok::Comma},
    {"+", Tok::Plus}, {"-", Tok::Minus}, {"*", Tok::Star}, {"/", Tok::Slash},
    {"%", Tok::Percent}, {"^", Tok::Caret}, {"&", Tok::Amp}, {"=", Tok::Equal},
    {"<", Tok::Less}, {">", Tok::Greater},
};

constexpr Symbol kWords[] = {{"NOT", Tok::Not}, {"AND", Tok::And}, {"OR", Tok::Or}};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameStart(char c) { return isLetter(c) || c == '_'; }
bool isNamePart(char c) { return isNameStart(c) || isDigit(c) || c == ':'; }
bool isPicturePart(char c) { return isLetter(c) || isDigit(c) || c == '.' || c == '-' || c == '_' || c == '/'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class Lexer {
 public:
  Lexer(std::string_view text, ParseError& error) : text_(text), error_(error) {}

  std::optional<std::vector<Token>> run() {
    std::vector<Token> tokens;
    for (;;) {
      while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
      if (pos_ == text_.size()) break;
      Token t;
      t.offset = pos_;
      if (!next(t)) return std::nullopt;
      t.length = pos_ - t.offset;
      tokens.push_back(std::move(t));
    }
    Token end;
    end.offset = text_.size();
    tokens.push_back(end);
    return tokens;
  }

 private:
  bool next(Token& t) {
    const char c = text_[pos_];
    if (isDigit(c) || (c == '.' && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1]))) return number(t);
    if (c == '\'') return quoted(t);
    if (c == '@') return picture(t);
    if (isNameStart(c)) return name(t);
    for (const auto& s : kSymbols) {
      if (text_.substr(pos_, s.text.size()) == s.text) {
        t.kind = s.kind;
        pos_ += s.text.size();
        return true;
      }
    }
    std::size_t end = pos_;
    utf8Next(text_, end);
    return fail(Problem::UnexpectedCharacter, pos_, "'" + std::string(text_.substr(pos_, end - pos_)) + "'");
  }

  bool number(Token& t) {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    }
    // An exponent, as numbers are written out when they are very large or small ("1e+20").
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      std::size_t j = pos_ + 1;
      if (j < text_.size() && (text_[j] == '+' || text_[j] == '-')) ++j;
      if (j < text_.size() && isDigit(text_[j])) {
        while (j < text_.size() && isDigit(text_[j])) ++j;
        pos_ = j;
      }
    }
    std::string digits(text_.substr(start, pos_ - start));
    if (digits.front() == '.') digits.insert(0, "0");
    t.kind = Tok::Number;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), t.number);
    if (ec != std::errc() || !std::isfinite(t.number)) return fail(Problem::NumberTooLarge, start, digits);
    return true;
  }

  bool quoted(Token& t) {
    const std::size_t start = pos_++;
    t.kind = Tok::Text;
    for (;;) {
      const std::size_t close = text_.find('\'', pos_);
      if (close == std::string_view::npos) return fail(Problem::UnterminatedText, start);
      t.text.append(text_.substr(pos_, close - pos_));
      pos_ = close + 1;
      if (pos_ < text_.size() && text_[pos_] == '\'') {  // '' stands for one quote
        t.text += '\'';
        ++pos_;
        continue;
      }
      return true;
    }
  }

  bool picture(Token& t) {
    const std::size_t start = pos_++;
    while (pos_ < text_.size() && isPicturePart(text_[pos_])) ++pos_;
    t.kind = Tok::Picture;
    t.text = std::string(text_.substr(start, pos_ - start));
    if (!Picture::parse(t.text)) return fail(Problem::UnknownPicture, start, t.text);
    return true;
  }

  bool name(Token& t) {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isNamePart(text_[pos_])) ++pos_;
    t.text = std::string(text_.substr(start, pos_ - start));
    t.kind = Tok::Name;
    const std::string upper = upperCase(t.text);
    for (const auto& w : kWords)
      if (upper == w.text) t.kind = w.kind;
    return true;
  }

  bool fail(Problem p, std::size_t offset, std::string_view detail = {}) {
    error_ = parseError(p, text_, offset, detail);
    return false;
  }

  std::string_view text_;
  ParseError& error_;
  std::size_t pos_ = 0;
};

}  // namespace

int characterPosition(std::string_view text, std::size_t offset) {
  return static_cast<int>(utf8Length(text.substr(0, std::min(offset, text.size())))) + 1;
}

ParseError parseError(Problem p, std::string_view text, std::size_t offset, std::string_view detail) {
  ParseError e;
  e.code = problemCode(p);
  e.position = characterPosition(text, offset);
  e.message = problemText(p, detail) + " at position " + std::to_string(e.position);
  return e;
}

std::optional<std::vector<Token>> tokenize(std::string_view text, ParseError& error) {
  return Lexer(text, error).run();
}

}  // namespace vrt::expr
