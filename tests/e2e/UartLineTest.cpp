// The dialog's line-setting lists on the real control, with the device's
// driver played by the UART model: what the terminal asks for, what the
// driver keeps, and what the user is told when it keeps less.
#include "support/DialogFixture.h"
#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"

#include "resources/Resource.h"
#include "serial/LineSettings.h"
#include "serial/QtCommControl.h"
#include "uartmodel/UartModel.h"

#include <QPlainTextEdit>

namespace {

struct LineCase {
    const char* name;
    LineDriver driver;
    std::vector<std::pair<int, int>> choices; // list id and entry, in order
    QString box;                              // the one message box, %1 the device; or none
    QString inForce;                          // read back from the device afterwards
    // What the driver was asked for, repeats of one request merged; not
    // checked when empty.
    QStringList asked;
    friend void PrintTo(const LineCase& row, std::ostream* os) { *os << row.name; }
};

const std::vector<std::pair<int, int>> k7O2 = {
    {IDC_BAUD, 8}, {IDC_PARITY, 1}, {IDC_DATABITS, 2}, {IDC_STOPBITS, 1}};

std::vector<std::pair<int, int>> Then(std::vector<std::pair<int, int>> choices, int list,
                                      int entry) {
    choices.emplace_back(list, entry);
    return choices;
}

class LineOnDriver : public DialogTest, public ::testing::WithParamInterface<LineCase> {
protected:
    std::unique_ptr<CommControl> MakeControl() override {
        pty.PublishAs(1);
        return std::make_unique<QtCommControl>();
    }

    TempConfigHome home;
    PseudoTerminal pty;
};

TEST_P(LineOnDriver, ListsAskAndTheDriverDecides) {
    const LineCase& row = GetParam();
    UartModel driver(pty.SlavePath().toStdString(), row.driver);
    Click(IDC_OPEN);
    ASSERT_EQ(Text(IDC_OPEN), "关闭串口");
    driver.ClearRequests();
    for (const auto& [list, entry] : row.choices)
        Select(list, entry);

    QStringList shown;
    for (const MessageBoxCall& box : boxes) {
        EXPECT_EQ(box.icon, MsgIcon::Stop);
        shown.append(box.text);
    }
    EXPECT_EQ(shown, row.box.isEmpty() ? QStringList() : QStringList{row.box.arg(pty.SlavePath())});
    const auto inForce = ReadLineSettings(pty.SlaveFd());
    ASSERT_TRUE(inForce);
    EXPECT_EQ(FormatSerialSettings(*inForce), row.inForce);
    if (!row.asked.isEmpty()) {
        QStringList asked;
        for (const std::string& request : driver.Requests()) {
            if (asked.isEmpty() || asked.last() != QString::fromStdString(request))
                asked.append(QString::fromStdString(request));
        }
        EXPECT_EQ(asked, row.asked);
    }
    // Refused or not, the port stays open and carries bytes.
    dlg->m_editSend->setPlainText("ok");
    Click(IDC_SEND);
    EXPECT_EQ(pty.Receive(2), "ok");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineOnDriver,
    ::testing::Values(
        LineCase{"UartKeeps7O2",
                 LineDriver::Uart16550,
                 k7O2,
                 {},
                 "19200,O,7,2",
                 {"19200,N,8,1", "19200,O,8,1", "19200,O,7,1", "19200,O,7,2"}},
        // Parity and data bits are asked for, each on what the driver kept of
        // the request before, and the pseudo-terminal drops them.
        LineCase{"PtyIsAskedFor7O2",
                 LineDriver::Pty,
                 k7O2,
                 {},
                 "19200,N,8,2",
                 {"19200,N,8,1", "19200,O,8,1", "19200,N,8,1", "19200,O,8,1", "19200,N,7,1",
                  "19200,N,8,1", "19200,O,8,1", "19200,N,7,1", "19200,N,8,2"}},
        LineCase{"UartRounds128000",
                 LineDriver::Uart16550,
                 Then(k7O2, IDC_BAUD, 13),
                 "串口 COM1（%1）不支持设置 128000,O,7,2：设备实际使用 115200,O,7,2。",
                 "19200,O,7,2",
                 {}},
        LineCase{"UartRounds56000",
                 LineDriver::Uart16550,
                 {{IDC_BAUD, 10}},
                 "串口 COM1（%1）不支持设置 56000,N,8,1：设备实际使用 57600,N,8,1。",
                 "9600,N,8,1",
                 {}},
        // A pseudo-terminal is let off parity and data bits, never the rate.
        LineCase{"PtyRoundingTheRateIsRefused",
                 LineDriver::PtyWithUartClock,
                 {{IDC_PARITY, 1}, {IDC_DATABITS, 2}, {IDC_BAUD, 13}},
                 "串口 COM1（%1）不支持设置 128000,O,7,1：设备实际使用 115200,N,8,1。",
                 "9600,N,8,1",
                 {}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
