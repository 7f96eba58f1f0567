#pragma once

#include <QObject>
#include <QVariant>

// The communications control: a serial port seen through properties and one
// event, as the dialog drives it. Every accessor may throw CommError.
//
// Output takes a QString (sent as its bytes in the GBK code page) or a
// QByteArray (sent as is). Input yields a QByteArray in binary input mode
// (InputMode 1) and a QString in text mode (0).
class CommControl : public QObject {
    Q_OBJECT

public:
    // CommEvent codes the dialog may see.
    static constexpr short comEvReceive = 2;
    static constexpr short comEvCD = 5; // carrier lost: the device hung up or vanished

    using QObject::QObject;

    virtual void SetCommPort(short port) = 0;
    virtual void SetInBufferSize(short size) = 0;
    virtual short GetInBufferCount() = 0;
    virtual void SetInputLen(short len) = 0;
    virtual void SetOutBufferSize(short size) = 0;
    virtual void SetPortOpen(bool open) = 0;
    virtual bool GetPortOpen() = 0;
    virtual void SetRThreshold(short threshold) = 0;
    virtual void SetSettings(const QString& settings) = 0;
    virtual void SetOutput(const QVariant& data) = 0;
    virtual QVariant GetInput() = 0;
    virtual short GetCommEvent() = 0;
    virtual void SetInputMode(long mode) = 0;
    // After a comEvCD event: which port was lost, as "串口 COMn（device）".
    virtual QString GetLostPort() = 0;

signals:
    // OnComm: raised on the UI thread between other messages.
    void OnComm();
};
