#include "core/numtext.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "core/float_chars.h"

namespace coldroom {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Scans "[sign]digits[.digits][E[sign]digits]" from the start of `s` and copies what it
// took, in a form std::from_chars accepts, into `out`. Returns the number of characters
// of `s` consumed (0 when there is no number).
size_t scanNumber(std::string_view s, std::string& out) {
    out.clear();
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') out.push_back('-');
        ++i;
    }
    size_t mantissaDigits = 0;
    while (i < s.size() && isDigit(s[i])) { out.push_back(s[i++]); ++mantissaDigits; }
    if (i < s.size() && s[i] == '.') {
        out.push_back('.');
        ++i;
        while (i < s.size() && isDigit(s[i])) { out.push_back(s[i++]); ++mantissaDigits; }
    }
    if (mantissaDigits == 0) { out.clear(); return 0; }
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            if (s[j] == '-') exp.push_back('-');
            ++j;
        }
        size_t expDigits = 0;
        while (j < s.size() && isDigit(s[j])) { exp.push_back(s[j++]); ++expDigits; }
        if (expDigits > 0) { out += exp; i = j; }
    }
    return i;
}

// A plain decimal of at most 15 digits is an exact whole number divided by an exact power of
// ten, and one IEEE division of two exact values rounds correctly: the same double as
// from_chars gives, without its cost. Everything else goes to from_chars.
bool convertPlain(const std::string& number, double& value) {
    static constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t i = 0;
    const bool negative = !number.empty() && number[0] == '-';
    if (negative) ++i;
    uint64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (c == '.') {
            point = true;
            continue;
        }
        if (!isDigit(c) || ++digits > 15) return false;
        mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
        if (point) ++decimals;
    }
    const double v = static_cast<double>(mantissa) / kPowers[decimals];
    value = negative ? -v : v;
    return true;
}

bool convert(const std::string& number, double& value) {
    if (number.empty()) return false;
    if (convertPlain(number, value)) return true;
    double v = 0;
    auto res = FloatFromChars(number.data(), number.data() + number.size(), v);
    if (res.ec != std::errc() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

const char* kUndefined = "\xE2\x80\x94";  // em dash

}  // namespace

namespace {

// LeadingNumber of a text whose number has at most 15 digits and no exponent, in one pass.
// False (nothing decided) for anything else, which the general reading takes.
bool leadingPlainNumber(std::string_view text, double& value) {
    static constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    size_t i = 0;
    const size_t n = text.size();
    auto skip = [&] {
        while (i < n && blank(text[i])) ++i;
    };
    skip();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    for (skip(); i < n; ++i, skip()) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (isDigit(c)) {
            if (++digits > 15) return false;
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            if (point) ++decimals;
        } else {
            if (c == 'e' || c == 'E') return false;  // an exponent may follow
            break;
        }
    }
    if (digits == 0) {
        value = 0;
        return true;
    }
    const double v = static_cast<double>(mantissa) / kPowers[decimals];
    value = negative ? -v : v;
    return true;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    if (double v = 0; leadingPlainNumber(text, v)) return v;
    // Every calculation reads its inputs through here, thousands of times in a study: the two
    // buffers keep their storage from one call to the next.
    thread_local std::string compact, number;
    compact.clear();
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') compact.push_back(c);
    if (scanNumber(compact, number) == 0) return 0;
    double v = 0;
    return convert(number, v) ? v : 0;
}

bool StrictNumber(std::string_view text, double& value) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    std::string_view core = text.substr(b, e - b);
    thread_local std::string number;
    size_t used = scanNumber(core, number);
    if (used == 0 || used != core.size()) return false;
    // An exponent letter that scanNumber left behind would have made used != size.
    return convert(number, value);
}

template <class T>
std::string generalText(T value, int significantDigits) {
    if (!std::isfinite(value)) return kUndefined;
    if (value == 0) return "0";
    char buf[64];
    auto res = FloatToChars(buf, buf + sizeof buf, value, std::chars_format::general, significantDigits);
    if (res.ec != std::errc()) return kUndefined;  // cannot happen: 15 digits and an exponent fit
    std::string s(buf, res.ptr);
    for (char& c : s)
        if (c == 'e') c = 'E';
    // The largest doubles round up past the largest double at 15 digits, and that text would
    // read back as no number at all; they are written rounded down instead.
    // (At 17 digits every double reads back as itself.)
    if constexpr (std::is_same_v<T, double>)
        if (significantDigits < 17 && std::fabs(value) > 1.79769313486231e308) s = value < 0 ? "-1.79769313486231E+308" : "1.79769313486231E+308";
    return s;
}

std::string GeneralText(double value) { return generalText(value, 15); }

std::string ExactText(double value) {
    if (!std::isfinite(value)) return GeneralText(value);
    for (int digits = 15; digits < 17; ++digits) {
        const std::string text = generalText(value, digits);
        double back = 0;
        if (StrictNumber(text, back) && back == value) return text;
    }
    return generalText(value, 17);
}

std::string GeneralTextSingle(float value) { return generalText(value, 7); }

std::string InputTextSingle(float value) {
    constexpr float kLargest = std::numeric_limits<float>::max();
    if (std::isnan(value)) return "0";
    return GeneralTextSingle(std::isinf(value) ? std::copysign(kLargest, value) : value);
}

double IntFloor(double value) { return std::floor(value); }

int WholeOr(double value, int fallback) {
    // Both bounds are exact doubles; NaN fails both comparisons.
    constexpr double kBelow = -2147483649.0, kAbove = 2147483648.0;
    if (!(value > kBelow && value < kAbove)) return fallback;
    return static_cast<int>(value);
}

std::string WholeText(double value) { return GeneralText(std::floor(value)); }

bool TypedNumber(std::string_view text, double& value) {
    std::string copy(text);
    if (auto pos = copy.find(','); pos != std::string::npos) copy[pos] = '.';
    return StrictNumber(copy, value);
}

std::string NormalizeNumberText(std::string_view text) {
    std::string copy(text);
    if (auto pos = copy.find(','); pos != std::string::npos) copy[pos] = '.';
    std::string out = GeneralText(LeadingNumber(copy));
    if (auto pos = out.find(','); pos != std::string::npos) out[pos] = '.';
    return out;
}

std::string FormatMask(double value, Mask mask) {
    if (!std::isfinite(value)) return kUndefined;
    // Round the 15-significant-digit decimal form, as the number is shown, not its binary
    // neighbour: 0.15 must give 0.2 although the double is a hair below 0.15.
    bool negative = value < 0;
    double mag = std::fabs(value);
    int64_t tenths = 0;
    if (mag != 0) {
        char buf[64];
        auto res = FloatToChars(buf, buf + sizeof buf, mag, std::chars_format::scientific, 14);
        if (res.ec != std::errc()) return kUndefined;  // cannot happen: 15 digits and an exponent fit
        std::string s(buf, res.ptr);  // d.ddddddddddddddde±XX
        auto epos = s.find('e');
        int exponent = std::atoi(s.c_str() + epos + 1);
        std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);  // 15 digits
        int64_t n = std::stoll(digits);
        int shift = 13 - exponent;  // tenths = n / 10^shift
        if (shift <= 0) {
            if (exponent > 16) return GeneralText(std::round(value)) + ".0";
            for (int k = 0; k < -shift; ++k) n *= 10;
            tenths = n;
        } else if (shift <= 15) {
            int64_t p = 1;
            for (int k = 0; k < shift; ++k) p *= 10;
            tenths = n / p;
            if ((n % p) * 2 >= p) ++tenths;
        }
    }
    int64_t whole = tenths / 10, frac = tenths % 10;
    std::string out = (negative && tenths != 0) ? "-" : "";
    if (mask != Mask::NoLeadZero || whole != 0) out += std::to_string(whole);
    out += '.';
    out += static_cast<char>('0' + frac);
    return out;
}

NumberList ParseNumberList(std::string_view text, int capacity) {
    NumberList list;
    size_t pos = 0;
    while (true) {
        size_t comma = text.find(',', pos);
        std::string_view element = text.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
        if (static_cast<int>(list.values.size()) < capacity)
            list.values.push_back(LeadingNumber(element));
        else
            list.truncated = true;
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    if (list.values.empty()) list.values.push_back(0);  // capacity 0 is never asked for
    return list;
}

std::string JoinNumberList(const std::vector<double>& values, int lastIndex) {
    std::string out;
    for (int i = 0; i <= lastIndex && i < static_cast<int>(values.size()); ++i) {
        if (i > 0) out += ',';
        out += GeneralText(values[i]);
    }
    return out;
}

std::string JoinNumberList(const std::vector<double>& values) {
    return JoinNumberList(values, static_cast<int>(values.size()) - 1);
}

std::string FixProcessDecimalSeparator() {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = current ? current : "C";
    std::setlocale(LC_NUMERIC, "C");
    return saved;
}

void RestoreProcessDecimalSeparator(const std::string& saved) {
    if (!saved.empty()) std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace coldroom
