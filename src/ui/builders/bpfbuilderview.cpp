#include "bpfbuilderview.h"

#include "segmentedpicker.h"

#include "common/flowlayout.h"
#include "common/icons.h"
#include "common/style.h"
#include "formgrid.h"
#include "singlelineedit.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
using Form = BPFBuilderForm;

QFrame *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QHBoxLayout *rowLayout(QWidget *row, int spacing)
{
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QCheckBox *boundCheck(const QString &name, const QString &text, bool &field, std::function<void()> changed,
                      QWidget *parent)
{
    auto *check = new QCheckBox(text, parent);
    check->setObjectName(name);
    check->setChecked(field);
    QObject::connect(check, &QCheckBox::toggled, parent, [&field, changed = std::move(changed)](bool on) {
        field = on;
        changed();
    });
    return check;
}

QLabel *noParametersNote(const QString &text, QWidget *parent)
{
    auto *note = new QLabel(Style::inlineCodeHtml(text), parent);
    note->setTextFormat(Qt::RichText);
    Style::setCallout(note);
    Style::setSecondary(note);
    return note;
}
} // namespace

BPFBuilderView::BPFBuilderView(QString &filter, std::function<void()> written, QWidget *parent)
    : QWidget(parent)
    , m_filter(filter)
    , m_written(std::move(written))
{
    setObjectName(QStringLiteral("bpfBuilder"));

    auto *caption = new QLabel(QStringLiteral("Presets \u2014 click to append"), this);
    caption->setTextFormat(Qt::PlainText);
    Style::setCallout(caption);
    Style::setSecondary(caption);

    m_grid = new FormGrid(
        QString(), [this] { updateState(); }, this);
    m_grid->setObjectName(QStringLiteral("snippetGrid"));
    // Rows of the builder, not a box of their own inside the "BPF Builder" box.
    m_grid->setStyleSheet(QStringLiteral("QGroupBox#snippetGrid { border: none; margin: 0; padding: 0; }"));
    m_grid->setRowSpacing(10);
    addParameterRows();

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("snippetPreview"));
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_preview->setWordWrap(true);
    Style::setMonospaced(m_preview);
    Style::setCallout(m_preview);
    Style::setSecondary(m_preview);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(caption);
    column->addWidget(createPresetRow());
    column->addWidget(divider(this));
    column->addWidget(m_grid);
    column->addWidget(divider(this));
    column->addWidget(createActionRows());
    column->addWidget(m_preview);
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
    BPFBuilderForm &f = m_form;
    const auto direction = [grid](const QString &name, auto &field) {
        return grid->addPicker(name, QStringLiteral("Direction:"), field, 200);
    };

    grid->addPicker(QStringLiteral("type"), QStringLiteral("Snippet type:"), f.type, 230);
    m_rows[SnippetType::host] = {grid->addText(QStringLiteral("hostIP"), QStringLiteral("IP address:"),
                                               QStringLiteral("e.g. 10.0.0.1"), f.hostIP),
                                 direction(QStringLiteral("hostDir"), f.hostDir)};
    m_rows[SnippetType::network] = {grid->addText(QStringLiteral("networkCIDR"), QStringLiteral("CIDR:"),
                                                  QStringLiteral("e.g. 10.0.0.0/24"), f.networkCIDR),
                                    direction(QStringLiteral("networkDir"), f.networkDir)};
    m_rows[SnippetType::port] = {grid->addText(QStringLiteral("portList"), QStringLiteral("Port(s):"),
                                               QStringLiteral("single or comma-separated, e.g. 80,443"), f.portList),
                                 direction(QStringLiteral("portDir"), f.portDir)};
    m_rows[SnippetType::ipProtocol] = {
        grid->addPicker(QStringLiteral("bpfProto"), QStringLiteral("Protocol:"), f.bpfProto, 200)};
    m_rows[SnippetType::etherHost] = {grid->addText(QStringLiteral("mac"), QStringLiteral("MAC address:"),
                                                    QStringLiteral("aa:bb:cc:dd:ee:ff"), f.mac),
                                      direction(QStringLiteral("macDir"), f.macDir)};
    m_rows[SnippetType::vlan] = {grid->addText(QStringLiteral("vlanID"), QStringLiteral("VLAN ID:"),
                                               QStringLiteral("blank = any VLAN tag"), f.vlanID)};

    auto *flags = new QWidget(grid);
    flags->setObjectName(QStringLiteral("flags"));
    QHBoxLayout *flagRow = rowLayout(flags, 12);
    const std::pair<const char *, bool BPFBuilderForm::*> flagFields[] = {
        {"SYN", &Form::flagSyn}, {"ACK", &Form::flagAck}, {"FIN", &Form::flagFin},
        {"RST", &Form::flagRst}, {"PSH", &Form::flagPsh}, {"URG", &Form::flagUrg}};
    for (const auto &[text, member] : flagFields) {
        const QString label = QString::fromLatin1(text);
        const QString name = QStringLiteral("flag") + label.at(0) + label.mid(1).toLower();
        flagRow->addWidget(boundCheck(
            name, label, f.*member, [this] { updateState(); }, flags));
    }
    flagRow->addStretch();
    grid->addRow(QStringLiteral("Flags:"), flags);
    m_rows[SnippetType::tcpFlag] = {
        flags, grid->addPicker(QStringLiteral("flagMode"), QStringLiteral("Match:"), f.flagMode, 220)};

    m_rows[SnippetType::icmpType] = {
        grid->addPicker(QStringLiteral("icmp"), QStringLiteral("ICMP type:"), f.icmp, 260)};

    for (SnippetType type : {SnippetType::etherBroadcast, SnippetType::etherMulticast}) {
        const QString text = QStringLiteral("No parameters \u2014 appends `%1`")
                                 .arg(type == SnippetType::etherBroadcast ? QStringLiteral("ether broadcast")
                                                                          : QStringLiteral("ether multicast"));
        QLabel *note = noParametersNote(text, grid);
        note->setObjectName(Enum::caseName(type) + QStringLiteral("Note"));
        grid->addRow(QString(), note);
        // After addRow, which names the control after its (here empty) label.
        note->setAccessibleName(Style::withoutBackQuotes(text));
        m_rows[type] = {note};
    }

    auto *version = SegmentedPicker::create(
        QStringLiteral("ipVer"), QStringLiteral("Version:"), f.ipVer, [this] { updateState(); }, grid);
    version->setFixedWidth(160);
    grid->addRow(QStringLiteral("Version:"), version, Qt::AlignLeft);
    m_rows[SnippetType::ipVersion] = {version};

    m_rows[SnippetType::etherProto] = {grid->addText(QStringLiteral("etherProtoNum"),
                                                     QStringLiteral("EtherType (hex or dec):"),
                                                     QStringLiteral("e.g. 0x0806 for ARP"), f.etherProtoNum)};
    m_rows[SnippetType::ipProto] = {grid->addText(QStringLiteral("ipProtoNum"), QStringLiteral("IP protocol number:"),
                                                  QStringLiteral("e.g. 6=TCP, 17=UDP, 47=GRE, 50=ESP"), f.ipProtoNum)};
}

QWidget *BPFBuilderView::createActionRows()
{
    auto *rows = new QWidget(this);
    auto *column = new QVBoxLayout(rows);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    const auto changed = [this] { updateState(); };
    auto *options = new QHBoxLayout;
    options->setSpacing(16);
    options->addWidget(
        boundCheck(QStringLiteral("negate"), QStringLiteral("Negate (NOT)"), m_form.negate, changed, rows));
    options->addWidget(boundCheck(QStringLiteral("wrapInParens"), QStringLiteral("Wrap in parens"), m_form.wrapInParens,
                                  changed, rows));
    options->addStretch();
    column->addLayout(options);

    auto *combine = new QHBoxLayout;
    combine->setSpacing(8);
    auto *label = new QLabel(QStringLiteral("Combine with:"), rows);
    label->setTextFormat(Qt::PlainText);
    Style::setSecondary(label);
    auto *combinator = SegmentedPicker::create(QStringLiteral("combinator"), QStringLiteral("Combine with:"),
                                               m_form.combinator, changed, rows);
    combinator->setFixedWidth(160);
    label->setBuddy(combinator);

    auto *clear = new QPushButton(QStringLiteral("Clear Filter"), rows);
    clear->setObjectName(QStringLiteral("clearFilter"));
    clear->setAutoDefault(false);
    // Destructive: it throws away the whole filter text.
    QPalette palette = clear->palette();
    palette.setColor(QPalette::ButtonText, QColor(0xd7, 0x26, 0x1e));
    clear->setPalette(palette);
    connect(clear, &QPushButton::clicked, this, &BPFBuilderView::clearFilter);

    m_add = new QPushButton(Icons::symbol(QStringLiteral("plus")), QStringLiteral("Add to Filter"), rows);
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
    column->addLayout(combine);
    return rows;
}

void BPFBuilderView::addPreset(Preset preset)
{
    setFilter(m_form.addPreset(m_filter, preset));
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

void BPFBuilderView::setFilter(const QString &text)
{
    m_filter = text;
    m_written();
}

void BPFBuilderView::updateState()
{
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        for (QWidget *control : it.value())
            m_grid->setRowVisible(control, it.key() == m_form.type);
    }
    const QString snippet = m_form.rawSnippet();
    m_add->setEnabled(!snippet.isEmpty());
    m_preview->setVisible(!snippet.isEmpty());
    m_preview->setText(QStringLiteral("Preview: ") + m_form.decoratedSnippet());
}
