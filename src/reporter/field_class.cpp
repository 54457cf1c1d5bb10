#include "reporter/field_class.h"

#include "data/recordset/ado.h"
#include "data/recordset/field_list.h"

namespace quelo {
namespace {

// The fallback class, from the whole attribute value.
std::string_view attributeClass(int16_t attributes) {
  switch (attributes) {
    case 90:
    case 118:
      return "number";
    case 102:
    case 106:
      return "text";
    case 122:
      return "date";
    case 230:
    case 234:
      return "hyperlink";
    default:
      return "others";
  }
}

}  // namespace

std::string_view FieldClass(int16_t attributes, int16_t type) {
  using namespace ado;
  if (isNumber(type)) return "number";
  switch (type) {
    case adBoolean:
      return "boolean";
    case adUserDefined:
    case adVariant:
    case adGUID:
    case adBinary:
    case adVarBinary:
    case adLongVarBinary:
      return "others";
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      return "date";
    case adBSTR:
    case adChar:
    case adVarChar:
    case adLongVarChar:
    case adWChar:
    case adVarWChar:
      return "text";
    case adLongVarWChar:
      return attributeClass(attributes) == "hyperlink" ? "hyperlink" : "text";
    default:
      return attributeClass(attributes);
  }
}

std::string_view FieldClass(const FieldInfo& field) {
  const bool fits = field.attributes >= 0 && field.attributes <= 0x7FFF;
  const int16_t attributes = fits ? static_cast<int16_t>(field.attributes) : int16_t{-1};
  const bool typeFits = field.type >= 0 && field.type <= 0x7FFF;
  return FieldClass(attributes, typeFits ? static_cast<int16_t>(field.type) : int16_t{-1});
}

}  // namespace quelo
