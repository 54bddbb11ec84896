#pragma once

#include "common/sheetdialog.h"

class QLineEdit;
class QPushButton;

// The "Save Custom Interface" sheet: one name, typed or taken over from the interface field. What
// happens to the name on Save is the caller's; the sheet only collects it.
class SaveInterfaceDialog : public SheetDialog
{
    Q_OBJECT

public:
    SaveInterfaceDialog(const QString &name, QWidget *parent = nullptr);

    // As typed.
    QString name() const;

private:
    QLineEdit *m_name;
    QPushButton *m_save;
};
