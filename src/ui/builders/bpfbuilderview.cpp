#include "bpfbuilderview.h"

#include "advicemark.h"
#include "common/flowlayout.h"
#include "common/icons.h"
#include "common/style.h"
#include "formgrid.h"
#include "segmentedpicker.h"
#include "singlelineedit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
using Form = BPFBuilderForm;
}

BPFBuilderView::BPFBuilderView(QString &filter, std::function<void(bool)> written, QWidget *parent)
    : FormColumn(
          QStringLiteral("BPF Builder"), [this] { updateState(); }, 10, parent)
    , m_filter(filter)
    , m_written(std::move(written))
{
    setObjectName(QStringLiteral("bpfBuilder"));
    Style::setSecondary(addCaption(QStringLiteral("Presets \u2014 click to append")));
    addBlock(createPresetRow());
    addDivider();
    m_grid = addGrid();
    m_grid->setObjectName(QStringLiteral("snippetGrid"));
    m_grid->setRowSpacing(10);
    addParameterRows();
    addDivider();
    addCheckRow({field(&Form::negate), field(&Form::wrapInParens)},
                {QStringLiteral("Negate (NOT)"), QStringLiteral("Wrap in parens")});
    addBlock(createActionRow());

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("snippetPreview"));
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_preview->setWordWrap(true);
    Style::setMonospaced(m_preview);
    Style::setCallout(m_preview);
    Style::setSecondary(m_preview);
    Style::keepPlaceWhenHidden(m_preview);
    addBlock(m_preview);
    updateState();
}

QWidget *BPFBuilderView::createPresetRow()
{
    auto *row = new QWidget(this);
    row->setObjectName(QStringLiteral("presets"));
    auto *layout = new FlowLayout(row, 6);
    for (Preset preset : Enum::allCases<Preset>()) {
        // Tool buttons: bordered, but only as wide as their titles, so the nine fit in one row.
        auto *button = new QToolButton(row);
        button->setText(Form::title(preset));
        button->setObjectName(Enum::caseName(preset));
        button->setToolTip(Form::expression(preset));
        Style::setCaption(button);
        connect(button, &QToolButton::clicked, this, [this, preset] { addPreset(preset); });
        layout->addWidget(button);
    }
    return row;
}

void BPFBuilderView::addParameterRows()
{
    FormGrid *grid = m_grid;
    const auto direction = [grid](auto field) { return grid->addPicker(field, QStringLiteral("Direction:"), 200); };

    grid->addPicker(field(&Form::type), QStringLiteral("Snippet type:"), 230);
    m_rows[SnippetType::host] = {
        grid->addText(field(&Form::hostIP), QStringLiteral("IP address:"), QStringLiteral("e.g. 10.0.0.1")),
        direction(field(&Form::hostDir))};
    m_rows[SnippetType::network] = {
        grid->addText(field(&Form::networkCIDR), QStringLiteral("CIDR:"), QStringLiteral("e.g. 10.0.0.0/24")),
        direction(field(&Form::networkDir))};
    m_rows[SnippetType::port] = {grid->addText(field(&Form::portList), QStringLiteral("Port(s):"),
                                               QStringLiteral("single or comma-separated, e.g. 80,443")),
                                 direction(field(&Form::portDir))};
    m_rows[SnippetType::ipProtocol] = {grid->addPicker(field(&Form::bpfProto), QStringLiteral("Protocol:"), 200)};
    m_rows[SnippetType::etherHost] = {
        grid->addText(field(&Form::mac), QStringLiteral("MAC address:"), QStringLiteral("aa:bb:cc:dd:ee:ff")),
        direction(field(&Form::macDir))};
    m_rows[SnippetType::vlan] = {
        grid->addText(field(&Form::vlanID), QStringLiteral("VLAN ID:"), QStringLiteral("blank = any VLAN tag"))};
    m_rows[SnippetType::tcpFlag] = {
        grid->addCheckRow(QStringLiteral("Flags:"),
                          {field(&Form::flagSyn), field(&Form::flagAck), field(&Form::flagFin), field(&Form::flagRst),
                           field(&Form::flagPsh), field(&Form::flagUrg)},
                          {QStringLiteral("SYN"), QStringLiteral("ACK"), QStringLiteral("FIN"), QStringLiteral("RST"),
                           QStringLiteral("PSH"), QStringLiteral("URG")}),
        grid->addPicker(field(&Form::flagMode), QStringLiteral("Match:"), 220)};
    m_rows[SnippetType::icmpType] = {grid->addPicker(field(&Form::icmp), QStringLiteral("ICMP type:"), 260)};

    for (SnippetType type : {SnippetType::etherBroadcast, SnippetType::etherMulticast}) {
        const QString text = QStringLiteral("No parameters \u2014 appends `%1`")
                                 .arg(type == SnippetType::etherBroadcast ? QStringLiteral("ether broadcast")
                                                                          : QStringLiteral("ether multicast"));
        auto *note = new QLabel(Style::inlineCodeHtml(text), grid);
        note->setObjectName(Enum::caseName(type) + QStringLiteral("Note"));
        note->setTextFormat(Qt::RichText);
        Style::setCallout(note);
        Style::setSecondary(note);
        grid->addRow(QString(), note);
        // After addRow, which names the control after its (here empty) label.
        note->setAccessibleName(Style::withoutBackQuotes(text));
        m_rows[type] = {note};
    }

    auto *version = SegmentedPicker::create(
        field(&Form::ipVer), QStringLiteral("Version:"), [this] { updateState(); }, grid);
    version->setFixedWidth(160);
    grid->addRow(QStringLiteral("Version:"), version, Qt::AlignLeft);
    m_rows[SnippetType::ipVersion] = {version};

    m_rows[SnippetType::etherProto] = {grid->addText(
        field(&Form::etherProtoNum), QStringLiteral("EtherType (hex or dec):"), QStringLiteral("e.g. 0x0806 for ARP"))};
    m_rows[SnippetType::ipProto] = {grid->addText(field(&Form::ipProtoNum), QStringLiteral("IP protocol number:"),
                                                  QStringLiteral("e.g. 6=TCP, 17=UDP, 47=GRE, 50=ESP"))};
}

QWidget *BPFBuilderView::createActionRow()
{
    auto *row = new QWidget(this);
    auto *combine = new QHBoxLayout(row);
    combine->setContentsMargins(0, 0, 0, 0);
    combine->setSpacing(8);
    auto *label = new QLabel(QStringLiteral("Combine with:"), row);
    label->setTextFormat(Qt::PlainText);
    Style::setSecondary(label);
    auto *combinator = SegmentedPicker::create(
        field(&Form::combinator), QStringLiteral("Combine with:"), [this] { updateState(); }, row);
    combinator->setFixedWidth(160);
    label->setBuddy(combinator);

    auto *clear = new QPushButton(QStringLiteral("Clear Filter"), row);
    clear->setObjectName(QStringLiteral("clearFilter"));
    clear->setAutoDefault(false);
    // It throws away the whole filter text.
    Style::setDestructive(clear);
    connect(clear, &QPushButton::clicked, this, &BPFBuilderView::clearFilter);

    m_add = new QPushButton(Icons::symbol(QStringLiteral("plus")), QStringLiteral("Add to Filter"), row);
    m_add->setObjectName(QStringLiteral("addToFilter"));
    m_add->setAutoDefault(false);
    // A window-wide shortcut that, like the button, does nothing while the button is disabled.
    m_add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    m_add->setToolTip(m_add->shortcut().toString(QKeySequence::NativeText));
    connect(m_add, &QPushButton::clicked, this, &BPFBuilderView::addToFilter);

    combine->addWidget(label);
    combine->addWidget(combinator);
    combine->addWidget(clear);
    combine->addWidget(m_add);
    combine->addStretch();
    return row;
}

void BPFBuilderView::addPreset(Preset preset)
{
    setFilter(m_form.addPreset(m_filter, preset), true);
}

void BPFBuilderView::addToFilter()
{
    if (m_form.rawSnippet().isEmpty())
        return;
    setFilter(m_form.addToFilter(m_filter));
}

void BPFBuilderView::clearFilter()
{
    setFilter(QString());
}

void BPFBuilderView::setFilter(const QString &text, bool typeOn)
{
    m_filter = text;
    m_written(typeOn);
}

void BPFBuilderView::updateState()
{
    AdviceMark::showAll(m_form);
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        for (QWidget *control : it.value())
            m_grid->setRowVisible(control, it.key() == m_form.type);
    }
    const QString snippet = m_form.rawSnippet();
    m_add->setEnabled(!snippet.isEmpty());
    m_preview->setVisible(!snippet.isEmpty());
    m_preview->setText(QStringLiteral("Preview: ") + m_form.decoratedSnippet());
}
