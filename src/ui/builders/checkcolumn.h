#pragma once

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
    QCheckBox *addCheck(const QString &name, const QString &label, bool &field, int indent = 0);
    // The row that holds the checkbox (hide it to hide the label too).
    QWidget *rowOf(QCheckBox *check) const;
    void addWidget(QWidget *widget);

private:
    QVBoxLayout *m_column;
    std::function<void()> m_changed;
};
