#pragma once

#include "serial/CommControl.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <vector>

// A recording communications control: every property access is logged in
// order ("CommPort=1", "PortOpen?", "Input?"), received bytes are fed by the
// test, and any access can be made to fail with a description.
class FakeCommControl : public CommControl {
    Q_OBJECT

public:
    QStringList log;
    std::vector<QVariant> outputs;

    bool portOpen = false;
    short commPort = 0;
    QString settings;
    short rThreshold = 0;
    short inputLen = 0;
    long inputMode = 0;
    short commEvent = 0;
    QString lostPort;
    QByteArray waiting;
    // What InBufferCount reports; -1 means the size of waiting.
    short reportedCount = -1;

    // The access (as logged) throws CommError(description) from now on.
    void FailOn(const QString& access, const QString& description) {
        m_failures[access] = description;
    }
    void ClearFailures() { m_failures.clear(); }

    // Bytes arrive; the event is raised as the control would.
    void Receive(const QByteArray& bytes, short event = comEvReceive);
    // A non-data event (a line change, an error).
    void RaiseEvent(short event);

    void SetCommPort(short port) override;
    void SetInBufferSize(short size) override;
    short GetInBufferCount() override;
    void SetInputLen(short len) override;
    void SetOutBufferSize(short size) override;
    void SetPortOpen(bool open) override;
    bool GetPortOpen() override;
    void SetRThreshold(short threshold) override;
    void SetSettings(const QString& value) override;
    void SetOutput(const QVariant& data) override;
    QVariant GetInput() override;
    short GetCommEvent() override;
    void SetInputMode(long mode) override;
    QString GetLostPort() override;

private:
    void Access(const QString& entry);

    std::map<QString, QString> m_failures;
};
