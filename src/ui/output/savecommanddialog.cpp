#include "savecommanddialog.h"

#include "builders/singlelineedit.h"
#include "common/growingtextedit.h"
#include "common/style.h"
#include "text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

SaveCommandDialog::SaveCommandDialog(const QString &proposedTitle, QWidget *parent)
    : QDialog(parent)
    , m_title(new SingleLineEdit(this))
    , m_notes(new GrowingTextEdit(this))
    , m_save(nullptr)
{
    setObjectName(QStringLiteral("saveCommandDialog"));
    setWindowTitle(QStringLiteral("Save Command"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(420);

    auto *heading = new QLabel(QStringLiteral("Save Command"), this);
    heading->setTextFormat(Qt::PlainText);
    Style::setBold(heading);

    m_title->setObjectName(QStringLiteral("saveTitle"));
    m_title->setPlaceholderText(QStringLiteral("Descriptive name"));
    m_title->setAccessibleName(QStringLiteral("Title:"));
    m_title->setText(proposedTitle);

    m_notes->setObjectName(QStringLiteral("saveNotes"));
    m_notes->setPlaceholderText(QStringLiteral("Optional notes"));
    m_notes->setAccessibleName(QStringLiteral("Notes:"));
    m_notes->setTabChangesFocus(true);
    m_notes->setLineRange(3, 6);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    auto *titleLabel = new QLabel(QStringLiteral("Title:"), this);
    auto *notesLabel = new QLabel(QStringLiteral("Notes:"), this);
    titleLabel->setBuddy(m_title);
    notesLabel->setBuddy(m_notes);
    grid->addWidget(titleLabel, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_title, 0, 1);
    grid->addWidget(notesLabel, 1, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m_notes, 1, 1);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_save = buttons->addButton(QStringLiteral("Save"), QDialogButtonBox::AcceptRole);
    m_save->setObjectName(QStringLiteral("save"));
    m_save->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_title, &QLineEdit::textChanged, this, &SaveCommandDialog::updateSaveEnabled);
    updateSaveEnabled();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(12);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    m_title->selectAll();
    m_title->setFocus();
}

QString SaveCommandDialog::saveTitle() const
{
    return m_title->text();
}

QString SaveCommandDialog::saveNotes() const
{
    return m_notes->toPlainText();
}

void SaveCommandDialog::updateSaveEnabled()
{
    m_save->setEnabled(Text::isNonBlank(m_title->text()));
}
