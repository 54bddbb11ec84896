#pragma once

#include "categoryforms.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <optional>
#include <type_traits>
#include <utility>

// A builder's form with the values to show in it, apart from the form type: each field by name in its
// command-line form, so that it travels through the navigation to whichever view shows that category.
struct FilledForm {
    DebugCategory category = DebugCategory::session;
    QList<std::pair<QString, QString>> fields;

    // Every field of form, by the category table's entry for its type.
    template <typename Form> static FilledForm of(const Form &form)
    {
        FilledForm filled;
        CategoryForms::forEach([&filled](auto entry) {
            if constexpr (std::is_same_v<typename decltype(entry)::Form, Form>)
                filled.category = entry.category;
        });
        for (const auto &field : Form::fields())
            filled.fields.append({field.name, field.get(form)});
        return filled;
    }

    // The form these values make, from the form's defaults; nullopt where a name or a value is not the
    // form's.
    template <typename Form> std::optional<Form> to() const
    {
        Form form;
        for (const auto &[name, value] : fields) {
            const auto &table = Form::fields();
            const auto field = std::ranges::find(table, name, &FormField<Form>::name);
            if (field == table.end() || !field->set(form, value))
                return std::nullopt;
        }
        return form;
    }
};
