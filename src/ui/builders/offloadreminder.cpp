#include "offloadreminder.h"

#include "builders/snifferform.h"
#include "common/copybutton.h"
#include "common/icons.h"
#include "common/style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel *textLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}
} // namespace

OffloadReminder::OffloadReminder(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("offloadReminder"));
    Style::setNotice(this, Style::Tone::warning,
                     QStringLiteral("QLabel#offloadSnippet { background: palette(base); "
                                    "border: 1px solid palette(mid); border-radius: 6px; padding: 8px; }"));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("offloadIcon"));
    icon->setPixmap(Icons::tinted(QStringLiteral("exclamationmark.triangle.fill"),
                                  Style::tone(Style::Tone::warning, palette()), 20, devicePixelRatioF()));

    QLabel *headline = textLabel(QStringLiteral("offloadHeadline"),
                                 QStringLiteral("Reminder \u2014 disable ASIC / NPU offload to see all packets"), this);
    Style::setHeadline(headline);
    QLabel *explanation = textLabel(
        QStringLiteral("offloadExplanation"),
        QStringLiteral("On offload-capable FortiGates, hardware-accelerated sessions bypass the CPU sniffer after "
                       "the first packets. Disable offload on the policy you're troubleshooting (and re-create the "
                       "session) before you start capturing:"),
        this);
    Style::setCallout(explanation);
    Style::setSecondary(explanation);

    const QString snippet = SnifferForm::offloadDisableSnippet.toString();
    QLabel *snippetLabel = textLabel(QStringLiteral("offloadSnippet"), snippet, this);
    snippetLabel->setWordWrap(false);
    snippetLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Style::setMonospaced(snippetLabel);
    Style::setCallout(snippetLabel);

    auto *copy = new CopyButton(QStringLiteral("Copy Offload-Disable Snippet"), this);
    copy->setObjectName(QStringLiteral("copyOffload"));
    copy->setSource([snippet] { return snippet; });
    QLabel *reenable = textLabel(QStringLiteral("offloadReenable"),
                                 QStringLiteral("Don't forget to re-enable offload when you're done."), this);
    Style::setCaption(reenable);
    Style::setSecondary(reenable);
    auto *copyRow = new QHBoxLayout;
    copyRow->setSpacing(8);
    copyRow->addWidget(copy);
    copyRow->addWidget(reenable, 1);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(headline);
    text->addWidget(explanation);
    text->addWidget(snippetLabel);
    text->addLayout(copyRow);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
}
