#include "app/SerialApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    theApp.InitInstance();
    return 0;
}
