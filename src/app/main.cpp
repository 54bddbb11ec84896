#include "app/appcontroller.h"
#include "app/mainwindow.h"
#include "app/menubarview.h"
#include "app/quitonsignal.h"
#include "app/singleinstance.h"
#include "common/alert.h"
#include "common/firstpaint.h"
#include "common/icons.h"
#include "common/style.h"
#include "model/settingsstorage.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include <cstdio>
#include <optional>
#include <string_view>

// Off unless asked for: the start-up benchmark reads when the window was first painted.
Q_LOGGING_CATEGORY(lcStartup, "brindlecap.startup", QtWarningMsg)

namespace {
constexpr const char *usage =
    "Usage: brindlecap-builder [--help | --version]\n"
    "\n"
    "Opens Brindlecap Builder, whose forms turn into exact FortiOS diagnostic commands, or brings the\n"
    "window of the one already running forward. `brindlecap --help` tells of the terminal's companion.\n"
    "\n"
    "  -h, --help     print this text and exit\n"
    "  -v, --version  print the version and exit\n"
    "\n"
    "Environment: BRINDLECAP_SETTINGS, the settings file to use (the saved commands are kept beside it).\n";

// --help and --version answer in the terminal, before anything needs a display or reaches a running
// instance. Empty when neither is asked for.
std::optional<int> answerInTerminal(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(usage, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argument == "--version" || argument == "-v") {
            std::fputs("brindlecap-builder " BRINDLECAP_VERSION "\n", stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> answered = answerInTerminal(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brindlecap"));
    QApplication::setApplicationName(QStringLiteral("BrindlecapBuilder"));
    QApplication::setApplicationVersion(QStringLiteral(BRINDLECAP_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("brindlecap-builder"));
    QApplication::setWindowIcon(Icons::application());
    Style::mendPlaceholders();

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
