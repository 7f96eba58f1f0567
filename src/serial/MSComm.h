#pragma once

#include "serial/CommControl.h"

#include <memory>

// The dialog's handle on control 1000: each operation is one call on the
// control behind it.
class CMSComm {
public:
    CMSComm() = default;

    // Bound by the dialog's data exchange to the control it hosts.
    void Attach(std::unique_ptr<CommControl> control) { m_pControl = std::move(control); }
    CommControl* Control() const { return m_pControl.get(); }

    void SetCommPort(short v) { m_pControl->SetCommPort(v); }
    void SetInBufferSize(short v) { m_pControl->SetInBufferSize(v); }
    short GetInBufferCount() { return m_pControl->GetInBufferCount(); }
    void SetInputLen(short v) { m_pControl->SetInputLen(v); }
    void SetOutBufferSize(short v) { m_pControl->SetOutBufferSize(v); }
    void SetPortOpen(bool v) { m_pControl->SetPortOpen(v); }
    bool GetPortOpen() { return m_pControl->GetPortOpen(); }
    void SetRThreshold(short v) { m_pControl->SetRThreshold(v); }
    void SetSettings(const QString& v) { m_pControl->SetSettings(v); }
    void SetOutput(const QVariant& v) { m_pControl->SetOutput(v); }
    QVariant GetInput() { return m_pControl->GetInput(); }
    short GetCommEvent() { return m_pControl->GetCommEvent(); }
    void SetInputMode(long v) { m_pControl->SetInputMode(v); }
    QString GetLostPort() { return m_pControl->GetLostPort(); }

private:
    std::unique_ptr<CommControl> m_pControl;
};
