#include "io/cp1251.h"

#include <gtest/gtest.h>

namespace coldroom {
namespace {

TEST(Cp1251, EncodesTheCharactersOfOurTexts) {
    struct Case { const char* utf8; const char* cp1251; } cases[] = {
        {"Раcчет", "\xD0\xE0\x63\xF7\xE5\xF2"},  // the Latin c stays Latin
        {"АЯаяЁё", "\xC0\xDF\xE0\xFF\xA8\xB8"},
        {"№1 °С", "\xB9\x31\x20\xB0\xD1"},
        {"«—»", "\xAB\x97\xBB"},
        {"€", "\x88"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string out, error;
        ASSERT_TRUE(Utf8ToCp1251(c.utf8, out, error)) << c.utf8 << ": " << error;
        EXPECT_EQ(out, c.cp1251) << c.utf8;
        std::string back;
        ASSERT_TRUE(Cp1251ToUtf8(out, back, error)) << error;
        EXPECT_EQ(back, c.utf8);
    }
}

TEST(Cp1251, EveryAssignedByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != 0x98) all.push_back(static_cast<char>(b));
    std::string utf8, back, error;
    ASSERT_TRUE(Cp1251ToUtf8(all, utf8, error)) << error;
    ASSERT_TRUE(Utf8ToCp1251(utf8, back, error)) << error;
    EXPECT_EQ(back, all);
}

TEST(Cp1251, RefusesWhatTheCodePageCannotHold) {
    struct Case { std::string text; std::string character; std::string message; } cases[] = {
        {"Склад ☃ 1", "☃", "символ «☃» (U+2603) нельзя записать в кодировке Windows-1251"},
        {"Käse", "ä", "символ «ä» (U+00E4) нельзя записать в кодировке Windows-1251"},
        {"ok😀", "😀", "символ «😀» (U+1F600) нельзя записать в кодировке Windows-1251"},
        {"ab\xFF", "\xFF", "недопустимая последовательность байтов UTF-8 в позиции 3"},
        {"a\xD0", "\xD0", "недопустимая последовательность байтов UTF-8 в позиции 2"},
    };
    for (const auto& c : cases) {
        std::string out = "stale", error;
        EXPECT_FALSE(Utf8ToCp1251(c.text, out, error)) << c.text;
        EXPECT_TRUE(out.empty()) << "nothing half-converted may escape";
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(FirstUnencodableCharacter(c.text), c.character);
    }
    EXPECT_EQ(FirstUnencodableCharacter("Камера №1 «Север»"), "");
}

TEST(Cp1251, RefusesTheUnassignedByte) {
    std::string out, error;
    EXPECT_FALSE(Cp1251ToUtf8("ab\x98", out, error));
    EXPECT_EQ(error, "байт 0x98 в позиции 3 не относится к кодировке Windows-1251");
}

TEST(Cp1251, PrintableTextEscapesControlAndBrokenBytes) {
    struct Case { std::string text, shown; } cases[] = {
        {"Склад №1 «Север»", "Склад №1 «Север»"},
        {"a\nb\tc\r", "a\\x0Ab\\x09c\\x0D"},
        {std::string("x\0y", 3), "x\\x00y"},
        {"\x1B[2J", "\\x1B[2J"},
        {"ab\xFF\xD0", "ab\\xFF\\xD0"},
        {"\xC2\x85", "\\xC2\\x85"},  // NEL, a control character in UTF-8
    };
    for (const auto& c : cases) EXPECT_EQ(PrintableText(c.text), c.shown);
}

TEST(Cp1251, JoinCrLfEndsEveryLine) {
    EXPECT_EQ(JoinCrLf({"a", "", "б"}), "a\r\n\r\nб\r\n");
    EXPECT_EQ(JoinCrLf({}), "");
}

}  // namespace
}  // namespace coldroom
