#include "serial/PortNames.h"
#include "serial/PortListTooltip.h"
#include "support/TempConfigHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

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
}

// A link whose device is gone still names it, so detection cannot take its number.
TEST_F(PortLinks, PublishedLinkNamesItsDeviceEvenWhenGone) {
    for (const auto& [number, device] :
         {std::pair(3, QString("/dev/null")), std::pair(2, QString(home.Path() + "/unplugged"))}) {
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

} // namespace
