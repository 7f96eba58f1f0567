#include "platform/CrtRand.h"
#include "platform/GbkCodec.h"
#include "platform/LocalTime.h"
#include "serial/HexRule.h"
#include "serial/ReceiveRules.h"
#include "serial/SerialSettings.h"
#include "support/QtPrinters.h"
#include "temperature/ReadingRule.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Qt::Literals::StringLiterals;
using Row = std::pair<const char*, const char*>;

// A rule's outcome as the user meets it: the bytes as hexadecimal pairs or
// "#position character" for a send text, the settings or the refusal.
struct Shown {
    QString operator()(const QByteArray& bytes) const { return bytes.toHex(' '); }
    QString operator()(HexSendError e) const { return u"#%1 "_s.arg(e.position) + e.character; }
    QString operator()(const SerialSettings& s) const { return FormatSerialSettings(s); }
    QString operator()(const SettingsError& e) const { return e.reason; }
};

// Each edge of the digit ranges, the separators, and characters as the user sees them.
TEST(SerialRules, HexSendPairsDigitsOrNamesTheFirstOtherCharacter) {
    for (const auto& [text, shown] :
         {Row{"09afAF", "09 af af"}, Row{" 4\t1\r\n2 ", "41 20"}, Row{"", ""}, Row{"4/", "#1 /"},
          Row{"4:", "#1 :"}, Row{"4@", "#1 @"}, Row{"4G", "#1 G"}, Row{"4`", "#1 `"},
          Row{"4g", "#1 g"}, Row{"41,42", "#2 ,"}, Row{"41 \u0141", "#3 \u0141"},
          Row{"414\u0301", "#2 4\u0301"}, // a letter whose code ends in 0x41; an accented digit
          Row{"4\n\U0001F44D\U0001F3FD", "#2 \U0001F44D\U0001F3FD"}})
        EXPECT_EQ(std::visit(Shown{}, ParseHexSend(text)), shown) << text;
}

TEST(SerialRules, ChunkEndsAtTheFirstZeroOrTheResponseCount) {
    using Cut = std::tuple<QByteArray, int, QByteArray>;
    for (const auto& [read, respBytes, chunk] :
         {Cut{"abc", 1, "a"}, Cut{"abc", 3, "abc"}, Cut{"abc", 15, "abc"}, Cut{"a\0b"_ba, 15, "a"},
          Cut{"\0a"_ba, 2, ""}, Cut{"ab\0"_ba, 2, "ab"}})
        EXPECT_EQ(CutChunk(read, respBytes), chunk) << read.toHex().data() << " " << respBytes;
    for (int v = 0; v < 16; ++v)
        EXPECT_EQ(NibbleToHexChar(v), "0123456789ABCDEF"[v]);
}

// Accepted settings format back in upper case; a refusal names the wrong field.
TEST(SerialRules, SettingsReadEveryFieldOrNameTheWrongOne) {
    for (const auto& [text, shown] :
         {Row{"9600,n,8,1", "9600,N,8,1"}, Row{"19200,O,7,2", "19200,O,7,2"},
          Row{"100,M,5,1.5", "100,M,5,1.5"}, Row{"512000,s,6,2", "512000,S,6,2"},
          Row{"2147483647,e,8,1", "2147483647,E,8,1"},
          Row{"9600,n,8", "应为以逗号分隔的“波特率,校验位,数据位,停止位”四项，如 9600,N,8,1"},
          Row{"0,n,8,1", "波特率“0”不是正的十进制整数"},
          Row{"2147483648,n,8,1", "波特率“2147483648”不是正的十进制整数"},
          Row{"9600, n,8,1", "校验位“ n”无效，应为 N、O、E、M 或 S"},
          Row{"9600,n,8,1.50", "停止位“1.50”无效，应为 1、1.5 或 2"}})
        EXPECT_EQ(std::visit(Shown{}, ParseSerialSettings(text)), shown);
}

// Each character becomes its GBK bytes or one '?', also a surrogate that
// pairs with nothing; none takes its neighbour along. A stream cut anywhere
// shows each character whole, and a byte that forms none as U+FFFD.
TEST(Gbk, EncodesAndDecodesCharacterByCharacter) {
    const char16_t units[] =
        u"25温度 a\u20A9 \U0001F600 \xD800\x41 \xDC00\x41 \xD800\xD800\xDC00 A\xD800";
    EXPECT_EQ(GbkFromUnicode(QString(reinterpret_cast<const QChar*>(units))),
              "25\xCE\xC2\xB6\xC8 a? ? ?A ?A ?? A?");
    GbkDecoder decoder;
    QStringList shown;
    for (const QByteArray& chunk : {"\xCE"_ba, "\xC2\xB6"_ba, "\xC8!\xFF\xCE 1"_ba, "\xCE"_ba,
                                    "1"_ba, "\x80\x7F"_ba, QByteArray(700, 'x')})
        shown.append(decoder.Decode(chunk));
    EXPECT_EQ(shown, QStringList({"", u"温"_s, u"度!\uFFFD\uFFFD 1"_s, "", u"\uFFFD1"_s,
                                  u"\u20AC\x7F"_s, QString(700, u'x')}));
    EXPECT_EQ(GbkToUnicode("\xCE\xC2\xCE"), u"温\uFFFD"_s) << "a half at the end is no character";
}

// The original C library's rand(), never seeded.
TEST(CrtRand, DrawsTheOriginalSequence) {
    CCrtRand generator;
    for (const int expected : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(generator.Rand(), expected);
}

// Beyond a double's range a number is too large or too small by where its
// first digit stands plus its exponent, not by the exponent's sign alone.
TEST(ReadingRule, ReadsTheDecimalGrammarOnly) {
    using R = std::pair<QByteArray, double>;
    for (const auto& [text, value] :
         {R{"25.5", 25.5}, R{"-5.25", -5.25}, R{" 21.0", 21.0}, R{"+3", 3.0}, R{"1e2", 100.0},
          R{"2.5E-1", 0.25}, R{"2.5e", 2.5}, R{"1e+", 1.0}, R{".5", 0.5}, R{"5.", 5.0},
          R{"\t\r12", 12.0}, R{"25.5xyz", 25.5}, R{"1,5", 1.0}, R{"", 0.0}, R{"abc", 0.0},
          R{"nan", 0.0}, R{"inf", 0.0}, R{"0x1A", 0.0}, R{"-", 0.0}, R{".", 0.0},
          R{"1e999", HUGE_VAL}, R{"-1e999", -HUGE_VAL}, R{"1e-999", 0.0}, R{"0.1e310", HUGE_VAL},
          R{"1000e-330", 0.0}, R{"-0.001e-322", 0.0}, R{"1e-310", 1e-310}, R{"00.000e999", 0.0},
          R{"+1e99999999999999999999", HUGE_VAL},
          // The exponent counts in tens even where only a long mantissa keeps the sum above range.
          R{"1" + QByteArray(10399, '0') + "e-9999", HUGE_VAL}})
        EXPECT_EQ(ReadCelsius(text), value) << text.left(30).data();
    // The curve takes the single-precision reading plus 2 toward zero.
    EXPECT_EQ(FormatReadout(-3.5) + QString::number(CurveValue(ToSinglePrecision(-3.5))),
              "摄氏-3.50℃-1");
}

// The clock's time of day, read a thousand times a second across the turn of
// a second: each falls between the system's own readings around it.
TEST(LocalTime, FollowsTheSystemClockAcrossSeconds) {
    const int first = QTime::currentTime().second();
    QElapsedTimer sinceTurn;
    while (!sinceTurn.isValid() || sinceTurn.elapsed() < 20) {
        const QTime before = QTime::currentTime();
        const QTime now = LocalTimeOfDay();
        const QTime after = QTime::currentTime();
        if (before <= after) { // not across midnight
            EXPECT_TRUE(before <= now && now <= after)
                << before.toString("HH:mm:ss.zzz").toStdString() << " "
                << now.toString("HH:mm:ss.zzz").toStdString();
        }
        if (!sinceTurn.isValid() && after.second() != first)
            sinceTurn.start();
        QThread::usleep(900);
    }
}

} // namespace
