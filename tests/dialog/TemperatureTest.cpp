#include "support/DialogFixture.h"
#include "support/ShownOnScreen.h"
#include "support/WaitUntil.h"

#include "platform/WindowStyles.h"
#include "temperature/CurveWnd.h"

#include <QLineEdit>
#include <QTest>

#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace {

// What the screen shows of the curve's picture, inside its border.
QImage CurveShown(QWidget* window, CCurveWnd* curve) {
    return ShownOnScreen(window, curve).copy(curve->contentsRect());
}

// Counts the paint events of what it filters.
struct PaintCount : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

} // namespace

// In curve mode a reply shows in the readout, which takes the list's place,
// and goes to the curve; out of it neither changes, and the readout keeps the
// last reading taken in curve mode.
TEST_F(DialogTest, ReadingsReachReadoutAndCurveOnlyInCurveMode) {
    const std::tuple<int, QByteArray, QString, int> rows[] = {
        {4, "25.5", "摄氏25.50℃", 27},  {2, "25.5", "摄氏25.00℃", 27},
        {5, "-5.25", "摄氏-5.25℃", -3}, {5, " 21.0", "摄氏21.00℃", 23},
        {1, "x", "摄氏0.00℃", 2},       {5, "1e999", "摄氏inf℃", 100}};
    for (const auto& [respBytes, reply, readout, curveValue] : rows) {
        SCOPED_TRACE(reply.toStdString());
        TearDown();
        SetUp();
        OpenPort();
        Select(IDC_RESPBYTES, respBytes - 1);
        const QImage start = dlg->findChild<CCurveWnd*>()->Surface();
        comm->Receive(reply);
        EXPECT_EQ(dlg->findChild<CCurveWnd*>()->Surface(), start);
        for (int open = 0; open < 3; ++open) {
            Click(IDC_CURVE);
            EXPECT_EQ(Text(IDC_CURVE) + Text(IDC_RESP_LABEL),
                      open % 2 ? "打开曲线响应字节数" : "关闭曲线实时温度");
            EXPECT_EQ(dlg->GetDlgItem(IDC_TEMP)->isHidden(), open % 2 == 1);
            EXPECT_EQ(dlg->GetDlgItem(IDC_RESPBYTES)->isHidden(), open % 2 == 0);
            EXPECT_EQ(Text(IDC_TEMP), open ? readout : "摄氏     ℃");
            comm->Receive(open % 2 ? "0000000000000000" : reply);
        }
        // What a curve of the same size shows after the value, twice.
        QWidget host;
        CCurveWnd curve;
        curve.Create(WS_CHILD | WS_VISIBLE, dlg->GetDlgItem(IDC_PLOT)->geometry(), &host, 0);
        curve.SetRange(0, 100);
        curve.AddValue(curveValue);
        curve.AddValue(curveValue);
        EXPECT_EQ(dlg->findChild<CCurveWnd*>()->Surface(), curve.Surface());
    }
}

// The hidden test button starts a feed of a value every 500 ms into the curve
// and stops it again; the clock's own timer goes on through both.
TEST_F(DialogTest, TheTestFeedStartsAndStopsWithoutTheClock) {
    const auto* curve = dlg->findChild<CCurveWnd*>();
    const auto clockTicks = [&] {
        const QString before = Text(IDC_CLOCK);
        return WaitUntil([&] { return Text(IDC_CLOCK) != before; });
    };
    const QImage start = curve->Surface();
    Click(IDC_TEST);
    EXPECT_TRUE(WaitUntil([&] { return curve->Surface() != start; })) << "the feed started";
    EXPECT_TRUE(clockTicks());
    Click(IDC_TEST);
    const QImage stopped = curve->Surface();
    QTest::qWait(700); // longer than the feed's interval
    EXPECT_EQ(curve->Surface(), stopped) << "the feed stopped";
    EXPECT_TRUE(clockTicks());
}

// The clock's tick is the window's frame: the curve moves on with it, at
// most once a display frame, and not only when its own timer runs out; and
// only when values came.
TEST_F(DialogTest, TheCurveMovesOnWithTheClock) {
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 4);
    Click(IDC_CURVE);
    auto* curve = dlg->findChild<CCurveWnd*>();
    for (const char* reading : {"25.50", "75.00", "10.00", "10.00"}) {
        comm->Receive(reading);
        for (int tick = 0; tick < 3; ++tick) { // the last at least a frame later
            const QString clock = Text(IDC_CLOCK);
            ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOCK) != clock; }));
        }
        EXPECT_EQ(CurveShown(dlg.get(), curve), curve->Surface()) << reading;
    }
    // With no value to show, the ticks go on without painting the curve.
    PaintCount painted;
    curve->installEventFilter(&painted);
    DrainEvents();
    EXPECT_EQ(painted.paints, 0);
}

// A reading shown before is shown again from a picture of it, without
// rewriting the edit: the screen shows the reading taken last as it showed it
// the first time, and the user who comes to the readout finds that reading
// in it, edits it with keys, and sees the readings set in it while there.
TEST_F(DialogTest, TheReadoutShowsTheLastReadingAndHoldsItForTheUser) {
    dlg->show();
    OpenPort();
    Select(IDC_RESPBYTES, 4);
    Click(IDC_CURVE);
    auto* readout = static_cast<QLineEdit*>(dlg->GetDlgItem(IDC_TEMP));
    const auto shown = [&] {
        DrainEvents();
        return ShownOnScreen(dlg.get(), readout);
    };
    int rewritten = 0;
    QObject::connect(readout, &QLineEdit::textChanged, [&] { ++rewritten; });
    std::map<QString, QImage> first;
    for (const char* reading : {"25.50", "25.56", "25.50", "-1.00", "25.56", "25.50"}) {
        comm->Receive(reading);
        const QString text = Text(IDC_TEMP);
        EXPECT_EQ(text, QStringLiteral("摄氏%1℃").arg(QLatin1String(reading)));
        const QImage now = shown();
        EXPECT_EQ(now, first.emplace(text, now).first->second) << text.toStdString();
    }
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(rewritten, 3);
    EXPECT_NE(first.begin()->second, std::next(first.begin())->second);
    EXPECT_NE(first.begin()->second, first.rbegin()->second);

    QTest::mouseClick(readout, Qt::LeftButton);
    EXPECT_EQ(readout->text(), "摄氏25.50℃");
    QTest::keyClick(readout, Qt::Key_End);
    QTest::keyClick(readout, Qt::Key_Backspace);
    QTest::keyClick(readout, Qt::Key_Backspace);
    EXPECT_EQ(readout->text(), "摄氏25.5");
    comm->Receive("25.56");
    EXPECT_EQ(readout->text(), "摄氏25.56℃");
    QTest::keyClick(readout, Qt::Key_Backspace);
    EXPECT_EQ(readout->text(), "摄氏25.56");
    EXPECT_EQ(Text(IDC_TEMP), "摄氏25.56");
}

// The picture moves along an image twice its width and is copied back to
// the start at the end: after many values it shows what a new curve given
// only the values it still shows would, whatever the earlier ones drew.
TEST(CurveTest, ThePictureShowsOnlyTheValuesItStillHolds) {
    QWidget host;
    const auto make = [&] {
        auto curve = std::make_unique<CCurveWnd>();
        curve->Create(WS_CHILD | WS_VISIBLE, QRect(0, 0, 491, 196), &host, 0);
        curve->SetRange(0, 100);
        return curve;
    };
    const auto value = [](int i) { return (i * 37) % 101; };
    auto many = make();
    constexpr int kValues = 1000; // some eight copies back
    for (int i = 0; i < kValues; ++i)
        many->AddValue(value(i));
    auto few = make();
    for (int i = kValues - 62; i < kValues; ++i) // 485 pixels: 61 steps and some
        few->AddValue(value(i));
    EXPECT_EQ(many->Surface(), few->Surface());
}

// The screen comes to show what the picture holds, after one value or
// several, through copies back to the image's start; and each new segment
// lights the pixels the platform's pen does: one per step of the major
// axis, the end point left out, and at a tie the one with the smaller
// coordinate.
TEST(CurveTest, EachStepShowsItsSegmentAsThePlatformPenDrawsIt) {
    QWidget host;
    host.resize(520, 220);
    CCurveWnd curve;
    curve.Create(WS_CHILD | WS_VISIBLE, QRect(10, 10, 491, 196), &host, 0);
    curve.SetRange(0, 100);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const QRect client = curve.contentsRect();
    const int W = client.width();
    const int H = client.height();
    const auto row = [&](int value) { return H - int(value / 100.0 * H); };
    const auto halfDown = [](double exact) { return int(std::ceil(exact - 0.5)); };
    using Pixels = std::set<std::pair<int, int>>;

    std::vector<int> values;
    for (const auto& [from, to, by] : {std::tuple{50, 70, 2},
                                       {70, 50, -2},
                                       {10, 90, 8},
                                       {90, 10, -8},
                                       {0, 100, 100},
                                       {100, 0, -100}})
        for (int v = from; by > 0 ? v < to : v > to; v += by)
            values.push_back(v);
    for (int i = 0; i < 80; ++i)
        values.push_back(i * 37 % 101);

    // The pixels of the segment from one value to the next, as it lies in the
    // picture when the second is new.
    const auto segment = [&](int from, int to) {
        Pixels pixels;
        const int dy = row(to) - row(from);
        const bool xMajor = 8 > std::abs(dy);
        for (int k = 0; k < std::max(8, std::abs(dy)); ++k) {
            const int x = W - 16 + (xMajor ? k : halfDown(8.0 * k / std::abs(dy)));
            const int y = row(from) + (xMajor ? halfDown(dy * k / 8.0) : (dy < 0 ? -k : k));
            if (y >= 0 && y < H)
                pixels.emplace(x, y);
        }
        return pixels;
    };

    Pixels before; // the last segment, moved on a step
    int unshown = 0;
    int shown = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(QStringLiteral("value %1").arg(i).toStdString());
        curve.AddValue(values[i]);
        const QImage picture = curve.Surface();
        // Shown after one to four values, the window painting part of the
        // curve on its own now and then in between.
        if (i % 9 == 3)
            curve.repaint(QRect(100, 50, 40, 40));
        if (++unshown == 1 + shown % 4) {
            unshown = 0;
            ++shown;
            ASSERT_TRUE(WaitUntil([&] { return CurveShown(&host, &curve) == picture; }));
        }
        Pixels lit;
        for (int x = W - 16; x < W; ++x)
            for (int y = 0; y < H; ++y)
                if (picture.pixel(x, y) == qRgb(255, 255, 255))
                    lit.emplace(x, y);
        const Pixels drawn = i ? segment(values[i - 1], values[i]) : Pixels();
        Pixels expected = drawn;
        for (const auto& [x, y] : before)
            if (x - 8 >= W - 16)
                expected.emplace(x - 8, y);
        EXPECT_EQ(lit, expected);
        before = drawn;
    }
}
