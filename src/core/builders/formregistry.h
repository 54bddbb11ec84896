#pragma once

#include "formfield.h"
#include "model/debugcategory.h"

#include <QList>
#include <QString>

#include <memory>

// A category's form behind one interface, for code that handles every category alike (the command
// line). The form types themselves stay plain structs.
class AnyForm
{
public:
    struct Field {
        QString name;
        FieldKind kind;
        QString defaultValue;
        QStringList choices;
    };

    virtual ~AnyForm() = default;
    virtual QList<Field> fields() const = 0;
    virtual bool hasField(const QString &name) const = 0;
    // False when the value is not valid for the field (or the field does not exist).
    virtual bool setField(const QString &name, const QString &value) = 0;
    virtual QString generatedCommand() const = 0;
    virtual QString title() const = 0;
    virtual QList<FieldAdvice> advice() const = 0;
    // The capture filter the command holds, for the libpcap check; empty for a form without one.
    virtual QString captureFilter() const { return {}; }
};

template <typename Form> class AnyFormOf final : public AnyForm
{
public:
    QList<Field> fields() const override
    {
        const Form defaults{};
        QList<Field> result;
        for (const auto &f : Form::fields())
            result.append({f.name, f.kind, f.get(defaults), f.choices});
        return result;
    }
    bool hasField(const QString &name) const override { return find(name) != nullptr; }
    bool setField(const QString &name, const QString &value) override
    {
        const auto *f = find(name);
        return f && f->set(m_form, value);
    }
    QString generatedCommand() const override { return m_form.generatedCommand(); }
    QString title() const override { return m_form.title(); }
    QList<FieldAdvice> advice() const override { return Fields::advice(m_form); }
    QString captureFilter() const override
    {
        if constexpr (requires { m_form.filterExpression(); })
            return m_form.filterExpression();
        return {};
    }

private:
    static const FormField<Form> *find(const QString &name)
    {
        for (const auto &f : Form::fields()) {
            if (f.name == name)
                return &f;
        }
        return nullptr;
    }
    Form m_form;
};

namespace FormRegistry {
// The categories that have a builder form, in sidebar order.
QList<DebugCategory> builderCategories();
// A form with its defaults, or null for a category without a builder.
std::unique_ptr<AnyForm> create(DebugCategory category);
} // namespace FormRegistry
