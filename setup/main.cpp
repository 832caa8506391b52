#include "MessageBoxMessages.h"
#include "SetupMessages.h"
#include "frmFolvaneDB.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(SetupMessages::applicationTitle());
    SetupMessages::install(std::make_unique<MessageBoxMessages>());

    frmFolvaneDB window;
    window.show();
    return QApplication::exec();
}
