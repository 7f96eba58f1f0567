#include "support/ModalRun.h"

#include "resources/Resource.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QWindow>

// Window state through the dialog's real modal loop, as the program runs it.

namespace {

// Chooses entry of the system menu a right click on the dialog opens; returns it.
QAction* Choose(QWidget& dlg, const QString& entry) {
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(1, 1), dlg.mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(&dlg, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    for (QAction* action : menu ? menu->actions() : QList<QAction*>()) {
        if (action->text() == entry) {
            menu->hide();
            action->trigger();
            return action;
        }
    }
    return nullptr;
}

// The menu's check mark, the widget and its window agree on the top-most band.
void ExpectLocked(const QWidget& dlg, const QAction* entry, bool locked) {
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->isChecked(), locked);
    EXPECT_EQ(dlg.windowFlags().testFlag(Qt::WindowStaysOnTopHint), locked);
    EXPECT_EQ(dlg.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), locked);
}

// Opens the About box from the system menu and closes it with key.
void ShowAbout(QWidget& dlg, Qt::Key key) {
    WhenModalShown([key](QWidget* about) { QTest::keyClick(about, key); });
    ASSERT_NE(Choose(dlg, "关于(&A)..."), nullptr);
}

} // namespace

TEST_F(ModalDialogTest, WindowCommandsKeepTheLoopAndThePlace) {
    QPoint place;
    QSize compact;
    const ModalRun run = RunModal({
        [&] {
            place = dlg->pos();
            compact = dlg->size();
            ExpectLocked(*dlg, Choose(*dlg, "锁定窗口"), true);
        },
        [&] { ShowAbout(*dlg, Qt::Key_Escape); },
        [&] { ShowAbout(*dlg, Qt::Key_Return); },
        [&] {
            EXPECT_EQ(dlg->pos(), place);
            ExpectLocked(*dlg, Choose(*dlg, "锁定窗口"), false);
        },
        [&] { Choose(*dlg, "最小化"); },
        [&] {
            EXPECT_TRUE(dlg->isMinimized());
            dlg->showNormal();
            Click(IDC_CURVE);
        },
        [&] {
            EXPECT_EQ(dlg->pos(), place);
            EXPECT_GT(dlg->height(), compact.height());
            Click(IDC_CURVE);
        },
        [&] {
            EXPECT_EQ(dlg->pos(), place);
            EXPECT_EQ(dlg->size(), compact);
            Choose(*dlg, "关闭(&C)");
        },
    });
    EXPECT_EQ(run.stepsRun, 8);
    EXPECT_FALSE(run.endedByCancel);
}
