#include "boardsim/Board.h"
#include "boardsim/BoardError.h"
#include "boardsim/Probe.h"
#include "platform/TerminationSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

namespace {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const QList<QCommandLineOption> kOptions = {
    {QStringLiteral("com"), QStringLiteral("Publish the board as COM<N>, 1 to 15 (default 1)."),
     QStringLiteral("N")},
    {QStringLiteral("interval"),
     QStringLiteral("Milliseconds between readings while sending (default 1000)."),
     QStringLiteral("MS")},
    {QStringLiteral("width"),
     QStringLiteral("Bytes per reading, 1 to 15; choose the same response byte count in the "
                    "terminal (default 5)."),
     QStringLiteral("BYTES")},
    {QStringLiteral("profile"),
     QStringLiteral("steady (25 °C), ramp (-55 to 125 °C and back, 0.5 °C per reading) or sine "
                    "(25 ± 20 °C over 60 readings), each with the sensor's noise of one step of "
                    "0.0625 °C (default steady)."),
     QStringLiteral("SHAPE")},
    {QStringLiteral("seed"),
     QStringLiteral("Seed of the noise, to repeat a run (default random; the first line shows "
                    "it)."),
     QStringLiteral("N")},
    {QStringLiteral("echo"), QStringLiteral("Send back every received byte that is no command.")},
    {QStringLiteral("burst"),
     QStringLiteral("Write N readings at once at each interval, 1 to 100."), QStringLiteral("N")},
    {QStringLiteral("zero"), QStringLiteral("Every K-th reading has a zero byte in its middle."),
     QStringLiteral("K")},
    {QStringLiteral("bad-gbk"),
     QStringLiteral("Every K-th reading ends in the byte 0xFF, which no GBK text holds."),
     QStringLiteral("K")},
    {QStringLiteral("overlong"),
     QStringLiteral("Every K-th reading is 3 bytes longer than the width."), QStringLiteral("K")},
    {QStringLiteral("hangup-after"),
     QStringLiteral("S seconds after the first start command, close the line as an unplugged "
                    "adapter would, and end."),
     QStringLiteral("S")},
    {QStringLiteral("probe"),
     QStringLiteral("Only print the device COM<N> names and exit: 0 if a board may be there (a "
                    "port link the terminal follows to a device that exists, or a USB serial "
                    "device), 1 if not.")},
};

int Number(const QCommandLineParser& parser, const QString& name, int min, int max, int fallback) {
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < min || value > max)
        throw UsageError(QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                             .arg(name)
                             .arg(min)
                             .arg(max)
                             .arg(parser.value(name))
                             .toStdString());
    return value;
}

BoardOptions ReadOptions(const QCommandLineParser& parser) {
    BoardOptions options;
    options.comPort = Number(parser, QStringLiteral("com"), 1, 15, 1);
    options.interval =
        std::chrono::milliseconds(Number(parser, QStringLiteral("interval"), 1, 3600000, 1000));
    options.width = Number(parser, QStringLiteral("width"), 1, 15, 5);
    if (parser.isSet(QStringLiteral("profile"))) {
        const auto shape = ProfileFromName(parser.value(QStringLiteral("profile")));
        if (!shape)
            throw UsageError("--profile takes steady, ramp or sine");
        options.profile = *shape;
    }
    if (parser.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        options.seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok)
            throw UsageError("--seed takes a whole number from 0 to 4294967295");
    } else {
        options.seed = std::random_device{}();
    }
    options.echo = parser.isSet(QStringLiteral("echo"));
    options.faults.burst = Number(parser, QStringLiteral("burst"), 1, 100, 1);
    options.faults.zeroEvery = Number(parser, QStringLiteral("zero"), 1, INT_MAX, 0);
    options.faults.badGbkEvery = Number(parser, QStringLiteral("bad-gbk"), 1, INT_MAX, 0);
    options.faults.overlongEvery = Number(parser, QStringLiteral("overlong"), 1, INT_MAX, 0);
    if (parser.isSet(QStringLiteral("hangup-after"))) {
        bool ok = false;
        const double seconds = parser.value(QStringLiteral("hangup-after")).toDouble(&ok);
        if (!ok || !(seconds > 0) || seconds > 86400)
            throw UsageError("--hangup-after takes seconds, more than 0 and up to 86400");
        options.hangUpAfter = std::chrono::milliseconds(std::max(1L, std::lround(seconds * 1000)));
    }
    return options;
}

int Probe(int number) {
    const std::optional<QString> device = BoardDevice(number);
    std::printf("COM%d: %s\n", number, device ? qPrintable(*device) : "no board");
    return device ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("serialtemp-boardsim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the temperature board on a pseudo-terminal, published as COM<N> through the "
        "terminal's per-user port link. After the byte 0xFF it sends a reading every interval, "
        "after 0xFE it stops. It prints one line per event. Ctrl+C or SIGTERM ends it and "
        "removes the link. It takes only a free COM number or a stale link of its own; a COM "
        "number that another link or file takes stays as it is, and the simulator exits with "
        "status 3."));
    parser.addHelpOption();
    parser.addOptions(kOptions);
    parser.process(app);

    try {
        const BoardOptions options = ReadOptions(parser);
        if (parser.isSet(QStringLiteral("probe")))
            return Probe(options.comPort);

        QTextStream out(stdout);
        const auto log = [&out](const QString& line) { out << line << Qt::endl; };
        TerminationSignals termination;
        Board board(options, log);
        QObject::connect(&termination, &TerminationSignals::Caught, &app, [&](int signo) {
            log(QStringLiteral("end: %1").arg(QString::fromLocal8Bit(::strsignal(signo))));
            QCoreApplication::quit();
        });
        QObject::connect(&board, &Board::Ended, &app, &QCoreApplication::exit);
        return QCoreApplication::exec();
    } catch (const UsageError& error) {
        std::fprintf(stderr, "serialtemp-boardsim: %s (see --help)\n", error.what());
        return 2;
    } catch (const PortTakenError& error) {
        std::fprintf(stderr, "serialtemp-boardsim: %s\n", error.what());
        return 3;
    } catch (const BoardError& error) {
        std::fprintf(stderr, "serialtemp-boardsim: %s\n", error.what());
        return 1;
    } catch (const std::system_error& error) {
        std::fprintf(stderr, "serialtemp-boardsim: %s\n", error.what());
        return 1;
    }
}
