#include "support/RunFor.h"

#include <QEventLoop>
#include <QTimer>

void RunFor(std::chrono::milliseconds span) {
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    loop.exec();
}
