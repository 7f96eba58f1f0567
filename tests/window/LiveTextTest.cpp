#include "support/DialogFixture.h"
#include "support/WaitUntil.h"

#include "resources/Resource.h"

#include <QAccessible>

// Assistive tools get a fixed name and read the changing text as a value, so
// the clock does not announce a new name a hundred times a second.
TEST_F(DialogTest, TheClockNamesItselfOnceAndShowsTheTimeAsItsValue) {
    QAccessibleInterface* clock = QAccessible::queryAccessibleInterface(dlg->GetDlgItem(IDC_CLOCK));
    ASSERT_NE(clock, nullptr);
    const QString first = clock->text(QAccessible::Value);
    ASSERT_TRUE(WaitUntil([&] { return clock->text(QAccessible::Value) != first; }));
    EXPECT_EQ(clock->role(), QAccessible::Clock);
    EXPECT_EQ(clock->text(QAccessible::Name), "系统时间");
    EXPECT_EQ(clock->text(QAccessible::Value), Text(IDC_CLOCK));
}
