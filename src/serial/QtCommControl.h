#pragma once

#include "serial/CommControl.h"

#include <QSerialPort>

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

private:
    QSerialPort m_port;
};
