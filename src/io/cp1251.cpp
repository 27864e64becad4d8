#include "io/cp1251.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace coldroom {
namespace {

// Length of the well-formed UTF-8 sequence at the start of `s` and its code point;
// 0 when the bytes there are not valid UTF-8.
size_t decodeUtf8(std::string_view s, char32_t& cp) {
    if (s.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(s[0]);
    size_t len = 0;
    char32_t min = 0;
    if (b0 < 0x80) { cp = b0; return 1; }
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
    else return 0;
    if (s.size() < len) return 0;
    for (size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

std::string codePointText(char32_t cp) {
    char buf[16];
    const int n = std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return n > 0 && n < static_cast<int>(sizeof buf) ? std::string(buf, static_cast<std::size_t>(n)) : "U+?";
}

}  // namespace

bool WellFormedUtf8(std::string_view text) {
    for (char32_t cp = 0; !text.empty();) {
        const size_t len = decodeUtf8(text, cp);
        if (len == 0) return false;
        text.remove_prefix(len);
    }
    return true;
}

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    auto hex = [&out](std::string_view bytes) {
        for (unsigned char b : bytes) {
            char buf[8];
            const int n = std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(b));
            if (n > 0 && n < static_cast<int>(sizeof buf)) out.append(buf, static_cast<std::size_t>(n));
        }
    };
    while (!text.empty()) {
        char32_t cp = 0;
        const size_t len = decodeUtf8(text, cp);
        if (len == 0) {
            hex(text.substr(0, 1));  // the next byte may start a good character again
            text.remove_prefix(1);
            continue;
        }
        const bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
        if (control) hex(text.substr(0, len));
        else out.append(text.substr(0, len));
        text.remove_prefix(len);
    }
    return out;
}

namespace {

// Runs iconv over the whole input. On failure `stop` is the input offset where it stopped.
bool convert(const char* to, const char* from, std::string_view in, std::string& out,
             size_t& stop, int& err) {
    out.clear();
    stop = 0;
    err = 0;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        err = errno;
        return false;
    }
    // Both directions are at most 3 bytes out per byte in (1251 -> UTF-8).
    std::string buffer(in.size() * 3 + 4, '\0');
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    bool ok = true;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        ok = false;
        err = errno;
        stop = in.size() - inLeft;
    } else if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        ok = false;
        err = errno;
        stop = in.size();
    }
    iconv_close(cd);
    if (ok) out.assign(buffer.data(), buffer.size() - outLeft);
    return ok;
}

}  // namespace

bool Utf8ToCp1251(std::string_view utf8, std::string& out, std::string& error) {
    size_t stop = 0;
    int err = 0;
    if (convert("CP1251", "UTF-8", utf8, out, stop, err)) {
        error.clear();
        return true;
    }
    out.clear();
    char32_t cp = 0;
    const size_t len = stop < utf8.size() ? decodeUtf8(utf8.substr(stop), cp) : 0;
    if ((err == EILSEQ || err == EINVAL) && len == 0) {
        error = "недопустимая последовательность байтов UTF-8 в позиции " +
                std::to_string(stop + 1);
    } else if (err == EILSEQ) {
        error = "символ «" + std::string(utf8.substr(stop, len)) + "» (" + codePointText(cp) +
                ") нельзя записать в кодировке Windows-1251";
    } else {
        error = "ошибка перекодировки в Windows-1251 (код " + std::to_string(err) + ")";
    }
    return false;
}

bool Cp1251ToUtf8(std::string_view bytes, std::string& out, std::string& error) {
    size_t stop = 0;
    int err = 0;
    if (convert("UTF-8", "CP1251", bytes, out, stop, err)) {
        error.clear();
        return true;
    }
    out.clear();
    if (err == EILSEQ && stop < bytes.size()) {
        char buf[8];
        const int n = std::snprintf(buf, sizeof buf, "0x%02X", static_cast<unsigned char>(bytes[stop]));
        error = std::string("байт ") + (n > 0 && n < static_cast<int>(sizeof buf) ? buf : "?") + " в позиции " + std::to_string(stop + 1) +
                " не относится к кодировке Windows-1251";
    } else {
        error = "ошибка перекодировки из Windows-1251 (код " + std::to_string(err) + ")";
    }
    return false;
}

std::string FirstUnencodableCharacter(std::string_view utf8) {
    std::string out;
    size_t stop = 0;
    int err = 0;
    if (convert("CP1251", "UTF-8", utf8, out, stop, err) || stop >= utf8.size()) return {};
    char32_t cp = 0;
    const size_t len = decodeUtf8(utf8.substr(stop), cp);
    // A broken sequence is reported as its first byte: still something to point at.
    return std::string(utf8.substr(stop, len == 0 ? 1 : len));
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    size_t total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace coldroom
