#pragma once

#include "model/savedcommand.h"

#include <QScrollArea>

class CommandStore;
class CopyButton;
class GrowingTextEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SavedCommandCaption;

// The detail pane of the saved-command browser: one command's title, caption, notes and text, with
// copy, export and delete, and an edit mode for the title and the notes.
class SavedCommandDetail : public QScrollArea
{
    Q_OBJECT

public:
    SavedCommandDetail(CommandStore &store, QWidget *parent = nullptr);

    // Shows a copy of the command. An edit started on another command is dropped, so edited texts can
    // only ever be saved onto the command on which "Edit" was pressed.
    void setCommand(const SavedCommand &command);
    const SavedCommand &command() const { return m_command; }

    bool isEditing() const { return m_isEditing; }
    // Editing, with texts that Save would store differently from the command.
    bool hasUnsavedEdit() const;
    void edit();
    void cancelEdit();
    void saveEdit();

    CopyButton *copyButton() const { return m_copy; }

signals:
    void exportRequested(const SavedCommand &command);
    void deleteRequested(const SavedCommand &command);

private:
    void setEditing(bool editing);
    void showCommand();

    CommandStore &m_store;
    SavedCommand m_command;
    bool m_isEditing = false;

    QLabel *m_title;
    QLineEdit *m_titleEdit;
    SavedCommandCaption *m_caption;
    QPushButton *m_edit;
    QPushButton *m_cancel;
    QPushButton *m_save;
    QGroupBox *m_notesBox;
    QLabel *m_notes;
    GrowingTextEdit *m_notesEdit;
    GrowingTextEdit *m_text;
    CopyButton *m_copy;
    QPushButton *m_export;
    QPushButton *m_delete;
};
