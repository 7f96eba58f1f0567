#include "serial/DeviceErrors.h"
#include "serial/PortListTooltip.h"
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/TempConfigHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// The numbers links leave free go to ttyUSB, ttyACM, then ttyS devices in
// numeric order; a linked device is not numbered twice, other devices not at all.
TEST(SerialPorts, DetectedDevicesTakeTheFreeNumbersInOrder) {
    EXPECT_EQ(
        NumberDetectedDevices({"/dev/ttyS0", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyAMA0",
                               "/dev/ttyUSBx1", "/dev/ttyUSB2", "/dev/ttyUSB1"},
                              {{1, "/dev/pts/3"}, {3, ""}, {5, "/dev/ttyUSB1"}}),
        (std::map<int, QString>{
            {2, "/dev/ttyUSB2"}, {4, "/dev/ttyUSB10"}, {6, "/dev/ttyACM0"}, {7, "/dev/ttyS0"}}));
}

// A link names its device wherever the number is shown or opened, also one
// that is gone, from folders that are the user's alone. Once someone else
// could write a folder on the way up to the configuration folder, and so
// point the link at a line of theirs, it is refused with the fix.
TEST(SerialPorts, LinksNameTheirDeviceWhileNoOneElseCouldSwapThem) {
    const TempConfigHome home;
    for (const auto& [number, device] :
         {std::pair(1, QString("/dev/null")), std::pair(15, home.Path() + "/gone")}) {
        ASSERT_EQ(PublishPortLink(number, device), "");
        const QString link = home.Path() + QStringLiteral("/serialtemp/ports/com%1").arg(number);
        EXPECT_EQ(ResolveComPort(number).device + ListComPorts().at(number - 1).link,
                  device + link);
        EXPECT_EQ(PortListTooltip::Text().split(u'\n').at(number - 1),
                  QStringLiteral("COM%1：%2（端口链接 %3）").arg(number).arg(device, link));
    }
    EXPECT_EQ(QFile::permissions(home.Path() + "/serialtemp") & 0x0fff,
              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    ASSERT_EQ(::chmod(QFile::encodeName(home.Path()), 0770), 0);
    const QString refusal =
        QStringLiteral("不使用端口链接 %1/serialtemp/ports/com1：其他用户可以写入文件夹 "
                       "%1，能把这个串口换成他们的设备。请运行 chmod go-w %1 后再试。")
            .arg(home.Path());
    EXPECT_EQ(ResolveComPort(1).refusal + ResolveComPort(1).device, refusal);
    EXPECT_EQ(PortListTooltip::Text().split(u'\n').at(0), "COM1：" + refusal);
    EXPECT_EQ(PublishPortLink(1, "/dev/zero"), refusal);
    EXPECT_EQ(PortListTooltip::Text().count(u'\n'), 14);
}

// Why a device or its line fails, said of a line that works, and a hang-up.
TEST(SerialPorts, ALineTellsWhyItFails) {
    PseudoTerminal line;
    EXPECT_EQ(WhyLineFails(line.SlaveFd()), "");
    // A lock file another program left for this device number would answer first.
    if (!QFile::exists("/var/lock/LCK.." + line.SlavePath().mid(5).replace(u'/', u'_'))) {
        EXPECT_EQ(WhyDeviceDidNotOpen(line.SlavePath()),
                  ::access("/var/lock", W_OK) == 0 ? "设备不接受串口的初始设置"
                                                   : "无法在 /var/lock 中建立串口的锁文件");
    }
    EXPECT_FALSE(LineHungUp(line.SlaveFd()));
    line.CloseMaster();
    EXPECT_TRUE(LineHungUp(line.SlaveFd()));
}

} // namespace

// Without a usable home nothing is made anywhere, and the reason is given.
TEST(SerialPorts, NoHomeNoLinkFolder) {
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "relative");
    const char* const rows[][2] = {{"", "环境变量 HOME 未设置"},
                                   {"relative", "环境变量 HOME 的值“relative”不是绝对路径"},
                                   {"//", "环境变量 HOME 是文件系统的根目录 /"}};
    for (const auto& [value, why] : rows) {
        SCOPED_TRACE(value);
        qputenv("HOME", value);
        EXPECT_EQ(UserConfigFolder().path, "");
        EXPECT_EQ(UserConfigFolder().why,
                  QString::fromUtf8(why) + "，XDG_CONFIG_HOME 也不是绝对路径");
        EXPECT_EQ(PortLinkFolder(), "");
        EXPECT_TRUE(PublishPortLink(1, "/dev/null").startsWith("no folder for port links"));
    }
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
}
