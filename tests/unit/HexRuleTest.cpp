#include "serial/HexRule.h"

#include <gtest/gtest.h>

TEST(HexDigitValue, DigitsOfBothCasesAndFortyTwoForTheRest) {
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        int expected = 42;
        if (c >= '0' && c <= '9')
            expected = c - '0';
        else if (c >= 'a' && c <= 'f')
            expected = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            expected = c - 'A' + 10;
        EXPECT_EQ(HexDigitValue(ch), expected) << c;
    }
}

TEST(ParseHexSend, PairsDigitsAndSkipsSeparators) {
    struct Row {
        QString text;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"48656C6C6F", "Hello"},
        {"0a0A", "\x0A\x0A"},
        {"ABC", "\xAB\xC0"},
        {"F", "\xF0"},
        {"41 42", "AB"},
        {"2 3", "\x23"},
        {"41\r\n42\t43\n", "ABC"},
        {" 4 1 ", "A"},
        {"   \r\n", ""},
        {"", ""},
        {"00ff", QByteArray("\x00\xFF", 2)},
    };
    for (const Row& row : rows) {
        const auto parsed = ParseHexSend(row.text);
        ASSERT_TRUE(std::holds_alternative<QByteArray>(parsed)) << row.text.toStdString();
        EXPECT_EQ(std::get<QByteArray>(parsed), row.bytes) << row.text.toStdString();
    }
}

TEST(ParseHexSend, NamesTheFirstCharacterThatIsNoDigitAsTheUserSeesIt) {
    struct Row {
        QString text;
        qsizetype position;
        QString character;
    };
    const Row rows[] = {
        {"G1", 0, "G"},
        {"41,42", 2, ","},
        {"4142x", 4, "x"},
        {"41 中", 3, "中"},
        {"0x41", 1, "x"},
        {"41\n4\n😀", 5, "😀"},
        // The accent is the first code that is no digit, the character is the accented digit.
        {"414\u0301", 2, "4\u0301"},
        {"41 👍🏽 Z", 3, "👍🏽"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const auto parsed = ParseHexSend(row.text);
        ASSERT_TRUE(std::holds_alternative<HexSendError>(parsed));
        EXPECT_EQ(std::get<HexSendError>(parsed).position, row.position);
        EXPECT_EQ(std::get<HexSendError>(parsed).character, row.character);
    }
}
