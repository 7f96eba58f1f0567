#include "support/BoardProcess.h"

#include "support/WaitUntil.h"

#include "serial/PortNames.h"

#include <QFileInfo>

#include <stdexcept>

BoardProcess::BoardProcess(std::chrono::milliseconds interval) {
    // Its line per reading is not wanted here: reading it would cost this
    // process, which is the one measured.
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(QStringLiteral(BOARDSIM_PROGRAM),
                    {QStringLiteral("--com"), QStringLiteral("1"), QStringLiteral("--interval"),
                     QString::number(interval.count())});
    const QString link = PortLinkFolder() + QStringLiteral("/com1");
    if (!WaitUntil([&] { return QFileInfo(link).isSymLink(); }))
        throw std::runtime_error("the board simulator did not publish COM1");
}

BoardProcess::~BoardProcess() {
    m_process.terminate();
    m_process.waitForFinished();
}
