#include "platform/GbkCodec.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Text from UTF-16 units, which may be surrogates that pair with nothing.
QString Units(std::initializer_list<char16_t> units) {
    return QString(reinterpret_cast<const QChar*>(units.begin()), qsizetype(units.size()));
}

struct EncodeCase {
    const char* name;
    QString text;
    QByteArray bytes;
    friend void PrintTo(const EncodeCase& row, std::ostream* os) { *os << row.name; }
};

class GbkEncode : public ::testing::TestWithParam<EncodeCase> {};

// Each character becomes its GBK bytes or one '?'; none takes its neighbour along.
TEST_P(GbkEncode, EveryCharacterOnItsOwn) {
    EXPECT_EQ(GbkFromUnicode(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GbkEncode,
    ::testing::Values(EncodeCase{"AsciiAndCjk", QStringLiteral("温度25"),
                                 QByteArray("\xCE\xC2\xB6\xC8"
                                            "25")},
                      EncodeCase{"OutsideGbk", QStringLiteral("a\u20A9b"), "a?b"},
                      EncodeCase{"PairOutsideGbk", QStringLiteral("a\U0001F600b"), "a?b"},
                      EncodeCase{"LoneHighBeforeLetter", Units({0xD800, u'A'}), "?A"},
                      EncodeCase{"LoneHighAtEnd", Units({u'A', 0xD800}), "A?"},
                      EncodeCase{"LoneLow", Units({0xDC00, u'A'}), "?A"},
                      EncodeCase{"HighBeforeHigh", Units({0xD800, 0xD800, 0xDC00}), "??"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
