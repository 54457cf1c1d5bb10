#include "report/field_class.h"

#include "data/recordset/ado.h"
#include "data/recordset/field_list.h"

namespace quelo {
namespace {

// The fallback class, from the whole attribute value.
FieldKind attributeClass(int16_t attributes) {
  switch (attributes) {
    case 90:
    case 118:
      return FieldKind::Number;
    case 102:
    case 106:
      return FieldKind::Text;
    case 122:
      return FieldKind::Date;
    case 230:
    case 234:
      return FieldKind::Hyperlink;
    default:
      return FieldKind::Others;
  }
}

}  // namespace

FieldKind fieldClass(int16_t attributes, int16_t type) {
  using namespace ado;
  if (isNumber(type)) return FieldKind::Number;
  switch (type) {
    case adBoolean:
      return FieldKind::Boolean;
    case adUserDefined:
    case adVariant:
    case adGUID:
    case adBinary:
    case adVarBinary:
    case adLongVarBinary:
      return FieldKind::Others;
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      return FieldKind::Date;
    case adBSTR:
    case adChar:
    case adVarChar:
    case adLongVarChar:
    case adWChar:
    case adVarWChar:
      return FieldKind::Text;
    case adLongVarWChar:
      return attributeClass(attributes) == FieldKind::Hyperlink ? FieldKind::Hyperlink
                                                                : FieldKind::Text;
    default:
      return attributeClass(attributes);
  }
}

FieldKind fieldClass(const FieldInfo& field) {
  const bool fits = field.attributes >= 0 && field.attributes <= 0x7FFF;
  const int16_t attributes = fits ? static_cast<int16_t>(field.attributes) : int16_t{-1};
  const bool typeFits = field.type >= 0 && field.type <= 0x7FFF;
  return fieldClass(attributes, typeFits ? static_cast<int16_t>(field.type) : int16_t{-1});
}

}  // namespace quelo
