#include "savedcommanddetail.h"

#include "builders/singlelineedit.h"
#include "common/alert.h"
#include "common/commandtextblock.h"
#include "common/copybutton.h"
#include "common/icons.h"
#include "common/style.h"
#include "model/commandstore.h"
#include "savedcommandcaption.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
constexpr double titleScale = 1.5;

QPushButton *makeButton(const QString &objectName, const QString &symbol, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(symbol.isEmpty() ? QIcon() : Icons::symbol(symbol), text, parent);
    button->setObjectName(objectName);
    return button;
}
} // namespace

SavedCommandDetail::SavedCommandDetail(CommandStore &store, QWidget *parent)
    : QScrollArea(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("savedCommandDetail"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget(this);
    setWidget(content);

    m_title = new QLabel(content);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Style::setPointSizeScale(m_title, titleScale);
    Style::setBold(m_title);

    m_titleEdit = new SingleLineEdit(content);
    m_titleEdit->setObjectName(QStringLiteral("editingTitle"));
    m_titleEdit->setPlaceholderText(QStringLiteral("Title"));
    m_titleEdit->setAccessibleName(QStringLiteral("Title"));
    Style::setPointSizeScale(m_titleEdit, titleScale);

    m_caption = new SavedCommandCaption(content);
    m_edit = makeButton(QStringLiteral("edit"), QStringLiteral("pencil"), QStringLiteral("Edit"), content);
    m_cancel = makeButton(QStringLiteral("cancel"), {}, QStringLiteral("Cancel"), content);
    m_save = makeButton(QStringLiteral("save"), {}, QStringLiteral("Save"), content);
    m_save->setDefault(true);

    m_notesBox = new QGroupBox(QStringLiteral("Notes"), content);
    m_notesBox->setObjectName(QStringLiteral("notesBox"));
    m_notes = new QLabel(m_notesBox);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setTextFormat(Qt::PlainText);
    m_notes->setWordWrap(true);
    m_notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_notesEdit = new GrowingTextEdit(m_notesBox);
    m_notesEdit->setObjectName(QStringLiteral("editingNotes"));
    m_notesEdit->setPlaceholderText(QStringLiteral("Notes"));
    m_notesEdit->setAccessibleName(QStringLiteral("Notes"));
    m_notesEdit->setTabChangesFocus(true);
    m_notesEdit->setLineRange(3, 10);
    auto *notesLayout = new QVBoxLayout(m_notesBox);
    notesLayout->setContentsMargins(6, 6, 6, 6);
    notesLayout->addWidget(m_notes);
    notesLayout->addWidget(m_notesEdit);

    auto *commandBox = new QGroupBox(QStringLiteral("Command"), content);
    commandBox->setObjectName(QStringLiteral("commandBox"));
    m_text = new CommandTextBlock(QStringLiteral("Command"), 160, 420, commandBox);

    m_copy = new CopyButton(commandBox);
    m_copy->setObjectName(QStringLiteral("copy"));
    m_copy->setSource([this] { return m_command.command; });
    m_export = makeButton(QStringLiteral("export"), QStringLiteral("square.and.arrow.down"),
                          QStringLiteral("Export to .txt"), commandBox);
    m_delete = makeButton(QStringLiteral("delete"), QStringLiteral("trash"), QStringLiteral("Delete"), commandBox);
    Style::setDestructive(m_delete);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_export);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    auto *commandLayout = new QVBoxLayout(commandBox);
    commandLayout->setContentsMargins(4, 4, 4, 4);
    commandLayout->setSpacing(12);
    commandLayout->addWidget(m_text);
    commandLayout->addLayout(buttons);

    auto *heading = new QVBoxLayout;
    heading->setSpacing(4);
    heading->addWidget(m_title);
    heading->addWidget(m_titleEdit);
    heading->addWidget(m_caption);
    auto *header = new QHBoxLayout;
    header->addLayout(heading, 1);
    header->addWidget(m_edit, 0, Qt::AlignTop);
    header->addWidget(m_cancel, 0, Qt::AlignTop);
    header->addWidget(m_save, 0, Qt::AlignTop);

    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    column->addLayout(header);
    column->addWidget(m_notesBox);
    column->addWidget(commandBox);
    column->addStretch();

    connect(m_edit, &QPushButton::clicked, this, &SavedCommandDetail::edit);
    connect(m_cancel, &QPushButton::clicked, this, &SavedCommandDetail::cancelEdit);
    connect(m_save, &QPushButton::clicked, this, &SavedCommandDetail::saveEdit);
    connect(m_titleEdit, &QLineEdit::returnPressed, this, &SavedCommandDetail::saveEdit);
    // Return makes a new line in the notes; Ctrl+Return saves from there.
    auto *saveFromNotes = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), m_notesEdit);
    saveFromNotes->setContext(Qt::WidgetShortcut);
    connect(saveFromNotes, &QShortcut::activated, this, &SavedCommandDetail::saveEdit);
    // Escape leaves the edit as Cancel does, from either field.
    auto *cancelByKey = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &SavedCommandDetail::cancelEdit);
    cancelByKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(m_export, &QPushButton::clicked, this, [this] { emit exportRequested(m_command); });
    connect(m_delete, &QPushButton::clicked, this, [this] { emit deleteRequested(m_command); });

    setEditing(false);
}

void SavedCommandDetail::setCommand(const SavedCommand &command)
{
    const SavedCommand before = std::exchange(m_command, command);
    if (command.id != before.id && m_isEditing) {
        setEditing(false);
        return;
    }
    if (m_isEditing && !(command == before)) {
        // Changed under an open edit (an import put another version in its place): what the user has not
        // touched follows the new version; where both changed, the user chooses.
        const bool titleTouched = !m_titleEdit->text().isEmpty() && m_titleEdit->text() != before.title;
        const bool notesTouched = m_notesEdit->toPlainText() != before.notes;
        if (!titleTouched)
            m_titleEdit->setText(command.title);
        if (!notesTouched)
            m_notesEdit->setPlainText(command.notes);
        if ((titleTouched && command.title != before.title) || (notesTouched && command.notes != before.notes))
            Alert::open(this, QMessageBox::Question, "changedUnderEditAlert",
                        QStringLiteral("\"%1\" was changed while you edited it.").arg(command.title),
                        QStringLiteral("Keep your changes to its title and notes, or take the new version?"),
                        {{QMessageBox::NoButton,
                          QStringLiteral("Keep My Changes"),
                          QMessageBox::AcceptRole,
                          "keepMine",
                          {},
                          true},
                         {QMessageBox::NoButton, QStringLiteral("Take the New Version"), QMessageBox::RejectRole,
                          "takeNew", [this] { setEditing(false); }}});
    }
    showCommand();
}

bool SavedCommandDetail::hasUnsavedEdit() const
{
    // An empty title field keeps the old title, as saveEdit() takes it.
    const QString title = m_titleEdit->text();
    return m_isEditing &&
           ((!title.isEmpty() && title != m_command.title) || m_notesEdit->toPlainText() != m_command.notes);
}

void SavedCommandDetail::edit()
{
    m_titleEdit->setText(m_command.title);
    m_notesEdit->setPlainText(m_command.notes);
    setEditing(true);
    m_titleEdit->setFocus();
    m_titleEdit->selectAll();
}

void SavedCommandDetail::cancelEdit()
{
    setEditing(false);
}

void SavedCommandDetail::saveEdit()
{
    if (!m_isEditing)
        return;
    SavedCommand edited = m_command;
    // An empty title field keeps the old title; empty notes are taken.
    if (!m_titleEdit->text().isEmpty())
        edited.title = m_titleEdit->text();
    edited.notes = m_notesEdit->toPlainText();
    // Closed first: the store's change is this edit's own, not one to reconcile with it.
    setEditing(false);
    m_store.update(edited);
}

void SavedCommandDetail::setEditing(bool editing)
{
    m_isEditing = editing;
    if (!editing) {
        m_titleEdit->clear();
        m_notesEdit->clear();
    }
    showCommand();
}

void SavedCommandDetail::showCommand()
{
    m_title->setText(m_command.title);
    m_caption->setCommand(m_command);
    m_notes->setText(m_command.notes);
    if (m_text->toPlainText() != m_command.command)
        m_text->setPlainText(m_command.command);

    m_title->setVisible(!m_isEditing);
    m_titleEdit->setVisible(m_isEditing);
    m_edit->setVisible(!m_isEditing);
    m_cancel->setVisible(m_isEditing);
    m_save->setVisible(m_isEditing);
    m_notes->setVisible(!m_isEditing);
    m_notesEdit->setVisible(m_isEditing);
    m_notesBox->setVisible(m_isEditing || !m_command.notes.isEmpty());
}
