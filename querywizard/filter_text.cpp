#include "querywizard/filter_text.h"

#include <algorithm>
#include <cstdlib>

#include "querywizard/display_text.h"
#include "querywizard/globals.h"
#include "querywizard/hooks.h"
#include "querywizard/lists.h"
#include "runtime/expr/expression.h"
#include "querywizard/store_types.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

struct Operators {
  const char* standard;
  const char* sql;
};

// By operation code 1..12. Begins-with is written as a comparison of a cut field in the
// standard syntax; contains has no operator there.
constexpr Operators kOperators[] = {
    {"=", "="},  {"<>", "<>"}, {">", ">"},  {"<", "<"},          {"=>", ">="},       {"<=", "<="},
    {"=", "LIKE"}, {"", "LIKE"}, {"<>", "NOT LIKE"}, {"", "NOT LIKE"}, {"<>", "<>"}, {"=", "="},
};

const Operators& operatorsOf(std::uint8_t code) {
  static constexpr Operators none{"", ""};
  return code >= 1 && code <= 12 ? kOperators[code - 1] : none;
}

bool isChecking(std::uint8_t code) { return code == kIsChecked || code == kIsNotChecked; }
bool isBeginning(std::uint8_t code) { return code == kBeginsWith || code == kDoesNotBeginWith; }
bool isContaining(std::uint8_t code) { return code == kContains || code == kDoesNotContain; }

// A number a non-text constant may be written as bare: digits with an optional sign and point.
bool isPlainNumber(std::string_view v) {
  std::size_t i = 0, digits = 0;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) ++i;
  bool point = false;
  for (; i < v.size(); ++i) {
    if (v[i] >= '0' && v[i] <= '9') ++digits;
    else if (v[i] == '.' && !point) point = true;
    else return false;
  }
  return digits > 0;
}

// A non-text constant: bare when it is a number (dates and times are their stored numbers);
// anything else quoted, so that it stays one constant.
std::string numericConstant(const std::string& v) { return isPlainNumber(v) ? v : quotedConstant(v); }

struct Parts {
  std::string L, V, J;
  bool constant;
  bool namesField;
  bool expression;
};

Parts partsOf(const QueryElement& e) {
  Parts p;
  p.L = std::string(vrt::clip(e.FIELDNAME));
  p.V = std::string(vrt::clip(e.VALUE));
  p.J = std::string(vrt::clip(e.CONJUNCTION));
  p.namesField = e.CMPFLDQPOINTER != 0;
  p.expression = !p.namesField && e.EXPRESSION == 1;
  p.constant = !p.namesField && !p.expression;
  return p;
}

std::string containsText(const QueryElement& e, const Parts& p) {
  std::string x = p.constant ? "INSTRING(" + quotedConstant(p.V) + "," + p.L + ",1,1)"
                             : "INSTRING(" + p.V + "," + p.L + ",1,1)";
  if (e.OPCODE == kDoesNotContain) x = "NOT " + x;
  return " " + x + " " + p.J;
}

std::string standardElement(const QueryElement& e) {
  Parts p = partsOf(e);
  std::string op = operatorsOf(e.OPCODE).standard;
  if (isBeginning(e.OPCODE)) {
    // Another field or an expression is as long as its value is, record by record.
    const std::string length = p.constant ? std::to_string(vrt::utf8Length(p.V)) : "LEN(CLIP(" + p.V + "))";
    p.L = "SUB(" + p.L + ",1," + length + ")";
  }
  if (isChecking(e.OPCODE)) return " " + p.L + " " + op + " 0 " + p.J;
  if (e.DATATYPE < 2) {
    if (e.MATCHTYPE == 0) {
      p.L = "UPPER(" + p.L + ")";
      p.V = p.namesField ? "UPPER(" + p.V + ")" : vrt::upperCase(p.V);
    }
    if (isContaining(e.OPCODE)) return containsText(e, p);
    return " " + p.L + " " + op + " " + (p.constant ? quotedConstant(p.V) : p.V) + " " + p.J;
  }
  // A number has no "contains" operator; it is searched as its text.
  if (isContaining(e.OPCODE)) return containsText(e, p);
  if (e.MATCHTYPE == 1) {
    p.L = "ABS(" + p.L + ")";
    if (p.namesField) p.V = "ABS(" + p.V + ")";
  }
  return " " + p.L + " " + op + " " + (p.constant ? numericConstant(p.V) : p.V) + " " + p.J;
}

std::string sqlElement(const QueryElement& e) {
  Parts p = partsOf(e);
  std::string op = operatorsOf(e.OPCODE).sql;
  const bool nullTest = p.expression && vrt::upperCase(p.V) == "NULL";
  if (nullTest && (e.OPCODE == kIsEqualTo || e.OPCODE == kIsNotChecked)) op = "IS";
  if (nullTest && (e.OPCODE == kIsNotEqualTo || e.OPCODE == kIsChecked)) op = "IS NOT";
  // The wildcards belong inside a constant's quotes; a field or an expression stands as it is.
  std::string w;
  if (p.constant && isBeginning(e.OPCODE)) p.V += "%";
  if (p.constant && isContaining(e.OPCODE)) w = "%";
  if (isChecking(e.OPCODE)) return " " + p.L + " " + op + " 0 " + p.J;
  if (e.DATATYPE < 2) {
    const std::string upper(vrt::clip(XBQW_SqlUpper));
    if (e.MATCHTYPE == 0 && !upper.empty()) {
      p.L = upper + "(" + p.L + ")";
      p.V = p.namesField ? upper + "(" + p.V + ")" : vrt::upperCase(p.V);
    }
    return " " + p.L + " " + op + " " + (p.constant ? quotedConstant(w + p.V + w) : p.V) + " " + p.J;
  }
  // A pattern is text whatever the field holds.
  if (p.constant && (isBeginning(e.OPCODE) || isContaining(e.OPCODE)))
    return " " + p.L + " " + op + " " + quotedConstant(w + p.V + w) + " " + p.J;
  if (p.constant && (e.DATATYPE == 4 || e.DATATYPE == 5)) {
    const double number = std::strtod(p.V.c_str(), nullptr);
    const std::string picture = e.DATATYPE == 4 ? std::string(vrt::clip(XBQW_SqlDatePic)) : "@t4";
    return " " + p.L + " " + op + " " + quotedConstant(vrt::formatPicture(number, picture)) + " " + p.J;
  }
  if (e.MATCHTYPE == 1) {
    p.L = "ABS(" + p.L + ")";
    if (p.namesField) p.V = "ABS(" + p.V + ")";
  }
  return " " + p.L + " " + op + " " + (p.constant ? numericConstant(p.V) : p.V) + " " + p.J;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return vrt::clip(s);
}

// Where `token` first occurs in `text`, comparing upper-cased characters; npos when nowhere.
// `length` receives the bytes of `text` the match covers.
std::size_t findNoCase(std::string_view text, std::string_view token, std::size_t& length) {
  for (std::size_t start = 0; start < text.size(); vrt::utf8Next(text, start)) {
    std::size_t x = start, y = 0;
    bool same = true;
    while (same && y < token.size())
      same = x < text.size() && vrt::upperCaseChar(vrt::utf8Next(text, x)) == vrt::upperCaseChar(vrt::utf8Next(token, y));
    if (same) {
      length = x - start;
      return start;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string quotedConstant(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::string elementText(const QueryElement& element, Syntax syntax) {
  return syntax == Syntax::Sql ? sqlElement(element) : standardElement(element);
}

std::string assembleQuery(const CurrentQuery& query, Syntax syntax) {
  std::string text;
  for (const QueryElement& e : query) text += elementText(e, syntax);
  return std::string(trimmed(text));
}

bool queryFits(std::string_view text, std::size_t size) {
  if (vrt::clip(text).size() <= std::min(size, kFilterWidth)) return true;
  showMessage("The resulting query is too large. A query may hold at most " + std::to_string(std::min(size, kFilterWidth)) +
                  " characters.",
              "Query String Too Small");
  return false;
}

JoinedQuery joinQueries(std::string_view previous, std::string_view next, std::size_t filterSize,
                        std::string_view conjunction, std::string_view previousDescription,
                        std::string_view nextDescription, std::size_t descriptionSize) {
  const std::string_view p = vrt::clip(previous), n = vrt::clip(next);
  if (filterSize < p.size() + n.size() + 9) {
    showMessage("The resulting query is too large. The new query cannot be combined with the original query.",
                "Query String Too Small");
    return {false, std::string(n), std::string(vrt::clip(nextDescription))};
  }
  JoinedQuery j;
  j.joined = true;
  j.filter = "(" + std::string(p) + ") " + std::string(conjunction) + " (" + std::string(n) + ")";
  const std::string description = "(" + std::string(vrt::clip(previousDescription)) + ") " + std::string(conjunction) +
                                  " (" + std::string(vrt::clip(nextDescription)) + ")";
  j.description = description.size() <= descriptionSize ? description : "Multiple Queries Active";
  return j;
}

bool checkQueryText(std::string_view text) {
  const vrt::expr::Evaluation result = vrt::expr::evaluateText(text);
  if (result.code != vrt::kExpressionSyntax && result.code != vrt::kUnknownName) return true;
  showMessage(displayText(34), displayText(33));
  return false;
}

void XB_QWPARSE(std::string_view token, std::string_view value, std::string& query, std::size_t querySize) {
  const std::string_view t = vrt::clip(token);
  if (t.empty()) return;
  std::size_t length = 0;
  const std::size_t at = findNoCase(query, t, length);
  if (at == std::string_view::npos) return;
  std::string result = query.substr(0, at) + quotedConstant(vrt::clip(value)) + query.substr(at + length);
  // A cut filter would select other records than the query says: it stays as it was.
  if (result.size() > querySize) return;
  query = std::move(result);
}

}  // namespace qrywiz
