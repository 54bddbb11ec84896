#include "app/appcontroller.h"
#include "app/mainwindow.h"
#include "app/menubarview.h"
#include "app/quitonsignal.h"
#include "app/singleinstance.h"
#include "common/alert.h"
#include "common/firstpaint.h"
#include "common/icons.h"
#include "model/settingsstorage.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include <cstdio>

// Off unless asked for: the start-up benchmark reads when the window was first painted.
Q_LOGGING_CATEGORY(lcStartup, "brindlecap.startup", QtWarningMsg)

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindlecap"));
    QApplication::setApplicationName(QStringLiteral("BrindlecapBuilder"));
    QApplication::setApplicationVersion(QStringLiteral(BRINDLECAP_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("brindlecap-builder"));
    QApplication::setWindowIcon(Icons::application());

    // Before the store is loaded: a second instance must neither read nor write the saved commands.
    SingleInstance instance;
    if (instance.start() == SingleInstance::Role::Secondary) {
        if (instance.handedOver())
            return 0;
        // Running beside it would lose one instance's saves; the user has to know why nothing opens.
        std::fprintf(stderr, "brindlecap-builder: %s\n", qPrintable(instance.refusal()));
        std::fflush(stderr);
        Alert::make(nullptr, QMessageBox::Critical, "refusal", instance.refusal(), {}, {{QMessageBox::Ok}})->exec();
        return 1;
    }

    // With the lock held and nothing written yet: what an earlier run's interrupted writes left can go.
    SettingsStorage::removeInterruptedWrites(SettingsStorage::resolvedFileName());
    // The controller's stores write in the background; they finish when it is destroyed, after exec().
    AppController controller;
    const QuitOnSignal quitOnSignal([&controller] { controller.endSession(); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &controller,
                     [&controller] { controller.showMainWindow(); });

    FirstPaint::watch(controller.showMainWindow(), lcStartup());
    const auto tray = MenuBarView::attach(controller, &QSystemTrayIcon::isSystemTrayAvailable);
    return app.exec();
}
