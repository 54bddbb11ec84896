#pragma once

#include "fieldadvice.h"
#include "model/enumtable.h"
#include "text.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <mutex>

// Each form type declares its fields once, in a table of FormField. The command line sets fields and
// lists them through that table, so no category needs parsing code of its own.

enum class FieldKind { Text, MultiLineText, Flag, Enumeration };

template <typename Form> struct FormField {
    QString name;
    FieldKind kind = FieldKind::Text;
    QStringList choices; // case names, for enumerations
    // The field's value in command-line form: text as it is, a flag as true/false, an enumeration
    // by case name.
    std::function<QString(const Form &)> get;
    // Sets the field from command-line text; false when the text is not a valid value.
    std::function<bool(Form &, const QString &)> set;
    // Where the field lives in a form: what identifies it to a control bound by member pointer.
    std::function<const void *(const Form &)> address;
    // What a text field is meant to hold, for advice only.
    Advice::Expect expect = Advice::Expect::anything;
};

// Advice on one field of a form.
struct FieldAdvice {
    QString field;
    QString text;
};

namespace Fields {

// Flags accept the usual spellings; anything else is refused.
inline std::optional<bool> parseFlag(const QString &text)
{
    static const QStringList yes = {QStringLiteral("true"), QStringLiteral("on"), QStringLiteral("yes"),
                                    QStringLiteral("1")};
    static const QStringList no = {QStringLiteral("false"), QStringLiteral("off"), QStringLiteral("no"),
                                   QStringLiteral("0")};
    if (yes.contains(text))
        return true;
    if (no.contains(text))
        return false;
    return std::nullopt;
}

// A single-line text field: line breaks become spaces, as in the form's line edit.
template <typename Form, typename T> std::function<const void *(const Form &)> addressOf(T Form::*member)
{
    return [member](const Form &f) -> const void * { return &(f.*member); };
}

template <typename Form>
FormField<Form> text(const char *name, QString Form::*member, Advice::Expect expect = Advice::Expect::anything)
{
    return {QString::fromLatin1(name),
            FieldKind::Text,
            {},
            [member](const Form &f) { return f.*member; },
            [member](Form &f, const QString &v) {
                f.*member = Text::toSingleLine(v);
                return true;
            },
            addressOf(member),
            expect};
}

// A multi-line text field keeps its line breaks.
template <typename Form>
FormField<Form> multiLineText(const char *name, QString Form::*member, Advice::Expect expect = Advice::Expect::anything)
{
    return {QString::fromLatin1(name),
            FieldKind::MultiLineText,
            {},
            [member](const Form &f) { return f.*member; },
            [member](Form &f, const QString &v) {
                f.*member = v;
                return true;
            },
            addressOf(member),
            expect};
}

template <typename Form> FormField<Form> flag(const char *name, bool Form::*member)
{
    return {QString::fromLatin1(name),
            FieldKind::Flag,
            {},
            [member](const Form &f) { return f.*member ? QStringLiteral("true") : QStringLiteral("false"); },
            [member](Form &f, const QString &v) {
                const auto parsed = parseFlag(v);
                if (parsed)
                    f.*member = *parsed;
                return parsed.has_value();
            },
            addressOf(member)};
}

template <typename Form, typename E> FormField<Form> enumeration(const char *name, E Form::*member)
{
    return {QString::fromLatin1(name),
            FieldKind::Enumeration,
            Enum::caseNames<E>(),
            [member](const Form &f) { return Enum::caseName(f.*member); },
            [member](Form &f, const QString &v) {
                const auto parsed = Enum::fromCaseName<E>(v);
                if (parsed)
                    f.*member = *parsed;
                return parsed.has_value();
            },
            addressOf(member)};
}

// The table's entry for a member of the form; null when the table has none.
template <typename Form, typename T> const FormField<Form> *find(T Form::*member)
{
    static const Form probe{};
    const void *address = &(probe.*member);
    for (const auto &f : Form::fields()) {
        if (f.address(probe) == address)
            return &f;
    }
    return nullptr;
}

// Whether a text field reaches the command, and with the white space around it kept.
struct Reach {
    bool reaches = false;
    bool asTyped = false;
};

// That is the form's own rule, which depends on its choices (flags, enumerations) and on which text
// fields are blank, not on what they hold: learned once per such mode by asking the form with marked
// values, not again at every keystroke.
template <typename Form> Reach reachOf(const Form &form, qsizetype index)
{
    const QList<FormField<Form>> &fields = Form::fields();
    const auto isText = [](const FormField<Form> &f) {
        return f.kind == FieldKind::Text || f.kind == FieldKind::MultiLineText;
    };
    QString mode;
    for (const FormField<Form> &f : fields)
        mode += isText(f) ? QString(Text::isNonBlank(f.get(form)) ? u'1' : u'0') : f.get(form) + u'|';
    static std::mutex mutex;
    static QHash<QString, QList<Reach>> learned;
    const std::lock_guard lock(mutex);
    auto found = learned.find(mode);
    if (found == learned.end()) {
        if (learned.size() > 4096)
            learned.clear();
        const QString marker = QStringLiteral("zq9Jx");
        QList<Reach> reaches;
        for (const FormField<Form> &f : fields) {
            Reach reach;
            if (isText(f) && Text::isNonBlank(f.get(form))) {
                Form probe = form;
                f.set(probe, u'\t' + marker + u'\t');
                const QString command = probe.generatedCommand();
                reach = {command.contains(marker), command.contains(u'\t' + marker + u'\t')};
            }
            reaches << reach;
        }
        found = learned.insert(mode, reaches);
    }
    return found->value(index);
}

// The advice on the field's text as the form now holds it; empty when there is none, or when the text
// does not reach the command (a blank field, or one the form's other choices leave out). field is an
// entry of the form's table.
template <typename Form> QString adviceOn(const Form &form, const FormField<Form> &field)
{
    if (field.kind != FieldKind::Text && field.kind != FieldKind::MultiLineText)
        return {};
    const QString value = field.get(form);
    if (!Text::isNonBlank(value))
        return {};
    const Reach reach = reachOf(form, &field - Form::fields().constData());
    return reach.reaches ? Advice::about(field.expect, value, reach.asTyped) : QString();
}

// Advice on every field of the form, in the order of its table.
template <typename Form> QList<FieldAdvice> advice(const Form &form)
{
    QList<FieldAdvice> found;
    for (const FormField<Form> &field : Form::fields()) {
        if (QString text = adviceOn(form, field); !text.isEmpty())
            found.append({field.name, std::move(text)});
    }
    return found;
}

} // namespace Fields
