// Writes the program's own icon at one size as a PNG, so the desktop theme
// shows the same drawing as the window.
#include "resources/Icons.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    bool isNumber = false;
    const int size = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt(&isNumber) : 0;
    if (!isNumber) {
        QTextStream(stderr) << "usage: serialtemp-icon SIZE FILE.png\n";
        return 2;
    }
    // QIcon would scale another size to fit; only a drawn size is wanted.
    const QIcon icon = AppIcon();
    if (!icon.availableSizes().contains(QSize(size, size))) {
        QTextStream(stderr) << "the icon is not drawn at " << size << " pixels\n";
        return 1;
    }
    return icon.pixmap(size).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
