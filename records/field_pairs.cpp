#include "records/field_pairs.h"

#include "runtime/text/utf8.h"

namespace vesp {

using vrt::expr::Value;

ValueRef ValueRef::ofField(vrt::RecordRef record, const vrt::FieldDesc& field) {
  const bool text = vrt::isTextType(field.type);
  return ValueRef{[record, field, text] {
                    return text ? Value::text(record.text(field)) : Value::number(record.number(field));
                  },
                  [record, field, text](const Value& v) mutable {
                    if (text) record.setText(field, v.toText());
                    else record.setNumber(field, v.toNumber());
                  },
                  text};
}

ValueRef ValueRef::ofVariable(Value* variable) {
  return ValueRef{[variable] { return *variable; }, [variable](const Value& v) { *variable = v; },
                  variable->isText()};
}

ValueRef ValueRef::ofConstant(Value value) {
  const bool text = value.isText();
  return ValueRef{[value] { return value; }, {}, text};
}

void FieldPairs::AddPair(ValueRef left) {
  Value right = left.read();
  pairs_.push_back(Pair{std::move(left), std::move(right)});
}

bool FieldPairs::Equal() const {
  for (const Pair& p : pairs_)
    if (!(p.left.read() == p.right)) return false;
  return true;
}

void FieldPairs::AssignLeftToRight() {
  for (Pair& p : pairs_) p.right = p.left.read();
}

}  // namespace vesp
