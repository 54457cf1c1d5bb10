// Compares formatNumber with the conversion it replaced (up to three conversions per value: the
// shortest form, then rounding to 15 digits with snprintf and reading it back with strtod) on
// tens of millions of doubles of every kind, and times both. Prints the count of values compared
// and of differences; exits 1 on any difference.
//   quelo-bench-number-text [SCALE]   (SCALE multiplies every set's size; default 1)
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "automation/variant.h"

namespace {

// ---- The former implementation, kept here only to compare against. ----
namespace old {

constexpr double kLargest15Digits = 1.79769313486231e308;

struct Scientific {
  std::string mantissa;
  int exponent = 0;
  size_t digits = 0;
};
Scientific exactShortest(double d) {
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific).ptr;
  const std::string_view text(buf, static_cast<size_t>(end - buf));
  const size_t e = text.find('e');
  Scientific s{std::string(text.substr(0, e)), 0, 0};
  for (char c : s.mantissa) s.digits += std::isdigit(static_cast<unsigned char>(c)) ? 1 : 0;
  const std::string_view exp = text.substr(e + (text[e + 1] == '+' ? 2 : 1));
  std::from_chars(exp.data(), exp.data() + exp.size(), s.exponent);
  return s;
}

std::pair<std::string, int> shortestScientific(double d) {
  Scientific s = exactShortest(d);
  if (s.digits > 15) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", d);
    const double rounded = std::strtod(buf, nullptr);
    s = exactShortest(std::isfinite(rounded) ? rounded : std::copysign(kLargest15Digits, d));
  }
  return {std::move(s.mantissa), s.exponent};
}

std::optional<std::string> plainShortest(double d) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  if (ec != std::errc()) return std::nullopt;
  const std::string_view text(buf, static_cast<size_t>(end - buf));
  if (text.find('e') != std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(text[0] == '-' ? 1 : 0);
  const size_t point = std::min(digits.find('.'), digits.size());
  const size_t fraction = digits.size() - std::min(point + 1, digits.size());
  const bool belowOne = digits.starts_with("0");
  if (belowOne ? fraction > 15 : point + fraction > 15) return std::nullopt;
  return std::string(text);
}

std::string formatNumber(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
  if (d == 0) return "0";
  if (auto plain = plainShortest(d)) return *plain;
  auto [mantissa, exponent] = shortestScientific(d);
  const bool negative = mantissa[0] == '-';
  if (negative) mantissa.erase(0, 1);
  std::string digitsOnly;
  for (char c : mantissa)
    if (c != '.') digitsOnly += c;
  const int nd = static_cast<int>(digitsOnly.size());
  std::string out;
  if (exponent >= 15 || (exponent < 0 && nd - 1 - exponent > 15)) {
    out = digitsOnly.substr(0, 1);
    if (nd > 1) out += "." + digitsOnly.substr(1);
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += e;
  } else if (exponent < 0) {
    out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digitsOnly;
  } else if (nd <= exponent + 1) {
    out = digitsOnly + std::string(static_cast<size_t>(exponent + 1 - nd), '0');
  } else {
    out = digitsOnly.substr(0, static_cast<size_t>(exponent + 1)) + "." + digitsOnly.substr(static_cast<size_t>(exponent + 1));
  }
  return negative ? "-" + out : out;
}

}  // namespace old

// ---- The comparison. ----
using Emit = std::function<void(double)>;

uint64_t compared = 0;
uint64_t differing = 0;
double oldSeconds = 0;
double newSeconds = 0;

// Compares both conversions on d and -d.
void check(double d) {
  for (double v : {d, -d}) {
    ++compared;
    const std::string before = old::formatNumber(v);
    const std::string after = quelo::formatNumber(v);
    if (before != after && ++differing <= 20)
      std::printf("DIFFERS %a: old %s new %s\n", v, before.c_str(), after.c_str());
  }
}

// Times one conversion over values; the sum of lengths keeps the work from being dropped.
double timeOf(const std::vector<double>& values, std::string (*convert)(double)) {
  size_t length = 0;
  const auto start = std::chrono::steady_clock::now();
  for (double v : values) length += convert(v).size();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (length == 0) std::puts("");
  return took.count();
}

void runSet(const char* name, const std::function<void(const Emit&)>& generate) {
  std::vector<double> values;
  generate([&](double d) { values.push_back(d); });
  const uint64_t before = compared;
  for (double d : values) check(d);
  const double oldTime = timeOf(values, old::formatNumber);
  const double newTime = timeOf(values, quelo::formatNumber);
  oldSeconds += oldTime;
  newSeconds += newTime;
  std::printf("%-34s %11llu values  old %6.1f ns  new %6.1f ns\n", name,
              static_cast<unsigned long long>(compared - before), 1e9 * oldTime / values.size(),
              1e9 * newTime / values.size());
  std::fflush(stdout);
}

double parse(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

}  // namespace

int main(int argc, char** argv) {
  const long scale = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1;
  std::mt19937_64 random(20261206);
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kMin = std::numeric_limits<double>::min();
  constexpr double kInf = std::numeric_limits<double>::infinity();

  runSet("random bit patterns", [&](const Emit& emit) {
    for (long i = 0; i < 6'000'000 * scale; ++i) {
      const double d = std::bit_cast<double>(random());
      if (std::isfinite(d)) emit(d);
    }
  });
  runSet("subnormals and their edge", [&](const Emit& emit) {
    for (long i = 0; i < 1'000'000 * scale; ++i) {
      emit(std::bit_cast<double>(random() & 0x000fffffffffffffULL));      // any subnormal
      emit(std::bit_cast<double>(static_cast<uint64_t>(i) + 1));           // the smallest ones
      emit(std::bit_cast<double>(std::bit_cast<uint64_t>(kMin) - 1 - i));  // below the smallest normal
      emit(std::bit_cast<double>(std::bit_cast<uint64_t>(kMin) + i));      // from it upwards
    }
    for (long i = -200'000 * scale; i < 200'000 * scale; ++i)  // where the two paths meet
      emit(std::bit_cast<double>(std::bit_cast<uint64_t>(1e-307) + i));
  });
  runSet("powers of ten and neighbours", [&](const Emit& emit) {
    for (int p = -324; p <= 308; ++p) {
      const double ten = parse("1e" + std::to_string(p));
      double up = ten, down = ten;
      for (long k = 0; k < 1000 * scale; ++k) {
        emit(up);
        emit(down);
        up = std::nextafter(up, kInf);
        down = std::nextafter(down, 0.0);
      }
    }
  });
  runSet("decimals of 1..17 digits", [&](const Emit& emit) {
    std::uniform_int_distribution<int> exponent(-340, 308);
    for (int digits = 1; digits <= 17; ++digits) {
      const uint64_t low = digits == 1 ? 1 : static_cast<uint64_t>(std::pow(10.0, digits - 1));
      std::uniform_int_distribution<uint64_t> mantissa(low, low * 10 - 1);
      for (long i = 0; i < 400'000 * scale; ++i) {
        const double d = parse(std::to_string(mantissa(random)) + "e" + std::to_string(exponent(random)));
        if (d != 0 && std::isfinite(d)) emit(d);
      }
      for (long i = 0; i < 100'000 * scale; ++i)  // in the range of everyday numbers
        emit(parse(std::to_string(mantissa(random)) + "e" + std::to_string(-digits - 3 + int(i % 25))));
    }
  });
  runSet("prices and cents", [&](const Emit& emit) {
    for (long i = 1; i <= 3'000'000 * scale; ++i) {
      emit(static_cast<double>(i) / 100);
      emit(std::round((i % 10000) / 7.0 * 100) / 100 + i / 10000 * 1000);
      emit(static_cast<double>(i) * 0.01 + 0.005);
      emit((i % 997) * 1.5 + static_cast<double>(i) / 1e6);
    }
  });
  runSet("integers near 2^53 and powers of two", [&](const Emit& emit) {
    const double p53 = 9007199254740992.0;
    for (long k = 0; k < 1'000'000 * scale; ++k) {
      emit(p53 + 2.0 * k);
      emit(p53 - k);
      emit(static_cast<double>(999'999'999'999'000LL + k));  // 15 and 16 digits
    }
    for (int e = -1074; e <= 1023; ++e) {
      double up = std::ldexp(1.0, e), down = up;
      for (int k = 0; k < 200 * scale; ++k) {
        emit(up);
        emit(down);
        up = std::nextafter(up, kInf);
        down = std::nextafter(down, 0.0);
      }
    }
  });
  runSet("15-digit rounding boundaries", [&](const Emit& emit) {
    // The midpoint between two neighbouring 15-digit decimals, and the doubles around it.
    std::uniform_int_distribution<uint64_t> mantissa(100'000'000'000'000ULL, 999'999'999'999'999ULL);
    std::uniform_int_distribution<int> exponent(-320, 294);
    for (long i = 0; i < 2'000'000 * scale; ++i) {
      const int e = i % 4 == 0 ? exponent(random) : -20 + static_cast<int>(i % 40);
      const double mid = parse(std::to_string(mantissa(random)) + "5e" + std::to_string(e));
      if (mid == 0 || !std::isfinite(mid)) continue;
      double up = mid, down = mid;
      emit(mid);
      for (int k = 0; k < 2; ++k) {
        emit(up = std::nextafter(up, kInf));
        emit(down = std::nextafter(down, 0.0));
      }
    }
  });
  runSet("near the largest double", [&](const Emit& emit) {
    double down = kMax;
    for (long k = 0; k < 1'000'000 * scale; ++k) {
      emit(down);
      down = std::nextafter(down, 0.0);
    }
  });

  std::printf("compared %llu values (both signs), %llu differ; old %.2f s, new %.2f s (%.1fx)\n",
              static_cast<unsigned long long>(compared), static_cast<unsigned long long>(differing),
              oldSeconds, newSeconds, oldSeconds / newSeconds);
  return differing == 0 ? 0 : 1;
}
