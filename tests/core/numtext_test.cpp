#include "core/numtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <random>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace coldroom {
namespace {

TEST(NumText, LeadingNumberReadsThePrefix) {
    struct Case { const char* text; double value; } cases[] = {
        {"12abc", 12}, {"1,5", 1}, {"", 0}, {"1 500", 1500}, {"-7.25", -7.25},
        {"abc", 0}, {".5", 0.5}, {"-.5", -0.5}, {"+3", 3}, {"1.2.3", 1.2},
        {"1e3", 1000}, {"2E-2x", 0.02}, {"5E", 5}, {"5e+", 5}, {"-", 0}, {".", 0},
        {" \t-1\n2 ", -12}, {"1e999", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(NumText, StrictNumberAcceptsOnlyAWholeNumber) {
    struct Case { const char* text; bool ok; double value; } cases[] = {
        {"100", true, 100}, {"2.5", true, 2.5}, {"  -3 ", true, -3}, {"1e2", true, 100},
        {"12abc", false, 0}, {"", false, 0}, {"   ", false, 0}, {"1,5", false, 0},
        {"1 5", false, 0}, {"1e", false, 0}, {".", false, 0}, {"0.5", true, 0.5},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(StrictNumber(c.text, v), c.ok) << c.text;
        if (c.ok) EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        else EXPECT_EQ(v, -99) << c.text;
    }
}

TEST(NumText, NormalizeRewritesEnteredNumbers) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"1,5", "1.5"}, {"2,50", "2.5"}, {" 7 ", "7"}, {"abc", "0"}, {"", "0"},
        {"125.0", "125"}, {"12,5,3", "12.5"}, {"-0,25", "-0.25"}, {"1,2e3", "1200"},
        {"-0", "0"}, {"0.1", "0.1"}, {"100000000000000000", "1E+17"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeNumberText(c.in), c.out) << c.in;
}

TEST(NumText, GeneralTextOfDoubleAndSingle) {
    EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");
    EXPECT_EQ(GeneralText(0.5), "0.5");
    EXPECT_EQ(GeneralText(-18), "-18");
    EXPECT_EQ(GeneralText(43.75), "43.75");
    EXPECT_EQ(GeneralText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(GeneralText(4000), "4000");
    EXPECT_EQ(GeneralTextSingle(33.3f), "33.3");
    EXPECT_EQ(GeneralTextSingle(75.0f), "75");
    EXPECT_EQ(GeneralTextSingle(1.5f), "1.5");
    EXPECT_EQ(GeneralText(1.0 / 0.0), "\xE2\x80\x94");  // never "inf"
    // The largest double reads back as a number, not as the overflow "1.79769313486232E+308".
    EXPECT_EQ(GeneralText(-std::numeric_limits<double>::max()), "-1.79769313486231E+308");
    EXPECT_EQ(LeadingNumber(GeneralText(std::numeric_limits<double>::max())), 1.79769313486231e308);
    EXPECT_EQ(WholeText(-3.2), "-4");
    EXPECT_EQ(WholeText(420.4), "420");
}

TEST(NumText, MasksRoundHalvesAwayFromZero) {
    struct Case { double v; Mask m; const char* out; } cases[] = {
        {125, Mask::Fixed4, "125.0"}, {0.5, Mask::Fixed4, "0.5"}, {127.46, Mask::Fixed4, "127.5"},
        {127.45, Mask::Fixed4, "127.5"}, {0.15, Mask::Fixed4, "0.2"}, {-0.25, Mask::Fixed4, "-0.3"},
        {12.4129, Mask::Fixed4, "12.4"}, {0.04, Mask::Fixed4, "0.0"}, {-0.04, Mask::Fixed4, "0.0"},
        {30, Mask::Fixed4, "30.0"}, {0.5, Mask::NoLeadZero, ".5"}, {0, Mask::NoLeadZero, ".0"},
        {12.5, Mask::NoLeadZero, "12.5"}, {100, Mask::NoLeadZero, "100.0"}, {0.95, Mask::NoLeadZero, "1.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatMask(c.v, c.m), c.out) << c.v;
    // Volume 10 x 5 x 2.5 shown in a field: masked, then normalised.
    EXPECT_EQ(NormalizeNumberText(FormatMask(10 * 5 * 2.5, Mask::Fixed4)), "125");
}

TEST(NumText, NumberListsParseAndJoin) {
    auto empty = ParseNumberList("", 41);
    ASSERT_EQ(empty.values.size(), 1u);
    EXPECT_EQ(empty.values[0], 0);
    EXPECT_EQ(empty.lastIndex(), 0);

    auto four = ParseNumberList("1,2,3,4", 41);
    EXPECT_EQ(four.values, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(four.lastIndex(), 3);

    // The last element is read whole: -12.25 stays -12.25, 1000.5 keeps its fraction.
    EXPECT_EQ(ParseNumberList("7,-12.25", 41).values, (std::vector<double>{7, -12.25}));
    EXPECT_EQ(ParseNumberList("1,,1000.5", 41).values, (std::vector<double>{1, 0, 1000.5}));

    auto cut = ParseNumberList("1,2,3,4,5", 3);
    EXPECT_EQ(cut.values, (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(cut.truncated);
    EXPECT_FALSE(four.truncated);

    EXPECT_EQ(JoinNumberList(ParseNumberList("19.9,24.4,114.0", 41).values), "19.9,24.4,114");
    EXPECT_EQ(JoinNumberList({1, 2.5, -3}, 2), "1,2.5,-3");
    EXPECT_EQ(JoinNumberList({1, 2.5, -3}, 0), "1");
}

// Under a locale whose decimal separator is a comma, nothing the program reads or writes
// may change, and the process setting must come back as it was.
TEST(NumText, CommaLocaleChangesNothing) {
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    std::string original = before ? before : "C";
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 locale missing";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale should use a comma";

    EXPECT_EQ(NormalizeNumberText("1,5"), "1.5");
    EXPECT_DOUBLE_EQ(LeadingNumber("2.5"), 2.5);
    EXPECT_EQ(GeneralText(2.5), "2.5");
    EXPECT_EQ(FormatMask(127.46, Mask::Fixed4), "127.5");

    std::string saved = FixProcessDecimalSeparator();
    EXPECT_EQ(saved, "ru_RU.UTF-8");
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1.5");
    RestoreProcessDecimalSeparator(saved);
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");
    std::setlocale(LC_NUMERIC, original.c_str());
}

TEST(NumText, WholeOrTakesOnlyNumbersAnIntHolds) {
    struct Case { double value; int whole; } cases[] = {
        {3.9, 3}, {-3.9, -3}, {2147483647.5, 2147483647}, {-2147483648.9, -2147483647 - 1},
        {2147483648.0, -7}, {-2147483649.0, -7}, {1e10, -7}, {-1e300, -7},
        {std::numeric_limits<double>::infinity(), -7}, {std::numeric_limits<double>::quiet_NaN(), -7},
    };
    for (const auto& c : cases) EXPECT_EQ(WholeOr(c.value, -7), c.whole) << c.value;
}

TEST(NumText, AnInputFieldNeverGetsTheUndefinedMark) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case { float value; const char* text; } cases[] = {
        {80, "80"}, {inf, "3.402823E+38"}, {-inf, "-3.402823E+38"},
        {std::numeric_limits<float>::quiet_NaN(), "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InputTextSingle(c.value), c.text);
        EXPECT_EQ(InputTextSingle(static_cast<float>(LeadingNumber(c.text))), c.text) << "reads back as itself";
    }
}

}  // namespace
}  // namespace coldroom

namespace coldroom {
namespace {

// The quick reading of plain numbers gives exactly what the general reading gives: the
// compacted text's number read by from_chars.
TEST(NumText, LeadingNumberQuickAndGeneralReadingsAgree) {
    auto reference = [](const std::string& text) {
        std::string compact;
        for (char c : text)
            if (c != ' ' && c != '\t' && c != '\n') compact.push_back(c);
        std::size_t i = compact[0] == '+' || compact[0] == '-' ? 1 : 0;
        while (i < compact.size() && (std::isdigit(static_cast<unsigned char>(compact[i])) || compact[i] == '.')) ++i;
        std::string number = compact.substr(0, i);
        if (number[0] == '+') number.erase(0, 1);
        if (number.find_first_of("0123456789") == std::string::npos || std::count(number.begin(), number.end(), '.') > 1)
            return -1e300;  // not the quick reading's case
        double v = 0;
        std::from_chars(number.data(), number.data() + number.size(), v);
        return v;
    };
    std::mt19937 random(7);
    const std::string alphabet = "0123456789.- +\tx";
    for (int n = 0; n < 20000; ++n) {
        std::string text(1 + random() % 18, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        const double expected = reference(text);
        if (expected == -1e300) continue;
        EXPECT_EQ(LeadingNumber(text), expected) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace coldroom
