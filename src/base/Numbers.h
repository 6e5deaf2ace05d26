#pragma once
// Number and text rules used everywhere: every real-to-integer conversion rounds to
// nearest with halves to even, 16- and 32-bit targets are range-checked, "\" is integer
// division, and the few display formats the meter uses.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zk {

// Raised where a conversion does not fit its target; the caller decides whether that
// ends a procedure (drawing) or only skips one value (settings files).
struct OverflowError : std::overflow_error {
  using std::overflow_error::overflow_error;
};

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double x);

// Rounded conversions with range checks. The Try forms answer nullopt on overflow or NaN;
// the plain forms throw OverflowError.
std::optional<int16_t> TryCInt16(double x);
std::optional<int32_t> TryCInt32(double x);
int16_t CInt16(double x);
int32_t CInt32(double x);
uint8_t CByte(double x);  // 0..255, throws OverflowError outside

// Integer division "a \ b": both operands are whole numbers already; the quotient is
// truncated toward zero. Division by zero throws std::domain_error.
int64_t IntDiv(int64_t a, int64_t b);

// Text to number the way the settings files need it: an optional sign, digits, an
// optional fraction and exponent, blanks around it allowed. Anything else is nullopt.
std::optional<double> ParseNumber(std::string_view text);
// Text to a rounded 16/32-bit integer: nullopt when it is no number or does not fit.
std::optional<int16_t> ParseInt16(std::string_view text);
std::optional<int32_t> ParseInt32(std::string_view text);
// "True"/"False" in any letter case, or a number (0 is False, anything else True).
std::optional<bool> ParseBool(std::string_view text);
// The value of one hexadecimal digit (either letter case), or -1 for any other character.
int HexDigitValue(char c);
// Booleans are written as "True" / "False".
std::string BoolText(bool b);

// Display formats.
std::string Format_0_0h(double x);  // "0.0#": 0.5 -> "0.5", 3.45 -> "3.45", 2 -> "2.0"
std::string Format_h0_0(double x);  // "#0.0": 0.9 -> "0.9", 12.3 -> "12.3"
std::string Format_000(double x);   // "000": 5 -> "005", 1234 -> "1234"
std::string Format_00(double x);    // "00": 5 -> "05"

// Time text of the recorder and player labels. Hours are shown only when the recording
// in memory is an hour or longer (totalTimeMs / 1000 >= 3600).
std::string Format_Time(int32_t seconds, int32_t totalTimeMs);

}  // namespace zk
