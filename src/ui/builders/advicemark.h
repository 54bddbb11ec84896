#pragma once

#include "builders/formfield.h"

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;

// A field's advice where it moves nothing: a warning mark and the advice's words inside the field, at
// its end (typed text stops short of them), or just beside a field of fixed width, where the row has
// room. The field's tool tip and accessible description carry the whole advice, so that a screen
// reader says it and words cut short for room can be read.
class AdviceMark : public QWidget
{
    Q_OBJECT

public:
    // Shows advice on control (no mark for an empty one). A multi-line field shows its advice in its
    // box's own rows; here it only gets the description.
    static void show(QWidget *control, const QString &advice);
    // The words control shows, as the user reads them (cut short where room ends); empty when none.
    static QString shown(const QWidget *control);
    // Marks control as the one bound to the field at value, so that the form's advice finds it.
    static void bind(QWidget *control, const void *value);

    // Shows the form's advice on each of its text fields' bound controls.
    template <typename Form> static void showAll(const Form &form)
    {
        for (const FormField<Form> &field : Form::fields()) {
            if (field.kind == FieldKind::Text || field.kind == FieldKind::MultiLineText) {
                if (QWidget *control = boundControl(field.address(form)))
                    show(control, Fields::adviceOn(form, field));
            }
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit AdviceMark(QLineEdit *field);
    // The control bound to the field at value; null when there is none (any more).
    static QWidget *boundControl(const void *value);
    static AdviceMark *markOf(const QWidget *control);
    void setAdvice(const QString &advice);
    void place();

    QLineEdit *m_field;
    QLabel *m_words;
    QString m_advice;
};
