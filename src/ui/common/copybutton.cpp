#include "copybutton.h"

#include "icons.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

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
    reset->setInterval(resetInterval);
    connect(reset, &QTimer::timeout, this, [this, reset] {
        setDidCopy(false);
        reset->deleteLater();
    });
    reset->start();
    emit copied(text);
}

void CopyButton::setDidCopy(bool didCopy)
{
    m_didCopy = didCopy;
    setText(didCopy ? QStringLiteral("Copied") : m_idleText);
    setIcon(Icons::symbol(didCopy ? QStringLiteral("checkmark") : QStringLiteral("doc.on.doc")));
}
