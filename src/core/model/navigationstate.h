#pragma once

#include "builders/filledform.h"
#include "debugcategory.h"
#include "outputreader.h"

#include <QObject>

#include <optional>

// What the main window shows, shared by the sidebar and the tray menu: a category, or a reader of the
// appliance's output in its place (then the category selection is empty), or neither.
class NavigationState : public QObject
{
    Q_OBJECT

public:
    explicit NavigationState(QObject *parent = nullptr);

    std::optional<DebugCategory> selectedCategory() const { return m_selected; }
    // Notifies only on a real change, so re-selecting the shown category keeps its form. Takes the
    // place of the reader shown, if any.
    void setSelectedCategory(std::optional<DebugCategory> category);

    std::optional<OutputReader> selectedReader() const { return m_reader; }
    // A reader, in place of the category selection.
    void setSelectedReader(std::optional<OutputReader> reader);

    // The form's category, its view then showing these values: the next command for what a reader found.
    void openForm(const FilledForm &form);

signals:
    void selectedCategoryChanged(std::optional<DebugCategory> category);
    void selectedReaderChanged(std::optional<OutputReader> reader);
    // After the category is selected, for the view shown to take the values.
    void formOpened(const FilledForm &form);

private:
    // Both are set before either signal, so that a receiver of one sees the whole new state.
    void select(std::optional<DebugCategory> category, std::optional<OutputReader> reader);

    std::optional<DebugCategory> m_selected = DebugCategory::session;
    std::optional<OutputReader> m_reader;
};
