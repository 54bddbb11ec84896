#pragma once

#include "builders/bpfbuilderform.h"
#include "formcolumn.h"

#include <QMap>

#include <functional>

class FormGrid;
class QLabel;
class QPushButton;

// Builds the Sniffer's custom filter out of presets and snippets. It works on the filter text it is
// given, the very field the user types into, and tells after each rewrite; its own parameters start
// from their defaults with every new builder.
class BPFBuilderView : public FormColumn
{
    Q_OBJECT

public:
    using SnippetType = BPFBuilderForm::SnippetType;
    using Preset = BPFBuilderForm::Preset;

    // filter is read at every action and rewritten by it; written runs after each rewrite, told whether
    // the user goes on in the filter (after a preset, clicked without taking the focus).
    BPFBuilderView(QString &filter, std::function<void(bool typeOn)> written, QWidget *parent = nullptr);

    const BPFBuilderForm &form() const { return m_form; }

    void addPreset(Preset preset);
    // "Add to Filter": nothing while the snippet is empty.
    void addToFilter();
    void clearFilter();

private:
    template <typename T> FieldRef<T> field(T BPFBuilderForm::*member) { return bindField(m_form, member); }
    void addParameterRows();
    QWidget *createPresetRow();
    QWidget *createActionRow();
    void setFilter(const QString &text, bool typeOn = false);
    // Shows the current type's rows, the preview and the state of "Add to Filter".
    void updateState();

    QString &m_filter;
    std::function<void(bool)> m_written;
    BPFBuilderForm m_form;

    FormGrid *m_grid = nullptr;
    QMap<SnippetType, QWidgetList> m_rows;
    QPushButton *m_add = nullptr;
    QLabel *m_preview = nullptr;
};
