#pragma once

#include <QLineEdit>

// A one-line text field that can never hold a line break. QLineEdit keeps a pasted line feed in
// text() (it only draws it as a space), which would smuggle a second command into the generated
// text; here every line-break character typed, pasted or set becomes a space.
class SingleLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit SingleLineEdit(QWidget *parent = nullptr);
};
