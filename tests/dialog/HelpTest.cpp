#include "support/DialogFixture.h"
#include "support/ReadFile.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

const char* const kSession[] = {"PATH",
                                "HOME",
                                "XDG_CONFIG_HOME",
                                "XDG_CONFIG_DIRS",
                                "XDG_DATA_DIRS",
                                "XDG_DATA_HOME",
                                "DISPLAY",
                                "DBUS_SESSION_BUS_ADDRESS",
                                "XDG_CURRENT_DESKTOP",
                                "DESKTOP_SESSION",
                                "KDE_FULL_SESSION",
                                "GNOME_DESKTOP_SESSION_ID",
                                "MATE_DESKTOP_SESSION_ID",
                                "WAYLAND_DISPLAY",
                                "BROWSER"};

} // namespace

// F1 in a desktop session without a desktop environment of its own, in which
// xdg-open is missing, or finds no viewer for HTML, or finds one.
TEST_F(DialogTest, HelpGoesToTheViewerOrSaysWhereThePageIs) {
    const QString page =
        QFileInfo(QCoreApplication::applicationDirPath() + "/help.html").canonicalFilePath();
    ASSERT_FALSE(page.isEmpty()) << "help.html is built beside the test programs";
    dlg->show();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    const QProcessEnvironment saved = QProcessEnvironment::systemEnvironment();
    for (const auto& [opener, viewer] : {std::pair{false, false}, {true, false}, {true, true}}) {
        SCOPED_TRACE(opener + viewer);
        QTemporaryDir home;
        const QString shown = home.filePath("shown"), script = home.filePath("viewer");
        ASSERT_TRUE(QDir(home.path()).mkpath("data/applications"));
        if (viewer) {
            ASSERT_TRUE(
                WriteFile(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + shown.toUtf8() + "'\n"));
            QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
            ASSERT_TRUE(WriteFile(home.filePath("data/applications/viewer.desktop"),
                                  "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" +
                                      script.toUtf8() + " %f\nMimeType=text/html;\n"));
        }
        for (const char* name : kSession)
            qunsetenv(name);
        qputenv("PATH", opener ? "/usr/bin:/bin" : home.filePath("bin").toLocal8Bit());
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
            qputenv(name, home.filePath("config").toLocal8Bit());
        qputenv("DISPLAY", ":99");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.filePath("no-bus").toLocal8Bit());
        boxes.clear();
        QTest::keyClick(dlg.get(), Qt::Key_F1);
        if (viewer) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_TRUE(WaitUntil([&] { return ReadFile(shown) == page.toLocal8Bit(); },
                                  std::chrono::seconds(30)));
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
            EXPECT_TRUE(boxes[0].text.startsWith("无法打开帮助页面"))
                << boxes[0].text.toStdString();
            EXPECT_TRUE(boxes[0].text.contains(page)) << boxes[0].text.toStdString();
        }
    }
    for (const char* name : kSession) {
        if (saved.contains(name))
            qputenv(name, saved.value(name).toLocal8Bit());
        else
            qunsetenv(name);
    }
}
