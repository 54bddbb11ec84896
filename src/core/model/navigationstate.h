#pragma once

#include "debugcategory.h"

#include <QObject>

#include <optional>

// The category the main window shows, shared by the sidebar and the tray menu.
class NavigationState : public QObject
{
    Q_OBJECT

public:
    explicit NavigationState(QObject *parent = nullptr);

    std::optional<DebugCategory> selectedCategory() const { return m_selected; }
    // Notifies only on a real change, so re-selecting the shown category keeps its form.
    void setSelectedCategory(std::optional<DebugCategory> category);

signals:
    void selectedCategoryChanged(std::optional<DebugCategory> category);

private:
    std::optional<DebugCategory> m_selected = DebugCategory::session;
};
