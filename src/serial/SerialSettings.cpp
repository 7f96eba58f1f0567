#include "serial/SerialSettings.h"

#include <QStringList>

#include <limits>
#include <map>
#include <optional>

namespace {

std::optional<qint32> ParseBaud(const QString& field) {
    if (field.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : field) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<QSerialPort::Parity> ParseParity(const QString& field) {
    if (field.size() != 1)
        return std::nullopt;
    switch (field.at(0).toUpper().unicode()) {
    case u'N':
        return QSerialPort::NoParity;
    case u'O':
        return QSerialPort::OddParity;
    case u'E':
        return QSerialPort::EvenParity;
    case u'M':
        return QSerialPort::MarkParity;
    case u'S':
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<QSerialPort::DataBits> ParseDataBits(const QString& field) {
    if (field == u"5")
        return QSerialPort::Data5;
    if (field == u"6")
        return QSerialPort::Data6;
    if (field == u"7")
        return QSerialPort::Data7;
    if (field == u"8")
        return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> ParseStopBits(const QString& field) {
    if (field == u"1")
        return QSerialPort::OneStop;
    if (field == u"1.5")
        return QSerialPort::OneAndHalfStop;
    if (field == u"2")
        return QSerialPort::TwoStop;
    return std::nullopt;
}

} // namespace

std::variant<SerialSettings, SettingsError> ParseSerialSettings(const QString& text) {
    const QStringList fields = text.split(u',');
    if (fields.size() != 4)
        return SettingsError{
            QStringLiteral("应为以逗号分隔的“波特率,校验位,数据位,停止位”四项，如 9600,N,8,1")};

    SerialSettings settings;
    if (const auto baud = ParseBaud(fields[0]))
        settings.baudRate = *baud;
    else
        return SettingsError{QStringLiteral("波特率“%1”不是正的十进制整数").arg(fields[0])};
    if (const auto parity = ParseParity(fields[1]))
        settings.parity = *parity;
    else
        return SettingsError{QStringLiteral("校验位“%1”无效，应为 N、O、E、M 或 S").arg(fields[1])};
    if (const auto dataBits = ParseDataBits(fields[2]))
        settings.dataBits = *dataBits;
    else
        return SettingsError{QStringLiteral("数据位“%1”无效，应为 5 到 8").arg(fields[2])};
    if (const auto stopBits = ParseStopBits(fields[3]))
        settings.stopBits = *stopBits;
    else
        return SettingsError{QStringLiteral("停止位“%1”无效，应为 1、1.5 或 2").arg(fields[3])};
    return settings;
}

QString FormatSerialSettings(const SerialSettings& settings) {
    static const std::map<QSerialPort::Parity, QChar> letters{
        {QSerialPort::NoParity, u'N'},    {QSerialPort::OddParity, u'O'},
        {QSerialPort::EvenParity, u'E'},  {QSerialPort::MarkParity, u'M'},
        {QSerialPort::SpaceParity, u'S'},
    };
    const QString stop = settings.stopBits == QSerialPort::OneAndHalfStop
                             ? QStringLiteral("1.5")
                             : QString::number(int(settings.stopBits));
    return QStringLiteral("%1,%2,%3,%4")
        .arg(settings.baudRate)
        .arg(letters.at(settings.parity))
        .arg(int(settings.dataBits))
        .arg(stop);
}
