#include "serial/QtCommControl.h"
#include "serial/CommError.h"
#include "serial/LineSettings.h"
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/SettingsPrinter.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"
#include "uartmodel/UartModel.h"

#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

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

// In the dialog's order; bytes sent before opening wait, and a full input
// buffer holds the rest back rather than losing it.
TEST_F(CommOnPty, OpenReadAndCloseAsTheDialogDoes) {
    pty.Send("stale");
    comm.SetInBufferSize(1024);
    comm.SetOutBufferSize(512);
    comm.SetPortOpen(true);
    comm.SetInputMode(1);
    comm.SetSettings("9600,n,8,1");
    ASSERT_TRUE(WaitUntil([&] { return comm.GetInBufferCount() == 5; }));
    EXPECT_EQ(comm.GetInput().toByteArray(), "stale");
    QByteArray sent, received;
    for (int i = 0; i < 3000; ++i)
        sent.append(char(i % 251));
    pty.Send(sent);
    ASSERT_TRUE(WaitUntil([&] {
        EXPECT_LE(comm.GetInBufferCount(), 1024);
        received += comm.GetInput().toByteArray();
        return received.size() >= sent.size();
    }));
    EXPECT_EQ(received, sent);
    // Closing a closed port and opening an open one change nothing.
    comm.SetPortOpen(false);
    comm.SetPortOpen(false);
    EXPECT_FALSE(comm.GetPortOpen());
    comm.SetPortOpen(true);
    comm.SetPortOpen(true);
    EXPECT_TRUE(comm.GetPortOpen());
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
    // Threshold 0 raises nothing, however much arrives.
    comm.SetRThreshold(0);
    Arrive("0123456789");
    DrainEvents();
    EXPECT_EQ(events.count(), 1);
}

TEST_F(CommOnPty, BytesBothWaysAsGbkTextOrAsIs) {
    const QByteArray gbk("\xCE\xC2\xB6\xC8"
                         "25.5\xA1\xE6"); // 温度25.5℃
    Open();
    comm.SetInputMode(1);
    comm.SetInputLen(3);
    Arrive(gbk);
    const QVariant head = comm.GetInput();
    EXPECT_EQ(head.typeId(), QMetaType::QByteArray);
    EXPECT_EQ(head.toByteArray(), gbk.left(3));
    EXPECT_EQ(comm.GetInBufferCount(), gbk.size() - 3);
    comm.SetInputLen(0);
    comm.GetInput();
    comm.SetInputMode(0);
    Arrive(gbk);
    const QVariant text = comm.GetInput();
    EXPECT_EQ(text.typeId(), QMetaType::QString);
    EXPECT_EQ(text.toString(), QStringLiteral("温度25.5℃"));

    comm.SetOutput(QStringLiteral("温度25.5℃"));
    EXPECT_EQ(pty.Receive(gbk.size()), gbk);
    QByteArray every(256, '\0');
    std::iota(every.begin(), every.end(), '\0');
    comm.SetOutput(every);
    EXPECT_EQ(pty.Receive(256), every);
    EXPECT_TRUE(Refusal([&] { comm.SetOutput(42); }).contains("字符串或字节数组"));
    comm.SetPortOpen(false);
    EXPECT_TRUE(Refusal([&] { comm.SetOutput(QByteArray("x")); }).contains("COM4 未打开"));
}

// Each rate with another framing; every other one is set while closed and
// must come into force at opening. A pseudo-terminal has no wire: parity and
// character size do not apply to it, so only rate and stop bits show.
TEST_F(CommOnPty, EveryRateAndFramingIsInForceOnTheDevice) {
    Open();
    int row = 0;
    for (const char* text :
         {"100,N,8,2", "300,O,8,1", "600,E,7,2", "1200,M,6,1", "2400,s,5,2", "4800,N,7,1",
          "9600,o,6,2", "14400,e,5,1", "19200,N,8,2", "38400,m,7,1", "56000,S,6,2", "57600,N,5,1",
          "115200,O,7,2", "128000,E,6,1", "256000,M,5,2", "512000,N,8,1"}) {
        comm.SetPortOpen(row++ % 2 == 0);
        comm.SetSettings(text);
        comm.SetPortOpen(true);
        ASSERT_TRUE(InForce()) << text;
        EXPECT_EQ(InForce()->baudRate, Settings(text).baudRate) << text;
        EXPECT_EQ(InForce()->stopBits, Settings(text).stopBits) << text;
    }
}

// On a 16550 UART every field is asked for, in the settings string's order;
// what the line cannot do is refused before the driver is asked.
TEST_F(CommOnPty, UartIsAskedForEveryFieldInTheSettingsStringsOrder) {
    UartModel uart(pty.SlavePath().toStdString(), LineDriver::Uart16550);
    Open();
    uart.ClearRequests();
    comm.SetSettings("19200,O,7,2");
    EXPECT_EQ(uart.Requests(), (std::vector<std::string>{"19200,N,8,1", "19200,O,8,1",
                                                         "19200,O,7,1", "19200,O,7,2"}));
    EXPECT_EQ(InForce(), Settings("19200,O,7,2"));
    uart.ClearRequests();
    EXPECT_TRUE(Refusal([&] { comm.SetSettings("9600,E,8,1.5"); }).contains("1.5 个停止位"));
    EXPECT_TRUE(uart.Requests().empty());
    EXPECT_EQ(InForce(), Settings("19200,O,7,2"));
}

// A far end that reads nothing fills the driver's buffer: the bytes wait,
// the port stays open, and everything goes out once the far end reads.
TEST_F(CommOnPty, AFullOutputBufferHoldsTheBytesBack) {
    QSignalSpy events(&comm, &CommControl::OnComm);
    Open();
    QByteArray sent;
    for (char block = 'a'; block < 'i'; ++block) {
        comm.SetOutput(QByteArray(8192, block));
        sent += QByteArray(8192, block);
    }
    EXPECT_TRUE(comm.GetPortOpen());
    EXPECT_EQ(pty.Receive(sent.size()), sent);
    EXPECT_EQ(events.count(), 0);
}

// Settings asked of a line whose far end has just hung up: the device is
// gone, and the control says so once.
TEST_F(CommOnPty, SettingsOnALineThatHungUpSayItIsGone) {
    QSignalSpy events(&comm, &CommControl::OnComm);
    Open();
    pty.HangUp();
    EXPECT_EQ(Refusal([&] { comm.SetSettings("19200,N,8,1"); }),
              QStringLiteral("串口 COM4（%1）已断开：设置未能生效。").arg(pty.SlavePath()));
    EXPECT_FALSE(comm.GetPortOpen());
    ASSERT_TRUE(WaitUntil([&] { return events.count() == 1; }));
    EXPECT_EQ(comm.GetCommEvent(), CommControl::comEvCD);
}

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
    // Another control cannot take the open port.
    QtCommControl second;
    second.SetCommPort(kPort);
    EXPECT_TRUE(Refusal([&] { second.SetPortOpen(true); }).contains("正被其他程序使用"));
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

// Found by the event loop or by a write, the hang-up closes the port and
// raises one carrier event, after the access rather than inside it.
TEST_F(CommOnPty, HangUpClosesThePortWithOneEvent) {
    for (const bool byWrite : {false, true}) {
        PseudoTerminal far;
        far.PublishAs(7);
        QtCommControl control;
        QSignalSpy events(&control, &CommControl::OnComm);
        control.SetRThreshold(1);
        control.SetCommPort(7);
        control.SetPortOpen(true);
        far.HangUp();
        if (byWrite) {
            EXPECT_TRUE(Refusal([&] { control.SetOutput(QByteArray("25.5")); }).contains("已断开"));
            EXPECT_EQ(events.count(), 0);
        }
        ASSERT_TRUE(WaitUntil([&] { return events.count() == 1; })) << byWrite;
        EXPECT_EQ(control.GetCommEvent(), CommControl::comEvCD);
        EXPECT_FALSE(control.GetPortOpen());
        DrainEvents();
        EXPECT_EQ(events.count(), 1) << byWrite;
        control.SetPortOpen(false); // the dialog closes the port it believes open
    }
}

class OpenFailures;

struct OpenFailure {
    const char* name;
    bool needsNonRoot;
    // Makes COM6 name what cannot be opened; gives the description expected.
    std::function<QString(OpenFailures&)> arrange;
    friend void PrintTo(const OpenFailure& row, std::ostream* os) { *os << row.name; }
};

class OpenFailures : public ::testing::TestWithParam<OpenFailure> {
public:
    ~OpenFailures() override {
        holder.closeWriteChannel();
        holder.waitForFinished();
    }

    TempConfigHome home;
    PseudoTerminal pty;
    QProcess holder; // another program, holding the device
};

// Why a port does not open is told in Chinese from the system's error, never
// in the C library's English.
TEST_P(OpenFailures, AreToldFromTheSystemError) {
    if (GetParam().needsNonRoot && ::geteuid() == 0)
        GTEST_SKIP() << "running as root, which every device lets in";
    const QString expected = GetParam().arrange(*this);
    QtCommControl comm;
    comm.SetCommPort(6);
    EXPECT_EQ(Refusal([&] { comm.SetPortOpen(true); }), expected);
    EXPECT_FALSE(comm.GetPortOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OpenFailures,
    ::testing::Values(
        OpenFailure{"NotASerialDevice", false,
                    [](OpenFailures&) {
                        EXPECT_EQ(PublishPortLink(6, "/dev/null"), QString());
                        return QStringLiteral(
                            "无法打开串口 COM6（/dev/null）：该设备不是串口设备。");
                    }},
        OpenFailure{"NoSuchDevice", false,
                    [](OpenFailures& test) {
                        const QString gone = test.home.Path() + "/ttyUSB9";
                        EXPECT_EQ(PublishPortLink(6, gone), QString());
                        return QStringLiteral("串口 COM6 不存在：端口链接 %1/com6 指向的设备 %2 "
                                              "不存在。")
                            .arg(PortLinkFolder(), gone);
                    }},
        OpenFailure{"HeldByAnotherProgram", false,
                    [](OpenFailures& test) {
                        test.pty.PublishAs(6);
                        test.holder.start(PORT_HOLDER_PROGRAM, {test.pty.SlavePath()});
                        EXPECT_TRUE(test.holder.waitForReadyRead());
                        EXPECT_EQ(test.holder.readLine(), "held\n");
                        return QStringLiteral(
                                   "无法打开串口 COM6（%1）：该串口正被其他程序使用（进程 "
                                   "%2 port-holder，锁文件 /var/lock/LCK..%3）。")
                            .arg(test.pty.SlavePath())
                            .arg(test.holder.processId())
                            .arg(test.pty.SlavePath().mid(5).replace('/', '_'));
                    }},
        OpenFailure{"NoPermission", true,
                    [](OpenFailures& test) {
                        test.pty.PublishAs(6);
                        ::chmod(test.pty.SlavePath().toLocal8Bit().constData(), 0);
                        return QStringLiteral("无法打开串口 COM6（%1）：没有访问该设备的权限，"
                                              "请将用户加入 dialout 组后重新登录。")
                            .arg(test.pty.SlavePath());
                    }}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
