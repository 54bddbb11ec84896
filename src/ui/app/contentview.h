#pragma once

#include "common/stores.h"
#include "model/debugcategory.h"

#include <QWidget>

#include <functional>
#include <optional>

class NavigationState;
class QListWidget;
class QVBoxLayout;

// The main window's content: the category sidebar with its footer, and the selected category's
// view beside it. The view is created anew, with its defaults, each time its category is selected.
class ContentView : public QWidget
{
    Q_OBJECT

public:
    ContentView(const Stores &stores, NavigationState &nav, QWidget *parent = nullptr);

    QListWidget *sidebar() const { return m_sidebar; }
    QWidget *detail() const { return m_detail; }

    // True when the view shown may go now; else the user is asked about the edit still open in it,
    // and then runs once they have saved or discarded it (never when they cancel).
    bool mayLeave(const std::function<void()> &then);

private:
    void showSelection(std::optional<DebugCategory> category);
    void syncSidebar(std::optional<DebugCategory> category);
    QWidget *createFooter();

    Stores m_stores;
    NavigationState &m_nav;
    QListWidget *m_sidebar;
    QVBoxLayout *m_detailLayout;
    QWidget *m_detail = nullptr;
    std::optional<DebugCategory> m_shown;
};
