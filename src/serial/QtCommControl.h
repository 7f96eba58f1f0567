#pragma once

#include "serial/CommControl.h"
#include "serial/SerialSettings.h"

#include <QSerialPort>

struct ComPortTarget;

// The communications control over QSerialPort. COMn names a device by the
// port-name rule (PortNames.h), resolved at every opening.
class QtCommControl : public CommControl {
    Q_OBJECT

public:
    explicit QtCommControl(QObject* parent = nullptr);
    ~QtCommControl() override;

    void SetCommPort(short port) override;
    void SetInBufferSize(short size) override;
    short GetInBufferCount() override;
    void SetInputLen(short len) override;
    void SetOutBufferSize(short size) override;
    void SetPortOpen(bool open) override;
    bool GetPortOpen() override;
    void SetRThreshold(short threshold) override;
    void SetSettings(const QString& settings) override;
    void SetOutput(const QVariant& data) override;
    QVariant GetInput() override;
    short GetCommEvent() override;
    void SetInputMode(long mode) override;
    QString GetLostPort() override;

private:
    // "串口 COMn（device）", the start of every description about the open port.
    QString PortName() const;
    void RequireOpen() const;
    void Open();
    QString DescribeOpenFailure(const ComPortTarget& target) const;
    // Why the open line failed, or otherwise when it still reads as a terminal.
    QString WhyLineFailsOr(const QString& otherwise) const;
    // Puts settings in force on the open port, or throws why the device refused them.
    void Apply(const SerialSettings& settings);
    void OnReadyRead();
    void OnErrorOccurred(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    short m_nCommPort = 1;
    QString m_strDevice;   // what COMn resolved to at the last opening
    QString m_strLostPort; // PortName() of the port whose device vanished last
    SerialSettings m_settings;
    short m_nRThreshold = 0;
    short m_nInputLen = 0;
    long m_nInputMode = 0;
    short m_nCommEvent = 0;
};
