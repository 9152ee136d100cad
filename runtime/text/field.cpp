#include "runtime/text/field.h"

namespace vrt {

const char* fieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::Long: return "LONG";
    case FieldType::Byte: return "BYTE";
    case FieldType::Date: return "DATE";
    case FieldType::Time: return "TIME";
    case FieldType::String: return "STRING";
    case FieldType::CString: return "CSTRING";
    case FieldType::Decimal: return "DECIMAL";
    case FieldType::Group: return "GROUP";
  }
  return "?";
}

bool isTextType(FieldType type) {
  return type == FieldType::String || type == FieldType::CString || type == FieldType::Group;
}

}  // namespace vrt
