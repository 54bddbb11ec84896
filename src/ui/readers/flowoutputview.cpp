#include "flowoutputview.h"

#include "builderlinks.h"

#include "builders/formheader.h"
#include "common/alert.h"
#include "common/icons.h"
#include "common/style.h"
#include "flowsearchproxy.h"
#include "flowsessionmodel.h"
#include "flowtablemodel.h"
#include "readerinput.h"
#include "readers/flowexplanations.h"
#include "readers/flowtext.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTableView>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <set>

namespace {
using Batch = FlowOutputView::Batch;
using Outcome = FlowOutputView::Outcome;

// Off the UI thread: the traces in batches at least every 50 ms while it reads, the first at once.
Outcome readTraces(const ReaderInput::Source &source, const BackgroundWork::Progress &progress,
                   const std::function<void(Batch &&)> &deliver)
{
    Outcome outcome;
    const std::unique_ptr<QIODevice> device = ReaderInput::open(source, &outcome.error);
    if (!device) {
        outcome.result.outcome = FlowReader::Result::Outcome::readFailed;
        return outcome;
    }
    const double total = double(std::max<qint64>(ReaderInput::size(source), 1));
    FlowText::Tally tally;
    Batch pending;
    QElapsedTimer sinceSent;
    const auto send = [&](bool now) {
        if (!now && sinceSent.isValid() && sinceSent.elapsed() < 50)
            return;
        progress.report(double(pending.bytesRead) / total);
        const qint64 bytesRead = pending.bytesRead;
        deliver(std::exchange(pending, {}));
        pending.bytesRead = bytesRead;
        sinceSent.start();
    };
    FlowReader::Callbacks callbacks;
    callbacks.trace = [&](FlowTrace &&trace) {
        tally.add(trace);
        pending.traces.push_back(std::move(trace));
        send(false);
    };
    callbacks.warning = [&](const FlowReader::Warning &warning) { pending.warnings.append(warning); };
    callbacks.progress = [&](qint64 bytesRead) {
        pending.bytesRead = bytesRead;
        send(false);
    };
    callbacks.cancel = &progress.cancelled();
    outcome.result = FlowReader::read(*device, callbacks);
    if (outcome.result.outcome == FlowReader::Result::Outcome::readFailed)
        outcome.error = outcome.result.message;
    send(true);
    outcome.summaryLine = tally.summaryLine();
    return outcome;
}

QString html(const QByteArray &text)
{
    return QString::fromUtf8(text).toHtmlEscaped();
}

QString endpoint(const FlowEndpoint &endpoint)
{
    return FlowText::endpoint(endpoint);
}

// What a stage of the trace says, in short; empty where its record says it best.
QString stageSummary(const FlowTrace &trace, FlowStage stage)
{
    QStringList parts;
    switch (stage) {
    case FlowStage::receive:
        if (!trace.inInterface.isEmpty())
            parts << QStringLiteral("from %1").arg(QString::fromUtf8(trace.inInterface));
        if (!trace.vdom.isEmpty())
            parts << QStringLiteral("VDOM %1").arg(QString::fromUtf8(trace.vdom));
        if (!trace.tunnelId.isEmpty())
            parts << QStringLiteral("out of the tunnel of %1").arg(QString::fromUtf8(trace.tunnelId));
        if (!trace.tcpFlags.isEmpty())
            parts << QStringLiteral("flags [%1]").arg(QString::fromUtf8(trace.tcpFlags));
        if (trace.icmp)
            parts << QStringLiteral("type %1 code %2").arg(trace.icmp->type).arg(trace.icmp->code);
        break;
    case FlowStage::session:
        if (trace.session == FlowTrace::Session::created)
            parts << QStringLiteral("new session %1").arg(QString::fromUtf8(trace.sessionId));
        else if (trace.session == FlowTrace::Session::existing)
            parts << QStringLiteral("existing session %1").arg(QString::fromUtf8(trace.sessionId))
                  << QStringLiteral("%1 direction").arg(QString::fromUtf8(trace.sessionDirection));
        break;
    case FlowStage::dnat:
        if (trace.dnat)
            parts << QStringLiteral("to %1%2").arg(endpoint(*trace.dnat),
                                                   trace.vip ? QStringLiteral(" (VIP)") : QString());
        break;
    case FlowStage::route:
        if (trace.local)
            parts << QStringLiteral("to the FortiGate itself");
        else if (!trace.outInterface.isEmpty())
            parts << QStringLiteral("via %1").arg(QString::fromUtf8(trace.outInterface));
        if (!trace.gateway.isEmpty() && !trace.local)
            parts << QStringLiteral("gateway %1").arg(QString::fromUtf8(trace.gateway));
        if (trace.policyRoute)
            parts << QStringLiteral("policy route %1").arg(*trace.policyRoute);
        break;
    case FlowStage::policy:
        if (trace.policyId && !trace.policyInherited)
            parts << QStringLiteral("%1policy %2")
                         .arg(trace.localInPolicy ? QStringLiteral("local-in ") : QString())
                         .arg(*trace.policyId);
        if (trace.verdict == FlowVerdict::allowed || trace.verdict == FlowVerdict::dropped)
            parts << Enum::rawValue(trace.verdict).toLower();
        break;
    case FlowStage::snat:
        if (trace.snat && !trace.natInherited)
            parts << QStringLiteral("to %1").arg(endpoint(*trace.snat));
        break;
    case FlowStage::ipsec:
        if (!trace.ipsecTunnel.isEmpty())
            parts << QStringLiteral("tunnel %1").arg(QString::fromUtf8(trace.ipsecTunnel));
        if (trace.encrypted)
            parts << QStringLiteral("encrypted");
        break;
    case FlowStage::inspection:
        if (!trace.inspection.isEmpty())
            parts << QStringLiteral("to %1").arg(QString::fromUtf8(trace.inspection));
        break;
    case FlowStage::drop:
        if (trace.dropReason != FlowDropReason::none && trace.dropReason != FlowDropReason::other)
            parts << Enum::rawValue(trace.dropReason);
        break;
    case FlowStage::offload:
    case FlowStage::egress:
    case FlowStage::other:
        break;
    }
    return parts.join(QStringLiteral(", "));
}

QString timelineHtml(const FlowTrace &trace, const QPalette &palette)
{
    const QString raw = QStringLiteral("<p style=\"margin: 0 0 8px 16px; white-space: pre-wrap; color: %1\">")
                            .arg(Style::secondary(palette, QPalette::Normal, QPalette::Text, QPalette::Base).name());
    QString text;
    int step = 0;
    for (qsizetype at = 0; at < trace.records.size();) {
        const FlowStage stage = trace.records.at(at).stage;
        qsizetype end = at;
        while (end < trace.records.size() && trace.records.at(end).stage == stage)
            ++end;
        QString summary = stageSummary(trace, stage);
        if (summary.isEmpty())
            summary = QString::fromUtf8(trace.records.at(at).message);
        text += QStringLiteral("<p style=\"margin: 0\"><b>%1. %2</b>&nbsp;&nbsp;%3</p>")
                    .arg(++step)
                    .arg(Enum::rawValue(stage).toHtmlEscaped(), summary.toHtmlEscaped());
        QStringList lines;
        for (qsizetype record = at; record < end; ++record)
            lines << QStringLiteral("<code>%1</code>").arg(html(trace.records.at(record).raw));
        text += raw + lines.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
        at = end;
    }
    return text;
}

QString explanationsHtml(const FlowTrace &trace)
{
    QString text;
    for (const FlowExplanations::Note &note : FlowExplanations::forTrace(trace))
        text += QStringLiteral("<p><b>%1</b><br>%2</p>").arg(note.title.toHtmlEscaped(), note.text.toHtmlEscaped());
    return text;
}

void setUpView(QAbstractItemView *view, const QFontMetrics &metrics, QHeaderView *columns)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setAlternatingRowColors(true);
    const auto width = [&metrics](const QString &sample) { return metrics.horizontalAdvance(sample) + 24; };
    // Sizes fixed from the font, never measured from the rows: a million of them would take seconds.
    const std::pair<int, QString> samples[] = {
        {FlowTableModel::traceColumn, QStringLiteral("[FPM00] #000000")},
        {FlowTableModel::timeColumn, QStringLiteral("0000-00-00 00:00:00")},
        {FlowTableModel::protocolColumn, QStringLiteral("Protocol")},
        {FlowTableModel::endpointsColumn, QStringLiteral("000.000.000.000:00000 \u2192 000.000.000.000:00000")},
        {FlowTableModel::interfaceColumn, QStringLiteral("port00 \u2192 port00")},
        {FlowTableModel::sessionColumn, QStringLiteral("00000000 (original)")},
        {FlowTableModel::policyColumn, QStringLiteral("00 (inherited)")},
        {FlowTableModel::natColumn, QStringLiteral("snat 000.000.000.000:00000")},
    };
    for (const auto &[column, sample] : samples)
        columns->resizeSection(column, width(sample));
    columns->setStretchLastSection(true);
}
} // namespace

FlowOutputView::FlowOutputView(QWidget *parent)
    : QWidget(parent)
    , m_input(new ReaderInput(
          this, {QStringLiteral("arrow.left.arrow.right"), QStringLiteral("No Debug Flow Output"),
                 QStringLiteral("Paste (%1) or open what `diagnose debug flow trace start` printed, or drop a log "
                                "file here: one row per packet, with its verdict and why."),
                 QStringLiteral("Open Debug Flow Log"), QStringLiteral("noTraces")}))
    , m_model(new FlowTableModel(this))
    , m_sessions(new FlowSessionModel(*m_model, this))
    , m_tableProxy(new FlowSearchProxy(*m_model, this))
    , m_sessionProxy(new FlowSearchProxy(*m_model, this))
    , m_search(new QLineEdit(this))
    , m_matches(new QLabel(this))
    , m_group(new QPushButton(QStringLiteral("Group by Session"), this))
{
    setObjectName(QStringLiteral("flowOutputView"));
    m_tableProxy->setSourceModel(m_model);
    m_sessionProxy->setSourceModel(m_sessions);
    m_input->setContent(createViews());
    connect(m_input, &ReaderInput::sourceChanged, this, &FlowOutputView::startReading);
    connect(m_input, &ReaderInput::cancelled, this, [this] {
        m_input->setSummary(
            QStringLiteral("Reading cancelled after %1 packets.").arg(QLocale().toString(m_model->traceCount())));
    });

    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(QStringLiteral("Search addresses, ports, interfaces, policies"));
    m_search->setAccessibleName(QStringLiteral("Search packets"));
    m_search->setClearButtonEnabled(true);
    m_search->addAction(Icons::symbol(QStringLiteral("magnifyingglass")), QLineEdit::LeadingPosition);
    m_matches->setObjectName(QStringLiteral("matches"));
    Style::setSecondary(m_matches);
    // Each keystroke would scan every packet: the search waits for a pause in the typing.
    auto *searchDelay = new QTimer(this);
    searchDelay->setSingleShot(true);
    searchDelay->setInterval(200);
    connect(m_search, &QLineEdit::textChanged, searchDelay, qOverload<>(&QTimer::start));
    connect(searchDelay, &QTimer::timeout, this, &FlowOutputView::search);
    m_group->setObjectName(QStringLiteral("groupBySession"));
    m_group->setAccessibleName(m_group->text());
    m_group->setCheckable(true);
    connect(m_group, &QPushButton::toggled, this, &FlowOutputView::setGrouped);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_matches);
    searchRow->addWidget(m_group);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_input->stack());
    splitter->addWidget(createDetailPanes());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    layout->addWidget(new FormHeader(
        QStringLiteral("Debug Flow Output"),
        QStringLiteral(
            "Read what `diagnose debug flow` printed: each packet's route, policy, NAT and verdict, and why."),
        this));
    layout->addWidget(m_input->bar());
    layout->addWidget(m_input->status());
    layout->addLayout(searchRow);
    layout->addWidget(splitter, 1);

    new QShortcut(QKeySequence::Find, this, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    updateMatches();
}

FlowOutputView::~FlowOutputView()
{
    // The reading first: what it still hands over would reach the models.
    delete m_input;
}

QWidget *FlowOutputView::createViews()
{
    m_views = new QStackedWidget(this);
    m_table = new QTableView(m_views);
    m_table->setObjectName(QStringLiteral("traceTable"));
    m_table->setAccessibleName(QStringLiteral("Packets"));
    m_table->setModel(m_tableProxy);
    m_table->setWordWrap(false);
    m_table->setShowGrid(false);
    QHeaderView *rows = m_table->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    setUpView(m_table, fontMetrics(), m_table->horizontalHeader());

    m_tree = new QTreeView(m_views);
    m_tree->setObjectName(QStringLiteral("sessionTree"));
    m_tree->setAccessibleName(QStringLiteral("Packets by Session"));
    m_tree->setModel(m_sessionProxy);
    m_tree->setUniformRowHeights(true);
    setUpView(m_tree, fontMetrics(), m_tree->header());

    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(m_table), static_cast<QAbstractItemView *>(m_tree)}) {
        view->installEventFilter(this);
        connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &FlowOutputView::showSelectedTrace);
        auto *copy = new QAction(QStringLiteral("Copy as Lines"), view);
        connect(copy, &QAction::triggered, this, &FlowOutputView::copySelected);
        view->addAction(copy);
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        m_links << BuilderLinks::install(view, [this](const QModelIndex &index) -> std::optional<ReaderForms> {
            const qlonglong trace = index.siblingAtColumn(0).data(FlowTableModel::traceRole).toLongLong();
            if (!index.isValid() || trace < 0)
                return std::nullopt;
            return ReaderForms::of(m_model->trace(trace));
        });
    }
    m_views->addWidget(m_table);
    m_views->addWidget(m_tree);
    return m_views;
}

QWidget *FlowOutputView::createDetailPanes()
{
    m_details = new QTabWidget(this);
    m_details->setObjectName(QStringLiteral("details"));
    m_details->setDocumentMode(true);
    auto *packet = new QSplitter(Qt::Horizontal, m_details);
    packet->setChildrenCollapsible(false);
    m_timeline = new QTextBrowser(packet);
    m_timeline->setObjectName(QStringLiteral("timeline"));
    m_timeline->setAccessibleName(QStringLiteral("Stages"));
    m_explanations = new QTextBrowser(packet);
    m_explanations->setObjectName(QStringLiteral("explanations"));
    m_explanations->setAccessibleName(QStringLiteral("What It Means"));
    packet->addWidget(m_timeline);
    packet->addWidget(m_explanations);
    packet->setStretchFactor(0, 3);
    packet->setStretchFactor(1, 2);
    m_details->addTab(packet, QStringLiteral("Packet"));
    m_linkButtons = new QStackedWidget(m_details);
    for (const BuilderLinks *links : std::as_const(m_links))
        m_linkButtons->addWidget(links->createButtons(m_linkButtons));
    m_details->setCornerWidget(m_linkButtons);

    m_warnings = new QListWidget(m_details);
    m_warnings->setObjectName(QStringLiteral("warnings"));
    m_warnings->setUniformItemSizes(true);
    m_warnings->setToolTip(QStringLiteral("Double-click or press Return to go to the packet at the line."));
    connect(m_warnings, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const qsizetype trace = m_model->traceAtLine(item->data(Qt::UserRole).toLongLong());
        if (trace >= 0) {
            selectTrace(trace);
            shownView()->setFocus(Qt::OtherFocusReason);
        }
    });
    m_details->addTab(m_warnings, QString());
    m_details->setTabVisible(1, false);
    // Shown with the packets, never beside the empty state.
    m_details->hide();
    return m_details;
}

void FlowOutputView::readFile(const QString &path)
{
    m_input->readFile(path);
}

bool FlowOutputView::isReading() const
{
    return m_input->isReading();
}

void FlowOutputView::startReading()
{
    if (!m_input->hasSource())
        return;
    m_input->cancel();
    m_model->clear();
    m_sessions->clear();
    m_warnings->clear();
    m_details->setTabVisible(1, false);
    m_timeline->clear();
    m_explanations->clear();
    m_input->showContent();
    m_details->show();
    m_input->setSummary(QStringLiteral("Reading %1\u2026").arg(m_input->sourceName()));
    m_input->start<Batch, Outcome>(
        readTraces, [this](Batch &&batch) { received(std::move(batch)); },
        [this](const Outcome &outcome) { finished(outcome); });
}

void FlowOutputView::received(Batch &&batch)
{
    m_input->setProgress(batch.bytesRead);
    if (!batch.traces.empty()) {
        const bool first = m_model->traceCount() == 0;
        m_model->append(std::move(batch.traces));
        if (first)
            fitColumns();
        m_sessions->update();
        m_input->setSummary(QStringLiteral("Reading %1\u2026 %2 packets")
                                .arg(m_input->sourceName(), QLocale().toString(m_model->traceCount())));
        updateMatches();
    }
    for (const FlowReader::Warning &warning : std::as_const(batch.warnings)) {
        auto *item = new QListWidgetItem(QStringLiteral("Line %1: %2").arg(warning.line).arg(warning.text));
        item->setData(Qt::UserRole, warning.line);
        m_warnings->addItem(item);
    }
    if (!batch.warnings.isEmpty()) {
        m_warnings->setAccessibleName(QStringLiteral("Warnings (%1)").arg(QLocale().toString(m_warnings->count())));
        m_details->setTabText(1, m_warnings->accessibleName());
        m_details->setTabVisible(1, true);
    }
}

void FlowOutputView::fitColumns()
{
    // To the first rows only (Qt measures those shown, and no more than a thousand); the last column
    // takes what is left.
    const int widest = fontMetrics().horizontalAdvance(QString(34, u'0'));
    for (int column = 0; column < FlowTableModel::natColumn; ++column) {
        m_table->resizeColumnToContents(column);
        int width = std::min(m_table->columnWidth(column), widest);
        // The first rows may hold no drop: room for the icon and the longest verdict in bold, so that
        // a later drop is never cut to "Drop...".
        if (column == FlowTableModel::verdictColumn) {
            QFont bold = QApplication::font();
            bold.setBold(true);
            width = std::max(width, QFontMetrics(bold).horizontalAdvance(QStringLiteral("Forwarded")) + 32 +
                                        style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_table));
        }
        m_table->setColumnWidth(column, width);
        // A session's title and the tree's indentation.
        if (column == 0)
            width = std::max(width, fontMetrics().horizontalAdvance(QStringLiteral("[FPM00] session 00000000")) +
                                        m_tree->indentation() + 24);
        m_tree->setColumnWidth(column, width);
    }
}

void FlowOutputView::finished(const Outcome &outcome)
{
    using Result = FlowReader::Result;
    if (!outcome.error.isEmpty()) {
        const QString what = QStringLiteral("Could not read %1").arg(m_input->sourceName());
        m_input->setSummary(QStringLiteral("%1: %2").arg(what, outcome.error));
        const QString path = m_input->source().path;
        Alert::open(this, QMessageBox::Warning, "readErrorAlert", what,
                    path.isEmpty() ? outcome.error
                                   : QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), outcome.error),
                    {{QMessageBox::Ok}});
    } else if (outcome.result.outcome == Result::Outcome::read) {
        const qint64 warnings = m_warnings->count();
        m_input->setSummary(warnings == 0
                                ? outcome.summaryLine
                                : QStringLiteral("%1 \u00b7 %2 %3")
                                      .arg(outcome.summaryLine, QLocale().toString(warnings),
                                           warnings == 1 ? QStringLiteral("warning") : QStringLiteral("warnings")));
    } else {
        m_input->setSummary(outcome.result.message);
    }
    if (m_model->traceCount() == 0) {
        m_input->showEmpty(QStringLiteral("No Packets"), m_input->summary());
        m_details->hide();
    }
    if (currentTrace() < 0 && m_model->traceCount() > 0)
        selectTrace(0);
    updateMatches();
}

void FlowOutputView::search()
{
    const qsizetype selected = currentTrace();
    m_tableProxy->setSearchText(m_search->text());
    m_sessionProxy->setSearchText(m_search->text());
    if (m_sessionProxy->isSearching())
        m_tree->expandAll();
    // The selected packet stays selected if the search still shows it.
    if (selected >= 0)
        selectTrace(selected);
    updateMatches();
}

void FlowOutputView::setGrouped(bool grouped)
{
    // The view left holds the selection: the button is already checked.
    const QModelIndex before = (grouped ? static_cast<QAbstractItemView *>(m_table) : m_tree)->currentIndex();
    const qsizetype selected = before.isValid() ? before.data(FlowTableModel::traceRole).toLongLong() : -1;
    m_views->setCurrentWidget(grouped ? static_cast<QWidget *>(m_tree) : m_table);
    m_linkButtons->setCurrentIndex(grouped ? 1 : 0);
    if (selected >= 0)
        selectTrace(selected);
    showSelectedTrace();
}

QAbstractItemView *FlowOutputView::shownView() const
{
    return m_group->isChecked() ? static_cast<QAbstractItemView *>(m_tree) : m_table;
}

qsizetype FlowOutputView::currentTrace() const
{
    const QModelIndex current = shownView()->currentIndex();
    return current.isValid() ? qsizetype(current.data(FlowTableModel::traceRole).toLongLong()) : -1;
}

void FlowOutputView::selectTrace(qsizetype trace)
{
    const QModelIndex index = m_group->isChecked() ? m_sessionProxy->mapFromSource(m_sessions->indexOfTrace(trace))
                                                   : m_tableProxy->mapFromSource(m_model->index(int(trace), 0));
    if (!index.isValid())
        return;
    QAbstractItemView *view = shownView();
    view->setCurrentIndex(index);
    view->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FlowOutputView::showSelectedTrace()
{
    const qsizetype trace = currentTrace();
    if (trace < 0) {
        m_timeline->clear();
        m_explanations->clear();
        return;
    }
    const FlowTrace &shown = m_model->trace(trace);
    m_timeline->setHtml(timelineHtml(shown, m_timeline->palette()));
    m_explanations->setHtml(explanationsHtml(shown));
}

void FlowOutputView::copySelected()
{
    QAbstractItemView *view = shownView();
    std::set<qsizetype> traces;
    for (const QModelIndex &row : view->selectionModel()->selectedRows()) {
        const qlonglong trace = row.data(FlowTableModel::traceRole).toLongLong();
        if (trace >= 0) {
            traces.insert(trace);
            continue;
        }
        // A session: the packets of it shown.
        for (int child = 0; child < view->model()->rowCount(row); ++child)
            traces.insert(view->model()->index(child, 0, row).data(FlowTableModel::traceRole).toLongLong());
    }
    QStringList lines;
    for (const qsizetype trace : traces)
        lines << FlowText::line(m_model->trace(trace));
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

void FlowOutputView::updateMatches()
{
    const bool searching = m_tableProxy->isSearching();
    m_matches->setVisible(searching);
    if (searching)
        m_matches->setText(
            QStringLiteral("%1 of %2")
                .arg(QLocale().toString(m_tableProxy->rowCount()), QLocale().toString(m_model->traceCount())));
}

bool FlowOutputView::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_table || watched == m_tree) &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        // Before the view's own copy of one cell: the terminal's lines of the rows.
        if (event->type() == QEvent::KeyPress)
            copySelected();
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
