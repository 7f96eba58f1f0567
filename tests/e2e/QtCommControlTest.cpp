#include "serial/QtCommControl.h"
#include "platform/GbkCodec.h"
#include "serial/CommError.h"
#include "serial/LineSettings.h"
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/SettingsPrinter.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr short kPort = 4;

SerialSettings Settings(const QString& text) {
    return std::get<SerialSettings>(ParseSerialSettings(text));
}

// The description of the CommError that action raises, or a failure.
QString Refusal(const std::function<void()>& action) {
    try {
        action();
    } catch (const CommError& error) {
        return error.Description();
    }
    ADD_FAILURE() << "no CommError raised";
    return {};
}

class CommOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        pty.PublishAs(kPort);
        comm.SetCommPort(kPort);
    }

    void Open(const QString& settings = "9600,n,8,1") {
        comm.SetSettings(settings);
        comm.SetPortOpen(true);
    }

    // Sends bytes from the far end and waits until all of them wait in the control.
    void Arrive(const QByteArray& bytes) {
        const short before = comm.GetInBufferCount();
        pty.Send(bytes);
        ASSERT_TRUE(WaitUntil([&] { return comm.GetInBufferCount() == before + bytes.size(); }));
    }

    // What the program put in force on the device.
    std::optional<SerialSettings> InForce() const { return ReadLineSettings(pty.SlaveFd()); }

    TempConfigHome home;
    PseudoTerminal pty;
    QtCommControl comm;
};

TEST_F(CommOnPty, OpenAndCloseAsTheDialogDoes) {
    pty.Send("stale");
    comm.SetInBufferSize(1024);
    comm.SetOutBufferSize(512);
    comm.SetPortOpen(true);
    comm.SetInputMode(1);
    comm.SetSettings("9600,n,8,1");
    ASSERT_TRUE(WaitUntil([&] { return comm.GetInBufferCount() == 5; }));
    EXPECT_EQ(comm.GetInput().toByteArray(), "stale");
    comm.SetPortOpen(false);
    EXPECT_FALSE(comm.GetPortOpen());

    // Closing a closed port and opening an open one change nothing.
    comm.SetPortOpen(false);
    comm.SetPortOpen(true);
    comm.SetPortOpen(true);
    EXPECT_TRUE(comm.GetPortOpen());
    EXPECT_EQ(InForce(), Settings("9600,N,8,1"));
}

TEST_F(CommOnPty, ReceiveEventOnceThresholdBytesWait) {
    QSignalSpy events(&comm, &CommControl::OnComm);
    comm.SetRThreshold(5);
    Open();

    for (char c : QByteArray("25.5"))
        Arrive(QByteArray(1, c));
    EXPECT_EQ(events.count(), 0);

    pty.Send("\r");
    ASSERT_TRUE(WaitUntil([&] { return events.count() == 1; }));
    EXPECT_EQ(comm.GetCommEvent(), CommControl::comEvReceive);
    EXPECT_EQ(comm.GetInBufferCount(), 5);

    // Threshold 0 raises nothing, however much arrives.
    comm.SetRThreshold(0);
    Arrive("0123456789");
    DrainEvents();
    EXPECT_EQ(events.count(), 1);
}

struct InputRow {
    const char* name;
    long mode;
    short len;
    QVariant expected;
    short leftWaiting;
    friend void PrintTo(const InputRow& row, std::ostream* os) { *os << row.name; }
};

class InputModes : public CommOnPty, public ::testing::WithParamInterface<InputRow> {};

TEST_P(InputModes, InputTakesWhatWaits) {
    const InputRow& row = GetParam();
    comm.SetInputMode(row.mode);
    comm.SetInputLen(row.len);
    Open();
    Arrive(GbkFromUnicode(QStringLiteral("温度25.5")));

    const QVariant input = comm.GetInput();
    EXPECT_EQ(input.typeId(), row.expected.typeId());
    EXPECT_EQ(input, row.expected);
    EXPECT_EQ(comm.GetInBufferCount(), row.leftWaiting);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InputModes,
    ::testing::Values(InputRow{"BinaryAll", 1, 0,
                               QByteArray("\xCE\xC2\xB6\xC8"
                                          "25.5"),
                               0},
                      InputRow{"BinaryAtMostLen", 1, 3, QByteArray("\xCE\xC2\xB6"), 5},
                      InputRow{"TextFromGbk", 0, 0, QStringLiteral("温度25.5"), 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CommOnPty, FullInBufferLosesNothing) {
    comm.SetInBufferSize(1024);
    comm.SetInputMode(1);
    Open();
    QByteArray sent;
    for (int i = 0; i < 3000; ++i)
        sent.append(char(i % 251));
    pty.Send(sent);

    QByteArray received;
    ASSERT_TRUE(WaitUntil([&] {
        EXPECT_LE(comm.GetInBufferCount(), 1024);
        received += comm.GetInput().toByteArray();
        return received.size() >= sent.size();
    }));
    EXPECT_EQ(received, sent);
}

TEST_F(CommOnPty, OutputSendsTextAsGbkAndBytesAsIs) {
    EXPECT_TRUE(Refusal([&] { comm.SetOutput(QByteArray("x")); }).contains("COM4 未打开"));
    Open();
    comm.SetOutput(QStringLiteral("温度25.5℃"));
    EXPECT_EQ(pty.Receive(10), QByteArray("\xCE\xC2\xB6\xC8"
                                          "25.5\xA1\xE6"));

    QByteArray every;
    for (int b = 0; b < 256; ++b)
        every.append(char(b));
    comm.SetOutput(every);
    EXPECT_EQ(pty.Receive(256), every);

    EXPECT_TRUE(Refusal([&] { comm.SetOutput(42); }).contains("字符串或字节数组"));
}

class BaudRates : public CommOnPty, public ::testing::WithParamInterface<qint32> {};

TEST_P(BaudRates, RateIsInForceOnTheDevice) {
    const QString settings = QStringLiteral("%1,N,8,2").arg(GetParam());
    Open();
    comm.SetSettings(settings);
    EXPECT_EQ(InForce(), Settings(settings));

    // Set while closed, it comes into force at the next opening.
    comm.SetPortOpen(false);
    comm.SetSettings("9600,N,8,1");
    comm.SetSettings(settings);
    comm.SetPortOpen(true);
    EXPECT_EQ(InForce(), Settings(settings));
}

INSTANTIATE_TEST_SUITE_P(Rows, BaudRates,
                         ::testing::Values(100, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
                                           38400, 56000, 57600, 115200, 128000, 256000, 512000));

class Framing : public CommOnPty, public ::testing::WithParamInterface<const char*> {};

// A pseudo-terminal has no wire: it keeps rate and stop bits, and parity and
// character size do not apply to it, so every framing opens as chosen.
TEST_P(Framing, EveryChoiceOpensAndKeepsRateAndStopBits) {
    const SerialSettings chosen = Settings(GetParam());
    Open("38400,N,8,1");
    for (int reopen = 0; reopen < 2; ++reopen) {
        if (reopen) {
            comm.SetPortOpen(false);
            comm.SetPortOpen(true);
        } else {
            comm.SetSettings(GetParam());
        }
        ASSERT_TRUE(InForce());
        EXPECT_EQ(InForce()->baudRate, chosen.baudRate);
        EXPECT_EQ(InForce()->stopBits, chosen.stopBits);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Framing,
                         ::testing::Values("9600,N,8,1", "9600,N,8,2", "9600,O,8,2", "9600,E,8,1",
                                           "9600,M,8,1", "9600,s,8,1", "9600,N,6,1", "9600,N,7,1",
                                           "9600,N,5,2"));

TEST_F(CommOnPty, MalformedSettingsLeaveThePreviousInForce) {
    Open("19200,N,8,2");
    EXPECT_EQ(Refusal([&] { comm.SetSettings("9600,x,8,1"); }),
              "串口设置“9600,x,8,1”无效：校验位“x”无效，应为 N、O、E、M 或 S。");
    EXPECT_TRUE(Refusal([&] { comm.SetSettings("9600,n,8,1.5"); }).contains("1.5 个停止位"));
    EXPECT_EQ(InForce(), Settings("19200,N,8,2"));

    // Refused while closed, the stored settings still apply at opening.
    comm.SetPortOpen(false);
    EXPECT_TRUE(Refusal([&] { comm.SetSettings("0,n,8,1"); }).contains("波特率“0”"));
    comm.SetPortOpen(true);
    EXPECT_EQ(InForce(), Settings("19200,N,8,2"));
}

TEST_F(CommOnPty, CommPortOnlyWhileClosedAndInRange) {
    Open();
    EXPECT_TRUE(Refusal([&] { comm.SetCommPort(5); }).contains("请关闭串口后再更改端口号"));
    EXPECT_TRUE(comm.GetPortOpen());

    comm.SetPortOpen(false);
    EXPECT_TRUE(Refusal([&] { comm.SetCommPort(0); }).contains("端口号 0 无效"));
    EXPECT_TRUE(Refusal([&] { comm.SetCommPort(16); }).contains("端口号 16 无效"));

    PseudoTerminal other;
    other.PublishAs(5);
    comm.SetCommPort(5);
    comm.SetPortOpen(true);
    comm.SetOutput(QByteArray("to five"));
    EXPECT_EQ(other.Receive(7), "to five");
}

TEST_F(CommOnPty, OpeningNamesWhatIsWrong) {
    comm.SetCommPort(15);
    EXPECT_EQ(Refusal([&] { comm.SetPortOpen(true); }),
              "串口 COM15 不存在：没有找到对应的串口设备。");

    const QString gone = home.Path() + "/unplugged";
    ASSERT_EQ(PublishPortLink(6, gone), QString());
    comm.SetCommPort(6);
    const QString missing = Refusal([&] { comm.SetPortOpen(true); });
    EXPECT_TRUE(missing.startsWith("串口 COM6 不存在") && missing.contains(gone))
        << missing.toStdString();

    comm.SetCommPort(kPort);
    Open();
    QtCommControl second;
    second.SetCommPort(kPort);
    EXPECT_EQ(
        Refusal([&] { second.SetPortOpen(true); }),
        QStringLiteral("无法打开串口 COM4（%1）：该串口正被其他程序使用。").arg(pty.SlavePath()));
    EXPECT_FALSE(second.GetPortOpen());
}

TEST_F(CommOnPty, HangUpClosesThePortWithOneEvent) {
    QSignalSpy events(&comm, &CommControl::OnComm);
    comm.SetRThreshold(1);
    Open();
    pty.HangUp();

    ASSERT_TRUE(WaitUntil([&] { return events.count() == 1; }));
    EXPECT_EQ(comm.GetCommEvent(), CommControl::comEvCD);
    EXPECT_FALSE(comm.GetPortOpen());
    DrainEvents();
    EXPECT_EQ(events.count(), 1);

    // The dialog closes the port it believes open; that must pass.
    comm.SetPortOpen(false);
}

TEST_F(CommOnPty, HangUpFoundByAWrite) {
    QSignalSpy events(&comm, &CommControl::OnComm);
    Open();
    pty.HangUp();

    // The write meets the vanished device before the event loop has seen it;
    // the event still comes after the access, not inside it.
    EXPECT_TRUE(Refusal([&] { comm.SetOutput(QByteArray("25.5")); }).contains("已断开"));
    EXPECT_EQ(events.count(), 0);
    ASSERT_TRUE(WaitUntil([&] { return events.count() == 1; }));
    EXPECT_EQ(comm.GetCommEvent(), CommControl::comEvCD);
    DrainEvents();
    EXPECT_EQ(events.count(), 1);
}

} // namespace
