// The reference for the start-up benchmark: a bare Qt Widgets window, a QMainWindow with one label, at
// the application's first size: a larger window costs Qt and the X server more to map and fill, which
// is not the application's own start-up.

#include "app/mainwindow.h"
#include "common/firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

Q_LOGGING_CATEGORY(lcStartup, "brindlecap.startup", QtWarningMsg)

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setCentralWidget(new QLabel(QStringLiteral("Bare Qt window")));
    window.resize(MainWindow::firstSize(window.screen()));
    FirstPaint::watch(&window, lcStartup());
    window.show();
    return app.exec();
}
