#include "app/MPlovix.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    return plovixMain(application);
}
