#include "singlelineedit.h"

#include "text.h"

#include <QValidator>

namespace {
// A validator may rewrite the input in place; QLineEdit then takes the rewritten text for typing,
// pasting and setText alike. The replacement keeps the length, so the cursor stays put.
class LineBreakValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        input = Text::toSingleLine(input);
        return Acceptable;
    }
};
} // namespace

SingleLineEdit::SingleLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setValidator(new LineBreakValidator(this));
}
