// The reference for the start-up benchmark: a bare Qt Widgets window, a QMainWindow with one label.

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
    window.resize(1100, 760);
    FirstPaint::watch(&window, lcStartup());
    window.show();
    return app.exec();
}
