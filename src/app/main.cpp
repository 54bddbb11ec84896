#include "app/appcontroller.h"
#include "common/icons.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindlecap"));
    QApplication::setApplicationName(QStringLiteral("BrindlecapBuilder"));
    QApplication::setApplicationVersion(QStringLiteral(BRINDLECAP_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("brindlecap-builder"));
    QApplication::setWindowIcon(Icons::application());

    AppController controller;
    controller.showMainWindow();
    return app.exec();
}
