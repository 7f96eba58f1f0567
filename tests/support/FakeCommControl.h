#pragma once

#include "serial/CommControl.h"

#include <QStringList>

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
    QString lostPort;
    QByteArray waiting;

    // The access (as logged) throws CommError(text) from now on; with a null
    // text, an exception that describes nothing.
    void FailOn(const QString& access, const QString& text) { m_failures[access] = text; }
    void ClearFailures() { m_failures.clear(); }

    // Bytes arrive on the open port; as the real control, it raises the
    // receive event once at least RThreshold bytes wait.
    void Receive(const QByteArray& bytes) {
        waiting.append(bytes);
        if (portOpen && m_threshold > 0 && waiting.size() >= m_threshold)
            RaiseEvent(comEvReceive);
    }
    // Any event, whatever waits (a line change, an event with nothing read).
    void RaiseEvent(short event) {
        m_event = event;
        emit OnComm();
    }

    void SetCommPort(short port) override { Access("CommPort=", port); }
    void SetInBufferSize(short size) override { Access("InBufferSize=", size); }
    short GetInBufferCount() override { return Access("InBufferCount?"), short(waiting.size()); }
    void SetInputLen(short len) override { m_inputLen = Access("InputLen=", len).toInt(); }
    void SetOutBufferSize(short size) override { Access("OutBufferSize=", size); }
    void SetPortOpen(bool open) override { portOpen = Access("PortOpen=", open).toBool(); }
    bool GetPortOpen() override { return Access("PortOpen?"), portOpen; }
    void SetRThreshold(short n) override { m_threshold = Access("RThreshold=", n).toInt(); }
    void SetSettings(const QString& value) override { Access("Settings=", value); }
    void SetOutput(const QVariant& data) override { outputs.push_back(Access("Output", data)); }
    QVariant GetInput() override;
    short GetCommEvent() override { return Access("CommEvent?"), m_event; }
    void SetInputMode(long mode) override { Access("InputMode=", qlonglong(mode)); }
    QString GetLostPort() override { return Access("LostPort?"), lostPort; }

private:
    // Logs the access (a setter with its value) and fails it if asked to.
    const QVariant& Access(const char* name, const QVariant& value = {});

    std::map<QString, QString> m_failures;
    short m_event = 0;
    int m_inputLen = 0;
    int m_threshold = 0;
};
