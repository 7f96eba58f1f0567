#include "support/DialogFixture.h"

#include "serial/BaudRates.h"

#include <QComboBox>

// Each list's size, first and last entries and start selection.
TEST_F(DialogTest, ListsHoldTheirEntriesWithTheStartSelections) {
    const int ids[] = {IDC_PORT, IDC_BAUD, IDC_DATABITS, IDC_STOPBITS, IDC_PARITY, IDC_RESPBYTES};
    const QStringList rows =
        QStringLiteral("15 COM1 COM15 COM1|%1 %2 %3 9600|4 5 8 8|2 1 2 1|3 无校验 偶校验 无校验|"
                       "15 1 个字节 15 个字节 1 个字节")
            .arg(std::size(kBaudRates))
            .arg(kBaudRates[0])
            .arg(std::end(kBaudRates)[-1])
            .split('|');
    for (int i = 0; i < 6; ++i) {
        const auto* list = qobject_cast<QComboBox*>(dlg->GetDlgItem(ids[i]));
        EXPECT_EQ(QStringList({QString::number(list->count()), list->itemText(0),
                               list->itemText(list->count() - 1), list->currentText()})
                      .join(' '),
                  rows[i]);
    }
}

// The first press configures the port (opened and closed once, to take the
// settings and drop what waited) and opens it; each press after opens or closes.
TEST_F(DialogTest, FirstPressConfiguresThenEachPressOpensOrCloses) {
    Select(IDC_RESPBYTES, 4);
    for (const char* caption : {"关闭串口", "打开串口", "关闭串口"}) {
        Click(IDC_OPEN);
        EXPECT_EQ(Text(IDC_OPEN), caption);
    }
    EXPECT_EQ(comm->log.join(' '), "RThreshold=5 CommPort=1 InBufferSize=1024 OutBufferSize=512 "
                                   "PortOpen? PortOpen=true InputMode=1 Settings=9600,n,8,1 "
                                   "RThreshold=5 InputLen=0 Input? PortOpen=false PortOpen=true "
                                   "PortOpen=false PortOpen=true");
}

// Each choice goes to the control at once, open or not, and into the configuration.
TEST_F(DialogTest, LineSettingsGoToTheControlAtOnce) {
    const std::tuple<int, int, QString> rows[] = {
        {IDC_BAUD, 0, "100,N,8,1"},      {IDC_BAUD, 15, "512000,N,8,1"},
        {IDC_PARITY, 1, "9600,O,8,1"},   {IDC_PARITY, 2, "9600,E,8,1"},
        {IDC_DATABITS, 0, "9600,N,5,1"}, {IDC_DATABITS, 2, "9600,N,7,1"},
        {IDC_STOPBITS, 0, "9600,N,8,1"}, {IDC_STOPBITS, 1, "9600,N,8,2"}};
    for (const auto& [list, index, settings] : rows) {
        TearDown();
        SetUp();
        Select(list, index);
        Click(IDC_OPEN);
        Select(list, index);
        EXPECT_EQ(comm->log.filter("Settings="), QStringList(3, "Settings=" + settings));
    }
}

// The port changes only while closed; the list goes on showing the port in use.
TEST_F(DialogTest, PortChangesOnlyWhileClosed) {
    for (int index : {14, 1, -1, 2}) // -1: a click on the open button
        index < 0 ? Click(IDC_OPEN) : Select(IDC_PORT, index);
    EXPECT_EQ(qobject_cast<QComboBox*>(dlg->GetDlgItem(IDC_PORT))->currentText(), "COM2");
    Click(IDC_OPEN);
    Select(IDC_PORT, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "串口已在应用中，请关闭串口后再操作！");
    EXPECT_EQ(boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(boxes[0].title, AppName());
    EXPECT_EQ(comm->log.filter("CommPort=").join(' '),
              "CommPort=15 CommPort=2 CommPort=2 CommPort=1");
}
