#include "app/appcontroller.h"
#include "app/mainwindow.h"
#include "app/menubarview.h"
#include "app/singleinstance.h"
#include "common/icons.h"

#include <QApplication>
#include <QSystemTrayIcon>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindlecap"));
    QApplication::setApplicationName(QStringLiteral("BrindlecapBuilder"));
    QApplication::setApplicationVersion(QStringLiteral(BRINDLECAP_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("brindlecap-builder"));
    QApplication::setWindowIcon(Icons::application());

    // Before the store is loaded: a second instance must neither read nor write the saved commands.
    SingleInstance instance;
    if (instance.start() == SingleInstance::Role::Secondary)
        return instance.handedOver() ? 0 : 1;

    AppController controller;
    QObject::connect(&instance, &SingleInstance::activationRequested, &controller,
                     [&controller] { controller.showMainWindow(); });

    std::unique_ptr<MenuBarView> tray;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray = std::make_unique<MenuBarView>(controller);
        tray->show();
        // The tray keeps the application within reach while no window is open.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    MainWindow *window = controller.showMainWindow();
    if (!tray) {
        // Without a tray nothing could bring a closed main window back: closing it ends the application,
        // also while the help window is open.
        QObject::connect(window, &QObject::destroyed, &app, &QCoreApplication::quit);
    }
    return app.exec();
}
