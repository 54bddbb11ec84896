#pragma once

#include "fieldref.h"

#include <QGroupBox>

#include <functional>

class QCheckBox;
class QVBoxLayout;

// A group box holding a column of checkboxes, each bound to a flag of the form.
class CheckColumn : public QGroupBox
{
    Q_OBJECT

public:
    CheckColumn(const QString &title, std::function<void()> changed, QWidget *parent = nullptr);

    // Back-quoted words in the label are shown as inline code. indent shifts the row right, for a
    // checkbox that belongs to the one above it.
    QCheckBox *addCheck(FieldRef<bool> field, const QString &label, int indent = 0);
    // A checkbox bound to field in a row of its own (its parent): the one way the kit makes a checkbox,
    // so that every checkbox row of every form looks and behaves alike.
    static QCheckBox *createCheck(FieldRef<bool> field, const QString &label, int indent, std::function<void()> changed,
                                  QWidget *parent);
    // Checkboxes side by side in one row, spacing points apart; texts[i] labels fields[i].
    static QWidget *createCheckRow(const QList<FieldRef<bool>> &fields, const QStringList &texts, int spacing,
                                   const std::function<void()> &changed, QWidget *parent);
    // The row that holds the checkbox (hide it to hide the label too).
    QWidget *rowOf(QCheckBox *check) const;
    void addWidget(QWidget *widget);

private:
    QVBoxLayout *m_column;
    std::function<void()> m_changed;
};
