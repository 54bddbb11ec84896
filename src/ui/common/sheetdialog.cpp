#include "sheetdialog.h"

#include "style.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SheetDialog::SheetDialog(const QString &heading, int width, QWidget *parent)
    : QDialog(parent)
    , m_column(new QVBoxLayout(this))
    , m_heading(new QLabel(heading, this))
{
    setWindowTitle(heading);
    setWindowModality(Qt::WindowModal);
    setFixedWidth(width);

    m_heading->setObjectName(QStringLiteral("heading"));
    m_heading->setTextFormat(Qt::PlainText);
    Style::setHeadline(m_heading);

    m_column->setContentsMargins(20, 20, 20, 20);
    m_column->setSpacing(12);
    m_column->addWidget(m_heading);
}

QLabel *SheetDialog::addNote(const QString &text)
{
    auto *note = new QLabel(Style::inlineCodeHtml(text), this);
    note->setObjectName(QStringLiteral("note"));
    note->setTextFormat(Qt::RichText);
    note->setWordWrap(true);
    note->setAccessibleName(Style::withoutBackQuotes(text));
    Style::setCallout(note);
    Style::setSecondary(note);
    m_column->addWidget(note);
    return note;
}

QPushButton *SheetDialog::addButtons(const QString &defaultText, bool withCancel, QWidget *leading)
{
    auto *buttons = new QDialogButtonBox(this);
    if (withCancel)
        buttons->addButton(QDialogButtonBox::Cancel);
    QPushButton *button = buttons->addButton(defaultText, QDialogButtonBox::AcceptRole);
    button->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (!leading) {
        m_column->addWidget(buttons);
        return button;
    }
    auto *row = new QHBoxLayout;
    row->addWidget(leading);
    row->addStretch();
    row->addWidget(buttons);
    m_column->addLayout(row);
    return button;
}
