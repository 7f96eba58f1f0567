// A screen reader as far as a program can tell: on the accessibility bus of
// the current session it registers for every object event, as a reader
// does, and takes each one sent until SIGTERM; then it prints how many it got.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> g_bEnd = false;

class Listener : public QObject {
    Q_OBJECT

public:
    long events = 0;

public slots:
    void OnEvent(const QDBusMessage&) { ++events; }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::signal(SIGTERM, [](int) { g_bEnd = true; });
    const QDBusMessage address = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
    if (address.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "serialtemp-screenreader: no accessibility bus\n");
        return 1;
    }
    QDBusConnection bus =
        QDBusConnection::connectToBus(address.arguments().value(0).toString(), "a11y");
    Listener listener;
    for (const char* member : {"PropertyChange", "StateChanged", "ChildrenChanged", "TextChanged",
                               "TextCaretMoved", "BoundsChanged"})
        bus.connect(QString(), QString(), "org.a11y.atspi.Event.Object", member, &listener,
                    SLOT(OnEvent(QDBusMessage)));
    QDBusMessage registration =
        QDBusMessage::createMethodCall("org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                                       "org.a11y.atspi.Registry", "RegisterEvent");
    // For events from every application: no application's bus name.
    registration << QStringLiteral("object:") << QStringList() << QString();
    if (bus.call(registration).type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "serialtemp-screenreader: the registry refused the listener\n");
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (g_bEnd)
            app.quit();
    });
    poll.start(100);
    app.exec();
    std::printf("%ld\n", listener.events);
    return 0;
}

#include "ScreenReader.moc"
