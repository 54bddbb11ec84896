#include "savecommanddialog.h"

#include "builders/multilineedit.h"
#include "builders/singlelineedit.h"
#include "text.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SaveCommandDialog::SaveCommandDialog(const QString &proposedTitle, QWidget *parent)
    : SheetDialog(QStringLiteral("Save Command"), 420, parent)
    , m_title(new SingleLineEdit(this))
    , m_notes(new MultiLineEdit(3, 6, this))
    , m_save(nullptr)
{
    setObjectName(QStringLiteral("saveCommandDialog"));

    m_title->setObjectName(QStringLiteral("saveTitle"));
    m_title->setPlaceholderText(QStringLiteral("Descriptive name"));
    m_title->setAccessibleName(QStringLiteral("Title:"));
    m_title->setText(proposedTitle);

    m_notes->setObjectName(QStringLiteral("saveNotes"));
    m_notes->setPlaceholderText(QStringLiteral("Optional notes"));
    m_notes->setAccessibleName(QStringLiteral("Notes:"));

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
    column()->addLayout(grid);

    m_save = addButtons(QStringLiteral("Save"));
    m_save->setObjectName(QStringLiteral("save"));
    connect(m_title, &QLineEdit::textChanged, this, &SaveCommandDialog::updateSaveEnabled);
    updateSaveEnabled();

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
