#include "formheader.h"

#include "common/style.h"

#include <QLabel>
#include <QVBoxLayout>

FormHeader::FormHeader(const QString &title, const QString &description, QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(title, this))
    , m_description(new QLabel(Style::inlineCodeHtml(description), this))
{
    m_title->setObjectName(QStringLiteral("formTitle"));
    m_title->setTextFormat(Qt::PlainText);
    Style::setPointSizeScale(m_title, 1.5);
    Style::setBold(m_title);

    m_description->setObjectName(QStringLiteral("formDescription"));
    m_description->setTextFormat(Qt::RichText);
    m_description->setWordWrap(true);
    m_description->setAccessibleName(Style::withoutBackQuotes(description));
    Style::setSecondary(m_description);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_title);
    layout->addWidget(m_description);
}
