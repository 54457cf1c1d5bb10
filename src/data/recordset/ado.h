// The published ADO numbering that record sets report: data type codes, field attribute bits,
// cursor and lock types, and the error numbers of record-set operations.
#pragma once

#include <cstdint>
#include <string_view>

#include "automation/status.h"

namespace quelo::ado {

// DataTypeEnum.
enum DataType : int32_t {
  adEmpty = 0,
  adSmallInt = 2,
  adInteger = 3,
  adSingle = 4,
  adDouble = 5,
  adCurrency = 6,
  adDate = 7,
  adBSTR = 8,
  adIDispatch = 9,
  adError = 10,
  adBoolean = 11,
  adVariant = 12,
  adIUnknown = 13,
  adDecimal = 14,
  adTinyInt = 16,
  adUnsignedTinyInt = 17,
  adUnsignedSmallInt = 18,
  adUnsignedInt = 19,
  adBigInt = 20,
  adUnsignedBigInt = 21,
  adGUID = 72,
  adBinary = 128,
  adChar = 129,
  adWChar = 130,
  adNumeric = 131,
  adUserDefined = 132,
  adDBDate = 133,
  adDBTime = 134,
  adDBTimeStamp = 135,
  adChapter = 136,
  adVarNumeric = 139,
  adVarChar = 200,
  adLongVarChar = 201,
  adVarWChar = 202,
  adLongVarWChar = 203,
  adVarBinary = 204,
  adLongVarBinary = 205,
};

// FieldAttributeEnum bits.
enum FieldAttribute : int32_t {
  adFldMayDefer = 0x2,
  adFldUpdatable = 0x4,
  adFldUnknownUpdatable = 0x8,
  adFldFixed = 0x10,
  adFldIsNullable = 0x20,
  adFldMayBeNull = 0x40,
  adFldLong = 0x80,
  adFldRowID = 0x100,
  adFldRowVersion = 0x200,
  adFldCacheDeferred = 0x1000,
  adFldKeyColumn = 0x8000,
};

enum CursorType : int32_t {
  adOpenUnspecified = -1,
  adOpenForwardOnly = 0,
  adOpenKeyset = 1,
  adOpenDynamic = 2,
  adOpenStatic = 3,
};

enum LockType : int32_t {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4,
};

enum ObjectState : int32_t { adStateClosed = 0, adStateOpen = 1 };

inline constexpr int32_t adGetRowsRest = -1;

// Attribute sets that data sources report, by the kind of column: text 102, numbers 118, dates
// 122, long text 230.
inline constexpr int32_t kTextAttributes = adFldMayDefer | adFldUpdatable | adFldIsNullable | adFldMayBeNull;
inline constexpr int32_t kNumberAttributes = kTextAttributes | adFldFixed;
inline constexpr int32_t kDateAttributes = (kNumberAttributes & ~adFldUpdatable) | adFldUnknownUpdatable;
inline constexpr int32_t kLongTextAttributes = kTextAttributes | adFldLong;
static_assert(kTextAttributes == 102 && kNumberAttributes == 118 && kDateAttributes == 122 &&
              kLongTextAttributes == 230);

// Whether values of the type have a fixed size (numbers, dates, Booleans, GUIDs).
bool isFixedSize(int32_t type);
// Whether the type is one of the numeric types.
bool isNumber(int32_t type);
// The attributes a data source reports for a column of the type: numbers 118, dates 122, long
// Unicode text 230, everything else (text, Booleans, GUIDs, binary) 102.
int32_t sourceAttributes(int32_t type);
// The attributes of a field appended without any: nullable and updatable, plus the fixed bit for
// fixed-size types (118 or 102). The long bit is left out, so such a field never counts as a
// link field; a field copied from another carries that field's attributes instead.
int32_t appendedAttributes(int32_t type);
// The defined size of a column of the type whose length is not declared.
int32_t defaultDefinedSize(int32_t type);

// Error numbers of record-set operations, with the texts that clients know.
inline constexpr int kErrArguments = 3001;
inline constexpr int kErrNoCurrentRecord = 3021;
inline constexpr int kErrNotAllowed = 3219;
inline constexpr int kErrNotSupported = 3251;
inline constexpr int kErrItemNotFound = 3265;
inline constexpr int kErrDuplicateName = 3367;
inline constexpr int kErrClosed = 3704;
inline constexpr int kErrOpen = 3705;
// A data source that fails (a bad query, malformed data, a host's records that throw): the
// provider's failure; the message says where and keeps the source's own words.
inline constexpr int kErrDataSource = 3000;

Error error(int number);
// Error 3251 for a feature the record set lacks ("bookmarks", "updating", "moving backward").
Error notSupported(std::string_view feature);
Error dataSourceError(std::string message);

}  // namespace quelo::ado
