#include "util/str_proc.h"

#include <cmath>
#include <limits>

namespace tagwright {

std::size_t NextNonBlank(std::string_view text, std::size_t start) {
  // The character at `start` itself is never examined.
  for (std::size_t i = start + 1; i < text.size(); ++i) {
    if (text[i] != ' ') return i;
  }
  return text.size();
}

std::int64_t CountChar(std::string_view text, char c) {
  std::int64_t count = 0;
  for (char t : text) count += (t == c);
  return count;
}

void FilterNumericText(std::string& text, bool allowNegative) {
  bool digitKept = false;
  bool plusKept = false;
  bool minusKept = false;
  std::string kept;
  for (char c : text) {
    if (c == '+') {
      if (!digitKept && !plusKept) {
        plusKept = true;
        kept.push_back(c);
      }
    } else if (c == '-') {
      if (allowNegative && !digitKept && !minusKept) {
        minusKept = true;
        kept.push_back(c);
      }
    } else if (c >= '0' && c <= '9') {
      digitKept = true;
      kept.push_back(c);
    }
  }
  text = std::move(kept);
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') sign = -1;
    ++i;
  }
  return sign * UnsignedNumber(text.substr(i));
}

double UnsignedNumber(std::string_view text) {
  std::size_t i = 0;
  double value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      value += (text[i] - '0') * scale;
      scale /= 10;
    }
  }
  return value;
}

std::int64_t RoundHalfEven(double value) {
  // 2^63 as a double; anything at or beyond it is held to the range.
  constexpr double kLimit = 9223372036854775808.0;
  // 2^52: from there up every double is a whole number.
  constexpr double kWhole = 4503599627370496.0;
  if (std::isnan(value)) return 0;
  double rounded = value;
  if (std::fabs(value) < kWhole) {
    // Adding 2^52 (with the value's sign) leaves no bits for a fraction, so the sum is rounded
    // to a whole number, halves to even; as std::nearbyint, without its call.
    const double shift = std::copysign(kWhole, value);
    rounded = (value + shift) - shift;
  }
  if (rounded >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (rounded < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(rounded);
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace tagwright
