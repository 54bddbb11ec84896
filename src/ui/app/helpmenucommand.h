#pragma once

#include <QAction>

// "Brindlecap Builder Help": the one item of the Help menu (and of the tray menu), on Ctrl+? and F1.
class HelpMenuCommand : public QAction
{
    Q_OBJECT

public:
    explicit HelpMenuCommand(QObject *parent = nullptr);
};
