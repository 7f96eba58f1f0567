#include "support/DialogDriver.h"
#include "support/DialogFixture.h"
#include "support/WaitUntil.h"
#include "window/Golden.h"

#include "resources/Resource.h"

#include <QPainter>
#include <QTest>

#include <functional>

// The whole dialog as the user sees it in each of its states, pixel for pixel:
// every control's place, size, caption, colour and frame, the curve and the
// colour buttons' drawing.

namespace {

struct Look {
    const char* name;
    std::function<void(CSerialDlg&, FakeCommControl&)> act;
};

const Look kLooks[] = {
    {"Start", [](CSerialDlg&, FakeCommControl&) {}},
    // Curve values (a reading plus 2) that draw steep and shallow lines both
    // ways, a diagonal, the top and the bottom edge; seven rounds scroll the
    // picture past the end of its image.
    {"CurveWithReadings",
     [](CSerialDlg& dlg, FakeCommControl& line) {
         ClickItem(dlg, IDC_OPEN);
         ClickItem(dlg, IDC_CURVE);
         SelectItem(dlg, IDC_RESPBYTES, 3);
         for (int round = 0; round < 7; ++round) {
             for (const char* reading :
                  {"48.0", "25.0", "48.0", "46.0", "48.0", "44.0", "98.0", "98.0", "-2.0", "-1.0"})
                 line.Receive(reading);
         }
     }},
    {"HexModesCurvePressed",
     [](CSerialDlg& dlg, FakeCommControl& line) {
         ClickItem(dlg, IDC_RECVMODE);
         ClickItem(dlg, IDC_SENDMODE);
         SelectItem(dlg, IDC_RESPBYTES, 14);
         line.Receive(QByteArray("\x01\x7f\x80\xff 09AZaz\r\n\x90\x10", 14));
         QTest::mousePress(dlg.GetDlgItem(IDC_CURVE), Qt::LeftButton);
     }},
};

} // namespace

class LooksLikeGolden : public DialogTest, public ::testing::WithParamInterface<Look> {};

TEST_P(LooksLikeGolden, InState) {
    dlg->show();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    GetParam().act(*dlg, *comm);
    DrainEvents();
    QImage shot = dlg->grab().toImage();
    // The clock shows the time of day.
    QPainter(&shot).fillRect(dlg->GetDlgItem(IDC_CLOCK)->geometry(), Qt::magenta);
    EXPECT_TRUE(MatchesGolden(shot, QString::fromLatin1(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(Dialog, LooksLikeGolden, ::testing::ValuesIn(kLooks),
                         [](const auto& row) { return std::string(row.param.name); });
