#include "support/DialogFixture.h"
#include "support/ReadFile.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// F1 in a session without a desktop environment of its own: while xdg-open
// knows no viewer for HTML pages, a box says where the page is; once it knows
// one, the viewer gets the page.
TEST_F(DialogTest, HelpGoesToTheViewerOrSaysWhereThePageIs) {
    const QString page =
        QFileInfo(QCoreApplication::applicationDirPath() + "/help.html").canonicalFilePath();
    const QProcessEnvironment saved = QProcessEnvironment::systemEnvironment();
    QTemporaryDir home;
    const QString none = home.filePath("none"), viewer = home.filePath("viewer");
    QStringList session = QStringLiteral("PATH=/usr/bin:/bin HOME=%1 XDG_DATA_HOME=%1 "
                                         "XDG_DATA_DIRS=%2 XDG_CONFIG_HOME=%2 XDG_CONFIG_DIRS=%2 "
                                         "DBUS_SESSION_BUS_ADDRESS=unix:path=%2 DISPLAY=:99 "
                                         "XDG_CURRENT_DESKTOP= DESKTOP_SESSION= BROWSER=")
                              .arg(home.path(), none)
                              .split(' ');
    for (const QString& entry : session)
        qputenv(entry.section('=', 0, 0).toLatin1(), entry.section('=', 1).toLocal8Bit());
    dlg->show();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(dlg.get(), Qt::Key_F1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_TRUE(boxes[0].text.startsWith("无法打开帮助页面") && boxes[0].text.contains(page));

    QDir(home.path()).mkpath("applications");
    QFile script(viewer), entry(home.filePath("applications/viewer.desktop"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly) && entry.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s' \"$1\" > " + none.toUtf8() + "\n");
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    entry.write("[Desktop Entry]\nType=Application\nName=V\nMimeType=text/html;\nExec=" +
                viewer.toUtf8() + " %f\n");
    script.close();
    entry.close();
    QTest::keyClick(dlg.get(), Qt::Key_F1);
    EXPECT_TRUE(
        WaitUntil([&] { return ReadFile(none) == page.toLocal8Bit(); }, std::chrono::seconds(30)));
    for (const QString& name : session.replaceInStrings(QRegularExpression("=.*"), {}))
        saved.contains(name) ? qputenv(name.toLatin1(), saved.value(name).toLocal8Bit())
                             : qunsetenv(name.toLatin1());
}
