#include "copybutton.h"

#include "icons.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

namespace {
const QString copiedText = QStringLiteral("Copied");
}

CopyButton::CopyButton(QWidget *parent)
    : CopyButton(QStringLiteral("Copy"), parent)
{
}

CopyButton::CopyButton(const QString &idleText, QWidget *parent)
    : QPushButton(parent)
    , m_idleText(idleText)
{
    setDidCopy(false);
    connect(this, &QPushButton::clicked, this, &CopyButton::copy);
}

void CopyButton::copy()
{
    copyText(m_source ? m_source() : QString());
}

void CopyButton::copyText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    setDidCopy(true);

    // A timer object of its own (not a shared one restarted) so that no earlier reset is cancelled.
    auto *reset = new QTimer(this);
    reset->setObjectName(QStringLiteral("copyReset"));
    reset->setSingleShot(true);
    // A coarse timer may fire up to 5 % early.
    reset->setTimerType(Qt::PreciseTimer);
    reset->setInterval(resetInterval);
    connect(reset, &QTimer::timeout, this, [this, reset] {
        setDidCopy(false);
        reset->deleteLater();
    });
    reset->start();
    emit copied(text);
}

QSize CopyButton::sizeHint() const
{
    return sizeHintFor(m_idleText).expandedTo(sizeHintFor(copiedText));
}

QSize CopyButton::sizeHintFor(const QString &text) const
{
    // As QPushButton measures itself, for a text it may not be showing: an icon, then the text.
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = text;
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text);
    const QSize contents(option.iconSize.width() + 4 + textSize.width(),
                         qMax(option.iconSize.height(), textSize.height()));
    option.rect.setSize(contents);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, this);
}

void CopyButton::setDidCopy(bool didCopy)
{
    m_didCopy = didCopy;
    setText(didCopy ? copiedText : m_idleText);
    setIcon(Icons::symbol(didCopy ? QStringLiteral("checkmark") : QStringLiteral("doc.on.doc")));
}
