// One million receptions through the real handler (recording control,
// curve mode on, response count 12), crossing the roll-over more than a
// thousand times and switching the display mode every 100,000: resident
// memory must stay flat after warm-up, and the counter, the labels, the
// box and the capture must agree at the end with a model of the rules.
#include "support/DialogDriver.h"
#include "support/FakeCommControl.h"
#include "support/ProcessStats.h"
#include "support/ReadFile.h"
#include "support/Row.h"

#include "app/SerialDlg.h"
#include "platform/FileDialog.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>

namespace {

constexpr int kReceptions = 1'000'000;
constexpr int kWarmUp = 300'000; // both display modes, twice each
constexpr int kModeSpan = 100'000;
constexpr int kRollOver = 10'000;

const QByteArray kReading("  +25.5000\r\n");
// What the box shows of one reading: CR LF as one line break, or the pairs.
const QString kAsText = QStringLiteral("  +25.5000\n");
const QString kAsHex = QStringLiteral("20 20 2B 32 35 2E 35 30 30 30 0D 0A ");

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    auto control = std::make_unique<FakeCommControl>();
    FakeCommControl* comm = control.get();
    CSerialDlg dlg(std::move(control));
    dlg.Create();
    dlg.show();
    ClickItem(dlg, IDC_CURVE);
    ClickItem(dlg, IDC_OPEN);
    SelectItem(dlg, IDC_RESPBYTES, int(kReading.size()) - 1);

    // The model: what the rules say the dialog holds.
    int count = 0;
    int rollOvers = 0;
    bool hex = false;
    QByteArray capture;
    QString box;

    long residentAtWarmUp = 0;
    long residentMax = 0;
    for (int i = 0; i < kReceptions; ++i) {
        if (i > 0 && i % kModeSpan == 0) {
            ClickItem(dlg, IDC_RECVMODE);
            hex = !hex;
        }
        comm->Receive(kReading);
        box += hex ? kAsHex : kAsText;
        capture += kReading;
        count += int(kReading.size());
        if (count > kRollOver) {
            count = 0;
            ++rollOvers;
            box.clear();
            capture = kReading;
        }
        if (i % 100 == 0) {
            comm->log.clear(); // the recording control's own log is not the dialog's memory
            QApplication::processEvents();
        }
        if (i == kWarmUp)
            residentAtWarmUp = ResidentBytes();
        if (i > kWarmUp && i % 10'000 == 0)
            residentMax = std::max(residentMax, ResidentBytes());
    }
    QApplication::processEvents();

    // The capture, as a save writes it after its header line.
    const QTemporaryDir dir;
    SetSaveFileHook(
        [&](const SaveFileRequest&) { return std::optional(dir.filePath("soak.txt")); });
    ClickItem(dlg, IDC_SAVEAS);
    QByteArray saved = ReadFile(dir.filePath("soak.txt"));
    saved.remove(0, saved.indexOf("\r\n") + 2);
    const bool consistent = dlg.GetItemText(IDC_RXCOUNT) == QString::number(count) &&
                            saved == capture && dlg.GetItemText(IDC_RECV) == box &&
                            dlg.GetItemText(IDC_TEMP) == QStringLiteral("摄氏25.50℃") &&
                            comm->waiting.isEmpty();
    const double growthMb = double(residentMax - residentAtWarmUp) / (1 << 20);
    PrintRow("soak: 1,000,000 receptions, " + std::to_string(rollOvers) +
                 " roll-overs: resident memory after warm-up → highest later",
             Figure(double(residentAtWarmUp) / (1 << 20), 1) + " → " +
                 Figure(double(residentMax) / (1 << 20), 1, "MB"),
             "flat (growth < 1 MB)", growthMb < 1);
    PrintRow("soak: counter, labels, box, capture and readout agree with the rules at the end",
             consistent ? "agree" : "differ", "agree", consistent);
    return consistent ? 0 : 1;
}
