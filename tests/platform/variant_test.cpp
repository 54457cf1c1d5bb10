#include "platform/variant.h"

#include <gtest/gtest.h>

#include "platform/date_time.h"

namespace quelo {
namespace {

TEST(VariantConversion, IntegersRoundHalfToEven) {
  EXPECT_EQ(toInteger(Variant(2.5)).value(), 2);
  EXPECT_EQ(toInteger(Variant(3.5)).value(), 4);
  EXPECT_EQ(toInteger(Variant(-2.5)).value(), -2);
  EXPECT_EQ(toLong(Variant("  7.5 ")).value(), 8);
  EXPECT_EQ(toLong(Variant(true)).value(), -1);
  EXPECT_EQ(toLong(Variant()).value(), 0);
}

TEST(VariantConversion, OverflowAndMismatchAreErrors) {
  EXPECT_EQ(toInteger(Variant(int32_t{32768})).error().number, err::kOverflow);
  EXPECT_EQ(toInteger(Variant(-32768.4)).value(), -32768);
  EXPECT_EQ(toLong(Variant(2147483647.5)).error().number, err::kOverflow);
  EXPECT_EQ(toLong(Variant("12abc")).error().number, err::kTypeMismatch);
  EXPECT_EQ(toLong(Variant::null()).error().number, err::kInvalidUseOfNull);
  EXPECT_EQ(toString(Variant::null()).error().number, err::kInvalidUseOfNull);
  EXPECT_EQ(toDouble(Variant(std::shared_ptr<Dispatch>())).error().number, err::kTypeMismatch);
}

TEST(VariantConversion, BooleansFromTextAndNumbers) {
  EXPECT_TRUE(toBool(Variant("true")).value());
  EXPECT_FALSE(toBool(Variant(" FALSE ")).value());
  EXPECT_TRUE(toBool(Variant("-3")).value());
  EXPECT_FALSE(toBool(Variant(0.0)).value());
  EXPECT_EQ(toBool(Variant("yes")).error().number, err::kTypeMismatch);
  EXPECT_EQ(toString(Variant(true)).value(), "True");
  EXPECT_EQ(toString(Variant(false)).value(), "False");
}

TEST(VariantConversion, NumbersPrintShortestWithFifteenDigits) {
  EXPECT_EQ(formatNumber(0.1), "0.1");
  EXPECT_EQ(formatNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(formatNumber(-12.5), "-12.5");
  EXPECT_EQ(formatNumber(100), "100");
  EXPECT_EQ(formatNumber(123456789012345.0), "123456789012345");
  EXPECT_EQ(formatNumber(1e15), "1E+15");
  EXPECT_EQ(formatNumber(1.5e-20), "1.5E-20");
  EXPECT_EQ(formatNumber(0.00012), "0.00012");
  EXPECT_EQ(formatNumber(1.0 / 3), "0.333333333333333");
  // Where the plain shortest form stops being the answer: too many digits after the point, in
  // all, or before it, and numbers whose shortest form has an exponent.
  EXPECT_EQ(formatNumber(0.000123456789012345), "1.23456789012345E-04");
  EXPECT_EQ(formatNumber(0.00001), "0.00001");
  EXPECT_EQ(formatNumber(100000), "100000");
  EXPECT_EQ(formatNumber(123456789012345.6), "123456789012346");
  EXPECT_EQ(formatNumber(1234567890123456.0), "1.23456789012346E+15");
  EXPECT_EQ(formatNumber(-28.71), "-28.71");
}

TEST(VariantConversion, IsNumericAndVal) {
  EXPECT_TRUE(isNumeric(Variant(" 12 ")));
  EXPECT_TRUE(isNumeric(Variant("-1.5e3")));
  EXPECT_TRUE(isNumeric(Variant("&H1F")));
  EXPECT_TRUE(isNumeric(Variant("1,000")));
  EXPECT_TRUE(isNumeric(Variant()));
  EXPECT_FALSE(isNumeric(Variant("")));
  EXPECT_FALSE(isNumeric(Variant("1e")));
  EXPECT_FALSE(isNumeric(Variant::null()));
  EXPECT_FALSE(isNumeric(Variant("12 monkeys")));
  EXPECT_DOUBLE_EQ(val(" 1 2 3 go"), 123);
  EXPECT_DOUBLE_EQ(val("-4.5e2x"), -450);
  EXPECT_DOUBLE_EQ(val("&HFF"), 255);
  EXPECT_DOUBLE_EQ(val("&O17"), 15);
  EXPECT_DOUBLE_EQ(val("abc"), 0);
  EXPECT_DOUBLE_EQ(val("2e"), 2);
  EXPECT_DOUBLE_EQ(val("1e999"), 0);
}

TEST(VariantDates, RoundTripAndFormat) {
  const Date d = dateFromCivil({2009, 3, 7, 14, 5, 9});
  EXPECT_EQ(formatGeneralDate(d), "2009-03-07 14:05:09");
  EXPECT_EQ(formatGeneralDate(dateFromCivil({2009, 3, 7})), "2009-03-07");
  EXPECT_EQ(formatGeneralDate(dateFromCivil({100, 1, 2, 0, 0, 1})), "0100-01-02 00:00:01");  // digits padded
  EXPECT_EQ(formatGeneralDate(Date{0.5}), "12:00:00");  // a time alone
  EXPECT_DOUBLE_EQ(dateFromCivil({1899, 12, 30}).serial, 0);
  EXPECT_DOUBLE_EQ(dateFromCivil({1900, 1, 1}).serial, 2);
  EXPECT_EQ(toString(Variant(d)).value(), "2009-03-07 14:05:09");
  auto parsed = parseIsoDate("2009-03-07T14:05:09Z");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(formatGeneralDate(*parsed), "2009-03-07 14:05:09");
  EXPECT_FALSE(parseIsoDate("2009-02-29"));
  EXPECT_TRUE(parseIsoDate("2008-02-29"));
  EXPECT_FALSE(parseIsoDate("2009-13-01"));
  EXPECT_FALSE(parseIsoDate("20090307"));
  EXPECT_EQ(toDate(Variant("nonsense")).error().number, err::kTypeMismatch);
}

TEST(VariantArrays, BoundsAndFirstIndexFastest) {
  VariantArray a({{0, 2}, {0, 3}});
  EXPECT_EQ(a.ubound(1), 1);
  EXPECT_EQ(a.ubound(2), 2);
  *a.at({1, 2}).value() = Variant(int32_t{7});
  EXPECT_EQ(a.elements()[5], Variant(int32_t{7}));
  EXPECT_EQ(a.at({2, 0}).error().number, err::kSubscriptOutOfRange);
  EXPECT_EQ(a.at({0}).error().number, err::kSubscriptOutOfRange);
}

}  // namespace
}  // namespace quelo
