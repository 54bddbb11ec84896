#pragma once

#include "common/stores.h"
#include "model/debugcategory.h"
#include "model/outputreader.h"

#include <QWidget>

#include <functional>
#include <map>
#include <optional>

class NavigationState;
class QListWidget;
class QListWidgetItem;
class QMimeData;
class QVBoxLayout;

// The main window's content: the category sidebar with its footer, and the selected category's
// view beside it. The view is created anew, with its defaults, each time its category is selected. A
// reader's view, under "Read Output", is made once and kept: what it read stays while the user builds
// the next command.
class ContentView : public QWidget
{
    Q_OBJECT

public:
    ContentView(const Stores &stores, NavigationState &nav, QWidget *parent = nullptr);

    QListWidget *sidebar() const { return m_sidebar; }
    QWidget *detail() const { return m_detail; }
    // For the views inside that lead elsewhere in the window (a reader's packet to a filled form).
    NavigationState &navigation() const { return m_nav; }

    // True when the view shown may go now; else the user is asked about the edit still open in it,
    // and then runs once they have saved or discarded it (never when they cancel).
    bool mayLeave(const std::function<void()> &then);

protected:
    // A log dropped anywhere in the window outside a field is read by the reader shown, else by the
    // reader its start fits.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    struct Place {
        std::optional<DebugCategory> category;
        std::optional<OutputReader> reader;
        bool operator==(const Place &) const = default;
    };
    static Place placeOf(const QListWidgetItem *item);
    static OutputReader readerFor(const QMimeData *data);
    Place selected() const;
    void select(const Place &place);
    void placeChanged();
    void showSelection(const Place &place);
    void syncSidebar(const Place &place);
    void addReaderSection();
    QWidget *createFooter();

    Stores m_stores;
    NavigationState &m_nav;
    QListWidget *m_sidebar;
    QVBoxLayout *m_detailLayout;
    QWidget *m_detail = nullptr;
    Place m_shown;
    std::map<OutputReader, QWidget *> m_readers;
};
