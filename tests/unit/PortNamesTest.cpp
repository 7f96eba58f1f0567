#include "serial/PortNames.h"
#include "serial/PortListTooltip.h"
#include "support/TempConfigHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

struct Numbering {
    const char* name;
    QStringList detected;
    std::map<int, QString> linked;
    std::map<int, QString> expected;
    friend void PrintTo(const Numbering& row, std::ostream* os) { *os << row.name; }
};

class DetectedNumbering : public ::testing::TestWithParam<Numbering> {};

TEST_P(DetectedNumbering, FreeNumbersGoToDevicesInOrder) {
    EXPECT_EQ(NumberDetectedDevices(GetParam().detected, GetParam().linked), GetParam().expected);
}

QStringList ManyUsbAdapters(int count) {
    QStringList devices;
    for (int i = count - 1; i >= 0; --i)
        devices.append(QStringLiteral("/dev/ttyUSB%1").arg(i));
    return devices;
}

std::map<int, QString> FirstUsbAdapters(int count) {
    std::map<int, QString> numbered;
    for (int i = 0; i < count; ++i)
        numbered[i + 1] = QStringLiteral("/dev/ttyUSB%1").arg(i);
    return numbered;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectedNumbering,
    ::testing::Values(
        Numbering{"NothingPresent", {}, {}, {}},
        Numbering{"ClassesThenNumericOrder",
                  {"/dev/ttyS0", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyS1"},
                  {},
                  {{1, "/dev/ttyUSB2"},
                   {2, "/dev/ttyUSB10"},
                   {3, "/dev/ttyACM0"},
                   {4, "/dev/ttyS0"},
                   {5, "/dev/ttyS1"}}},
        Numbering{"LinksTakeTheirNumbers",
                  {"/dev/ttyUSB1", "/dev/ttyUSB0"},
                  {{1, "/dev/pts/3"}, {3, ""}},
                  {{2, "/dev/ttyUSB0"}, {4, "/dev/ttyUSB1"}}},
        Numbering{"LinkedDeviceNotNumberedTwice",
                  {"/dev/ttyUSB0", "/dev/ttyUSB1"},
                  {{5, "/dev/ttyUSB0"}},
                  {{1, "/dev/ttyUSB1"}}},
        Numbering{"OtherDevicesLeftOut",
                  {"/dev/ttyAMA0", "/dev/rfcomm0", "/dev/ttyUSB", "/dev/ttyUSBx1", "/dev/ttyACM0"},
                  {},
                  {{1, "/dev/ttyACM0"}}},
        Numbering{"OnlyFifteenNumbers", ManyUsbAdapters(20), {}, FirstUsbAdapters(15)}),
    [](const auto& row) { return std::string(row.param.name); });

class PortLinks : public ::testing::Test {
protected:
    TempConfigHome home;
};

TEST_F(PortLinks, FolderFollowsConfigHome) {
    EXPECT_EQ(PortLinkFolder(), home.Path() + "/serialtemp/ports");
    // A relative value does not count under the base directory rules.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(PortLinkFolder(), QDir::homePath() + "/.config/serialtemp/ports");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(PortLinkFolder(), QDir::homePath() + "/.config/serialtemp/ports");
}

TEST_F(PortLinks, PublishedLinkNamesItsDevice) {
    ASSERT_EQ(PublishPortLink(3, "/dev/null"), QString());

    const QString link = PortLinkFolder() + "/com3";
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), "/dev/null");
    EXPECT_EQ(QFile::permissions(PortLinkFolder()), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ReadUser |
                                                        QFile::WriteUser | QFile::ExeUser);

    const ComPortTarget target = ResolveComPort(3);
    EXPECT_EQ(target.device, "/dev/null");
    EXPECT_EQ(target.link, link);
    const auto listed = ListComPorts();
    ASSERT_EQ(listed.size(), 15u);
    EXPECT_EQ(listed[2].device, "/dev/null");
    EXPECT_EQ(listed[2].link, link);

    // The simulator publishes again at every start.
    ASSERT_EQ(PublishPortLink(3, "/dev/zero"), QString());
    EXPECT_EQ(ResolveComPort(3).device, "/dev/zero");
}

TEST_F(PortLinks, DanglingLinkKeepsItsNumber) {
    const QString gone = home.Path() + "/unplugged";
    ASSERT_EQ(PublishPortLink(2, gone), QString());

    const ComPortTarget target = ResolveComPort(2);
    EXPECT_EQ(target.device, gone);
    EXPECT_EQ(target.link, PortLinkFolder() + "/com2");
    EXPECT_EQ(ListComPorts()[1].device, gone);
}

TEST_F(PortLinks, NumbersOutsideTheListNameNothing) {
    EXPECT_NE(PublishPortLink(0, "/dev/null"), QString());
    EXPECT_NE(PublishPortLink(16, "/dev/null"), QString());
    EXPECT_EQ(ResolveComPort(0).device, QString());
    EXPECT_EQ(ResolveComPort(16).device, QString());
}

TEST_F(PortLinks, TooltipNamesTheDeviceOfEveryNumber) {
    ASSERT_EQ(PublishPortLink(1, "/dev/null"), QString());
    const QStringList lines = PortListTooltip::Text().split(u'\n');
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[0], "COM1：/dev/null（端口链接 " + PortLinkFolder() + "/com1）");
    EXPECT_TRUE(lines[14].startsWith("COM15："));
}

} // namespace
