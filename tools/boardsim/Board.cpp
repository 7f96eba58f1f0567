#include "boardsim/Board.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr char kStart = '\xFF';
constexpr char kStop = '\xFE';

// Bytes as the log shows them: in quotes, printable ASCII as it is, the rest as \xNN.
QString Quoted(const QByteArray& bytes) {
    QString text = QStringLiteral("\"");
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\')
            text.append(QLatin1Char(c));
        else
            text.append(QStringLiteral("\\x%1").arg(QString::number(byte, 16).toUpper(), 2,
                                                    QLatin1Char('0')));
    }
    return text + QLatin1Char('"');
}

} // namespace

Board::Board(const BoardOptions& options, Log log, QObject* parent)
    : QObject(parent), m_options(options), m_log(std::move(log)),
      m_link(options.comPort, m_pty.SlavePath()), m_profile(options.profile, options.seed) {
    m_pNotifier = new QSocketNotifier(m_pty.MasterFd(), QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &Board::OnReadable);
    m_readingTimer.setInterval(options.interval);
    connect(&m_readingTimer, &QTimer::timeout, this, &Board::SendReadings);
    m_hangUpTimer.setSingleShot(true);
    connect(&m_hangUpTimer, &QTimer::timeout, this, &Board::HangUp);
    m_log(QStringLiteral("COM%1 is %2 (link %3%4); after 0xFF a reading of %5 bytes every %6 "
                         "ms, %7 profile, seed %8")
              .arg(options.comPort)
              .arg(Device(), Link(),
                   m_link.ReplacedStale() ? QStringLiteral(", replacing a stale one") : QString())
              .arg(options.width)
              .arg(options.interval.count())
              .arg(ProfileName(options.profile))
              .arg(options.seed));
}

Board::~Board() {
    delete m_pNotifier;
    m_log(m_link.Release());
}

void Board::HangUp() {
    if (!IsConnected())
        return;
    Close();
    m_log(QStringLiteral("hang-up: the line is closed, as by an unplugged adapter"));
    emit Ended(0);
}

void Board::Close() {
    m_readingTimer.stop();
    m_hangUpTimer.stop();
    delete m_pNotifier;
    m_pNotifier = nullptr;
    m_pty.CloseMaster();
}

void Board::OnReadable() {
    char buffer[4096];
    while (IsConnected()) {
        const ssize_t n = ::read(m_pty.MasterFd(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        if (n <= 0) {
            // The board holds the slave open itself, so the line cannot end here.
            Fail(QStringLiteral("reading the line: %1")
                     .arg(n == 0 ? QStringLiteral("end of file") : std::strerror(errno)));
            return;
        }
        Take(QByteArray(buffer, n));
    }
}

void Board::Take(const QByteArray& bytes) {
    m_received += bytes;
    qsizetype from = 0;
    while (from < bytes.size() && IsConnected()) {
        qsizetype command = from;
        while (command < bytes.size() && bytes[command] != kStart && bytes[command] != kStop)
            ++command;
        if (command > from) {
            const QByteArray data = bytes.mid(from, command - from);
            m_log(QStringLiteral("received %1").arg(Quoted(data)));
            if (m_options.echo)
                Write(data, QStringLiteral("echo %1").arg(Quoted(data)));
        }
        if (command < bytes.size() && IsConnected())
            OnCommand(bytes[command]);
        from = command + 1;
    }
}

void Board::OnCommand(char byte) {
    if (byte == kStop) {
        m_log(IsSending() ? QStringLiteral("stop (0xFE)")
                          : QStringLiteral("stop (0xFE): was not sending"));
        m_readingTimer.stop();
        return;
    }
    if (IsSending()) {
        m_log(QStringLiteral("start (0xFF): sending already"));
        return;
    }
    m_readingTimer.start();
    m_log(QStringLiteral("start (0xFF): a reading every %1 ms").arg(m_options.interval.count()));
    if (m_options.hangUpAfter && !m_hangUpTimer.isActive()) {
        m_hangUpTimer.start(*m_options.hangUpAfter);
        m_log(QStringLiteral("hang-up in %1 ms").arg(m_options.hangUpAfter->count()));
    }
}

void Board::SendReadings() {
    QByteArray bytes;
    QStringList readings;
    for (int i = 0; i < m_options.faults.burst; ++i) {
        const QByteArray reading =
            ReadingOnLine(m_profile.Next(), m_options.width, ++m_nReadings, m_options.faults);
        bytes += reading;
        readings.append(Quoted(reading));
    }
    Write(bytes, QStringLiteral("sent %1").arg(readings.join(QLatin1Char(' '))));
}

void Board::Write(const QByteArray& bytes, const QString& what) {
    ssize_t n;
    do {
        n = ::write(m_pty.MasterFd(), bytes.constData(), static_cast<size_t>(bytes.size()));
    } while (n < 0 && errno == EINTR);
    if (n < 0 && errno != EAGAIN) {
        Fail(QStringLiteral("writing the line: %1").arg(std::strerror(errno)));
        return;
    }
    const qsizetype taken = n < 0 ? 0 : n;
    m_sent += bytes.left(taken);
    if (taken < bytes.size())
        m_log(QStringLiteral("%1: the line is full, %2 of %3 bytes dropped")
                  .arg(what)
                  .arg(bytes.size() - taken)
                  .arg(bytes.size()));
    else
        m_log(what);
}

void Board::Fail(const QString& reason) {
    Close();
    m_log(QStringLiteral("error: %1").arg(reason));
    emit Ended(1);
}
