#include "support/BoardProcess.h"

#include "support/ChildProcess.h"
#include "support/WaitUntil.h"

#include "serial/PortNames.h"

#include <QFileInfo>

#include <csignal>

#include <stdexcept>
#include <string>

BoardProcess::BoardProcess(std::chrono::milliseconds interval, int com) {
    // Its line per reading is not wanted here: reading it would cost this
    // process, which is the one measured.
    m_process.setStandardOutputFile(QProcess::nullDevice());
    EndWithThisProcess(m_process);
    m_process.start(QStringLiteral(BOARDSIM_PROGRAM),
                    {QStringLiteral("--com"), QString::number(com), QStringLiteral("--interval"),
                     QString::number(interval.count())});
    const QString link = PortLinkFolder() + QStringLiteral("/com") + QString::number(com);
    if (!WaitUntil([&] { return QFileInfo(link).isSymLink(); }))
        throw std::runtime_error("the board simulator did not publish COM" + std::to_string(com));
}

BoardProcess::~BoardProcess() {
    Resume(); // a stopped process would hold its end signal
    m_process.terminate();
    m_process.waitForFinished();
}

void BoardProcess::Pause() {
    kill(pid_t(m_process.processId()), SIGSTOP);
}

void BoardProcess::Resume() {
    kill(pid_t(m_process.processId()), SIGCONT);
}
