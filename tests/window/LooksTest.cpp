#include "support/DialogDriver.h"
#include "support/DialogFixture.h"
#include "support/WaitUntil.h"

#include "app/AboutDlg.h"
#include "resources/Resource.h"

#include <QPainter>
#include <QTest>

// The whole dialog as the user sees it in each of its states, pixel for pixel:
// every control's place, size, caption, colour and frame, the curve and the
// colour buttons' drawing.

namespace {

// Whether image equals golden/<name>.png pixel for pixel. On a difference the
// image and a diff (changed pixels red over a grey copy) are written into the
// build folder and named in the failure. With SERIALTEMP_GOLDEN=update in the
// environment the image becomes the golden one instead.
testing::AssertionResult MatchesGolden(const QImage& image, const QString& name) {
    const QImage actual = image.convertToFormat(QImage::Format_RGB32);
    const QString golden = QStringLiteral(GOLDEN_DIR "/%1.png").arg(name);
    if (qEnvironmentVariable("SERIALTEMP_GOLDEN") == QLatin1String("update") && actual.save(golden))
        return testing::AssertionSuccess();
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    if (actual == expected)
        return testing::AssertionSuccess();
    QImage diff =
        actual.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
    int changed = 0;
    for (int y = 0; y < diff.height(); ++y)
        for (int x = 0; x < diff.width(); ++x)
            if (!expected.valid(x, y) || expected.pixel(x, y) != actual.pixel(x, y)) {
                diff.setPixel(x, y, qRgb(255, 0, 0));
                ++changed;
            }
    const std::string out = QStringLiteral(GOLDEN_OUT "/%1").arg(name).toStdString();
    actual.save(QString::fromStdString(out + "-actual.png"));
    diff.save(QString::fromStdString(out + "-diff.png"));
    return testing::AssertionFailure() << changed << " pixels differ from " << golden.toStdString()
                                       << "; see " << out << "-actual.png and -diff.png";
}

struct Look {
    const char* name;
    void (*act)(CSerialDlg&, FakeCommControl&);
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
         for (int round = 0; round < 7; ++round)
             for (const char* reading : {"48.0", "25.0", "48.0", "46.0", "48.0", "44.0", "98.0",
                                         "98.0", "-2.0", "-1.0"}) {
                 line.Receive(reading);
                 QApplication::processEvents(); // each step repaints what it moved
             }
         // Tab leaves the send box, and the readout, for the first mode button.
         dlg.GetDlgItem(IDC_SENDTEXT)->setFocus();
         QTest::keyClick(dlg.GetDlgItem(IDC_SENDTEXT), Qt::Key_Tab);
         QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
     }},
    // The first two readings' line, and the pressed look of a colour button.
    {"HexModesTwoReadingsPressed",
     [](CSerialDlg& dlg, FakeCommControl& line) {
         ClickItem(dlg, IDC_OPEN);
         ClickItem(dlg, IDC_RECVMODE);
         ClickItem(dlg, IDC_SENDMODE);
         ClickItem(dlg, IDC_CURVE);
         SelectItem(dlg, IDC_RESPBYTES, 14);
         // Two readings of the fifteen bytes the board was asked for.
         line.Receive(QByteArray("\x01\x7f\x80\xff 09AZaz\r\n\x90\x10 ", 15));
         line.Receive("98.0           ");
         QTest::mousePress(dlg.GetDlgItem(IDC_OPEN), Qt::LeftButton);
     }},
};

} // namespace

class LooksLikeGolden : public DialogTest, public ::testing::WithParamInterface<Look> {};

TEST_P(LooksLikeGolden, InState) {
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    GetParam().act(*dlg, *comm);
    DrainEvents();
    // What the window shows after its partial repaints, and a full paint;
    // the clock shows the time of day.
    QImage shown = dlg->screen()->grabWindow(dlg->winId()).toImage();
    QImage shot = dlg->grab().toImage();
    for (QImage* image : {&shown, &shot})
        QPainter(image).fillRect(dlg->GetDlgItem(IDC_CLOCK)->geometry(), Qt::magenta);
    EXPECT_TRUE(MatchesGolden(shot, QString::fromLatin1(GetParam().name)));
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB32) ==
                shot.convertToFormat(QImage::Format_RGB32));
}

TEST(AboutBox, LooksLikeGolden) {
    EXPECT_TRUE(MatchesGolden(CAboutDlg().grab().toImage(), QStringLiteral("About")));
}

INSTANTIATE_TEST_SUITE_P(Dialog, LooksLikeGolden, ::testing::ValuesIn(kLooks),
                         [](const auto& row) { return std::string(row.param.name); });
