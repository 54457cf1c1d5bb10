#include "automation/variant.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "automation/date_time.h"

namespace quelo {
namespace {

// Integers round half to even; overflow, text that is no number and Null are errors; booleans
// come from texts and numbers.
TEST(VariantConversion, IntegersBooleansAndTheirErrors) {
  EXPECT_EQ(toInteger(Variant(2.5)).value(), 2);
  EXPECT_EQ(toInteger(Variant(3.5)).value(), 4);
  EXPECT_EQ(toInteger(Variant(-2.5)).value(), -2);
  EXPECT_EQ(toLong(Variant("  7.5 ")).value(), 8);
  EXPECT_EQ(toLong(Variant(true)).value(), -1);
  EXPECT_EQ(toLong(Variant()).value(), 0);
  EXPECT_EQ(toInteger(Variant(int32_t{32768})).error().number, err::kOverflow);
  EXPECT_EQ(toInteger(Variant(-32768.4)).value(), -32768);
  EXPECT_EQ(toLong(Variant(2147483647.5)).error().number, err::kOverflow);
  EXPECT_EQ(toLong(Variant("12abc")).error().number, err::kTypeMismatch);
  EXPECT_EQ(toLong(Variant::null()).error().number, err::kInvalidUseOfNull);
  EXPECT_EQ(toString(Variant::null()).error().number, err::kInvalidUseOfNull);
  EXPECT_EQ(toDouble(Variant(std::shared_ptr<Dispatch>())).error().number, err::kTypeMismatch);
  EXPECT_TRUE(toBool(Variant("true")).value());
  EXPECT_FALSE(toBool(Variant(" FALSE ")).value());
  EXPECT_TRUE(toBool(Variant("-3")).value());
  EXPECT_FALSE(toBool(Variant(0.0)).value());
  EXPECT_EQ(toBool(Variant("yes")).error().number, err::kTypeMismatch);
  EXPECT_EQ(toString(Variant(true)).value(), "True");
  EXPECT_EQ(toString(Variant(false)).value(), "False");
}

// Also where the plain shortest form stops being the answer (too many digits after the point, in
// all, or before it; a shortest form with an exponent), rounding to 15 digits that carries into a
// new digit, and sums just off a short decimal.
TEST(VariantConversion, NumbersPrintShortestWithFifteenDigits) {
  const std::pair<double, const char*> cases[] = {{0.1, "0.1"},
                                                  {0.1 + 0.2, "0.3"},
                                                  {-12.5, "-12.5"},
                                                  {100, "100"},
                                                  {123456789012345.0, "123456789012345"},
                                                  {1e15, "1E+15"},
                                                  {1.5e-20, "1.5E-20"},
                                                  {0.00012, "0.00012"},
                                                  {1.0 / 3, "0.333333333333333"},
                                                  {0.000123456789012345, "1.23456789012345E-04"},
                                                  {0.00001, "0.00001"},
                                                  {100000, "100000"},
                                                  {123456789012345.6, "123456789012346"},
                                                  {1234567890123456.0, "1.23456789012346E+15"},
                                                  {-28.71, "-28.71"},
                                                  {999999999999999.9, "1E+15"},
                                                  {0.1 + 0.7, "0.8"}};
  for (const auto& [number, text] : cases) EXPECT_EQ(formatNumber(number), text) << text;
}

TEST(VariantConversion, IsNumericAndVal) {
  for (const Variant& v :
       {Variant(" 12 "), Variant("-1.5e3"), Variant("&H1F"), Variant("1,000"), Variant()})
    EXPECT_TRUE(isNumeric(v)) << (v.isString() ? v.asString() : "empty");
  for (const Variant& v : {Variant(""), Variant("1e"), Variant::null(), Variant("12 monkeys")})
    EXPECT_FALSE(isNumeric(v)) << (v.isString() ? v.asString() : "null");
  const std::pair<const char*, double> vals[] = {
      {" 1 2 3 go", 123}, {"-4.5e2x", -450}, {"&HFF", 255}, {"&O17", 15},
      {"abc", 0},         {"2e", 2},         {"1e999", 0}};
  for (const auto& [text, number] : vals) EXPECT_DOUBLE_EQ(val(text), number) << text;
}

// Values beyond a type's range are the overflow error, never an infinite or NaN number, and the
// texts of the largest numbers read back.
TEST(VariantConversion, ValuesBeyondTheRangeOverflow) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const std::string hugeHex = "&H" + std::string(260, 'F');
  const Variant beyond[] = {Variant("1e400"),
                            Variant("-1D309"),
                            Variant(hugeHex),
                            Variant(" &O" + std::string(400, '7')),
                            Variant(std::numeric_limits<double>::infinity()),
                            Variant(std::nan(""))};
  for (const Variant& v : beyond) {
    const std::string shown =
        v.isString() ? v.asString().substr(0, 12) : formatNumber(v.asDouble());
    EXPECT_EQ(toDouble(v).error().number, err::kOverflow) << shown;
    EXPECT_EQ(toLong(v).error().number, err::kOverflow) << shown;
    EXPECT_EQ(toDate(v).error().number, err::kOverflow) << shown;
    if (v.isString()) {
      EXPECT_FALSE(isNumeric(v)) << shown;
      EXPECT_EQ(val(v.asString()), 0) << shown;
    }
  }
  const Variant outOfDates[] = {Variant("1D308"), Variant(-1e308), Variant(2958466.0),
                                Variant(-693960.0), Variant(Date{1e308})};
  for (const Variant& v : outOfDates)
    EXPECT_EQ(toDate(v).error().number, err::kOverflow) << (&v - outOfDates);
  EXPECT_EQ(toString(Variant(Date{1e308})).error().number, err::kOverflow);
  EXPECT_EQ(toString(toDate(Variant(2958465.5)).value()).value(), "9999-12-31 12:00:00");
  EXPECT_EQ(toString(toDate(Variant("-693959")).value()).value(), "0000-01-01");
  EXPECT_EQ(formatGeneralDate(Date{1e308}), "9999-12-31 23:59:59");  // held at the end of the range

  const struct {
    double number;
    const char* text;
  } edges[] = {{kMax, "1.79769313486231E+308"},
               {-kMax, "-1.79769313486231E+308"},
               {1.797693134862315e308, "1.79769313486231E+308"},
               {1.79769313486231e308, "1.79769313486231E+308"},
               {std::numeric_limits<double>::denorm_min(), "5E-324"},
               {std::numeric_limits<double>::min(), "2.2250738585072E-308"},
               {std::nextafter(std::numeric_limits<double>::min(), 0.0), "2.2250738585072E-308"}};
  for (const auto& e : edges) {
    EXPECT_EQ(formatNumber(e.number), e.text);
    EXPECT_EQ(formatNumber(toDouble(Variant(e.text)).value()), e.text);
  }
}

// Every finite number's text reads back as a number with the same text; one whose shortest exact
// form has at most 15 digits reads back as itself, and says so (a writer then need not read it).
TEST(VariantConversion, NumberTextsReadBack) {
  std::mt19937_64 bits(20261206);
  std::vector<double> numbers = {
      0.1 + 0.2, 1.0 / 3, -0.0, 0.0, 1e20, 28.71, std::numeric_limits<double>::quiet_NaN(),
      -HUGE_VAL};
  for (int i = 0; i < 50000; ++i) {
    numbers.push_back(std::bit_cast<double>(bits()));
    numbers.push_back(static_cast<double>(static_cast<int64_t>(bits() % 2000001) - 1000000) / 100);
  }
  for (const double d : numbers) {
    bool exact = true;
    char written[kNumberTextMax];
    const std::string text(written, formatNumber(d, exact, written));
    auto back = toDouble(Variant(text));
    ASSERT_EQ(exact, back && std::bit_cast<uint64_t>(back.value()) == std::bit_cast<uint64_t>(d))
        << text;
    if (!std::isfinite(d)) continue;
    ASSERT_TRUE(back) << text;
    ASSERT_EQ(formatNumber(back.value()), text) << std::hexfloat << d;
    char shortest[32];
    const auto end =
        std::to_chars(shortest, shortest + sizeof shortest, d, std::chars_format::scientific).ptr;
    if (std::string_view(shortest, end).find('e') <= 16 + (d < 0)) {
      ASSERT_TRUE(exact || d == 0) << text;
    }
  }
}

TEST(VariantDates, RoundTripAndFormat) {
  const Date d = dateFromCivil({2009, 3, 7, 14, 5, 9});
  EXPECT_EQ(formatGeneralDate(d), "2009-03-07 14:05:09");
  EXPECT_EQ(formatGeneralDate(dateFromCivil({2009, 3, 7})), "2009-03-07");
  EXPECT_EQ(formatGeneralDate(dateFromCivil({100, 1, 2, 0, 0, 1})),
            "0100-01-02 00:00:01");                     // digits padded
  EXPECT_EQ(formatGeneralDate(Date{0.5}), "12:00:00");  // a time alone
  EXPECT_DOUBLE_EQ(dateFromCivil({1899, 12, 30}).serial, 0);
  EXPECT_DOUBLE_EQ(dateFromCivil({1900, 1, 1}).serial, 2);
  EXPECT_EQ(toString(Variant(d)).value(), "2009-03-07 14:05:09");
  auto parsed = parseIsoDate("2009-03-07T14:05:09Z");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(formatGeneralDate(*parsed), "2009-03-07 14:05:09");
  for (const char* bad : {"2009-02-29", "2009-13-01", "20090307", "1900-02-29"})
    EXPECT_FALSE(parseIsoDate(bad)) << bad;
  for (const char* leap : {"2008-02-29", "2000-02-29"}) EXPECT_TRUE(parseIsoDate(leap)) << leap;
  EXPECT_EQ(formatLongDate(dateFromCivil({2009, 3, 7})), "Saturday, March 7, 2009");
  EXPECT_EQ(formatLongDate(dateFromCivil({1899, 12, 29})),
            "Friday, December 29, 1899");  // before day 0
  EXPECT_EQ(formatTwelveHourTime({2009, 3, 8, 14, 5, 9}), "02:05:09 PM");
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
