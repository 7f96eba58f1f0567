// Faults met with the real control on a pseudo-terminal: the far end hanging
// up, a flood while the save dialog is open, a full disk, settings the
// device refuses. None may crash the dialog, leave it stuck or lose count.
#include "support/DeviceCopy.h"
#include "support/DialogDriver.h"
#include "support/DialogFixture.h"
#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include "app/Globals.h"
#include "platform/FileDialog.h"
#include "platform/GbkCodec.h"
#include "resources/Resource.h"
#include "serial/LineSettings.h"
#include "serial/QtCommControl.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

// Publishes the pair as COM1 before the dialog is made.
std::unique_ptr<CommControl> ControlOnCom1(const PseudoTerminal& pty) {
    pty.PublishAs(1);
    return std::make_unique<QtCommControl>();
}

// The board sending readings back to back from a thread of its own.
class Flood {
public:
    explicit Flood(int master)
        : m_thread([this, master] {
              static const char readings[] = "25.5025.5126.0024.99";
              size_t at = 0;
              while (!m_stop) {
                  pollfd ready{master, POLLOUT, 0};
                  if (poll(&ready, 1, 10) <= 0)
                      continue;
                  const ssize_t n = write(master, readings + at, sizeof readings - 1 - at);
                  if (n > 0)
                      at = (at + size_t(n)) % (sizeof readings - 1);
              }
          }) {}
    ~Flood() {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class LineFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        SetMessageBoxHook([this](const MessageBoxCall& call) { boxes.push_back(call); });
        dlg.Create();
        dlg.show();
        SelectItem(dlg, IDC_RESPBYTES, 4);
        ClickItem(dlg, IDC_OPEN);
        ASSERT_TRUE(g_bPortOpen);
        ASSERT_TRUE(boxes.empty());
    }
    void TearDown() override {
        SetMessageBoxHook({});
        SetSaveFileHook({});
    }

    // The board sends bytes; waits until the capture has grown by `grows` bytes.
    void Arrive(PseudoTerminal& board, const QByteArray& bytes, qsizetype grows) {
        const qsizetype want = dlg.m_strRecv.size() + grows;
        board.Send(bytes);
        ASSERT_TRUE(WaitUntil([&] { return dlg.m_strRecv.size() == want; }));
    }

    QString RxLabel() const { return dlg.GetItemText(IDC_RXCOUNT); }

    TempConfigHome home;
    PseudoTerminal pty;
    CSerialDlg dlg{ControlOnCom1(pty)};
    std::vector<MessageBoxCall> boxes;
};

TEST_F(LineFaultTest, HangUpMidReadingKeepsTheCountAndTheNextDeviceOpens) {
    Arrive(pty, "25.50", 5);
    pty.Send("26."); // under the threshold: no event yet
    pty.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return !boxes.empty(); }));
    DrainEvents();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(dlg.m_comm.GetPortOpen());
    EXPECT_EQ(dlg.m_strRecv, "25.50");
    EXPECT_EQ(RxLabel(), "5");

    // The board comes back on another device under the same port link; one
    // press of the open button opens it.
    boxes.clear();
    PseudoTerminal again;
    again.PublishAs(1);
    ClickItem(dlg, IDC_OPEN);
    ASSERT_TRUE(dlg.m_comm.GetPortOpen());
    Arrive(again, "27.00", 5);
    EXPECT_EQ(dlg.m_strRecv, "25.5027.00");
    EXPECT_EQ(RxLabel(), "10");
    EXPECT_TRUE(boxes.empty());
}

// The capture file read back: the count in its header and the data after it.
std::pair<qsizetype, QByteArray> ReadCapture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {-1, {}};
    const QByteArray all = file.readAll();
    const QByteArray label = GbkFromUnicode(QStringLiteral("有效数据字节:"));
    const qsizetype at = all.indexOf(label) + label.size();
    const qsizetype end = all.indexOf("\r\n", at);
    return {all.mid(at, end - at).toLongLong(), all.mid(end + 2)};
}

// Over an earlier capture, as a user saving to the same file again does.
TEST_F(LineFaultTest, FloodWhileTheSaveDialogIsOpenSavesAConsistentFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile earlier(dir.filePath("flood.txt"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write(QByteArray(20000, 'e')) > 0);
    earlier.close();
    long events = 0;
    QObject::connect(dlg.m_comm.Control(), &CommControl::OnComm, [&] { ++events; });
    long duringDialog = 0;
    {
        Flood flood(pty.MasterFd());
        SetSaveFileHook([&](const SaveFileRequest&) -> std::optional<QString> {
            // The user takes a while to choose: receptions go on meanwhile.
            const long before = events;
            EXPECT_TRUE(WaitUntil([&] { return events >= before + 500; }));
            duringDialog = events - before;
            return dir.filePath("flood.txt");
        });
        ClickItem(dlg, IDC_SAVEAS);
    }
    EXPECT_GE(duringDialog, 500);
    const auto [count, data] = ReadCapture(dir.filePath("flood.txt"));
    EXPECT_EQ(count, data.size());
    EXPECT_EQ(data, dlg.m_strRecv);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(LineFaultTest, SavingToAFullDiskSaysSoAndChangesNothing) {
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    Arrive(pty, "25.50", 5);
    QTemporaryDir dir;
    const QString full = DeviceCopy("/dev/full", dir.path());
    SetSaveFileHook([&](const SaveFileRequest&) { return std::optional<QString>(full); });
    ClickItem(dlg, IDC_SAVEAS);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("在存取 %1 时磁盘已满。").arg(full));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(dlg.m_strRecv, "25.50");
    Arrive(pty, "26.00", 5);
    EXPECT_EQ(RxLabel(), "10");
}

TEST_F(LineFaultTest, SettingsTheDeviceRefusesLeaveTheLineAsItWas) {
    // Stop bits the local serial driver cannot do, as if the list offered them.
    dlg.m_strStopBits = "1.5";
    SelectItem(dlg, IDC_BAUD, 8); // 19200: the settings are composed and applied
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("1.5 个停止位")))
        << boxes[0].text.toStdString();
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    const auto inForce = ReadLineSettings(pty.SlaveFd());
    ASSERT_TRUE(inForce);
    EXPECT_EQ(inForce->baudRate, 9600);
    EXPECT_EQ(inForce->stopBits, QSerialPort::OneStop);
    EXPECT_TRUE(dlg.m_comm.GetPortOpen());
    Arrive(pty, "25.50", 5);
}

} // namespace
