#pragma once

#include "help/helpplatform.h"

#include <QWidget>

class HelpView;

// The single help window, "Brindlecap Builder Help".
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // settingsFile is where the application keeps its settings, beside which the articles name the
    // saved-commands file; empty means the file SettingsStorage uses by default.
    explicit HelpWindow(const QString &settingsFile = {}, QWidget *parent = nullptr);

    HelpView *view() const { return m_view; }

    // The texts Qt shows for the application's shortcuts on this platform.
    static HelpPlatform::ShortcutTexts shortcutTexts();

private:
    HelpView *m_view;
};
