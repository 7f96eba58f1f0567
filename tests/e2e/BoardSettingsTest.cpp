#include "e2e/DialogOnBoard.h"

#include "resources/Resource.h"
#include "serial/BaudRates.h"
#include "serial/LineSettings.h"

#include <string>

namespace {

struct Choice {
    std::string name;
    int list;
    QString entry;
    qint32 baudRate;                // what the kernel must keep
    QSerialPort::StopBits stopBits; // likewise
    friend void PrintTo(const Choice& row, std::ostream* os) { *os << row.name; }
};

std::vector<Choice> EveryChoice() {
    std::vector<Choice> choices;
    for (long rate : kBaudRates)
        choices.push_back({"Baud" + std::to_string(rate), IDC_BAUD, QString::number(rate),
                           static_cast<qint32>(rate), QSerialPort::OneStop});
    const char* const parities[][2] = {{"N", "无校验"}, {"O", "奇校验"}, {"E", "偶校验"}};
    for (const auto& [letter, entry] : parities)
        choices.push_back({std::string("Parity") + letter, IDC_PARITY, QString::fromUtf8(entry),
                           9600, QSerialPort::OneStop});
    for (int bits = 5; bits <= 8; ++bits)
        choices.push_back({"DataBits" + std::to_string(bits), IDC_DATABITS, QString::number(bits),
                           9600, QSerialPort::OneStop});
    choices.push_back({"StopBits1", IDC_STOPBITS, "1", 9600, QSerialPort::OneStop});
    choices.push_back({"StopBits2", IDC_STOPBITS, "2", 9600, QSerialPort::TwoStop});
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
    Select(GetParam().list, GetParam().entry);
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
