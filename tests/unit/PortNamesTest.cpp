#include "serial/PortNames.h"
#include "serial/CommError.h"
#include "serial/PortListTooltip.h"
#include "serial/QtCommControl.h"
#include "support/TempConfigHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(DetectedNumbering, FreeNumbersGoToDevicesInOrder) {
    QStringList twenty;
    std::map<int, QString> firstFifteen;
    for (int i = 19; i >= 0; --i) {
        twenty.append(QStringLiteral("/dev/ttyUSB%1").arg(i));
        if (i < 15)
            firstFifteen[i + 1] = twenty.back();
    }
    const struct {
        const char* name;
        QStringList detected;
        std::map<int, QString> linked, expected;
    } rows[] = {
        {"classes, then numeric order",
         {"/dev/ttyS0", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyS1"},
         {},
         {{1, "/dev/ttyUSB2"},
          {2, "/dev/ttyUSB10"},
          {3, "/dev/ttyACM0"},
          {4, "/dev/ttyS0"},
          {5, "/dev/ttyS1"}}},
        {"links take their numbers",
         {"/dev/ttyUSB1", "/dev/ttyUSB0"},
         {{1, "/dev/pts/3"}, {3, ""}},
         {{2, "/dev/ttyUSB0"}, {4, "/dev/ttyUSB1"}}},
        {"linked device not numbered twice",
         {"/dev/ttyUSB0", "/dev/ttyUSB1"},
         {{5, "/dev/ttyUSB0"}},
         {{1, "/dev/ttyUSB1"}}},
        {"other devices left out",
         {"/dev/ttyAMA0", "/dev/rfcomm0", "/dev/ttyUSB", "/dev/ttyUSBx1", "/dev/ttyACM0"},
         {},
         {{1, "/dev/ttyACM0"}}},
        {"only fifteen numbers", twenty, {}, firstFifteen},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NumberDetectedDevices(row.detected, row.linked), row.expected) << row.name;
}

class PortLinks : public ::testing::Test {
protected:
    TempConfigHome home;
};

TEST_F(PortLinks, FolderFollowsConfigHomeUnlessRelative) {
    EXPECT_EQ(PortLinkFolder(), home.Path() + "/serialtemp/ports");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(PortLinkFolder(), QDir::homePath() + "/.config/serialtemp/ports");
    // A folder name with a % in it stays as it is.
    const QString percent = home.Path() + "/100%1";
    qputenv("XDG_CONFIG_HOME", percent.toLocal8Bit());
    ASSERT_EQ(PublishPortLink(3, "/dev/null"), QString());
    EXPECT_EQ(ResolveComPort(3).link, percent + "/serialtemp/ports/com3");
}

// A link whose device is gone still names it, so detection cannot take its number.
TEST_F(PortLinks, PublishedLinkNamesItsDeviceEvenWhenGone) {
    for (const auto& [number, device] :
         {std::pair(3, QString("/dev/null")), std::pair(15, QString(home.Path() + "/unplugged"))}) {
        ASSERT_EQ(PublishPortLink(number, device), QString());
        const QString link = PortLinkFolder() + QStringLiteral("/com%1").arg(number);
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);
        EXPECT_EQ(ResolveComPort(number).device, device);
        EXPECT_EQ(ResolveComPort(number).link, link);
        EXPECT_EQ(ListComPorts().at(number - 1).device, device);
        EXPECT_EQ(ListComPorts().at(number - 1).link, link);
    }
    // The folder is private: the user alone, nothing for group or others.
    EXPECT_EQ(QFile::permissions(PortLinkFolder()) & 0x0fff,
              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    // The simulator publishes again at every start.
    ASSERT_EQ(PublishPortLink(3, "/dev/zero"), QString());
    EXPECT_EQ(ResolveComPort(3).device, "/dev/zero");
    for (const int outside : {0, 16}) {
        EXPECT_NE(PublishPortLink(outside, "/dev/null"), QString());
        EXPECT_EQ(ResolveComPort(outside).device, QString());
    }
}

TEST_F(PortLinks, TooltipNamesTheDeviceOfEveryNumber) {
    ASSERT_EQ(PublishPortLink(1, "/dev/null"), QString());
    const QStringList lines = PortListTooltip::Text().split(u'\n');
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[0], "COM1：/dev/null（端口链接 " + PortLinkFolder() + "/com1）");
    EXPECT_TRUE(lines[14].startsWith("COM15："));
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<QByteArray>& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name)) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_previous;
};

QString UserName() {
    const passwd* user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(::geteuid());
}

void AddMode(const QString& path, mode_t bits) {
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), st.st_mode | bits), 0);
}

constexpr int kLinked = 7;

class LinkTrust : public PortLinks {
protected:
    void SetUp() override { ASSERT_EQ(PublishPortLink(kLinked, "/dev/null"), QString()); }
    QString Link() const { return PortLinkFolder() + "/com7"; }
    // The same verdict wherever a link is used: opening, the tooltip, publishing.
    void ExpectRefusedEverywhere(const QStringList& mentions) {
        const ComPortTarget target = ResolveComPort(kLinked);
        EXPECT_EQ(target.device, QString()) << "nothing to open";
        EXPECT_EQ(target.link, Link());
        EXPECT_TRUE(target.refusal.startsWith("不使用端口链接 " + Link() + "："))
            << target.refusal.toStdString();
        // Each mention whole: a folder, not the start of a longer path.
        for (const QString& mention : mentions)
            EXPECT_TRUE(target.refusal.contains(
                QRegularExpression(QRegularExpression::escape(mention) + "(?![/\\w])")))
                << target.refusal.toStdString() << "\nlacks " << mention.toStdString();
        EXPECT_EQ(ListComPorts().at(kLinked - 1).refusal, target.refusal);
        EXPECT_EQ(PortListTooltip::Text().split(u'\n').at(kLinked - 1), "COM7：" + target.refusal);
        EXPECT_EQ(PublishPortLink(kLinked, "/dev/zero"), target.refusal);
        EXPECT_EQ(QFileInfo(Link()).symLinkTarget(), "/dev/null") << "left as it was";
    }
};

// Whoever may write a folder on the way can point the link at a line of theirs.
TEST_F(LinkTrust, AFolderOthersMayWriteRefusesTheLinkAndSaysWhatToChange) {
    const struct {
        const char* name;
        QString folder; // below the configuration folder
        mode_t bits;
    } rows[] = {
        {"ports folder, group", "/serialtemp/ports", S_IWGRP},
        {"folder above, others", "/serialtemp", S_IWOTH},
        {"configuration folder itself, group", "", S_IWGRP},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = home.Path() + row.folder;
        AddMode(folder, row.bits);
        ExpectRefusedEverywhere({"文件夹 " + folder, "chmod go-w " + folder});
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), S_IRWXU), 0);
        EXPECT_EQ(ResolveComPort(kLinked).device, "/dev/null") << "private again";
    }
}

// Judged where the folder really is, not where a symbolic link makes it seem.
TEST_F(LinkTrust, AFolderReachedThroughALinkIsJudgedItself) {
    const QString ports = home.Path() + "/elsewhere";
    ASSERT_TRUE(QDir().rename(PortLinkFolder(), ports));
    ASSERT_TRUE(QFile::link(ports, PortLinkFolder()));
    EXPECT_EQ(ResolveComPort(kLinked).device, "/dev/null");
    AddMode(ports, S_IWGRP);
    ExpectRefusedEverywhere({"chmod go-w " + ports});
}

TEST_F(LinkTrust, ALinkOrFolderOfAnotherUserIsRefused) {
    constexpr uid_t kNobody = 65534;
    const QString folder = PortLinkFolder();
    if (::lchown(QFile::encodeName(Link()).constData(), kNobody, kNobody) != 0)
        GTEST_SKIP() << "cannot give a link to another user here: " << std::strerror(errno);
    ExpectRefusedEverywhere({"rm " + Link()});
    ASSERT_EQ(::lchown(QFile::encodeName(Link()).constData(), ::geteuid(), ::getegid()), 0);
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), kNobody, kNobody), 0);
    ExpectRefusedEverywhere({"文件夹 " + folder, "chown " + UserName() + " " + folder});
}

// The folders above one reached through a link, such as / and /home, are
// root's: root's folders are trusted for every user.
TEST_F(LinkTrust, AFolderOfRootsIsTrustedForAnotherUser) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can judge as another user here";
    ASSERT_EQ(::chmod(QFile::encodeName(home.Path() + "/serialtemp").constData(), 0755), 0);
    for (const QString& folder : {home.Path(), PortLinkFolder()})
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), kNobody, kNobody), 0);
    ASSERT_EQ(::lchown(QFile::encodeName(Link()).constData(), kNobody, kNobody), 0);
    ASSERT_EQ(::seteuid(kNobody), 0);
    const QString distrust = PortLinkDistrust(Link());
    ASSERT_EQ(::seteuid(0), 0);
    EXPECT_EQ(distrust, QString());
}

// Missing folders are made for the user alone, whatever the umask; the
// folder above the configuration folder is not made.
TEST_F(PortLinks, PublishingMakesPrivateFoldersBelowTheConfigurationFolderOnly) {
    const mode_t umask = ::umask(022);
    const QString config = home.Path() + "/config";
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    EXPECT_EQ(PublishPortLink(1, "/dev/null"), QString());
    for (const QString& folder : {config, config + "/serialtemp", config + "/serialtemp/ports"})
        EXPECT_EQ(QFile::permissions(folder) & 0x0fff,
                  QFile::ReadUser | QFile::WriteUser | QFile::ExeUser)
            << folder.toStdString();
    qputenv("XDG_CONFIG_HOME", (home.Path() + "/missing/config").toLocal8Bit());
    EXPECT_TRUE(PublishPortLink(1, "/dev/null").startsWith("cannot create " + home.Path()));
    EXPECT_FALSE(QFileInfo::exists(home.Path() + "/missing"));
    ::umask(umask);
}

// Without a usable home nothing is looked up or made, and opening says why.
TEST(NoHome, NoLinksAreUsedOrMadeAndTheReasonIsGiven) {
    const QTemporaryDir cwd;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd.path()));
    const ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
    const bool rootHadConfig = QFileInfo::exists("/.config");
    const struct {
        const char* name;
        std::optional<QByteArray> home;
        QString why;
    } rows[] = {
        {"unset", std::nullopt, "环境变量 HOME 未设置"},
        {"empty", "", "环境变量 HOME 未设置"},
        {"root", "//", "环境变量 HOME 是文件系统的根目录 /"},
        {"relative", "home", "环境变量 HOME 的值“home”不是绝对路径"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ScopedEnv home("HOME", row.home);
        const QString why = row.why + "，XDG_CONFIG_HOME 也不是绝对路径";
        EXPECT_EQ(UserConfigFolder().why, why);
        EXPECT_EQ(PortLinkFolder(), QString());
        EXPECT_EQ(PublishPortLink(1, "/dev/null"), "no folder for port links: " + why);
        const ComPortTarget target = ResolveComPort(kLastComPort);
        if (target.device.isEmpty()) {
            EXPECT_EQ(target.refusal,
                      "没有找到对应的串口设备；也不查找端口链接，因为" + why + "。");
            QtCommControl comm;
            comm.SetCommPort(kLastComPort);
            try {
                comm.SetPortOpen(true);
                ADD_FAILURE() << "opened";
            } catch (const CommError& error) {
                EXPECT_EQ(error.Description(), "无法打开串口 COM15：" + target.refusal);
            }
        }
        EXPECT_EQ(QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        EXPECT_EQ(QFileInfo::exists("/.config"), rootHadConfig);
    }
    QDir::setCurrent(before);
}

} // namespace
