#include "data/recordset/ado.h"

#include <string>

namespace quelo::ado {

bool isFixedSize(int32_t type) {
  switch (type) {
    case adSmallInt:
    case adInteger:
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDate:
    case adBoolean:
    case adDecimal:
    case adTinyInt:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adBigInt:
    case adUnsignedBigInt:
    case adGUID:
    case adNumeric:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      return true;
    default:
      return false;
  }
}

bool isNumber(int32_t type) {
  switch (type) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adUnsignedBigInt:
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDecimal:
    case adNumeric:
      return true;
    default:
      return false;
  }
}

int32_t sourceAttributes(int32_t type) {
  if (isNumber(type)) return kNumberAttributes;
  switch (type) {
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      return kDateAttributes;
    case adLongVarWChar:
      return kLongTextAttributes;
    default:
      return kTextAttributes;
  }
}

int32_t appendedAttributes(int32_t type) {
  return isFixedSize(type) ? kNumberAttributes : kTextAttributes;
}

int32_t defaultDefinedSize(int32_t type) {
  switch (type) {
    case adTinyInt:
    case adUnsignedTinyInt:
      return 1;
    case adSmallInt:
    case adUnsignedSmallInt:
    case adBoolean:
      return 2;
    case adInteger:
    case adUnsignedInt:
    case adSingle:
      return 4;
    case adBigInt:
    case adUnsignedBigInt:
    case adDouble:
    case adCurrency:
    case adDate:
      return 8;
    case adDBDate:
    case adDBTime:
      return 6;
    case adDBTimeStamp:
    case adGUID:
    case adDecimal:
      return 16;
    case adNumeric:
      return 19;
    case adLongVarChar:
    case adLongVarWChar:
      return 536870910;
    case adLongVarBinary:
      return 2147483647;
    default:
      return 255;
  }
}

Error error(int number) {
  switch (number) {
    case kErrArguments:
      return makeError(number, "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.");
    case kErrNoCurrentRecord:
      return makeError(number, "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    case kErrNotAllowed:
      return makeError(number, "Operation is not allowed in this context.");
    case kErrItemNotFound:
      return makeError(number, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
    case kErrDuplicateName:
      return makeError(number, "Object is already in collection. Cannot append.");
    case kErrClosed:
      return makeError(number, "Operation is not allowed when the object is closed.");
    case kErrOpen:
      return makeError(number, "Operation is not allowed when the object is open.");
    default:
      return makeError(number, "Record set error " + std::to_string(number));
  }
}

Error notSupported(std::string_view feature) {
  return makeError(kErrNotSupported, "Current Recordset does not support " + std::string(feature) +
                                         ". This may be a limitation of the provider or of the selected cursor or lock type.");
}

Error dataSourceError(std::string message) { return makeError(kErrDataSource, std::move(message)); }

}  // namespace quelo::ado
