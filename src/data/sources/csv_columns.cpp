#include "data/sources/csv_columns.h"

#include <algorithm>

#include "data/sources/typed_text.h"
#include "automation/text.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

constexpr int64_t kShortTextLimit = 255;

}  // namespace

void CsvColumnGuess::see(const CsvField& value) {
  if (value.isNull()) return;
  any_ = true;
  const std::string& text = value.text;
  const int64_t characters = characterCount(text);
  maxCharacters_ = std::max(maxCharacters_, characters);
  if (characters > kShortTextLimit || std::count(text.begin(), text.end(), '#') >= 2) longText_ = true;
  if (whole_ || decimal_) {
    // Once a decimal has been seen, a whole number is one more decimal: it is read as one.
    if (const auto n = whole_ ? parseWholeNumber(text) : std::nullopt) {
      if (*n < INT32_MIN || *n > INT32_MAX) wide_ = true;
      date_ = boolean_ = false;
      return;
    }
    whole_ = false;
    if (decimal_ && parseDecimal(text)) {
      date_ = boolean_ = false;
      return;
    }
    decimal_ = false;
  }
  if (date_) date_ = parseIsoDateTime(text).has_value();
  if (boolean_) boolean_ = parseTrueFalse(text).has_value();
}

FieldInfo CsvColumnGuess::field(std::string name) const {
  using namespace ado;
  int32_t type;
  if (!any_) {
    type = adVarWChar;
  } else if (whole_) {
    type = wide_ ? adBigInt : adInteger;
  } else if (decimal_) {
    type = adDouble;
  } else if (date_) {
    type = adDBTimeStamp;
  } else if (boolean_) {
    type = adBoolean;
  } else {
    type = longText_ ? adLongVarWChar : adVarWChar;
  }
  int32_t size = defaultDefinedSize(type);
  if (type == adVarWChar) size = static_cast<int32_t>(std::max<int64_t>(maxCharacters_, 1));
  return FieldInfo{std::move(name), type, size, sourceAttributes(type)};
}

}  // namespace quelo
