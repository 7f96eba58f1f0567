#include "support/ModalRun.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Translations.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

// The texts Qt supplies in the real message box and save dialog are Chinese
// whatever the locale says; the tests run under LC_ALL=C.UTF-8 and an
// English default locale.

namespace {

QStringList Texts(const QWidget* window) {
    QStringList texts;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        texts.append(button->text());
    for (const QLabel* label : window->findChildren<QLabel*>())
        texts.append(label->text());
    return texts;
}

class QtTranslationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        translations = InstallQtTranslations();
        ASSERT_NE(translations, nullptr);
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    std::unique_ptr<QTranslator> translations;
};

} // namespace

TEST_F(QtTranslationsTest, MessageBoxSaysOkInChinese) {
    QStringList buttons;
    WhenModalShown(nullptr, [&](QWidget* box) {
        for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
            buttons.append(button->text());
        QTest::keyClick(box, Qt::Key_Return);
    });
    AppMessageBox(nullptr, QStringLiteral("请打开串口后再操作!"), QStringLiteral("非法操作!"),
                  MsgIcon::Exclamation);
    EXPECT_EQ(buttons, QStringList{"确定"});
}

TEST_F(QtTranslationsTest, SaveDialogAndItsOverwriteQuestionAreChinese) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("capture.txt"));
    QFile(existing).open(QIODevice::WriteOnly);

    QStringList dialogTexts;
    QString question;
    QStringList questionButtons;
    WhenModalShown(nullptr, [&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        dialogTexts = Texts(dialog);
        WhenModalShown(dialog, [&](QWidget* box) {
            question = qobject_cast<QMessageBox*>(box)->text();
            for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
                questionButtons.append(button->text());
            QTest::keyClick(box, Qt::Key_Escape);
        });
        dialog->selectFile(existing);
        // Saving over the file asks whether to replace it; the answer is no.
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        dialog->reject();
    });
    const std::optional<QString> chosen = GetSaveFileName(
        nullptr,
        {QStringLiteral("另存为"), {{QStringLiteral("TEXT Files(*.txt)"), "*.txt"}}, "txt"});

    EXPECT_FALSE(chosen.has_value());
    for (const char* text : {"查找范围：", "文件名称(&N)：", "保存(&S)", "取消"})
        EXPECT_TRUE(dialogTexts.contains(QString::fromUtf8(text))) << text;
    for (const char* english : {"Look in:", "&Save", "Cancel", "File &name:"})
        EXPECT_FALSE(dialogTexts.contains(QString::fromUtf8(english))) << english;
    EXPECT_TRUE(question.contains(QStringLiteral("已存在"))) << question.toStdString();
    EXPECT_TRUE(questionButtons.contains(QStringLiteral("是(&Y)")));
}

TEST(QtTranslations, AMissingFileLeavesEnglishAndSaysSo) {
    static QString warning;
    warning.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { warning += message; });
    const auto translations = InstallQtTranslations(QStringLiteral("/nonexistent"));
    qInstallMessageHandler(previous);
    EXPECT_EQ(translations, nullptr);
    EXPECT_TRUE(warning.contains(QStringLiteral("/nonexistent/qtbase_zh_CN.qm")))
        << warning.toStdString();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), "OK");
}
