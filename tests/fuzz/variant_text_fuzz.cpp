// The Variant conversions from text (Val, IsNumeric, CDbl, CLng, CDate) and the shortest number text.
// No conversion yields a non-finite number; IsNumeric says yes exactly when CDbl converts; the
// text of a number reads back as the same number, to the 15 digits it keeps.
#include <climits>
#include <cmath>

#include "fuzz_support.h"
#include "automation/variant.h"

namespace {

void checkFormatted(double d) {
  if (!std::isfinite(d)) return;
  const std::string text = quelo::formatNumber(d);
  auto back = quelo::toDouble(quelo::Variant(text));
  if (!back) quelo::fuzz::finding("the text " + text + " of a number does not convert");
  const double x = back.value();
  if (quelo::val(text) != x) quelo::fuzz::finding("Val and CDbl read " + text + " differently");
  if (quelo::formatNumber(x) != text) quelo::fuzz::finding("the text " + text + " reads back as another number");
  if (std::fabs(x - d) > std::fabs(d) * 1e-14) quelo::fuzz::finding("the text " + text + " is far from the number");
  char fifteen[40];
  std::snprintf(fifteen, sizeof fifteen, "%.15g", d);
  if (std::strtod(fifteen, nullptr) == d && x != d) quelo::fuzz::finding("the text " + text + " loses a number of 15 digits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = quelo::fuzz::asText(data, size);
  const quelo::Variant v{std::string(text)};

  const double value = quelo::val(text);
  if (!std::isfinite(value)) quelo::fuzz::finding("Val gives a number that is not finite");
  checkFormatted(value);

  auto number = quelo::toDouble(v);
  if (static_cast<bool>(number) != quelo::isNumericText(text)) quelo::fuzz::finding("IsNumeric and CDbl disagree");
  if (number) {
    if (!std::isfinite(number.value())) quelo::fuzz::finding("CDbl gives a number that is not finite");
    checkFormatted(number.value());
    // CLng takes the same number, rounded half to even, or raises the overflow error.
    const double rounded = quelo::roundHalfEven(number.value());
    auto whole = quelo::toLong(v);
    const bool fits = rounded >= INT32_MIN && rounded <= INT32_MAX;
    if (static_cast<bool>(whole) != fits || (fits && whole.value() != rounded)) quelo::fuzz::finding("CLng and CDbl disagree");
  }

  if (auto date = quelo::toDate(v)) {
    if (!quelo::toString(quelo::Variant(date.value()))) quelo::fuzz::finding("a date from text has no text");
  }

  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    checkFormatted(raw);
  }
  return 0;
}
