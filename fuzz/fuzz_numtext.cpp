// The number-text routines on any text: reading never fails, and every written form reads
// back to itself (normalising twice changes nothing, a list joined and parsed again joins to
// the same text, a field's text of a value is the field's text of what it reads back as).
#include <cmath>
#include <cstring>
#include <string>

#include "core/numtext.h"
#include "io/cp1251.h"
#include "fuzz_support.h"

using namespace coldroom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double leading = LeadingNumber(text);
    FUZZ_CHECK(std::isfinite(leading));
    double strict = 0;
    if (StrictNumber(text, strict)) FUZZ_CHECK(std::isfinite(strict));

    const std::string normal = NormalizeNumberText(text);
    FUZZ_CHECK(NormalizeNumberText(normal) == normal);

    const NumberList list = ParseNumberList(text, 61);
    const std::string joined = JoinNumberList(list.values);
    FUZZ_CHECK(JoinNumberList(ParseNumberList(joined, 61).values) == joined);

    for (Mask mask : {Mask::Fixed4, Mask::NoLeadZero}) {
        const std::string shown = FormatMask(leading, mask);
        FUZZ_CHECK(!shown.empty());
    }
    (void)WholeOr(leading, -1);
    (void)WholeText(leading);

    // Any eight bytes as a double and as a float: the edges (NaN, infinities, the largest
    // values) come from here, which no text reads as.
    if (size >= sizeof(double)) {
        double d = 0;
        std::memcpy(&d, data, sizeof d);
        (void)WholeOr(d, -1);
        (void)FormatMask(d, Mask::Fixed4);
        const std::string general = GeneralText(d);
        if (std::isfinite(d)) FUZZ_CHECK(GeneralText(LeadingNumber(general)) == general);
        float f = 0;
        std::memcpy(&f, data, sizeof f);
        const std::string field = InputTextSingle(f);
        FUZZ_CHECK(InputTextSingle(static_cast<float>(LeadingNumber(field))) == field);
    }

    // Text that messages quote: nothing below a blank survives, and it is valid UTF-8.
    const std::string printable = PrintableText(text);
    for (unsigned char c : printable) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
    std::string cp1251, why;
    FUZZ_CHECK(Utf8ToCp1251(printable, cp1251, why) || !FirstUnencodableCharacter(printable).empty());

    // Windows-1251 text converts to UTF-8 and back unchanged.
    std::string utf8, back;
    if (Cp1251ToUtf8(text, utf8, why)) {
        FUZZ_CHECK(Utf8ToCp1251(utf8, back, why));
        FUZZ_CHECK(back == text);
    }
    return 0;
}
