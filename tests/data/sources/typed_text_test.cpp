#include "data/sources/typed_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "automation/date_time.h"
#include "data/recordset/ado.h"

namespace quelo {
namespace {

// Text is a number or a date only when all of it is one, within range, of a day that exists.
TEST(TypedText, NumbersAndDatesAreStrict) {
  EXPECT_EQ(parseWholeNumber("0"), 0);  // unlike "007"
  EXPECT_EQ(parseWholeNumber("-17"), -17);
  EXPECT_EQ(parseWholeNumber("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(parseDecimal("-1.5"), -1.5);
  EXPECT_EQ(parseDecimal("0.25E-2"), 0.0025);
  EXPECT_EQ(parseDecimal("123456789012345678901234"), 123456789012345678901234.0);
  EXPECT_EQ(parseIsoDateTime("2024-02-29"), dateFromCivil({2024, 2, 29}));
  EXPECT_EQ(parseIsoDateTime("2024-02-29T13:05:09"), dateFromCivil({2024, 2, 29, 13, 5, 9}));
  EXPECT_EQ(parseIsoDateTime("1999-12-31 23:59"), dateFromCivil({1999, 12, 31, 23, 59, 0}));
  for (const char* text :
       {"", "-", "007", "+1", " 1", "1 ", "1.0", "1e3", "9223372036854775808", "12a"})
    EXPECT_FALSE(parseWholeNumber(text).has_value()) << text;
  for (const char* text : {".5", "5.", "1e", "1.5.2", "01.5", "1,5", "NaN", "0x10", "1e+"})
    EXPECT_FALSE(parseDecimal(text).has_value()) << text;
  for (const char* text : {"2023-02-29", "2024-13-01", "2024-00-10", "2024-1-5", "13:05:09",
                           "2024-02-29 ", "2024-02-29x", "2024-02-29 25:00:00", "20240229"})
    EXPECT_FALSE(parseIsoDateTime(text).has_value()) << text;
}

TEST(TypedText, ValuesThatDoNotFitTheirColumnStayText) {
  RowTable t(1);
  auto put = [&t](int32_t type, std::string_view text) {
    const int64_t r = t.appendRow();
    putTyped(t, r, 0, type, text);
    return t.value(r, 0);
  };
  using namespace ado;
  EXPECT_EQ(put(adInteger, "42"), Variant(int32_t{42}));
  EXPECT_EQ(put(adSmallInt, "-5"), Variant(int16_t{-5}));
  EXPECT_EQ(put(adBigInt, "5"), Variant(int64_t{5}));
  EXPECT_EQ(put(adInteger, "0042"), Variant("0042"));
  EXPECT_EQ(put(adDouble, "2.5"), Variant(2.5));
  EXPECT_TRUE(std::isnan(put(adDouble, "NaN").asDouble()));
  EXPECT_EQ(put(adDouble, "-Infinity"), Variant(-INFINITY));
  EXPECT_EQ(put(adDouble, "1,5"), Variant("1,5"));
  EXPECT_EQ(put(adNumeric, "12345.678"), Variant(12345.678));
  EXPECT_EQ(put(adNumeric, "1234567890.1234567890"), Variant("1234567890.1234567890"));
  EXPECT_EQ(put(adNumeric, "1.50000000000000000000"), Variant(1.5));
  EXPECT_EQ(put(adNumeric, "0.000123456789012345"),
            Variant(0.000123456789012345));  // leading zeros are no digits
  EXPECT_EQ(put(adDBTimeStamp, "infinity"), Variant("infinity"));
  EXPECT_EQ(put(adDBTime, "13:30:00"), Variant(Date{13.5 / 24}));
  EXPECT_EQ(put(adBoolean, "TRUE"), Variant(true));
  EXPECT_EQ(put(adBoolean, "yes"), Variant("yes"));
  EXPECT_EQ(put(adVarWChar, "12"), Variant("12"));
}

}  // namespace
}  // namespace quelo
