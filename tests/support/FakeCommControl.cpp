#include "support/FakeCommControl.h"

#include "serial/CommError.h"

void FakeCommControl::Access(const QString& entry) {
    log.append(entry);
    if (auto it = m_failures.find(entry); it != m_failures.end())
        throw CommError(it->second);
}

void FakeCommControl::Receive(const QByteArray& bytes, short event) {
    waiting.append(bytes);
    RaiseEvent(event);
}

void FakeCommControl::RaiseEvent(short event) {
    commEvent = event;
    emit OnComm();
}

void FakeCommControl::SetCommPort(short port) {
    Access(QStringLiteral("CommPort=%1").arg(port));
    commPort = port;
}

void FakeCommControl::SetInBufferSize(short size) {
    Access(QStringLiteral("InBufferSize=%1").arg(size));
}

short FakeCommControl::GetInBufferCount() {
    Access(QStringLiteral("InBufferCount?"));
    return reportedCount >= 0 ? reportedCount : static_cast<short>(waiting.size());
}

void FakeCommControl::SetInputLen(short len) {
    Access(QStringLiteral("InputLen=%1").arg(len));
    inputLen = len;
}

void FakeCommControl::SetOutBufferSize(short size) {
    Access(QStringLiteral("OutBufferSize=%1").arg(size));
}

void FakeCommControl::SetPortOpen(bool open) {
    Access(QStringLiteral("PortOpen=%1").arg(open ? "true" : "false"));
    portOpen = open;
}

bool FakeCommControl::GetPortOpen() {
    Access(QStringLiteral("PortOpen?"));
    return portOpen;
}

void FakeCommControl::SetRThreshold(short threshold) {
    Access(QStringLiteral("RThreshold=%1").arg(threshold));
    rThreshold = threshold;
}

void FakeCommControl::SetSettings(const QString& value) {
    Access(QStringLiteral("Settings=%1").arg(value));
    settings = value;
}

void FakeCommControl::SetOutput(const QVariant& data) {
    Access(QStringLiteral("Output"));
    outputs.push_back(data);
}

QVariant FakeCommControl::GetInput() {
    Access(QStringLiteral("Input?"));
    QByteArray bytes = inputLen > 0 ? waiting.left(inputLen) : waiting;
    waiting.remove(0, bytes.size());
    return bytes;
}

short FakeCommControl::GetCommEvent() {
    Access(QStringLiteral("CommEvent?"));
    return commEvent;
}

void FakeCommControl::SetInputMode(long mode) {
    Access(QStringLiteral("InputMode=%1").arg(mode));
    inputMode = mode;
}

QString FakeCommControl::GetLostPort() {
    Access(QStringLiteral("LostPort?"));
    return lostPort;
}
