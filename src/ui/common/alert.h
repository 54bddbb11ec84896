#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

#include <functional>

// Every alert and question of the application: window-modal over parent's window (application-modal
// without one), its text plain (what a file or the user wrote never turns into markup), deleted once
// answered. The one place that makes a QMessageBox.
namespace Alert {

struct Choice {
    // A standard button (Cancel, OK, Save, Discard), or one with this text and role.
    QMessageBox::StandardButton standard = QMessageBox::NoButton;
    QString text = {};
    QMessageBox::ButtonRole role = QMessageBox::AcceptRole;
    const char *name = nullptr; // the button's object name, if it needs one
    std::function<void()> chosen = {};
    bool isDefault = false;
};

// The alert, not yet shown: open() it, or exec() it where the answer must come first. name is its
// object name; details the informative text, if any.
QMessageBox *make(QWidget *parent, QMessageBox::Icon icon, const char *name, const QString &text,
                  const QString &details, const QList<Choice> &choices);
// make(), opened at once; returns without waiting for the answer.
QMessageBox *open(QWidget *parent, QMessageBox::Icon icon, const char *name, const QString &text,
                  const QString &details, const QList<Choice> &choices);

// The question before leaving unsaved work: Save (the default) runs save, Discard runs discard, and
// either then runs then; Cancel stays.
QMessageBox *askToSave(QWidget *parent, const char *name, const QString &text, std::function<void()> save,
                       std::function<void()> discard, std::function<void()> then);

} // namespace Alert
