#include "runtime/expr/parser.h"

#include <array>

#include "runtime/expr/functions.h"
#include "runtime/expr/lexer.h"

namespace vrt::expr {

namespace {

// Precedence from the loosest binding to the tightest; primaries come after the last level.
struct Level {
  enum Form { Infix, Prefix } form;
  std::array<std::pair<Tok, Op>, 6> ops;
  int opCount;
  bool signedOperands = false;  // right operands may carry a sign ("2 ^ -1"), nothing more
};

constexpr Level kLevels[] = {
    {Level::Infix, {{{Tok::Or, Op::Or}}}, 1},
    {Level::Infix, {{{Tok::And, Op::And}}}, 1},
    {Level::Prefix, {{{Tok::Not, Op::Not}}}, 1},
    {Level::Infix,
     {{{Tok::Equal, Op::Equal},
       {Tok::NotEqual, Op::NotEqual},
       {Tok::Less, Op::Less},
       {Tok::Greater, Op::Greater},
       {Tok::LessEqual, Op::LessEqual},
       {Tok::GreaterEqual, Op::GreaterEqual}}},
     6},
    {Level::Infix, {{{Tok::Amp, Op::Concat}}}, 1},
    {Level::Infix, {{{Tok::Plus, Op::Add}, {Tok::Minus, Op::Subtract}}}, 2},
    {Level::Infix, {{{Tok::Star, Op::Multiply}, {Tok::Slash, Op::Divide}, {Tok::Percent, Op::Modulo}}}, 3},
    {Level::Prefix, {{{Tok::Minus, Op::Negate}, {Tok::Plus, Op::Plus}}}, 2},
    {Level::Infix, {{{Tok::Caret, Op::Power}}}, 1, true},
};
constexpr int kLevelCount = static_cast<int>(std::size(kLevels));

const std::pair<Tok, Op>* findOp(const Level& level, Tok kind) {
  for (int i = 0; i < level.opCount; ++i)
    if (level.ops[static_cast<std::size_t>(i)].first == kind) return &level.ops[static_cast<std::size_t>(i)];
  return nullptr;
}

class Parser {
 public:
  Parser(std::string_view text, std::vector<Token> tokens, ParseError& error)
      : text_(text), tokens_(std::move(tokens)), error_(error) {}

  NodePtr whole() {
    NodePtr n = expression();
    if (n && !expect(Tok::End, Problem::MissingOperator)) return nullptr;
    return n;
  }

  std::optional<std::vector<ParsedComponent>> components() {
    std::vector<ParsedComponent> list;
    if (peek().kind == Tok::End) return list;
    for (;;) {
      ParsedComponent c;
      if (peek().kind == Tok::Minus || peek().kind == Tok::Plus) c.descending = take().kind == Tok::Minus;
      const std::size_t start = peek().offset;
      c.node = expression();
      if (!c.node) return std::nullopt;
      c.text = std::string(text_.substr(start, consumedEnd_ - start));
      list.push_back(std::move(c));
      if (peek().kind != Tok::Comma) break;
      take();
    }
    if (!expect(Tok::End, Problem::MissingOperator)) return std::nullopt;
    return list;
  }

 private:
  // Counts nesting for the length of a parenthesis, call or prefix operator.
  class Nest {
   public:
    explicit Nest(Parser& p) : p_(p) { ++p_.depth_; }
    ~Nest() { --p_.depth_; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;
    bool tooDeep() {
      if (p_.depth_ <= kMaxNesting) return false;
      p_.fail(Problem::NestedTooDeeply, p_.peek());
      return true;
    }

   private:
    Parser& p_;
  };

  NodePtr expression() { return level(0); }

  NodePtr level(int i) {
    if (i == kLevelCount) return primary();
    const Level& lv = kLevels[i];
    return lv.form == Level::Prefix ? prefix(i) : infix(i);
  }

  NodePtr prefix(int i) {
    const auto* op = findOp(kLevels[i], peek().kind);
    if (!op) return level(i + 1);
    const Token& t = take();
    Nest nest(*this);
    if (nest.tooDeep()) return nullptr;
    NodePtr operand = prefix(i);
    if (!operand) return nullptr;
    NodePtr n = make(Node::Kind::Unary, t);
    n->ops.push_back(op->second);
    n->operands.push_back(std::move(operand));
    return n;
  }

  NodePtr infix(int i) {
    const Level& lv = kLevels[i];
    NodePtr first = level(i + 1);
    if (!first) return nullptr;
    const auto* op = findOp(lv, peek().kind);
    if (!op) return first;
    NodePtr chain = std::make_unique<Node>();
    chain->kind = Node::Kind::Chain;
    chain->position = first->position;
    chain->operands.push_back(std::move(first));
    for (; op; op = findOp(lv, peek().kind)) {
      take();
      NodePtr next = lv.signedOperands ? signedPrimary() : level(i + 1);
      if (!next) return nullptr;
      chain->ops.push_back(op->second);
      chain->operands.push_back(std::move(next));
    }
    return chain;
  }

  NodePtr signedPrimary() {
    const Token& t = peek();
    if (t.kind != Tok::Minus && t.kind != Tok::Plus) return primary();
    take();
    Nest nest(*this);
    if (nest.tooDeep()) return nullptr;
    NodePtr operand = signedPrimary();
    if (!operand) return nullptr;
    NodePtr n = make(Node::Kind::Unary, t);
    n->ops.push_back(t.kind == Tok::Minus ? Op::Negate : Op::Plus);
    n->operands.push_back(std::move(operand));
    return n;
  }

  NodePtr primary() {
    const Token& t = peek();
    switch (t.kind) {
      case Tok::Number: {
        NodePtr n = make(Node::Kind::Literal, take());
        n->literal = Value::number(t.number);
        return n;
      }
      case Tok::Text:
      case Tok::Picture: {
        NodePtr n = make(Node::Kind::Literal, take());
        n->literal = Value::text(t.text);
        return n;
      }
      case Tok::LParen: {
        take();
        Nest nest(*this);
        if (nest.tooDeep()) return nullptr;
        NodePtr inner = expression();
        if (!inner || !expect(Tok::RParen, Problem::MissingCloseParen)) return nullptr;
        return inner;
      }
      case Tok::Name:
        return tokens_[pos_ + 1].kind == Tok::LParen ? call() : name();
      default:
        fail(Problem::MissingValue, t);
        return nullptr;
    }
  }

  NodePtr name() {
    const Token& t = take();
    auto binding = findBinding(t.text);
    if (!binding) return fail(Problem::UnknownName, t, t.text);
    NodePtr n = make(Node::Kind::Name, t);
    n->name = t.text;
    n->binding = std::move(binding);
    return n;
  }

  NodePtr call() {
    const Token& t = take();
    const Function* f = findFunction(t.text);
    if (!f) return fail(Problem::UnknownFunction, t, t.text);
    take();  // "("
    Nest nest(*this);
    if (nest.tooDeep()) return nullptr;
    NodePtr n = make(Node::Kind::Call, t);
    n->function = f;
    if (peek().kind != Tok::RParen) {
      for (;;) {
        NodePtr arg = expression();
        if (!arg) return nullptr;
        n->operands.push_back(std::move(arg));
        if (peek().kind != Tok::Comma) break;
        take();
      }
    }
    if (!expect(Tok::RParen, Problem::MissingCloseParen)) return nullptr;
    const auto count = static_cast<int>(n->operands.size());
    if (count < f->minArgs) return fail(Problem::TooFewArguments, t, f->name);
    if (count > f->maxArgs) return fail(Problem::TooManyArguments, t, f->name);
    return n;
  }

  const Token& peek() const { return tokens_[pos_]; }
  const Token& take() {
    const Token& t = tokens_[pos_];
    if (pos_ + 1 < tokens_.size()) ++pos_;
    consumedEnd_ = t.offset + t.length;
    return t;
  }

  bool expect(Tok kind, Problem otherwise) {
    if (peek().kind == kind) {
      take();
      return true;
    }
    fail(otherwise, peek());
    return false;
  }

  NodePtr make(Node::Kind kind, const Token& t) const {
    NodePtr n = std::make_unique<Node>();
    n->kind = kind;
    n->position = characterPosition(text_, t.offset);
    return n;
  }

  // Reports `p` at token `t`; the detail defaults to the token as written.
  NodePtr fail(Problem p, const Token& t, std::string_view detail = {}) {
    if (error_.code != 0) return nullptr;
    std::string shown(detail);
    if (shown.empty())
      shown = t.kind == Tok::End ? "the end of the expression" : "'" + std::string(text_.substr(t.offset, t.length)) + "'";
    error_ = parseError(p, text_, t.offset, shown);
    return nullptr;
  }

  std::string_view text_;
  std::vector<Token> tokens_;
  ParseError& error_;
  std::size_t pos_ = 0;
  std::size_t consumedEnd_ = 0;  // byte offset just after the last token taken
  int depth_ = 0;
};

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

}  // namespace

NodePtr parseTree(std::string_view text, ParseError& error) {
  error = ParseError{};
  if (isBlank(text)) {
    error = parseError(Problem::EmptyExpression, text, 0);
    return nullptr;
  }
  auto tokens = tokenize(text, error);
  if (!tokens) return nullptr;
  return Parser(text, std::move(*tokens), error).whole();
}

std::optional<std::vector<ParsedComponent>> parseComponents(std::string_view text, ParseError& error) {
  error = ParseError{};
  auto tokens = tokenize(text, error);
  if (!tokens) return std::nullopt;
  return Parser(text, std::move(*tokens), error).components();
}

}  // namespace vrt::expr
