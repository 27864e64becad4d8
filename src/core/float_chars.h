// Floating-point number text through std::from_chars and std::to_chars where the standard
// library has them, else through strtod and snprintf: the WebAssembly build's library lacks
// both. The replacements give the same results for what the callers pass (a plain decimal read;
// a precision given, which the standard defines as printf's output in the C locale, and that
// build has no other locale).
#pragma once

#include <charconv>
#include <system_error>

#if !defined(__cpp_lib_to_chars)
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#endif

namespace coldroom {

inline std::from_chars_result FloatFromChars(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, value);
#else
    // from_chars takes no leading blank, sign '+' or hexadecimal form; strtod would.
    if (first == last || *first == ' ' || *first == '\t' || *first == '\n' || *first == '+' ||
        (last - first > 1 && (first[1] == 'x' || first[1] == 'X')))
        return {first, std::errc::invalid_argument};
    const std::string text(first, last);
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return {first, std::errc::invalid_argument};
    const char* stop = first + (end - text.c_str());
    if (errno == ERANGE) return {stop, std::errc::result_out_of_range};
    value = v;
    return {stop, std::errc()};
#endif
}

inline std::to_chars_result FloatToChars(char* first, char* last, double value, std::chars_format format,
                                         int precision) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, format, precision);
#else
    const char* pattern = format == std::chars_format::fixed ? "%.*f" : format == std::chars_format::scientific ? "%.*e" : "%.*g";
    const int n = std::snprintf(first, static_cast<std::size_t>(last - first), pattern, precision, value);
    if (n < 0 || n >= last - first) return {last, std::errc::value_too_large};
    return {first + n, std::errc()};
#endif
}

}  // namespace coldroom
