#include "snifferoutputview.h"

#include "builderlinks.h"
#include "builders/formheader.h"
#include "common/alert.h"
#include "common/icons.h"
#include "common/style.h"
#include "common/textfiledialog.h"
#include "hexdump.h"
#include "packettablemodel.h"
#include "readerinput.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableView>
#include <QTabWidget>
#include <QTimer>
#include <QTimeZone>
#include <QVBoxLayout>

#include <memory>

namespace {

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(text);
    return button;
}

QString offsetText(int seconds)
{
    return QStringLiteral("UTC%1%2:%3")
        .arg(QChar(seconds < 0 ? u'\u2212' : u'+'))
        .arg(std::abs(seconds) / 3600, 2, 10, QLatin1Char('0'))
        .arg(std::abs(seconds) % 3600 / 60, 2, 10, QLatin1Char('0'));
}
} // namespace

SnifferOutputView::SnifferOutputView(QWidget *parent)
    : QWidget(parent)
    , m_input(new ReaderInput(
          this, {QStringLiteral("terminal"), QStringLiteral("No Sniffer Output"),
                 QStringLiteral("Paste (%1) or open what the FortiGate printed, or drop a log file here. Verbose 3 or "
                                "6 prints the bytes a capture needs."),
                 QStringLiteral("Open Sniffer Log"), QStringLiteral("noPackets")}))
    , m_model(new PacketTableModel(this))
    , m_table(new QTableView(this))
    , m_search(new QLineEdit(this))
    , m_matches(new QLabel(this))
    , m_dataOffset(CaptureWriter(CaptureWriter::Format::pcapng, {}).dataOffset())
    , m_wiresharkPath(QStandardPaths::findExecutable(QStringLiteral("wireshark")))
{
    setObjectName(QStringLiteral("snifferOutputView"));

    m_table->setObjectName(QStringLiteral("packetTable"));
    m_table->setAccessibleName(QStringLiteral("Packets"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    m_table->setShowGrid(false);
    m_table->setAlternatingRowColors(true);
    // Sizes fixed from the font, never measured from the rows: a million of them would take seconds.
    QHeaderView *rows = m_table->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView *columns = m_table->horizontalHeader();
    const auto width = [this](const QString &sample) { return fontMetrics().horizontalAdvance(sample) + 24; };
    columns->resizeSection(PacketTableModel::numberColumn, width(QStringLiteral("0000000")));
    columns->resizeSection(PacketTableModel::timeColumn, width(QStringLiteral("0000-00-00 00:00:00.000000")));
    columns->resizeSection(PacketTableModel::interfaceColumn, width(QStringLiteral("Interface00")));
    columns->resizeSection(PacketTableModel::directionColumn, width(QStringLiteral("Direction")));
    columns->resizeSection(PacketTableModel::headerColumn, width(QString(48, u'0')));
    columns->resizeSection(PacketTableModel::lengthColumn, width(QStringLiteral("Length 00000")));
    columns->setSectionResizeMode(PacketTableModel::headerColumn, QHeaderView::Stretch);
    m_input->setContent(m_table);

    m_search->setObjectName(QStringLiteral("search"));
    m_search->setPlaceholderText(QStringLiteral("Search packets"));
    m_search->setAccessibleName(QStringLiteral("Search packets"));
    m_search->setClearButtonEnabled(true);
    m_search->addAction(Icons::symbol(QStringLiteral("magnifyingglass")), QLineEdit::LeadingPosition);
    m_matches->setObjectName(QStringLiteral("matches"));
    Style::setSecondary(m_matches);
    // Each keystroke would scan every header: the search waits for a pause in the typing.
    auto *searchDelay = new QTimer(this);
    searchDelay->setSingleShot(true);
    searchDelay->setInterval(200);
    connect(m_search, &QLineEdit::textChanged, searchDelay, qOverload<>(&QTimer::start));
    connect(searchDelay, &QTimer::timeout, this, [this] {
        // The selected packet stays selected if the search still shows it.
        const QModelIndex current = m_table->currentIndex();
        const qsizetype selected = current.isValid() ? m_model->packetIndex(current.row()) : -1;
        m_model->setSearchText(m_search->text());
        if (const int row = selected < 0 ? -1 : m_model->rowOfPacket(selected); row >= 0) {
            m_table->setCurrentIndex(m_model->index(row, PacketTableModel::headerColumn));
            m_table->scrollTo(m_table->currentIndex(), QAbstractItemView::PositionAtCenter);
        }
        updateActions();
    });

    connect(m_input, &ReaderInput::sourceChanged, this, [this] {
        // Relative times start when the text was pasted, or where the log says.
        if (m_input->source().path.isEmpty())
            m_startMicros = QDateTime::currentMSecsSinceEpoch() * 1000;
        else
            m_startMicros.reset();
        startReading();
    });
    connect(m_input, &ReaderInput::cancelled, this, &SnifferOutputView::cancelled);
    connect(m_input, &ReaderInput::readingChanged, this, &SnifferOutputView::updateActions);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_matches);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_input->stack());
    splitter->addWidget(createDetailPanes());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    layout->addWidget(new FormHeader(
        QStringLiteral("Sniffer Output"),
        QStringLiteral("Read what `diagnose sniffer packet` printed into a capture file for Wireshark."), this));
    createButtons();
    layout->addWidget(m_input->bar());
    layout->addWidget(createTimeOptions());
    layout->addWidget(m_input->status());
    layout->addLayout(searchRow);
    layout->addWidget(splitter, 1);

    // Back to the builders from the selected packet, once its bytes are in the capture; the details show
    // them, so each change there is the time to ask again.
    BuilderLinks *links =
        BuilderLinks::install(m_table, [this](const QModelIndex &index) -> std::optional<ReaderForms> {
            const PacketTableModel::Row &row = m_model->packetAt(index.row());
            QFile capture(m_capture);
            SnifferPacket packet;
            packet.link = SnifferPacket::Link(row.link);
            if (m_capture.isEmpty() || !capture.open(QIODevice::ReadOnly) ||
                !capture.seek(row.blockOffset + m_dataOffset))
                return std::nullopt;
            packet.bytes = capture.read(row.captured);
            return ReaderForms::of(packet);
        });
    m_details->setCornerWidget(links->createButtons(m_details));
    connect(m_bytes, &QPlainTextEdit::textChanged, links, &BuilderLinks::update);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SnifferOutputView::showSelectedPacket);
    connect(m_model, &QAbstractItemModel::modelReset, this, &SnifferOutputView::showSelectedPacket);
    addShortcuts();
    updateActions();
}

SnifferOutputView::~SnifferOutputView()
{
    // The reading first: it writes the capture removed here.
    delete m_input;
    removeCapture();
}

void SnifferOutputView::createButtons()
{
    m_save = button(QStringLiteral("saveCapture"), QStringLiteral("Save Capture\u2026"), m_input->bar());
    connect(m_save, &QPushButton::clicked, this, &SnifferOutputView::saveCapture);
    m_wireshark = button(QStringLiteral("openInWireshark"), QStringLiteral("Open in Wireshark"), m_input->bar());
    connect(m_wireshark, &QPushButton::clicked, this, &SnifferOutputView::openInWireshark);
    m_input->addButton(m_save);
    m_input->addButton(m_wireshark);
}

QWidget *SnifferOutputView::createTimeOptions()
{
    auto *options = new QWidget(this);
    auto *row = new QHBoxLayout(options);
    row->setContentsMargins(0, 0, 0, 0);
    const auto labelled = [&](const QString &text, QWidget *control) {
        auto *label = new QLabel(text, options);
        label->setBuddy(control);
        control->setAccessibleName(text);
        row->addWidget(label);
        row->addWidget(control);
    };

    m_start = new QDateTimeEdit(options);
    m_start->setObjectName(QStringLiteral("relativeStart"));
    m_start->setTimeSpec(Qt::UTC);
    m_start->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    m_start->setDateTime(QDateTime::currentDateTimeUtc());
    m_start->setToolTip(QStringLiteral("The instant a capture printed with relative times began: by default when a "
                                       "log file was last written less its last time, or when the text was pasted."));
    labelled(QStringLiteral("Relative times start at (UTC):"), m_start);
    connect(m_start, &QDateTimeEdit::editingFinished, this, [this] {
        const qint64 micros = m_start->dateTime().toMSecsSinceEpoch() * 1000;
        if (m_startMicros && micros / 1000 == *m_startMicros / 1000)
            return;
        m_startMicros = micros;
        startReading();
    });
    row->addSpacing(16);

    m_offset = new QComboBox(options);
    m_offset->setObjectName(QStringLiteral("utcOffset"));
    const int here = QDateTime::currentDateTime().offsetFromUtc();
    m_offset->addItem(QStringLiteral("This computer's zone (%1)").arg(offsetText(here)));
    for (int seconds = -12 * 3600; seconds <= 14 * 3600; seconds += 15 * 60)
        m_offset->addItem(offsetText(seconds), seconds);
    m_offset->setToolTip(QStringLiteral("Where the appliance prints its local time (timestamps 'l'), how far it "
                                        "is from UTC."));
    labelled(QStringLiteral("Appliance's UTC offset:"), m_offset);
    connect(m_offset, &QComboBox::currentIndexChanged, this, &SnifferOutputView::startReading);
    row->addStretch(1);
    return options;
}

QWidget *SnifferOutputView::createDetailPanes()
{
    // Tabs, so that either has the whole width: a line of the dump is 75 characters.
    m_details = new QTabWidget(this);
    m_details->setObjectName(QStringLiteral("details"));
    m_details->setDocumentMode(true);
    m_bytes = new QPlainTextEdit(m_details);
    m_bytes->setObjectName(QStringLiteral("packetBytes"));
    m_bytes->setAccessibleName(QStringLiteral("Packet Bytes"));
    m_bytes->setReadOnly(true);
    m_bytes->setLineWrapMode(QPlainTextEdit::NoWrap);
    Style::setMonospaced(m_bytes);
    m_details->addTab(m_bytes, m_bytes->accessibleName());

    m_warnings = new QListWidget(m_details);
    m_warnings->setObjectName(QStringLiteral("warnings"));
    m_warnings->setUniformItemSizes(true);
    m_warnings->setToolTip(QStringLiteral("Double-click or press Return to go to the packet at the line."));
    connect(m_warnings, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showPacketAtLine(item->data(Qt::UserRole).toLongLong()); });
    m_details->addTab(m_warnings, QString());
    m_details->setTabVisible(1, false);
    // Shown with the table, never beside the empty state.
    m_details->hide();
    return m_details;
}

void SnifferOutputView::addShortcuts()
{
    // In the whole window while the view is shown, after a text field's own.
    const auto add = [this](const QKeySequence &keys, auto slot) { return new QShortcut(keys, this, this, slot); };
    add(QKeySequence::Save, [this] {
        if (m_save->isEnabled())
            saveCapture();
    });
    add(QKeySequence::Find, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
}

void SnifferOutputView::readFile(const QString &path)
{
    m_input->readFile(path);
}

bool SnifferOutputView::isReading() const
{
    return m_input->isReading();
}

void SnifferOutputView::startReading()
{
    if (!m_input->hasSource())
        return;
    m_input->cancel();
    removeCapture();
    m_model->clear();
    m_warnings->clear();
    m_details->setTabVisible(1, false);
    m_bytes->clear();
    m_input->showContent();
    m_details->show();
    m_input->setSummary(QStringLiteral("Reading %1\u2026").arg(m_input->sourceName()));
    m_reading = newCapturePath();

    using Deliver = std::function<void(SnifferReading::Batch &&)>;
    m_input->start<SnifferReading::Batch, SnifferReading::Outcome>(
        [settings = settings(), path = m_reading](const ReaderInput::Source &source,
                                                  const BackgroundWork::Progress &progress, const Deliver &deliver) {
            SnifferReading::Outcome outcome = SnifferReading::read(source, settings, path, progress, deliver);
            // Cancelled as it ended: nothing will take the capture.
            if (progress.cancelled())
                QFile::remove(path);
            return outcome;
        },
        [this](SnifferReading::Batch &&batch) { received(std::move(batch)); },
        [this](const SnifferReading::Outcome &outcome) { finished(outcome); });
}

void SnifferOutputView::cancelled()
{
    m_reading.clear();
    m_input->setSummary(QStringLiteral("Reading cancelled after %1 packets; no capture was written.")
                            .arg(QLocale().toString(m_model->packetCount())));
}

void SnifferOutputView::received(SnifferReading::Batch &&batch)
{
    m_input->setProgress(batch.bytesRead);
    if (!batch.packets.rows.empty()) {
        m_model->append(std::move(batch.packets));
        m_input->setSummary(QStringLiteral("Reading %1\u2026 %2 packets")
                                .arg(m_input->sourceName(), QLocale().toString(m_model->packetCount())));
    }
    for (const SnifferReader::Warning &warning : std::as_const(batch.warnings)) {
        auto *item = new QListWidgetItem(QStringLiteral("Line %1: %2").arg(warning.line).arg(warning.text));
        item->setData(Qt::UserRole, warning.line);
        m_warnings->addItem(item);
    }
    if (!batch.warnings.isEmpty()) {
        m_warnings->setAccessibleName(QStringLiteral("Warnings (%1)").arg(QLocale().toString(m_warnings->count())));
        m_details->setTabText(1, m_warnings->accessibleName());
        m_details->setTabVisible(1, true);
    }
    updateActions();
}

void SnifferOutputView::finished(const SnifferReading::Outcome &outcome)
{
    using Outcome = SnifferCapture::Result::Outcome;
    const SnifferCapture::Result &result = outcome.result;
    m_startMicros = outcome.startMicros;
    m_start->setDateTime(QDateTime::fromMSecsSinceEpoch(outcome.startMicros / 1000, QTimeZone::utc()));
    m_readSettings = settings();
    // Only what the printed times depend on is offered: a relative time's start, a local time's zone.
    m_start->setEnabled(result.summary.timeForm != SnifferReader::TimeForm::absolute);
    m_offset->setEnabled(result.summary.timeForm != SnifferReader::TimeForm::relative &&
                         result.summary.timestampLetter != 'a');
    if (result.outcome == Outcome::written)
        m_capture = m_reading;
    m_reading.clear();
    if (!outcome.error.isEmpty()) {
        const bool reading = result.outcome == Outcome::readFailed;
        const QString what = reading ? QStringLiteral("Could not read %1").arg(m_input->sourceName())
                                     : QStringLiteral("Could not write the capture");
        m_input->setSummary(QStringLiteral("%1: %2").arg(what, outcome.error));
        const QString path = m_input->source().path;
        Alert::open(this, QMessageBox::Warning, reading ? "readErrorAlert" : "captureErrorAlert", what,
                    reading && !path.isEmpty()
                        ? QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), outcome.error)
                        : outcome.error,
                    {{QMessageBox::Ok}});
    } else {
        m_input->setSummary(result.outcome == Outcome::written || result.message.isEmpty()
                                ? SnifferCapture::summaryLine(result)
                                : result.message);
    }
    if (m_model->packetCount() == 0) {
        m_input->showEmpty(QStringLiteral("No Packets"), m_input->summary());
        m_details->hide();
    }
    if (!m_table->currentIndex().isValid() && m_model->rowCount() > 0)
        m_table->setCurrentIndex(m_model->index(0, PacketTableModel::headerColumn));
    showSelectedPacket();
    updateActions();
}

void SnifferOutputView::showSelectedPacket()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) {
        m_bytes->clear();
        return;
    }
    const PacketTableModel::Row &packet = m_model->packetAt(current.row());
    const QString note = m_model->noteAt(current.row());
    QString text;
    if (m_capture.isEmpty()) {
        text = isReading() ? QStringLiteral("The bytes show once the reading has ended.")
                           : QStringLiteral("No capture was written, so the bytes are not at hand.");
    } else {
        // Read back from the capture: the table keeps no packet's bytes.
        QFile capture(m_capture);
        QByteArray bytes;
        if (capture.open(QIODevice::ReadOnly) && capture.seek(packet.blockOffset + m_dataOffset))
            bytes = capture.read(packet.captured);
        text = bytes.size() == packet.captured
                   ? HexDump::text(bytes)
                   : QStringLiteral("Could not read the bytes from the capture: %1").arg(capture.errorString());
    }
    if (!note.isEmpty())
        text += QStringLiteral("\n\n") + note;
    m_bytes->setPlainText(text);
}

void SnifferOutputView::showPacketAtLine(qint64 line)
{
    const int row = m_model->rowOfLine(line);
    if (row < 0)
        return;
    m_table->setCurrentIndex(m_model->index(row, PacketTableModel::headerColumn));
    m_table->scrollTo(m_table->currentIndex(), QAbstractItemView::PositionAtCenter);
    m_table->setFocus(Qt::OtherFocusReason);
}

void SnifferOutputView::saveCapture()
{
    const QString input = m_input->source().path;
    const QString base = input.isEmpty() ? QStringLiteral("sniffer-output") : QFileInfo(input).completeBaseName();
    const QString path =
        TextFileDialog::askSavePath(window(), QStringLiteral("Save Capture"), base + QStringLiteral(".pcapng"),
                                    QStringLiteral("pcapng capture (*.pcapng);;pcap capture (*.pcap)"));
    if (path.isEmpty())
        return;
    SnifferCapture::Settings settings = m_readSettings;
    settings.format = QFileInfo(path).suffix().compare(u"pcap", Qt::CaseInsensitive) == 0
                          ? CaptureWriter::Format::pcap
                          : CaptureWriter::Format::pcapng;
    auto error = std::make_shared<QString>();
    const auto work = [capture = m_capture, input = m_input->source(), settings, path,
                       error](const BackgroundWork::Progress &progress) {
        *error = SnifferReading::save(capture, input, settings, path, progress);
    };
    BackgroundWork::run(window(), QStringLiteral("Saving %1\u2026").arg(QFileInfo(path).fileName()), work,
                        [this, path, error] { TextFileDialog::finishSave(window(), path, *error); });
}

void SnifferOutputView::openInWireshark()
{
    QProcess wireshark;
    wireshark.setProgram(m_wiresharkPath);
    wireshark.setArguments({m_capture});
    if (!wireshark.startDetached())
        Alert::open(this, QMessageBox::Warning, "wiresharkErrorAlert", QStringLiteral("Could not start Wireshark"),
                    QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_wiresharkPath), wireshark.errorString()),
                    {{QMessageBox::Ok}});
}

void SnifferOutputView::updateActions()
{
    const bool reading = isReading();
    m_save->setEnabled(!reading && !m_capture.isEmpty());
    m_wireshark->setEnabled(!reading && !m_capture.isEmpty() && !m_wiresharkPath.isEmpty());
    m_wireshark->setToolTip(m_wiresharkPath.isEmpty()
                                ? QStringLiteral("Wireshark is not installed, or not on the PATH.")
                            : m_capture.isEmpty() ? QStringLiteral("Read sniffer output with packet bytes first.")
                                                  : QStringLiteral("Opens the capture in %1.").arg(m_wiresharkPath));
    const bool searching = !m_search->text().trimmed().isEmpty();
    m_matches->setVisible(searching);
    if (searching)
        m_matches->setText(
            QStringLiteral("%1 of %2")
                .arg(QLocale().toString(m_model->rowCount()), QLocale().toString(m_model->packetCount())));
}

void SnifferOutputView::removeCapture()
{
    if (!m_capture.isEmpty())
        QFile::remove(m_capture);
    m_capture.clear();
}

SnifferCapture::Settings SnifferOutputView::settings() const
{
    SnifferCapture::Settings settings;
    settings.reader.startMicros = m_startMicros;
    if (const QVariant offset = m_offset->currentData(); offset.isValid())
        settings.reader.utcOffsetSeconds = offset.toInt();
    return settings;
}

QString SnifferOutputView::newCapturePath()
{
    static int serial = 0;
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/captures"));
    const QString mine = QStringLiteral("sniffer-%1-").arg(QCoreApplication::applicationPid());
    // One instance runs at a time: captures of another process are left from one that did not end well.
    if (serial == 0) {
        for (const QString &name : folder.entryList({QStringLiteral("sniffer-*")}, QDir::Files)) {
            if (!name.startsWith(mine))
                QFile::remove(folder.filePath(name));
        }
    }
    // Its failure shows when the capture is written there.
    QDir().mkpath(folder.path());
    return folder.filePath(mine + QString::number(++serial) + QStringLiteral(".pcapng"));
}
