#include "helpwindow.h"

#include "common/icons.h"
#include "common/style.h"
#include "helpview.h"
#include "model/settingsstorage.h"

#include <QAction>
#include <QKeySequence>
#include <QVBoxLayout>

namespace {
QString nativeText(const QKeySequence &keys)
{
    return keys.toString(QKeySequence::NativeText);
}

HelpPlatform platformFor(const QString &settingsFile)
{
    return HelpPlatform::current(HelpWindow::shortcutTexts(),
                                 SettingsStorage(settingsFile).pathOf(SettingsStorage::savedCommands));
}
} // namespace

HelpWindow::HelpWindow(const QString &settingsFile, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_view(new HelpView(platformFor(settingsFile), this))
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Brindlecap Builder Help"));
    setWindowIcon(Icons::application());
    setMinimumSize(720, 520);
    resize(940, 640);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    auto *close = new QAction(QStringLiteral("Close"), this);
    close->setShortcuts(Style::closeKeys());
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

HelpPlatform::ShortcutTexts HelpWindow::shortcutTexts()
{
    // The same sequences the actions and shortcuts are bound to (Ctrl is Command on macOS).
    return {
        nativeText(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
        nativeText(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
        nativeText(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)),
        nativeText(QKeySequence(Qt::CTRL | Qt::Key_Question)),
        nativeText(QKeySequence(QKeySequence::HelpContents)),
        nativeText(QKeySequence(Qt::CTRL | Qt::Key_Return)),
        nativeText(QKeySequence(Qt::CTRL | Qt::Key_Q)),
    };
}
