#include "helpwindow.h"

#include "common/emptystateview.h"
#include "common/icons.h"

#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Brindlecap Builder Help"));
    setWindowIcon(Icons::application());
    setMinimumSize(720, 520);
    resize(940, 640);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new EmptyStateView(QStringLiteral("book"), QStringLiteral("Brindlecap Builder Help"),
                                         QStringLiteral("The help articles are not available yet."), this));
}
