#include "emptystateview.h"

#include "icons.h"
#include "style.h"

#include <QLabel>
#include <QVBoxLayout>

EmptyStateView::EmptyStateView(const QString &symbol, const QString &title, const QString &description, QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(title, this))
    , m_description(new QLabel(description, this))
{
    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::symbol(symbol).pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);

    m_title->setObjectName(QStringLiteral("emptyTitle"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setAlignment(Qt::AlignCenter);
    Style::setPointSizeScale(m_title, 1.4);
    Style::setBold(m_title);

    m_description->setObjectName(QStringLiteral("emptyDescription"));
    m_description->setTextFormat(Qt::PlainText);
    m_description->setAlignment(Qt::AlignCenter);
    m_description->setWordWrap(true);
    Style::setSecondary(m_description);

    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(icon);
    layout->addWidget(m_title);
    layout->addWidget(m_description);
    layout->addStretch();
}

QString EmptyStateView::title() const
{
    return m_title->text();
}

QString EmptyStateView::description() const
{
    return m_description->text();
}

void EmptyStateView::setText(const QString &title, const QString &description)
{
    m_title->setText(title);
    m_description->setText(description);
}
