#pragma once

#include "common/sheetdialog.h"

class MultiLineEdit;
class QLineEdit;
class QPushButton;

// The "Save for Later" sheet: a title (pre-filled) and optional notes.
class SaveCommandDialog : public SheetDialog
{
    Q_OBJECT

public:
    SaveCommandDialog(const QString &proposedTitle, QWidget *parent = nullptr);

    // As typed: the title is stored untrimmed.
    QString saveTitle() const;
    QString saveNotes() const;

private:
    void updateSaveEnabled();

    QLineEdit *m_title;
    MultiLineEdit *m_notes;
    QPushButton *m_save;
};
