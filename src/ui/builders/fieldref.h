#pragma once

#include "builders/formfield.h"

#include <QString>

// A form field as the control bound to it sees it: the value it edits, and the name the form's field
// table gives it, which becomes the control's object name (the same name the command line uses).
template <typename T> struct FieldRef {
    QString name;
    T *value;
};

// The field of form that member names. A member the table lacks is a programming error that no view
// may ship with; the test that builds every view stops on it.
template <typename Form, typename T> FieldRef<T> bindField(Form &form, T Form::*member)
{
    const FormField<Form> *field = Fields::find(member);
    if (!field)
        qFatal("A control is bound to a member that the form's field table lacks");
    return {field->name, &(form.*member)};
}
