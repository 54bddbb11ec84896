#include "snifferview.h"

#include "bpfbuilderview.h"
#include "common/style.h"
#include "filtercheckview.h"
#include "formcolumn.h"
#include "formgrid.h"
#include "interfacepresetsmenu.h"
#include "manageinterfacesdialog.h"
#include "model/interfacestore.h"
#include "multilineedit.h"
#include "offloadreminder.h"
#include "readoutputrow.h"
#include "saveinterfacedialog.h"
#include "singlelineedit.h"
#include "text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

SnifferView::SnifferView(CommandStore &store, InterfaceStore &interfaces, QWidget *parent)
    : FormView(DebugCategory::sniffer, store, parent)
    , m_interfaces(interfaces)
{
    addHeader(QStringLiteral("Sniffer"),
              QStringLiteral("Build a `diagnose sniffer packet` capture. Uses tcpdump-style BPF filters."));
    addBlock(new OffloadReminder);
    addInterfaceGroup();
    addFilterGroup();
    m_bpfPlace = new QWidget;
    auto *place = new QVBoxLayout(m_bpfPlace);
    place->setContentsMargins(0, 0, 0, 0);
    addBlock(m_bpfPlace);
    addOutputGroup();
    addPreviewGroup();
    // Measured once per run: a builder made only to read its labels is not made at every visit.
    static const int builderLabels = [] {
        QString scratch;
        return widestLabel(std::make_unique<BPFBuilderView>(scratch, std::function<void(bool)>{}).get());
    }();
    reserveLabelColumn(builderLabels);
    refresh();
}

void SnifferView::addInterfaceGroup()
{
    FormGrid *grid = addGrid(QStringLiteral("Interface"));
    grid->setObjectName(QStringLiteral("interfaceGroup"));
    m_interface = grid->addText(field(&SnifferForm::interface), QStringLiteral("Interface:"),
                                QStringLiteral("e.g. any, port1, wan1, vlan-100"));

    auto *presets = new QPushButton(QStringLiteral("Presets"), grid);
    presets->setObjectName(QStringLiteral("interfacePresets"));
    presets->setAccessibleName(QStringLiteral("Presets"));
    presets->setFixedWidth(110);
    m_presetsMenu = new InterfacePresetsMenu(m_interfaces, presets);
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
    m_filter->addCheck(field(&SnifferForm::useCustomFilter), QStringLiteral("Use custom BPF filter expression"));
    m_customFilter =
        m_filter->addMultiLineText(field(&SnifferForm::customFilter), QStringLiteral("Custom BPF filter expression"),
                                   QStringLiteral("e.g. host 10.0.0.1 and (port 80 or port 443)"), 2, 5);

    QWidget *proto = m_filter->addPicker(field(&SnifferForm::proto), QStringLiteral("Protocol:"), 140);
    QWidget *host =
        m_filter->addText(field(&SnifferForm::host), QStringLiteral("Host:"), QStringLiteral("IP, e.g. 10.0.0.1"));
    m_filter->addTrailingPicker(host, field(&SnifferForm::hostMode), QStringLiteral("Host direction"), 160);
    QWidget *network = m_filter->addText(field(&SnifferForm::network), QStringLiteral("Network (CIDR):"),
                                         QStringLiteral("e.g. 10.0.0.0/24"));
    m_filter->addTrailingPicker(network, field(&SnifferForm::networkMode), QStringLiteral("Network direction"), 160);
    QWidget *ports =
        m_filter->addText(field(&SnifferForm::portList), QStringLiteral("Port(s):"), QStringLiteral("e.g. 80,443"));
    m_filter->addTrailingPicker(ports, field(&SnifferForm::portMode), QStringLiteral("Port direction"), 160);
    m_simpleRows = {proto, host, network, ports};
    // Right under the rows whose filter it judges, the simple rows' or the custom field.
    m_check = new FilterCheckView(m_filter);
    m_filter->addWide(m_check);
}

void SnifferView::addOutputGroup()
{
    FormGrid *grid = addGrid(QStringLiteral("Output Options"));
    grid->setObjectName(QStringLiteral("outputGroup"));
    QStringList levels;
    for (VerboseLevel level : Enum::allCases<VerboseLevel>())
        levels << SnifferForm::label(level);
    grid->addPicker(field(&SnifferForm::verbose), QStringLiteral("Verbose level:"), levels, 0);
    grid->addText(field(&SnifferForm::count), QStringLiteral("Packet count:"), QStringLiteral("blank or 0 = unlimited"),
                  220);
    grid->addPicker(field(&SnifferForm::timestamp), QStringLiteral("Timestamps:"), 220);

    auto *readRow = new ReadOutputRow(
        QStringLiteral("readSnifferOutput"), QStringLiteral("Read Sniffer Output"),
        QStringLiteral("Turns what the FortiGate printed at verbose 3 or 6 into a capture file for Wireshark."), grid);
    connect(readRow->button(), &QPushButton::clicked, this, &SnifferView::readOutputRequested);
    grid->addWide(readRow);
}

void SnifferView::addPreviewGroup()
{
    m_previewGroup = new FormColumn(QStringLiteral("Filter Preview"), changeHandler(), 8);
    m_previewGroup->setObjectName(QStringLiteral("filterPreviewGroup"));
    m_preview = new QLabel(m_previewGroup);
    m_preview->setObjectName(QStringLiteral("filterPreview"));
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setWordWrap(true);
    m_preview->setAccessibleName(QStringLiteral("Filter Preview"));
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Style::setMonospaced(m_preview);
    m_previewGroup->addBlock(m_preview);
    addBlock(m_previewGroup);
}

void SnifferView::openSaveInterfaceSheet(const QString &name, QWidget *parent)
{
    auto *sheet = new SaveInterfaceDialog(name, parent ? parent : this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::accepted, this, [this, sheet] {
        // A blank or already saved name closes the sheet and changes nothing.
        if (m_interfaces.add(sheet->name()))
            m_interface->setText(Text::trimmed(sheet->name()));
    });
    sheet->open();
}

void SnifferView::openManageInterfacesSheet()
{
    auto *sheet = new ManageInterfacesDialog(m_interfaces, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &ManageInterfacesDialog::addRequested, this,
            [this, sheet] { openSaveInterfaceSheet(QString(), sheet); });
    sheet->open();
}

void SnifferView::customFilterWritten(bool typeOn)
{
    // Setting the field's text runs its own change handler, which refreshes.
    if (m_customFilter->text() != m_form.customFilter)
        m_customFilter->setText(m_form.customFilter);
    else
        refresh();
    if (!typeOn)
        return;
    // The user goes on typing where the builder wrote.
    m_customFilter->setFocus(Qt::OtherFocusReason);
    m_customFilter->moveCursor(QTextCursor::End);
}

void SnifferView::formChanged()
{
    const bool custom = m_form.useCustomFilter;
    m_filter->setRowVisible(m_customFilter, custom);
    for (QWidget *row : std::as_const(m_simpleRows))
        m_filter->setRowVisible(row, !custom);
    if (custom && !m_bpf) {
        m_bpf = new BPFBuilderView(
            m_form.customFilter, [this](bool typeOn) { customFilterWritten(typeOn); }, m_bpfPlace);
        m_bpfPlace->layout()->addWidget(m_bpf);
        controlsAdded();
    } else if (!custom && m_bpf) {
        delete m_bpf;
        m_bpf = nullptr;
    }
    m_bpfPlace->setVisible(custom);

    const QString expression = m_form.filterExpression();
    // Always in its place, so that nothing below it moves: "none" is what the command then says.
    m_preview->setText(expression.isEmpty() ? QStringLiteral("none") : expression);
    m_check->setFilter(expression);
    m_presetsMenu->setSaveCurrentEnabled(Text::isNonBlank(m_form.interface));
}
