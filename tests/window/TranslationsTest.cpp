#include "support/ModalRun.h"

#include "platform/MessageBox.h"
#include "platform/Translations.h"

#include <QAbstractButton>
#include <QTest>
#include <QTranslator>

// Qt's own texts are Chinese whatever the locale (the tests run under LC_ALL=C.UTF-8).
TEST(QtTranslations, MessageBoxSaysOkInChinese) {
    const auto translations = InstallQtTranslations();
    ASSERT_NE(translations, nullptr);
    QStringList buttons;
    WhenModalShown([&](QWidget* box) {
        for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
            buttons.append(button->text());
        QTest::keyClick(box, Qt::Key_Return);
    });
    AppMessageBox(nullptr, QStringLiteral("请打开串口后再操作!"), QStringLiteral("非法操作!"),
                  MsgIcon::Exclamation);
    EXPECT_EQ(buttons, QStringList{"确定"});
}
