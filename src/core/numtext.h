// Number text: how every number of a project is read from and written to text.
// Numbers always use a point as the decimal separator, whatever the user's locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace coldroom {

// Reads the number at the start of a text: blanks, tabs and line feeds anywhere are
// ignored; an optional sign, digits, at most one point and an optional exponent are
// taken; reading stops at the first character that does not fit (a comma, a letter).
// A text without a leading number reads as 0.
double LeadingNumber(std::string_view text);

// The strict reading: the whole text (blanks around it aside) must be one number.
// Returns false, leaving `value` untouched, when it is not.
bool StrictNumber(std::string_view text, double& value);

// A number a person typed: the first comma read as a point, then the whole text (blanks
// around it aside) one number. "1O0", "4,5x" and "" are none: false, `value` untouched.
bool TypedNumber(std::string_view text, double& value);

// General number text of a double: shortest text with up to 15 significant digits,
// no trailing zeros, "0.5" rather than ".5", "-0" written as "0".
std::string GeneralText(double value);

// GeneralText when its 15 digits read back as the same double, else 16 or 17 digits (17
// always do): for a file that must give back exactly what it was given.
std::string ExactText(double value);

// The same for a single-precision value: up to 7 significant digits, so 33.3f -> "33.3".
std::string GeneralTextSingle(float value);

// The text an input field gets for a single-precision value: never the undefined mark, which
// would read back as 0; a value beyond the type's range shows as its largest value, which
// reads back as itself.
std::string InputTextSingle(float value);

// General text of Int(x), the largest whole number not above x (-3.2 -> "-4").
std::string WholeText(double value);

// Largest whole number not above x, as a double.
double IntFloor(double value);

// The whole part of a number (towards zero, as a cast takes it) when it fits an int, else
// `fallback`: numbers from files and the database can be anything, and casting one that does
// not fit is undefined.
int WholeOr(double value, int fallback);

// Rewrites an entered number into number text: the first comma becomes a point, the text
// is read by LeadingNumber and written back in general form ("2,50" -> "2.5", "abc" -> "0").
std::string NormalizeNumberText(std::string_view text);

// The display masks, each with one decimal place, halves rounded away from zero ("##0.0" and
// "###0.0" write the same text, so they are one mask).
enum class Mask {
    Fixed4,     // "###0.0": 0.5 -> "0.5", 125 -> "125.0"
    NoLeadZero  // "##.0": 0.5 -> ".5", 0 -> ".0"
};
std::string FormatMask(double value, Mask mask);

// Comma-separated number lists ("1,2.5,-3").
struct NumberList {
    std::vector<double> values;  // never empty: an empty text gives one element 0
    bool truncated = false;      // the text held more elements than the capacity
    int16_t lastIndex() const { return static_cast<int16_t>(values.size()) - 1; }
};

// Splits a list at its commas, each element read by LeadingNumber (the last one whole).
// At most `capacity` elements are kept; the rest are dropped and `truncated` is set.
NumberList ParseNumberList(std::string_view text, int capacity);

// Joins elements 0..lastIndex in general text with commas.
std::string JoinNumberList(const std::vector<double>& values, int lastIndex);
std::string JoinNumberList(const std::vector<double>& values);

// Makes this process write and read numbers with a point (C numeric locale) and returns
// what it replaced, for RestoreProcessDecimalSeparator. User-wide settings are never touched.
std::string FixProcessDecimalSeparator();
void RestoreProcessDecimalSeparator(const std::string& saved);

}  // namespace coldroom
