#include "support/DialogFixture.h"

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

#include <stdexcept>

namespace {

QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QAction* MenuAction(const QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
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

TEST_F(DialogTest, EscapeEndsTheDialog) {
    dlg->show();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(DialogTest, SystemMenuHoldsCloseAndTheAddedEntries) {
    EXPECT_EQ(MenuTexts(dlg->SystemMenu()),
              (QStringList{"关闭(&C)", "-", "关于(&A)...", "-", "锁定窗口", "-", "最小化"}));
}

TEST_F(DialogTest, LockTwiceLeavesNormalStackingWithoutCheck) {
    dlg->show();
    const QRect before = dlg->geometry();
    QAction* lock = MenuAction(dlg->SystemMenu(), "锁定窗口");
    ASSERT_NE(lock, nullptr);
    lock->trigger();
    EXPECT_TRUE(g_bTopMost);
    EXPECT_TRUE(lock->isChecked());
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dlg->geometry(), before);
    lock->trigger();
    EXPECT_FALSE(g_bTopMost);
    EXPECT_FALSE(lock->isChecked());
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dlg->geometry(), before);
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
