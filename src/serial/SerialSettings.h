#pragma once

#include <QSerialPort>
#include <QString>

#include <variant>

// Line settings as the control's Settings string gives them:
// "baud,parity,data,stop", e.g. "9600,n,8,1" or "19200,O,7,2".
struct SerialSettings {
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

// Why a settings string was refused, as a sentence for the user.
struct SettingsError {
    QString reason;
};

// The parity letter may be N, O, E, M (mark) or S (space) in either case; data
// bits 5 to 8; stop bits 1, 1.5 or 2; the baud rate a positive decimal. Fields
// are joined by single commas with no blanks, as the settings lists compose them.
std::variant<SerialSettings, SettingsError> ParseSerialSettings(const QString& text);

// The settings string, with an upper-case parity letter: "19200,O,7,2".
QString FormatSerialSettings(const SerialSettings& settings);
