#include "support/DialogFixture.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>
#include <utility>
#include <vector>

namespace {

// Sets environment variables for its lifetime and puts the old values back.
class ScopedEnvironment {
public:
    ~ScopedEnvironment() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                qputenv(it->first, *it->second);
            else
                qunsetenv(it->first);
        }
    }
    void Set(const char* name, const QString& value) {
        Save(name);
        qputenv(name, value.toLocal8Bit());
    }
    void Unset(const char* name) {
        Save(name);
        qunsetenv(name);
    }

private:
    void Save(const char* name) {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name)
                                       ? std::optional<QByteArray>(qgetenv(name))
                                       : std::nullopt);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

bool WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

struct HelpRow {
    const char* name;
    bool opener;  // xdg-open is on the PATH
    bool browser; // an application is registered for HTML pages
};

} // namespace

// A desktop session without a desktop environment of its own, in which F1
// finds xdg-open or not, and xdg-open finds an HTML viewer or not.
TEST_F(DialogTest, HelpGoesToTheViewerOrSaysWhereThePageIs) {
    const QString page =
        QFileInfo(QCoreApplication::applicationDirPath() + "/help.html").canonicalFilePath();
    ASSERT_FALSE(page.isEmpty()) << "help.html is built beside the test programs";

    const HelpRow rows[] = {
        {"no opener", false, false},
        {"no viewer for HTML", true, false},
        {"a viewer", true, true},
    };
    for (const HelpRow& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        const QString shown = home.filePath("shown");
        ASSERT_TRUE(QDir(home.path()).mkpath("data/applications"));
        ASSERT_TRUE(QDir(home.path()).mkpath("bin"));
        if (row.browser) {
            const QString viewer = home.filePath("viewer");
            ASSERT_TRUE(
                WriteFile(viewer, "#!/bin/sh\nprintf '%s' \"$1\" > '" + shown.toUtf8() + "'\n"));
            QFile::setPermissions(viewer, QFile::ReadOwner | QFile::ExeOwner);
            ASSERT_TRUE(WriteFile(home.filePath("data/applications/viewer.desktop"),
                                  "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" +
                                      viewer.toUtf8() + " %f\nMimeType=text/html;\n"));
        }
        ScopedEnvironment env;
        env.Set("PATH", row.opener ? QStringLiteral("/usr/bin:/bin") : home.filePath("bin"));
        env.Set("HOME", home.path());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
            env.Set(name, home.filePath("config"));
        env.Set("XDG_DATA_HOME", home.filePath("data"));
        env.Set("DISPLAY", ":99");
        env.Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.filePath("no-bus"));
        for (const char* name :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
              "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "WAYLAND_DISPLAY", "BROWSER"})
            env.Unset(name);

        boxes.clear();
        dlg->OnHelp();
        if (row.browser) {
            EXPECT_TRUE(boxes.empty());
            QByteArray handed;
            EXPECT_TRUE(WaitUntil(
                [&] {
                    QFile file(shown);
                    return file.open(QIODevice::ReadOnly) && !(handed = file.readAll()).isEmpty();
                },
                std::chrono::seconds(30)));
            EXPECT_EQ(QString::fromLocal8Bit(handed), page);
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
            EXPECT_TRUE(boxes[0].text.startsWith("无法打开帮助页面"))
                << boxes[0].text.toStdString();
            EXPECT_TRUE(boxes[0].text.contains(page)) << boxes[0].text.toStdString();
        }
    }
}
