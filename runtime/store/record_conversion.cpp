#include "runtime/store/record_conversion.h"

namespace vrt::store {

namespace {

void copyField(const FieldDesc& from, const RecordRef& src, const FieldDesc& to, RecordRef& dst) {
  const bool fromText = isTextType(from.type), toText = isTextType(to.type);
  if (fromText || toText) dst.setText(to, src.text(from));
  else if (from.type == FieldType::Decimal && to.type == FieldType::Decimal)
    dst.set(DecimalField{to.offset}, src.get(DecimalField{from.offset}));
  else dst.setNumber(to, src.number(from));
}

}  // namespace

RecordConversion::RecordConversion(const TableSchema& from, const TableSchema& to) : from_(from), to_(to) {
  for (std::size_t i = 0; i < to.fields.size(); ++i) {
    if (!to.isStored(static_cast<int>(i))) continue;
    const int old = from.fieldIndex(to.fields[i].name);
    if (old >= 0 && from.isStored(old)) pairs_.emplace_back(old, static_cast<int>(i));
  }
}

void RecordConversion::apply(const RecordRef& src, RecordBuffer& dst) const {
  dst.clearAll(to_.fields);
  for (auto [from, to] : pairs_)
    copyField(from_.fields[static_cast<std::size_t>(from)], src, to_.fields[static_cast<std::size_t>(to)], dst);
}

}  // namespace vrt::store
