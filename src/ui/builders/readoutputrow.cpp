#include "readoutputrow.h"

#include "common/style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

ReadOutputRow::ReadOutputRow(const QString &name, const QString &text, const QString &hint, QWidget *parent)
    : QWidget(parent)
    , m_button(new QPushButton(text, this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 0);
    m_button->setObjectName(name);
    m_button->setAccessibleName(text);
    auto *label = new QLabel(hint, this);
    label->setWordWrap(true);
    Style::setCaption(label);
    Style::setSecondary(label);
    row->addWidget(m_button);
    row->addWidget(label, 1);
}
