#include "support/DialogFixture.h"

#include "app/Globals.h"
#include "resources/Resource.h"

#include <QComboBox>

namespace {

QStringList Entries(QWidget* list) {
    QStringList entries;
    auto* combo = static_cast<QComboBox*>(list);
    for (int i = 0; i < combo->count(); ++i)
        entries.append(combo->itemText(i));
    return entries;
}

QStringList SettingsHandedOver(const QStringList& log) {
    QStringList settings;
    for (const QString& entry : log) {
        if (entry.startsWith("Settings="))
            settings.append(entry.mid(9));
    }
    return settings;
}

} // namespace

TEST_F(DialogTest, ListsAreFilledInOrderWithTheirStartSelections) {
    struct Row {
        int id;
        int count;
        QString first, last, selected;
    };
    const Row rows[] = {
        {IDC_PORT, 15, "COM1", "COM15", "COM1"},
        {IDC_BAUD, 16, "100", "512000", "9600"},
        {IDC_DATABITS, 4, "5", "8", "8"},
        {IDC_STOPBITS, 2, "1", "2", "1"},
        {IDC_PARITY, 3, "无校验", "偶校验", "无校验"},
        {IDC_RESPBYTES, 15, "1 个字节", "15 个字节", "1 个字节"},
    };
    for (const Row& row : rows) {
        const QStringList entries = Entries(dlg->GetDlgItem(row.id));
        ASSERT_EQ(entries.size(), row.count) << row.id;
        EXPECT_EQ(entries.first(), row.first);
        EXPECT_EQ(entries.last(), row.last);
        EXPECT_EQ(static_cast<QComboBox*>(dlg->GetDlgItem(row.id))->currentText(), row.selected);
    }
}

TEST_F(DialogTest, FirstPressConfiguresThenOpens) {
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log,
              (QStringList{"CommPort=1", "InBufferSize=1024", "OutBufferSize=512", "PortOpen?",
                           "PortOpen=true", "InputMode=1", "Settings=9600,n,8,1", "RThreshold=1",
                           "InputLen=0", "Input?", "PortOpen=false", "PortOpen=true"}));
    EXPECT_EQ(Text(IDC_OPEN), "关闭串口");
    EXPECT_TRUE(dlg->m_bPortConfigured);
    EXPECT_TRUE(g_bPortOpen);

    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log, QStringList{"PortOpen=false"});
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log, QStringList{"PortOpen=true"});
    EXPECT_EQ(Text(IDC_OPEN), "关闭串口");
}

TEST_F(DialogTest, ConfigurationThatFailsRunsWholeAgainOnTheNextPress) {
    comm->FailOn("Settings=9600,n,8,1", "端口设置无效");
    Click(IDC_OPEN);
    EXPECT_FALSE(dlg->m_bPortConfigured);
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    EXPECT_EQ(boxes.size(), 1u);
    // Step 4 left the port open; the second run finds it open and goes on.
    comm->ClearFailures();
    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log.mid(0, 4),
              (QStringList{"CommPort=1", "InBufferSize=1024", "OutBufferSize=512", "PortOpen?"}));
    EXPECT_EQ(comm->log.at(4), "InputMode=1");
    EXPECT_TRUE(dlg->m_bPortConfigured);
    EXPECT_EQ(Text(IDC_OPEN), "关闭串口");
}

TEST_F(DialogTest, LineSettingChangesComposeTheSettingsString) {
    struct Step {
        int list;
        QString entry;
        QString settings;
    };
    const std::vector<std::vector<Step>> scenarios = {
        {{IDC_BAUD, "19200", "19200,N,8,1"},
         {IDC_PARITY, "奇校验", "19200,O,8,1"},
         {IDC_DATABITS, "7", "19200,O,7,1"},
         {IDC_STOPBITS, "2", "19200,O,7,2"}},
        {{IDC_BAUD, "100", "100,N,8,1"}},
        {{IDC_BAUD, "512000", "512000,N,8,1"}},
        {{IDC_PARITY, "偶校验", "9600,E,8,1"}, {IDC_DATABITS, "5", "9600,E,5,1"}},
    };
    for (const auto& steps : scenarios) {
        // Each scenario starts from the start values.
        TearDown();
        SetUp();
        QStringList expected;
        for (const Step& step : steps) {
            Select(step.list, step.entry);
            expected.append(step.settings);
            EXPECT_EQ(dlg->m_strSettings, step.settings);
        }
        EXPECT_EQ(SettingsHandedOver(comm->log), expected);
    }
}

TEST_F(DialogTest, ChangesBeforeTheFirstOpeningGoIntoTheConfiguration) {
    Select(IDC_BAUD, "115200");
    Select(IDC_PARITY, "偶校验");
    comm->log.clear();
    Click(IDC_OPEN);
    EXPECT_EQ(comm->log.at(6), "Settings=115200,E,8,1");
}

TEST_F(DialogTest, RefusedSettingsKeepTheNewSelection) {
    comm->FailOn("Settings=512000,N,8,1", "设备不支持该波特率");
    Select(IDC_BAUD, "512000");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(dlg->m_strBaud, "512000");
    EXPECT_EQ(dlg->m_strSettings, "512000,N,8,1");
}

TEST_F(DialogTest, PortChangeWhileClosedSetsCommPort) {
    Select(IDC_PORT, "COM15");
    EXPECT_EQ(comm->log, (QStringList{"PortOpen?", "CommPort=15"}));
    EXPECT_EQ(dlg->m_nPort, 15);
}

TEST_F(DialogTest, PortChangeWhileOpenIsRefusedAndTheListShowsThePortInUse) {
    OpenPort();
    Select(IDC_PORT, "COM3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "串口已在应用中，请关闭串口后再操作！");
    EXPECT_EQ(boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(boxes[0].title, AppName());
    EXPECT_FALSE(comm->log.contains("CommPort=3"));
    EXPECT_EQ(dlg->m_nPort, 1);
    EXPECT_EQ(static_cast<QComboBox*>(dlg->GetDlgItem(IDC_PORT))->currentText(), "COM1");

    Click(IDC_OPEN);
    comm->log.clear();
    Select(IDC_PORT, "COM4");
    EXPECT_EQ(comm->log, (QStringList{"PortOpen?", "CommPort=4"}));
}

TEST_F(DialogTest, ResponseByteCountGoesToTheThresholdAtOnce) {
    Select(IDC_RESPBYTES, "15 个字节");
    EXPECT_EQ(comm->log, QStringList{"RThreshold=15"});
    EXPECT_EQ(dlg->m_nRespBytes, 15);
    comm->log.clear();
    Select(IDC_RESPBYTES, "1 个字节");
    EXPECT_EQ(comm->log, QStringList{"RThreshold=1"});
    EXPECT_EQ(dlg->m_nRespBytes, 1);
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
    EXPECT_TRUE(boxes[0].text.startsWith("串口 COM1（/dev/ttyUSB0）已断开：")) << boxes[0].text.toStdString();
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
    EXPECT_FALSE(g_bPortOpen);
}
