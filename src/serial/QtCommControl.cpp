#include "serial/QtCommControl.h"

#include "platform/GbkCodec.h"
#include "serial/CommError.h"
#include "serial/DeviceErrors.h"
#include "serial/LineSettings.h"
#include "serial/PortNames.h"

#include <QFileInfo>

#include <limits>

QtCommControl::QtCommControl(QObject* parent) : CommControl(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtCommControl::OnReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtCommControl::OnErrorOccurred);
}

QtCommControl::~QtCommControl() = default;

void QtCommControl::SetCommPort(short port) {
    if (port < kFirstComPort || port > kLastComPort)
        throw CommError(QStringLiteral("端口号 %1 无效：只能是 %2 到 %3。")
                            .arg(port)
                            .arg(kFirstComPort)
                            .arg(kLastComPort));
    if (m_port.isOpen())
        throw CommError(QStringLiteral("%1已打开：请关闭串口后再更改端口号。").arg(PortName()));
    m_nCommPort = port;
}

void QtCommControl::SetInBufferSize(short size) {
    if (size <= 0)
        throw CommError(QStringLiteral("接收缓冲区大小 %1 无效：必须大于 0。").arg(size));
    // A full buffer makes QSerialPort stop reading: the rest waits in the
    // driver instead of being dropped.
    m_port.setReadBufferSize(size);
}

short QtCommControl::GetInBufferCount() {
    RequireOpen();
    return static_cast<short>(
        std::min<qint64>(m_port.bytesAvailable(), std::numeric_limits<short>::max()));
}

void QtCommControl::SetInputLen(short len) {
    if (len < 0)
        throw CommError(QStringLiteral("InputLen %1 无效：不能为负数。").arg(len));
    m_nInputLen = len;
}

void QtCommControl::SetOutBufferSize(short size) {
    // QSerialPort's write buffer grows as needed, so the size only has to be sensible.
    if (size <= 0)
        throw CommError(QStringLiteral("发送缓冲区大小 %1 无效：必须大于 0。").arg(size));
}

void QtCommControl::SetPortOpen(bool open) {
    if (open == m_port.isOpen())
        return;
    if (open)
        Open();
    else
        m_port.close();
}

bool QtCommControl::GetPortOpen() {
    return m_port.isOpen();
}

void QtCommControl::SetRThreshold(short threshold) {
    if (threshold < 0)
        throw CommError(QStringLiteral("RThreshold %1 无效：不能为负数。").arg(threshold));
    m_nRThreshold = threshold;
}

void QtCommControl::SetSettings(const QString& settings) {
    const auto parsed = ParseSerialSettings(settings);
    if (const auto* refused = std::get_if<SettingsError>(&parsed))
        throw CommError(QStringLiteral("串口设置“%1”无效：%2。").arg(settings, refused->reason));
    const auto& chosen = std::get<SerialSettings>(parsed);
    // termios has no 1.5 stop bits.
    if (chosen.stopBits == QSerialPort::OneAndHalfStop)
        throw CommError(
            QStringLiteral("串口设置“%1”无效：本机串口不支持 1.5 个停止位。").arg(settings));
    if (m_port.isOpen()) {
        try {
            Apply(chosen);
        } catch (const CommError& refused) {
            // The previous settings stay in force, unless the device has gone.
            if (!m_port.isOpen())
                throw;
            try {
                Apply(m_settings);
            } catch (const CommError& notRestored) {
                throw CommError(refused.Description() + notRestored.Description());
            }
            throw;
        }
    }
    m_settings = chosen;
}

void QtCommControl::SetOutput(const QVariant& data) {
    RequireOpen();
    QByteArray bytes;
    if (data.typeId() == QMetaType::QString)
        bytes = GbkFromUnicode(data.toString());
    else if (data.typeId() == QMetaType::QByteArray)
        bytes = data.toByteArray();
    else
        throw CommError(QStringLiteral("发送的数据类型 %1 无效：只能是字符串或字节数组。")
                            .arg(data.typeName()));
    if (m_port.write(bytes) != bytes.size())
        throw CommError(QStringLiteral("%1发送失败：%2。")
                            .arg(PortName(), WhyLineFailsOr(QStringLiteral("设备不接受数据"))));
    // Hand the bytes to the driver now rather than at the next pass of the
    // event loop. Whatever a full driver does not take yet goes out later.
    m_port.flush();
    if (!m_port.isOpen())
        throw CommError(QStringLiteral("%1已断开：数据未能发出。").arg(PortName()));
}

QVariant QtCommControl::GetInput() {
    RequireOpen();
    const QByteArray bytes = m_nInputLen > 0 ? m_port.read(m_nInputLen) : m_port.readAll();
    if (m_nInputMode == 1)
        return bytes;
    return GbkToUnicode(bytes);
}

short QtCommControl::GetCommEvent() {
    return m_nCommEvent;
}

void QtCommControl::SetInputMode(long mode) {
    if (mode != 0 && mode != 1)
        throw CommError(
            QStringLiteral("InputMode %1 无效：只能是 0（文本）或 1（二进制）。").arg(mode));
    m_nInputMode = mode;
}

QString QtCommControl::PortName() const {
    return QStringLiteral("串口 COM%1（%2）").arg(m_nCommPort).arg(m_strDevice);
}

void QtCommControl::RequireOpen() const {
    if (!m_port.isOpen())
        throw CommError(QStringLiteral("串口 COM%1 未打开：请打开串口后再操作。").arg(m_nCommPort));
}

void QtCommControl::Open() {
    const ComPortTarget target = ResolveComPort(m_nCommPort);
    if (!target.refusal.isEmpty())
        throw CommError(QStringLiteral("无法打开串口 COM%1：%2")
                            .arg(QString::number(m_nCommPort), target.refusal));
    if (target.device.isEmpty())
        throw CommError(
            QStringLiteral("串口 COM%1 不存在：没有找到对应的串口设备。").arg(m_nCommPort));
    m_strDevice = target.device;
    m_port.setPortName(target.device);
    if (!m_port.open(QIODevice::ReadWrite))
        throw CommError(DescribeOpenFailure(target));
    try {
        Apply(m_settings);
    } catch (const CommError&) {
        m_port.close();
        throw;
    }
}

QString QtCommControl::DescribeOpenFailure(const ComPortTarget& target) const {
    if (!target.link.isEmpty() && !QFileInfo::exists(target.device))
        return QStringLiteral("串口 COM%1 不存在：端口链接 %2 指向的设备 %3 不存在。")
            .arg(m_nCommPort)
            .arg(target.link, target.device);
    return QStringLiteral("无法打开%1：%2。").arg(PortName(), WhyDeviceDidNotOpen(target.device));
}

QString QtCommControl::WhyLineFailsOr(const QString& otherwise) const {
    const QString reason = WhyLineFails(m_port.handle());
    return reason.isEmpty() ? otherwise : reason;
}

void QtCommControl::Apply(const SerialSettings& settings) {
    // Every field is asked for, in the settings string's order, whatever the device.
    const bool rate = m_port.setBaudRate(settings.baudRate);
    const bool parity = m_port.setParity(settings.parity);
    const bool dataBits = m_port.setDataBits(settings.dataBits);
    const bool stopBits = m_port.setStopBits(settings.stopBits);
    // A device that vanished meanwhile has had its port closed.
    if (!m_port.isOpen())
        throw CommError(QStringLiteral("%1已断开：设置未能生效。").arg(PortName()));
    // A pseudo-terminal has no wire: its driver carries 8-bit bytes without
    // parity whatever it is asked, and the C library reports that as a
    // refusal. Rate and stop bits it keeps like any other driver.
    const bool pty = IsPseudoTerminal(m_port.handle());
    const bool accepted = rate && stopBits && (pty || (parity && dataBits));
    // Drivers change what they cannot do (round a rate, drop parity) without
    // an error, and the C library notices only some of it: the settings the
    // driver reports decide.
    const std::optional<SerialSettings> inForce =
        accepted ? ReadLineSettings(m_port.handle()) : std::nullopt;
    if (!inForce)
        throw CommError(QStringLiteral("%1无法使用设置 %2：%3。")
                            .arg(PortName(), FormatSerialSettings(settings),
                                 WhyLineFailsOr(QStringLiteral("设备驱动拒绝了该设置"))));
    SerialSettings comparable = *inForce;
    if (pty) {
        comparable.parity = settings.parity;
        comparable.dataBits = settings.dataBits;
    }
    if (comparable != settings)
        throw CommError(
            QStringLiteral("%1不支持设置 %2：设备实际使用 %3。")
                .arg(PortName(), FormatSerialSettings(settings), FormatSerialSettings(*inForce)));
}

void QtCommControl::OnReadyRead() {
    if (m_nRThreshold > 0 && m_port.bytesAvailable() >= m_nRThreshold) {
        m_nCommEvent = comEvReceive;
        emit OnComm();
    }
}

QString QtCommControl::GetLostPort() {
    return m_strLostPort;
}

void QtCommControl::OnErrorOccurred(QSerialPort::SerialPortError error) {
    const bool lineError = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!lineError || !m_port.isOpen())
        return;
    // A write the driver has no room for yet is reported the same way: its
    // bytes wait in QSerialPort and go out as the line drains.
    if (error == QSerialPort::ResourceError && m_port.bytesToWrite() > 0 &&
        !LineHungUp(m_port.handle()))
        return;
    // The device is gone: QSerialPort would poll it at full speed until closed.
    m_strLostPort = PortName();
    m_port.close();
    // The error may come inside a property access (a write to the lost
    // device); the event waits until that access is over.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_nCommEvent = comEvCD;
            emit OnComm();
        },
        Qt::QueuedConnection);
}
