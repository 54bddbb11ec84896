#include "snifferview.h"

#include "bpfbuilderview.h"
#include "common/copybutton.h"
#include "common/icons.h"
#include "common/style.h"
#include "filtercheckview.h"
#include "formgrid.h"
#include "interfacepresetsmenu.h"
#include "manageinterfacesdialog.h"
#include "model/interfacestore.h"
#include "multilineedit.h"
#include "saveinterfacedialog.h"
#include "singlelineedit.h"
#include "text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QColor orange(0xff, 0x95, 0x00);

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}
} // namespace

SnifferView::SnifferView(CommandStore &store, SettingsStorage &settings, QWidget *parent)
    : FormView(DebugCategory::sniffer, store, parent)
    , m_interfaces(new InterfaceStore(settings, this))
{
    m_interfaces->load();

    addHeader(QStringLiteral("Sniffer"),
              QStringLiteral("Build a `diagnose sniffer packet` capture. Uses tcpdump-style BPF filters."));
    addBlock(createOffloadReminder());
    addInterfaceGroup();
    addFilterGroup();

    // Holds the builder while the custom filter is in use; the builder itself is made anew each time.
    m_bpfGroup = new QGroupBox(QStringLiteral("BPF Builder"));
    m_bpfGroup->setObjectName(QStringLiteral("bpfBuilderGroup"));
    auto *bpfLayout = new QVBoxLayout(m_bpfGroup);
    bpfLayout->setContentsMargins(10, 10, 10, 10);
    addBlock(m_bpfGroup);

    addOutputGroup();
    addPreviewGroup();
    refresh();
}

QWidget *SnifferView::createOffloadReminder()
{
    auto *box = new QFrame;
    box->setObjectName(QStringLiteral("offloadReminder"));
    box->setStyleSheet(QStringLiteral("QFrame#offloadReminder { background: rgba(255, 149, 0, 20); "
                                      "border: 1px solid rgba(255, 149, 0, 89); border-radius: 8px; }"
                                      "QLabel#offloadSnippet { background: palette(base); "
                                      "border: 1px solid palette(mid); border-radius: 6px; padding: 8px; }"));

    auto *icon = new QLabel(box);
    icon->setObjectName(QStringLiteral("offloadIcon"));
    icon->setPixmap(
        Icons::tinted(QStringLiteral("exclamationmark.triangle.fill"), orange, 20, box->devicePixelRatioF()));

    QLabel *headline = plainLabel(QStringLiteral("Reminder \u2014 disable ASIC / NPU offload to see all packets"), box);
    headline->setObjectName(QStringLiteral("offloadHeadline"));
    Style::setHeadline(headline);

    QLabel *explanation = plainLabel(
        QStringLiteral("On offload-capable FortiGates, hardware-accelerated sessions bypass the CPU sniffer after "
                       "the first packets. Disable offload on the policy you're troubleshooting (and re-create the "
                       "session) before you start capturing:"),
        box);
    explanation->setObjectName(QStringLiteral("offloadExplanation"));
    Style::setCallout(explanation);
    Style::setSecondary(explanation);

    const QString snippet = SnifferForm::offloadDisableSnippet.toString();
    QLabel *snippetLabel = plainLabel(snippet, box);
    snippetLabel->setObjectName(QStringLiteral("offloadSnippet"));
    snippetLabel->setWordWrap(false);
    snippetLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Style::setMonospaced(snippetLabel);
    Style::setCallout(snippetLabel);

    auto *copy = new CopyButton(QStringLiteral("Copy Offload-Disable Snippet"), box);
    copy->setObjectName(QStringLiteral("copyOffload"));
    copy->setSource([snippet] { return snippet; });
    QLabel *reminder = plainLabel(QStringLiteral("Don't forget to re-enable offload when you're done."), box);
    reminder->setObjectName(QStringLiteral("offloadReenable"));
    Style::setCaption(reminder);
    Style::setSecondary(reminder);
    auto *copyRow = new QHBoxLayout;
    copyRow->setSpacing(8);
    copyRow->addWidget(copy);
    copyRow->addWidget(reminder, 1);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(headline);
    text->addWidget(explanation);
    text->addWidget(snippetLabel);
    text->addLayout(copyRow);

    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    return box;
}

void SnifferView::addInterfaceGroup()
{
    FormGrid *grid = addGrid(QStringLiteral("Interface"));
    grid->setObjectName(QStringLiteral("interfaceGroup"));
    m_interface = grid->addText(QStringLiteral("interface"), QStringLiteral("Interface:"),
                                QStringLiteral("e.g. any, port1, wan1, vlan-100"), m_form.interface);

    auto *presets = new QPushButton(QStringLiteral("Presets"), grid);
    presets->setObjectName(QStringLiteral("interfacePresets"));
    presets->setAccessibleName(QStringLiteral("Presets"));
    presets->setFixedWidth(110);
    m_presetsMenu = new InterfacePresetsMenu(*m_interfaces, presets);
    presets->setMenu(m_presetsMenu);
    grid->addTrailing(m_interface, presets);

    connect(m_presetsMenu, &InterfacePresetsMenu::interfaceChosen, m_interface, &QLineEdit::setText);
    connect(m_presetsMenu, &InterfacePresetsMenu::saveCurrentRequested, this,
            [this] { openSaveInterfaceSheet(m_form.interface); });
    connect(m_presetsMenu, &InterfacePresetsMenu::addRequested, this, [this] { openSaveInterfaceSheet(QString()); });
    connect(m_presetsMenu, &InterfacePresetsMenu::manageRequested, this, &SnifferView::openManageInterfacesSheet);
}

void SnifferView::addFilterGroup()
{
    m_filter = addGrid(QStringLiteral("Filter"));
    m_filter->setObjectName(QStringLiteral("filterGroup"));
    m_filter->setRowSpacing(10);

    auto *useCustom = new QCheckBox(QStringLiteral("Use custom BPF filter expression"), m_filter);
    useCustom->setObjectName(QStringLiteral("useCustomFilter"));
    useCustom->setChecked(m_form.useCustomFilter);
    connect(useCustom, &QCheckBox::toggled, this, [this](bool on) {
        m_form.useCustomFilter = on;
        refresh();
    });
    m_filter->addWide(useCustom, Qt::AlignLeft);

    m_customFilter = new MultiLineEdit(2, 5, m_filter);
    m_customFilter->setObjectName(QStringLiteral("customFilter"));
    m_customFilter->setPlaceholderText(QStringLiteral("e.g. host 10.0.0.1 and (port 80 or port 443)"));
    m_customFilter->setAccessibleName(QStringLiteral("Custom BPF filter expression"));
    m_customFilter->setText(m_form.customFilter);
    connect(m_customFilter, &QPlainTextEdit::textChanged, this, [this] {
        m_form.customFilter = m_customFilter->text();
        refresh();
    });
    m_filter->addWide(m_customFilter);

    QComboBox *proto = m_filter->addPicker(QStringLiteral("proto"), QStringLiteral("Protocol:"), m_form.proto, 140);
    QLineEdit *host = m_filter->addText(QStringLiteral("host"), QStringLiteral("Host:"),
                                        QStringLiteral("IP, e.g. 10.0.0.1"), m_form.host);
    m_filter->addTrailingPicker(host, QStringLiteral("hostMode"), QStringLiteral("Host direction"), m_form.hostMode,
                                160);
    QLineEdit *network = m_filter->addText(QStringLiteral("network"), QStringLiteral("Network (CIDR):"),
                                           QStringLiteral("e.g. 10.0.0.0/24"), m_form.network);
    m_filter->addTrailingPicker(network, QStringLiteral("networkMode"), QStringLiteral("Network direction"),
                                m_form.networkMode, 160);
    QLineEdit *ports = m_filter->addText(QStringLiteral("portList"), QStringLiteral("Port(s):"),
                                         QStringLiteral("single or comma-separated, e.g. 80,443"), m_form.portList);
    m_filter->addTrailingPicker(ports, QStringLiteral("portMode"), QStringLiteral("Port direction"), m_form.portMode,
                                160);
    m_simpleRows = {proto, host, network, ports};
}

void SnifferView::addOutputGroup()
{
    FormGrid *grid = addGrid(QStringLiteral("Output Options"));
    grid->setObjectName(QStringLiteral("outputGroup"));
    QStringList levels;
    for (VerboseLevel level : Enum::allCases<VerboseLevel>())
        levels << SnifferForm::label(level);
    grid->addPicker(QStringLiteral("verbose"), QStringLiteral("Verbose level:"), m_form.verbose, levels, 0);

    QLineEdit *count = grid->addText(QStringLiteral("count"), QStringLiteral("Packet count:"),
                                     QStringLiteral("blank or 0 = unlimited"), m_form.count);
    count->setFixedWidth(220);
    grid->layout()->setAlignment(count, Qt::AlignLeft | Qt::AlignVCenter);

    grid->addPicker(QStringLiteral("timestamp"), QStringLiteral("Timestamps:"), m_form.timestamp, 220);
}

void SnifferView::addPreviewGroup()
{
    m_previewGroup = new QGroupBox(QStringLiteral("Filter Preview"));
    m_previewGroup->setObjectName(QStringLiteral("filterPreviewGroup"));
    m_preview = plainLabel(QString(), m_previewGroup);
    m_preview->setObjectName(QStringLiteral("filterPreview"));
    m_preview->setAccessibleName(QStringLiteral("Filter Preview"));
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Style::setMonospaced(m_preview);
    m_check = new FilterCheckView(m_previewGroup);

    auto *layout = new QVBoxLayout(m_previewGroup);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(m_preview);
    layout->addWidget(m_check);
    addBlock(m_previewGroup);
}

void SnifferView::openSaveInterfaceSheet(const QString &name, QWidget *parent)
{
    auto *sheet = new SaveInterfaceDialog(name, parent ? parent : this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::accepted, this, [this, sheet] {
        // A blank or already saved name closes the sheet and changes nothing.
        if (m_interfaces->add(sheet->name()))
            m_interface->setText(Text::trimmed(sheet->name()));
    });
    sheet->open();
}

void SnifferView::openManageInterfacesSheet()
{
    auto *sheet = new ManageInterfacesDialog(*m_interfaces, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &ManageInterfacesDialog::addRequested, this,
            [this, sheet] { openSaveInterfaceSheet(QString(), sheet); });
    sheet->open();
}

void SnifferView::customFilterWritten()
{
    // Setting the field's text runs its own change handler, which refreshes.
    if (m_customFilter->text() != m_form.customFilter)
        m_customFilter->setText(m_form.customFilter);
    else
        refresh();
}

void SnifferView::formChanged()
{
    const bool custom = m_form.useCustomFilter;
    m_filter->setRowVisible(m_customFilter, custom);
    for (QWidget *row : std::as_const(m_simpleRows))
        m_filter->setRowVisible(row, !custom);
    if (custom && !m_bpf) {
        m_bpf = new BPFBuilderView(
            m_form.customFilter, [this] { customFilterWritten(); }, m_bpfGroup);
        m_bpfGroup->layout()->addWidget(m_bpf);
    } else if (!custom && m_bpf) {
        delete m_bpf;
        m_bpf = nullptr;
    }
    m_bpfGroup->setVisible(custom);

    const QString expression = m_form.filterExpression();
    m_preview->setText(expression);
    m_previewGroup->setVisible(!expression.isEmpty());
    m_check->setFilter(expression);
    m_presetsMenu->setSaveCurrentEnabled(Text::isNonBlank(m_form.interface));
}
