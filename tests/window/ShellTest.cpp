#include "support/ModalRun.h"

#include "app/AboutDlg.h"
#include "app/Clock.h"
#include "app/Globals.h"
#include "platform/Dispatch.h"
#include "resources/DialogTemplates.h"
#include "resources/Icons.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <stdexcept>

namespace {

QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QAction* Entry(const CSerialDlg& dlg, const QString& text) {
    for (QAction* action : dlg.SystemMenu()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Chooses an entry of the dialog's system menu.
void Choose(const CSerialDlg& dlg, const QString& text) {
    QAction* action = Entry(dlg, text);
    ASSERT_NE(action, nullptr) << text.toStdString();
    action->trigger();
}

// What the lock entry, the window and the widget say about the top-most band.
void ExpectLocked(const CSerialDlg& dlg, bool locked) {
    EXPECT_EQ(g_bTopMost, locked);
    EXPECT_EQ(Entry(dlg, "锁定窗口")->isChecked(), locked);
    EXPECT_EQ(dlg.windowFlags().testFlag(Qt::WindowStaysOnTopHint), locked);
    ASSERT_NE(dlg.windowHandle(), nullptr);
    EXPECT_EQ(dlg.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), locked);
    EXPECT_TRUE(dlg.isVisible());
}

} // namespace

TEST_F(DialogTest, StartsCompactCentredWithThePlotOutside) {
    const QRect separator = dlg->GetDlgItem(IDC_SEPARATOR)->geometry();
    EXPECT_EQ(dlg->height(), separator.y() + separator.height());
    EXPECT_EQ(dlg->m_rcFull.height() > dlg->height(), true);
    EXPECT_GE(dlg->GetDlgItem(IDC_PLOT)->y(), dlg->height());
    EXPECT_GE(dlg->m_curve.y(), dlg->height());
    EXPECT_TRUE(dlg->m_editTemp->isHidden());
    EXPECT_FALSE(dlg->GetDlgItem(IDC_RESPBYTES)->isHidden());
    EXPECT_EQ(dlg->m_editTemp->text(), QStringLiteral("摄氏     ℃"));
    EXPECT_EQ(Text(IDC_RXCOUNT), "RX");
    // Before the first opening the dialog has touched no property of the control.
    EXPECT_TRUE(comm->log.isEmpty()) << comm->log.join(' ').toStdString();

    const QRect work = QApplication::primaryScreen()->availableGeometry();
    const QPoint centre = dlg->frameGeometry().center();
    EXPECT_LE(std::abs(centre.x() - work.center().x()), 1);
    EXPECT_LE(std::abs(centre.y() - work.center().y()), 1);
}

TEST_F(DialogTest, TabVisitsTheTemplateOrderSkippingHiddenControls) {
    dlg->show();
    QList<int> expected;
    for (const ControlTemplate& c : g_tmplSerialDialog.controls) {
        if ((c.styles & ControlStyle::TabStop) && c.id != IDC_TEST && c.id != IDC_TEMP &&
            c.id != IDC_COMM)
            expected.append(c.id);
    }
    dlg->GetDlgItem(IDC_SEND)->setFocus();
    QList<int> visited;
    QWidget* w = dlg->GetDlgItem(IDC_SEND);
    do {
        visited.append(GetDlgCtrlID(w));
        w = w->nextInFocusChain();
        while (w != dlg->GetDlgItem(IDC_SEND) &&
               (!w->isVisibleTo(dlg.get()) || w->focusPolicy() == Qt::NoFocus ||
                GetDlgCtrlID(w) == -1 || w == dlg.get()))
            w = w->nextInFocusChain();
    } while (w != dlg->GetDlgItem(IDC_SEND));
    EXPECT_EQ(visited, expected);
}

TEST_F(DialogTest, EnterMakesANewLineInTheBoxesOnly) {
    dlg->show();
    for (QPlainTextEdit* box : {dlg->m_editRecv, dlg->m_editSend}) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(box->toPlainText(), "\n");
    }
    EXPECT_FALSE(comm->log.contains("PortOpen?"));
    // Elsewhere Enter presses the default button, which sends.
    dlg->GetDlgItem(IDC_BAUD)->setFocus();
    QTest::keyClick(dlg->GetDlgItem(IDC_BAUD), Qt::Key_Return);
    EXPECT_TRUE(comm->log.contains("PortOpen?"));
}

TEST_F(DialogTest, SystemMenuHoldsCloseAndTheAddedEntries) {
    EXPECT_EQ(MenuTexts(dlg->SystemMenu()),
              (QStringList{"关闭(&C)", "-", "关于(&A)...", "-", "锁定窗口", "-", "最小化"}));
}

TEST(ClockFormat, HasNoLeadingZeros) {
    EXPECT_EQ(FormatClock(QTime(9, 5, 3, 7)), "9:5:3:7");
    EXPECT_EQ(FormatClock(QTime(23, 59, 59, 999)), "23:59:59:999");
    EXPECT_EQ(FormatClock(QTime(0, 0, 0, 0)), "0:0:0:0");
}

TEST_F(DialogTest, ClockTimerWritesTheTimeIntoTheLabel) {
    dlg->OnTimer(TIMER_CLOCK);
    EXPECT_EQ(Text(IDC_CLOCK), QString::fromLatin1(g_strTime));
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_CLOCK));
}

TEST(SystemMenuWithoutAboutString, AddsNothing) {
    SetResStringOverride(IDS_ABOUTBOX, QString());
    ResetGlobals();
    CSerialDlg dlg(std::make_unique<FakeCommControl>());
    dlg.Create();
    ClearResStringOverrides();
    EXPECT_EQ(MenuTexts(dlg.SystemMenu()), QStringList{"关闭(&C)"});
}

TEST_F(DialogTest, ControlErrorsInCommandsShowAStopBoxAndNothingInEvents) {
    comm->FailOn("PortOpen=true", "串口 COM1 不存在。");
    Click(IDC_OPEN);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "串口 COM1 不存在。");
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    EXPECT_FALSE(g_bPortOpen);

    comm->FailOn("InBufferCount?", "读取失败");
    comm->Receive("25");
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(DialogTest, OtherErrorsInCommandsShowTheInternalFailureTextAndNothingInEvents) {
    const auto fail = [] { throw std::runtime_error("not a described error"); };
    Dispatch(dlg.get(), HandlerKind::ControlEvent, fail);
    EXPECT_TRUE(boxes.empty());
    Dispatch(dlg.get(), HandlerKind::Command, fail);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "内部应用程序出错。");
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
}

TEST(AboutBox, ShowsTheApplicationIcon) {
    CAboutDlg about;
    const auto* icon = qobject_cast<const QLabel*>(GetDlgItem(&about, IDI_APPICON));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pixmap().toImage(), AppIcon().pixmap(32, 32).toImage());
}

// Window state, through the dialog's real modal loop.

TEST_F(ModalDialogTest, LockTwiceKeepsTheLoopThePlaceAndEndsInNormalStacking) {
    QRect before;
    const ModalRun run = RunModal({
        [&] {
            before = dlg->frameGeometry();
            Choose(*dlg, "锁定窗口");
            ExpectLocked(*dlg, true);
        },
        [&] {
            EXPECT_EQ(dlg->frameGeometry(), before);
            Choose(*dlg, "锁定窗口");
            ExpectLocked(*dlg, false);
        },
        [&] { EXPECT_EQ(dlg->frameGeometry(), before); },
    });
    EXPECT_EQ(run.stepsRun, 3);
    EXPECT_TRUE(run.endedByCancel);
    EXPECT_EQ(run.result, QDialog::Rejected);
}

TEST_F(ModalDialogTest, MinimiseKeepsTheLoop) {
    const ModalRun run = RunModal({
        [&] {
            Choose(*dlg, "最小化");
            EXPECT_TRUE(dlg->isMinimized());
        },
        [&] {
            EXPECT_TRUE(dlg->isMinimized());
            dlg->showNormal();
        },
        [&] { EXPECT_FALSE(dlg->isMinimized()); },
    });
    EXPECT_EQ(run.stepsRun, 3);
    EXPECT_TRUE(run.endedByCancel);
}

TEST_F(ModalDialogTest, CurveResizesInPlace) {
    QPoint position;
    const ModalRun run = RunModal({
        [&] {
            position = dlg->pos();
            Click(IDC_CURVE);
            EXPECT_EQ(dlg->size(), dlg->m_rcFull.size());
        },
        [&] {
            EXPECT_EQ(dlg->pos(), position);
            Click(IDC_CURVE);
            EXPECT_EQ(dlg->size(), dlg->m_rcSmall.size());
        },
        [&] { EXPECT_EQ(dlg->pos(), position); },
    });
    EXPECT_EQ(run.stepsRun, 3);
    EXPECT_TRUE(run.endedByCancel);
}

struct AboutClose {
    const char* name;
    Qt::Key key;
};

void PrintTo(const AboutClose& row, std::ostream* os) {
    *os << row.name;
}

class AboutBoxTest : public ModalDialogTest, public ::testing::WithParamInterface<AboutClose> {};

TEST_P(AboutBoxTest, ClosingItChangesNothing) {
    QRect geometry;
    QString title;
    const ModalRun run = RunModal({
        [&] {
            Click(IDC_OPEN);
            Choose(*dlg, "锁定窗口");
            Click(IDC_CURVE);
        },
        [&] {
            geometry = dlg->frameGeometry();
            WhenModalShown(dlg.get(), [&](QWidget* about) {
                title = about->windowTitle();
                QTest::keyClick(about, GetParam().key);
            });
            Choose(*dlg, "关于(&A)...");
        },
        [&] {
            EXPECT_EQ(title, "关于应用程序");
            EXPECT_EQ(dlg->frameGeometry(), geometry);
            ExpectLocked(*dlg, true);
            EXPECT_TRUE(g_bPortOpen);
            EXPECT_TRUE(comm->portOpen);
            EXPECT_EQ(Text(IDC_OPEN), "关闭串口");
        },
    });
    EXPECT_EQ(run.stepsRun, 3);
    EXPECT_TRUE(run.endedByCancel);
}

INSTANTIATE_TEST_SUITE_P(Keys, AboutBoxTest,
                         ::testing::Values(AboutClose{"Escape", Qt::Key_Escape},
                                           AboutClose{"Enter", Qt::Key_Return}),
                         [](const auto& row) { return std::string(row.param.name); });

struct Ending {
    const char* name;
    std::function<void(CSerialDlg&)> act;
};

void PrintTo(const Ending& row, std::ostream* os) {
    *os << row.name;
}

class DialogEndTest : public ModalDialogTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(DialogEndTest, EndsTheModalLoop) {
    const ModalRun run = RunModal({[&] { GetParam().act(*dlg); }});
    EXPECT_EQ(run.stepsRun, 1);
    EXPECT_FALSE(run.endedByCancel);
    EXPECT_EQ(run.result, QDialog::Rejected);
    EXPECT_FALSE(dlg->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DialogEndTest,
    ::testing::Values(Ending{"Escape", [](CSerialDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
                      Ending{"CloseEntry", [](CSerialDlg& d) { Choose(d, "关闭(&C)"); }},
                      Ending{"CloseBox", [](CSerialDlg& d) { d.close(); }}),
    [](const auto& row) { return std::string(row.param.name); });
