// The real control on a pseudo-terminal, with the UART model where the line
// must keep what a pseudo-terminal drops.
#include "serial/QtCommControl.h"
#include "serial/BaudRates.h"
#include "serial/CommError.h"
#include "serial/LineSettings.h"
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"
#include "uartmodel/UartModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The description of the CommError that action raises; empty if none.
QString Refusal(const std::function<void()>& action) {
    try {
        action();
    } catch (const CommError& error) {
        return error.Description();
    }
    return {};
}

class CommOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        pty.PublishAs(4);
        comm.SetCommPort(4);
    }
    void Open(const QString& settings = "9600,N,8,1") {
        comm.SetSettings(settings);
        comm.SetPortOpen(true);
    }
    void Arrive(const QByteArray& bytes) {
        const int before = comm.GetInBufferCount();
        pty.Send(bytes);
        ASSERT_TRUE(WaitUntil([&] { return comm.GetInBufferCount() == before + bytes.size(); }));
    }
    QString InForce() const {
        const auto settings = ReadLineSettings(pty.SlaveFd());
        return settings ? FormatSerialSettings(*settings) : "none";
    }

    TempConfigHome home;
    PseudoTerminal pty;
    QtCommControl comm;
    QSignalSpy events{&comm, &CommControl::OnComm};
};

TEST_F(CommOnPty, PropertiesTakeTheirRangeAndRefuseTheRestInChinese) {
    using Access = std::function<void(QtCommControl&)>;
    const struct {
        bool open;
        Access access;
        const char* refusal; // empty: accepted
    } rows[] = {
        {false, [](auto& c) { c.SetCommPort(15); }, ""},
        {false, [](auto& c) { c.SetCommPort(0); }, "端口号 0 无效：只能是 1 到 15。"},
        {false, [](auto& c) { c.SetCommPort(16); }, "端口号 16 无效"},
        {true, [](auto& c) { c.SetCommPort(5); }, "已打开：请关闭串口后再更改端口号。"},
        {false, [](auto& c) { c.SetInBufferSize(0); }, "接收缓冲区大小 0 无效"},
        {false, [](auto& c) { c.SetOutBufferSize(0); }, "发送缓冲区大小 0 无效"},
        {false, [](auto& c) { c.SetInputLen(-1); }, "InputLen -1 无效"},
        {false, [](auto& c) { c.SetRThreshold(-1); }, "RThreshold -1 无效"},
        {false, [](auto& c) { c.SetInputMode(2); }, "InputMode 2 无效"},
        {true, [](auto& c) { c.SetOutput(42); }, "只能是字符串或字节数组"},
        {false, [](auto& c) { c.GetInput(); }, "串口 COM4 未打开：请打开串口后再操作。"},
        {false, [](auto& c) { c.SetSettings("9600,x,8,1"); },
         "串口设置“9600,x,8,1”无效：校验位“x”无效，应为 N、O、E、M 或 S。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.refusal);
        QtCommControl control;
        control.SetCommPort(4);
        control.SetPortOpen(row.open);
        const QString refusal = Refusal([&] { row.access(control); });
        EXPECT_TRUE(*row.refusal ? refusal.contains(row.refusal) : refusal.isEmpty())
            << refusal.toStdString();
    }
}

// An event once the threshold's bytes wait, none at threshold 0; the bytes
// as they came or as GBK text, and the same both ways.
TEST_F(CommOnPty, EventAtTheThresholdAndBytesBothWaysAsGbkTextOrAsIs) {
    const QByteArray gbk("\xCE\xC2\xB6\xC8"
                         "25.5\xA1\xE6"); // 温度25.5℃
    comm.SetRThreshold(5);
    comm.SetInputMode(1);
    Open();
    Arrive(gbk.left(4));
    DrainEvents();
    EXPECT_EQ(events.count(), 0);
    pty.Send(gbk.mid(4));
    ASSERT_TRUE(WaitUntil([&] { return events.count() == 1; }));
    EXPECT_EQ(comm.GetCommEvent(), CommControl::comEvReceive);
    comm.SetInputLen(1);
    EXPECT_EQ(comm.GetInput(), QVariant(gbk.left(1)));
    comm.SetInputLen(0);
    EXPECT_EQ(comm.GetInput(), QVariant(gbk.mid(1)));
    comm.SetRThreshold(0);
    comm.SetInputMode(0);
    Arrive(gbk);
    DrainEvents();
    EXPECT_EQ(events.count(), 1);
    EXPECT_EQ(comm.GetInput(), QVariant(QStringLiteral("温度25.5℃")));

    comm.SetOutput(QStringLiteral("温度25.5℃"));
    EXPECT_EQ(pty.Receive(gbk.size()), gbk);
    // More than the driver takes at once waits, and goes out as the far end reads.
    comm.SetOutput(QByteArray(65536, '\xFF'));
    EXPECT_EQ(pty.Receive(65536), QByteArray(65536, '\xFF'));
    EXPECT_TRUE(comm.GetPortOpen());
    EXPECT_EQ(events.count(), 1);
}

// Set while open or while closed, each rate and the stop bits are in force
// on the device (a pseudo-terminal keeps no parity or character size).
TEST_F(CommOnPty, EveryRateComesIntoForce) {
    for (const long rate : kBaudRates) {
        const QString settings = QStringLiteral("%1,N,8,%2").arg(rate).arg(rate % 3 ? 1 : 2);
        comm.SetPortOpen(rate % 2);
        comm.SetSettings(settings);
        comm.SetPortOpen(true);
        EXPECT_EQ(InForce(), settings);
    }
}

// A UART keeps the framing; what it cannot do is refused in Chinese and the
// settings before stay in force, also for the next opening.
TEST_F(CommOnPty, OnAUartTheFramingHoldsAndARoundedRateIsRefused) {
    const UartModel uart(pty.SlavePath().toStdString());
    Open("19200,O,7,2");
    EXPECT_EQ(InForce(), "19200,O,7,2");
    EXPECT_EQ(Refusal([&] { comm.SetSettings("56000,E,8,1"); }),
              QStringLiteral("串口 COM4（%1）不支持设置 56000,E,8,1：设备实际使用 57600,E,8,1。")
                  .arg(pty.SlavePath()));
    EXPECT_TRUE(Refusal([&] { comm.SetSettings("9600,E,8,1.5"); }).contains("1.5 个停止位"));
    EXPECT_EQ(InForce(), "19200,O,7,2");
    comm.SetPortOpen(false);
    comm.SetPortOpen(true);
    EXPECT_EQ(InForce(), "19200,O,7,2");
    comm.SetOutput(QByteArray("ok"));
    EXPECT_EQ(pty.Receive(2), "ok");
}

// Found by a write, a hang-up closes the port and raises one carrier event,
// after the access rather than inside it.
TEST_F(CommOnPty, HangUpClosesThePortWithOneEvent) {
    Open();
    pty.CloseMaster();
    const QString port = QStringLiteral("串口 COM4（%1）").arg(pty.SlavePath());
    EXPECT_EQ(Refusal([&] { comm.SetOutput(QByteArray("25.5")); }),
              port + "已断开：数据未能发出。");
    EXPECT_EQ(events.count(), 0);
    ASSERT_TRUE(WaitUntil([&] { return events.count() == 1; }));
    EXPECT_EQ(comm.GetCommEvent(), CommControl::comEvCD);
    EXPECT_FALSE(comm.GetPortOpen());
    EXPECT_EQ(comm.GetLostPort(), port);
    DrainEvents();
    EXPECT_EQ(events.count(), 1);
}

// Why a port does not open is told from the system's error, in Chinese.
TEST_F(CommOnPty, OpenFailuresSayWhy) {
    Open(); // COM4's device, held as by another program
    const QString gone = home.Path() + "/ttyUSB9";
    const QString rows[][2] = {
        {pty.SlavePath(), QStringLiteral("无法打开串口 COM6（%1）：该串口正被其他程序使用（进程 %2 "
                                         "e2e_tests，锁文件 /var/lock/LCK..%3）。")
                              .arg(pty.SlavePath())
                              .arg(QCoreApplication::applicationPid())
                              .arg(pty.SlavePath().mid(5).replace('/', '_'))},
        {"/dev/null", "无法打开串口 COM6（/dev/null）：该设备不是串口设备。"},
        {gone, QStringLiteral("串口 COM6 不存在：端口链接 %1/com6 指向的设备 %2 不存在。")
                   .arg(PortLinkFolder(), gone)},
    };
    for (const auto& [target, expected] : rows) {
        ASSERT_EQ(PublishPortLink(6, target), QString());
        QtCommControl control;
        control.SetCommPort(6);
        EXPECT_EQ(Refusal([&] { control.SetPortOpen(true); }), expected);
        EXPECT_FALSE(control.GetPortOpen());
    }
}

} // namespace
