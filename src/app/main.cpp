#include "app/SerialApp.h"
#include "platform/X11Repaint.h"

#include <QApplication>

int main(int argc, char** argv) {
    RepaintByCopyOnX11();
    QApplication app(argc, argv);
    theApp.InitInstance();
    return 0;
}
