#pragma once

#include "advicemark.h"
#include "builders/filledform.h"
#include "fieldref.h"
#include "model/debugcategory.h"

#include <QScrollArea>

#include <functional>

class CheckColumn;
class CommandOutputView;
class CommandStore;
class FormGrid;
class QVBoxLayout;

// The frame shared by every builder form: a scrolling column of blocks (header, group boxes) with the
// Generated Command panel last. Subclasses add their blocks; every control change regenerates the
// text through refresh().
class BuilderView : public QScrollArea
{
    Q_OBJECT

public:
    CommandOutputView *output() const { return m_output; }

    // Sets every field through its control, as if the user had, so that the controls, the form and the
    // panel agree; false when the values are not this form's (then the form is as far as it got).
    virtual bool fill(const FilledForm &form) = 0;

protected:
    BuilderView(DebugCategory category, CommandStore &store, QWidget *parent);

    void addHeader(const QString &title, const QString &description);
    FormGrid *addGrid(const QString &title);
    CheckColumn *addChecks(const QString &title);
    // Any other block, placed above the panel.
    void addBlock(QWidget *block);

    // A view that adds controls after it was built (from formChanged) calls this, so that they take
    // their place in the label column and in the Tab order.
    void controlsAdded();
    // Makes the label column at least width wide: for labels of a block that comes and goes with a mode,
    // so that the column is wide enough for them before they are there.
    void reserveLabelColumn(int width) { m_labelWidth = qMax(m_labelWidth, width); }
    static int widestLabel(const QWidget *root);
    bool event(QEvent *event) override;

    // Recomputes the text and title and hands them to the panel.
    void refresh();
    std::function<void()> changeHandler()
    {
        return [this] { refresh(); };
    }

    virtual QString command() const = 0;
    virtual QString panelTitle() const = 0;
    // Runs before the panel is updated: the place for rules that enable, disable, show or hide
    // controls from the form's values.
    virtual void formChanged() {}
    // Shows the advice on each text field.
    virtual void showAdvice() = 0;

    void showEvent(QShowEvent *event) override;

    // The control of this form bound to the field name (not one of a builder nested in it), set to the
    // value in its command-line form; false when there is no such control or it cannot take the value.
    bool setControl(const QString &name, const QString &value, const QStringList &choices);

private:
    // Gives every grid of the form the label column of the widest label among them, shown or not, so
    // that the fields of all the boxes start at one x and none moves when a mode changes the labels.
    void alignLabelColumns();
    // Chains the controls for Tab in the order the layouts show them, the panel last.
    void orderFocus();

    QVBoxLayout *m_column;
    CommandOutputView *m_output;
    int m_labelWidth = 0;
};

// The view of each form type: every view header names itself for its form, so that the view factory,
// working through the category table, can make each one (and a form without a view does not compile).
template <typename Form> struct ViewOf;

// A builder view that owns its form type: the panel always shows the form's rule. A subclass with
// rules in formChanged() calls refresh() once more at the end of its constructor, when they can run.
template <typename Form> class FormView : public BuilderView
{
public:
    const Form &form() const { return m_form; }

protected:
    FormView(DebugCategory category, CommandStore &store, QWidget *parent)
        : BuilderView(category, store, parent)
    {
        refresh();
    }

    // The form's field that member names, for binding a control to it.
    template <typename T> FieldRef<T> field(T Form::*member) { return bindField(m_form, member); }

    bool fill(const FilledForm &filled) final
    {
        const std::optional<Form> form = filled.to<Form>();
        if (!form)
            return false;
        for (const auto &field : Form::fields()) {
            if (!setControl(field.name, field.get(*form), field.choices) || field.get(m_form) != field.get(*form))
                return false;
        }
        return true;
    }

    QString command() const final { return m_form.generatedCommand(); }
    QString panelTitle() const final { return m_form.title(); }
    void showAdvice() final { AdviceMark::showAll(m_form); }

    Form m_form;
};
