#include "support/DialogFixture.h"

#include "resources/Resource.h"
#include "serial/BaudRates.h"

#include <QComboBox>

namespace {

QComboBox* List(CSerialDlg& dlg, int id) {
    return qobject_cast<QComboBox*>(dlg.GetDlgItem(id));
}

const QStringList kConfigure{"CommPort=1", "InBufferSize=1024", "OutBufferSize=512", "PortOpen?"};

} // namespace

TEST_F(DialogTest, ListsHoldTheirEntriesWithTheStartSelections) {
    struct Row {
        int id;
        qsizetype count;
        QString first, last, selected;
    };
    const Row rows[] = {
        {IDC_PORT, 15, "COM1", "COM15", "COM1"},
        {IDC_BAUD, qsizetype(std::size(kBaudRates)), QString::number(kBaudRates[0]),
         QString::number(std::end(kBaudRates)[-1]), "9600"},
        {IDC_DATABITS, 4, "5", "8", "8"},
        {IDC_STOPBITS, 2, "1", "2", "1"},
        {IDC_PARITY, 3, "无校验", "偶校验", "无校验"},
        {IDC_RESPBYTES, 15, "1 个字节", "15 个字节", "1 个字节"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const QComboBox* list = List(*dlg, row.id);
        ASSERT_EQ(list->count(), row.count);
        EXPECT_EQ(list->itemText(0), row.first);
        EXPECT_EQ(list->itemText(list->count() - 1), row.last);
        EXPECT_EQ(list->currentText(), row.selected);
    }
}

TEST_F(DialogTest, FirstPressConfiguresThenEachPressOpensOrCloses) {
    Select(IDC_RESPBYTES, "5 个字节");
    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log,
              kConfigure + QStringList({"PortOpen=true", "InputMode=1", "Settings=9600,n,8,1",
                                        "RThreshold=5", "InputLen=0", "Input?", "PortOpen=false",
                                        "PortOpen=true"}));
    EXPECT_EQ(Text(IDC_OPEN), "关闭串口");
    for (const auto& [access, caption] :
         {std::pair{"PortOpen=false", "打开串口"}, std::pair{"PortOpen=true", "关闭串口"}}) {
        comm->log.clear();
        Click(IDC_OPEN);
        EXPECT_EQ(comm->log, QStringList{access});
        EXPECT_EQ(Text(IDC_OPEN), caption);
    }
}

// A configuration the control refuses is run whole again on the next press;
// the port it left open is found open and not opened twice.
TEST_F(DialogTest, RefusedConfigurationRunsAgainOnTheNextPress) {
    comm->FailOn("Settings=9600,n,8,1", "端口设置无效");
    Click(IDC_OPEN);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "端口设置无效");
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    comm->ClearFailures();
    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log.mid(0, 5), kConfigure + QStringList("InputMode=1"));
    EXPECT_EQ(Text(IDC_OPEN), "关闭串口");
}

struct SettingRow {
    const char* name;
    int list;
    int index;
    const char* settings;
};

class LineSetting : public DialogTest, public ::testing::WithParamInterface<SettingRow> {};

// Each choice goes to the control at once, open or not, and into the next configuration.
TEST_P(LineSetting, GoesToTheControlAtOnce) {
    const SettingRow& row = GetParam();
    Select(row.list, row.index);
    EXPECT_EQ(comm->log, QStringList{QStringLiteral("Settings=") + row.settings});
    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log.value(6), QStringLiteral("Settings=") + row.settings);
    comm->log.clear();
    Select(row.list, 0);
    Select(row.list, row.index);
    EXPECT_EQ(comm->log.value(1), QStringLiteral("Settings=") + row.settings);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, LineSetting,
    ::testing::Values(SettingRow{"SlowestBaud", IDC_BAUD, 0, "100,N,8,1"},
                      SettingRow{"FastestBaud", IDC_BAUD, 15, "512000,N,8,1"},
                      SettingRow{"OddParity", IDC_PARITY, 1, "9600,O,8,1"},
                      SettingRow{"EvenParity", IDC_PARITY, 2, "9600,E,8,1"},
                      SettingRow{"FiveDataBits", IDC_DATABITS, 0, "9600,N,5,1"},
                      SettingRow{"SevenDataBits", IDC_DATABITS, 2, "9600,N,7,1"},
                      SettingRow{"OneStopBit", IDC_STOPBITS, 0, "9600,N,8,1"},
                      SettingRow{"TwoStopBits", IDC_STOPBITS, 1, "9600,N,8,2"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DialogTest, PortChangesOnlyWhileClosedAndTheListShowsThePortInUse) {
    Select(IDC_PORT, "COM15");
    EXPECT_EQ(comm->log, (QStringList{"PortOpen?", "CommPort=15"}));
    Select(IDC_PORT, "COM2");
    OpenPort();
    Select(IDC_PORT, "COM3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "串口已在应用中，请关闭串口后再操作！");
    EXPECT_EQ(boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(boxes[0].title, AppName());
    EXPECT_EQ(comm->log, QStringList{"PortOpen?"});
    EXPECT_EQ(List(*dlg, IDC_PORT)->currentText(), "COM2");
    Click(IDC_OPEN);
    comm->log.clear();
    Select(IDC_PORT, "COM1");
    EXPECT_EQ(comm->log, (QStringList{"PortOpen?", "CommPort=1"}));
}

TEST_F(DialogTest, ResponseByteCountIsTheThresholdAtOnce) {
    for (int n : {15, 1}) {
        comm->log.clear();
        Select(IDC_RESPBYTES, n - 1);
        EXPECT_EQ(comm->log, QStringList{QStringLiteral("RThreshold=%1").arg(n)});
    }
}

// The control closed the port itself: one box, however many carrier events
// follow, and the buttons name what the next press does.
TEST_F(DialogTest, ALostPortIsToldOnce) {
    OpenPort();
    Click(IDC_ACQUIRE);
    comm->portOpen = false;
    comm->lostPort = "串口 COM1（/dev/ttyUSB0）";
    comm->RaiseEvent(CommControl::comEvCD);
    comm->RaiseEvent(CommControl::comEvCD);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith("串口 COM1（/dev/ttyUSB0）已断开："))
        << boxes[0].text.toStdString();
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log, QStringList{"PortOpen=true"});
}
