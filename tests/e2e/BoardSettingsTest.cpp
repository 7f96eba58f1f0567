#include "e2e/DialogOnBoard.h"

#include "resources/Resource.h"
#include "serial/LineSettings.h"

#include <string>

namespace {

struct Choice {
    std::string name;
    int list;
    int index;
    qint32 baudRate;                // what the kernel must keep
    QSerialPort::StopBits stopBits; // likewise
    friend void PrintTo(const Choice& row, std::ostream* os) { *os << row.name; }
};

std::vector<Choice> EveryChoice() {
    const qint32 rates[] = {100,   300,   600,   1200,  2400,   4800,   9600,   14400,
                            19200, 38400, 56000, 57600, 115200, 128000, 256000, 512000};
    std::vector<Choice> choices;
    for (int i = 0; i < 16; ++i)
        choices.push_back(
            {"Baud" + std::to_string(rates[i]), IDC_BAUD, i, rates[i], QSerialPort::OneStop});
    for (int i = 0; i < 3; ++i)
        choices.push_back(
            {"Parity" + std::string(1, "NOE"[i]), IDC_PARITY, i, 9600, QSerialPort::OneStop});
    for (int i = 0; i < 4; ++i)
        choices.push_back(
            {"DataBits" + std::to_string(i + 5), IDC_DATABITS, i, 9600, QSerialPort::OneStop});
    choices.push_back({"StopBits1", IDC_STOPBITS, 0, 9600, QSerialPort::OneStop});
    choices.push_back({"StopBits2", IDC_STOPBITS, 1, 9600, QSerialPort::TwoStop});
    return choices;
}

class EveryListChoice : public DialogOnBoard, public ::testing::WithParamInterface<Choice> {
protected:
    void ExpectInForce() {
        const auto inForce = ReadLineSettings(board->SlaveFd());
        ASSERT_TRUE(inForce);
        EXPECT_EQ(inForce->baudRate, GetParam().baudRate);
        EXPECT_EQ(inForce->stopBits, GetParam().stopBits);
    }
};

// Chosen while the port is open, a setting applies at once; closed and
// opened again, the port opens with it. A pseudo-terminal keeps the rate and
// the stop bits; parity and data bits do not exist on it.
TEST_P(EveryListChoice, OpensThePortAndTheKernelKeepsIt) {
    Plug({});
    Open(1);
    Select(GetParam().list, GetParam().index);
    EXPECT_TRUE(boxes.empty()) << boxes[0].text.toStdString();
    ExpectInForce();

    Click(IDC_OPEN);
    Click(IDC_OPEN);
    EXPECT_EQ(Text(IDC_OPEN), "关闭串口");
    EXPECT_TRUE(boxes.empty()) << boxes[0].text.toStdString();
    ExpectInForce();
}

INSTANTIATE_TEST_SUITE_P(Rows, EveryListChoice, ::testing::ValuesIn(EveryChoice()),
                         [](const auto& row) { return row.param.name; });

} // namespace
