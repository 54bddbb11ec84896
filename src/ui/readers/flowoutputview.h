#pragma once

#include "readers/flowreader.h"

#include <QWidget>

#include <vector>

class FlowSearchProxy;
class FlowSessionModel;
class FlowTableModel;
class QAbstractItemView;
class QLabel;
class QLineEdit;
class BuilderLinks;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QTextBrowser;
class QTreeView;
class ReaderInput;

// Reads what `diagnose debug flow` printed, pasted, opened or dropped: one row per traced packet as the
// reading goes, in a table or grouped by session, a search over addresses, ports, interfaces and
// policies, and the selected packet's stages in order with their raw records and what its verdict
// means. Copying rows gives the terminal's lines.
class FlowOutputView : public QWidget
{
    Q_OBJECT

public:
    explicit FlowOutputView(QWidget *parent = nullptr);
    ~FlowOutputView() override;

    void readFile(const QString &path);
    bool isReading() const;

    struct Batch {
        std::vector<FlowTrace> traces;
        QList<FlowReader::Warning> warnings;
        qint64 bytesRead = 0;
    };
    struct Outcome {
        FlowReader::Result result;
        QString summaryLine; // FlowText::Tally's
        QString error;       // why the input could not be opened or read
    };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createViews();
    QWidget *createDetailPanes();
    void startReading();
    void received(Batch &&batch);
    void finished(const Outcome &outcome);
    void fitColumns();
    void search();
    void setGrouped(bool grouped);
    QAbstractItemView *shownView() const;
    // The trace of the shown view's current row, -1 without one.
    qsizetype currentTrace() const;
    void selectTrace(qsizetype trace);
    void showSelectedTrace();
    void copySelected();
    void updateMatches();

    ReaderInput *m_input;
    FlowTableModel *m_model;
    FlowSessionModel *m_sessions;
    FlowSearchProxy *m_tableProxy;
    FlowSearchProxy *m_sessionProxy;
    QStackedWidget *m_views = nullptr;
    QTableView *m_table = nullptr;
    QTreeView *m_tree = nullptr;
    QLineEdit *m_search;
    QLabel *m_matches;
    QPushButton *m_group;
    QTabWidget *m_details = nullptr;
    QTextBrowser *m_timeline = nullptr;
    QTextBrowser *m_explanations = nullptr;
    QListWidget *m_warnings = nullptr;
    // The table's and the tree's links to the builders, and their buttons beside the details.
    QList<BuilderLinks *> m_links;
    QStackedWidget *m_linkButtons = nullptr;
};
