#pragma once

#include "model/debugcategory.h"

#include <QGroupBox>

class CommandStore;
class CopyButton;
class GrowingTextEdit;
class QLabel;
class QPushButton;

// The "Generated Command" panel at the bottom of every builder form: shows the form's text and
// copies it, saves it to a file, or keeps it in the saved-command store.
class CommandOutputView : public QGroupBox
{
    Q_OBJECT

public:
    CommandOutputView(DebugCategory category, CommandStore &store, QWidget *parent = nullptr);

    void setCommand(const QString &command);
    void setTitle(const QString &title);
    QString command() const { return m_command; }
    QString title() const { return m_title; }

    void copy();
    void saveToFile();
    void openSaveForLater();

private:
    DebugCategory m_category;
    CommandStore &m_store;
    QString m_command;
    QString m_title;

    QLabel *m_emptyLine;
    GrowingTextEdit *m_text;
    CopyButton *m_copy;
    QPushButton *m_saveToFile;
    QPushButton *m_saveForLater;
};
