#include "base/Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace zk {

double RoundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  double f = std::floor(x);
  double diff = x - f;
  if (diff > 0.5) return f + 1.0;
  if (diff < 0.5) return f;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

namespace {
template <typename T>
std::optional<T> TryRound(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  double r = RoundHalfEven(x);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) || r > static_cast<double>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(r);
}
}  // namespace

std::optional<int16_t> TryCInt16(double x) { return TryRound<int16_t>(x); }
std::optional<int32_t> TryCInt32(double x) { return TryRound<int32_t>(x); }

int16_t CInt16(double x) {
  auto v = TryCInt16(x);
  if (!v) throw OverflowError("16-bit overflow");
  return *v;
}

int32_t CInt32(double x) {
  auto v = TryCInt32(x);
  if (!v) throw OverflowError("32-bit overflow");
  return *v;
}

uint8_t CByte(double x) {
  auto v = TryRound<uint8_t>(x);
  if (!v) throw OverflowError("byte overflow");
  return *v;
}

int64_t IntDiv(int64_t a, int64_t b) {
  if (b == 0) throw std::domain_error("division by zero");
  return a / b;  // C++ truncates toward zero
}

std::optional<double> ParseNumber(std::string_view text) {
  size_t i = 0, n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  while (n > i && (text[n - 1] == ' ' || text[n - 1] == '\t' || text[n - 1] == '\r')) --n;
  if (i == n) return std::nullopt;
  std::string s(text.substr(i, n - i));
  size_t p = 0;
  if (s[p] == '+' || s[p] == '-') ++p;
  size_t digits = 0;
  while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) ++p, ++digits;
  if (p < s.size() && s[p] == '.') {
    ++p;
    while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) ++p, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
    size_t q = p + 1;
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) ++q;
    size_t ed = 0;
    while (q < s.size() && std::isdigit(static_cast<unsigned char>(s[q]))) ++q, ++ed;
    if (ed == 0) return std::nullopt;
    p = q;
  }
  if (p != s.size()) return std::nullopt;
  double v = std::strtod(s.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int16_t> ParseInt16(std::string_view text) {
  auto v = ParseNumber(text);
  if (!v) return std::nullopt;
  return TryCInt16(*v);
}

std::optional<int32_t> ParseInt32(std::string_view text) {
  auto v = ParseNumber(text);
  if (!v) return std::nullopt;
  return TryCInt32(*v);
}

std::optional<bool> ParseBool(std::string_view text) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && (text[n - 1] == ' ' || text[n - 1] == '\r')) --n;
  std::string s;
  for (size_t k = i; k < n; ++k) s += static_cast<char>(std::tolower(static_cast<unsigned char>(text[k])));
  if (s == "true") return true;
  if (s == "false") return false;
  auto v = ParseNumber(text);
  if (!v) return std::nullopt;
  return *v != 0.0;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string BoolText(bool b) { return b ? "True" : "False"; }

namespace {
std::string Printf(const char* fmt, double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, x);
  return buf;
}
// Fixed-point text with exact half-to-even behaviour on the decimal digit: the value is
// scaled and rounded with RoundHalfEven so that 0.25 with one decimal gives 0.2.
std::string Fixed(double x, int decimals) {
  double scale = std::pow(10.0, decimals);
  double r = RoundHalfEven(x * scale) / scale;
  if (r == 0) r = 0;  // no "-0.0"
  return Printf(decimals == 1 ? "%.1f" : "%.2f", r);
}
}  // namespace

std::string Format_0_0h(double x) {
  std::string two = Fixed(x, 2);
  if (!two.empty() && two.back() == '0') two.pop_back();
  return two;
}

std::string Format_h0_0(double x) { return Fixed(x, 1); }

std::string Format_000(double x) { return Printf("%03.0f", RoundHalfEven(x)); }

std::string Format_00(double x) { return Printf("%02.0f", RoundHalfEven(x)); }

std::string Format_Time(int32_t seconds, int32_t totalTimeMs) {
  int32_t s = seconds % 60;
  int32_t m = (seconds / 60) % 60;
  int32_t h = seconds / 3600;
  char buf[48];
  if (totalTimeMs / 1000 >= 3600)
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", h, m, s);
  else
    std::snprintf(buf, sizeof buf, "%02d:%02d", m, s);
  return buf;
}

}  // namespace zk
