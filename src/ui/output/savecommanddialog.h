#pragma once

#include <QDialog>

class QLineEdit;
class GrowingTextEdit;
class QPushButton;

// The "Save for Later" sheet: a title (pre-filled) and optional notes.
class SaveCommandDialog : public QDialog
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
    GrowingTextEdit *m_notes;
    QPushButton *m_save;
};
