#include "commandoutputview.h"

#include "common/commandtextblock.h"
#include "common/copybutton.h"
#include "common/icons.h"
#include "common/style.h"
#include "common/textfiledialog.h"
#include "model/commandstore.h"
#include "savecommanddialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
constexpr int emptyPadding = 24;
}

CommandOutputView::CommandOutputView(DebugCategory category, CommandStore &store, QWidget *parent)
    : QGroupBox(QStringLiteral("Generated Command"), parent)
    , m_category(category)
    , m_store(store)
    , m_emptyLine(new QLabel(QStringLiteral("Fill in the form above to generate a command."), this))
    , m_text(new CommandTextBlock(QStringLiteral("Generated Command"), 120, 320, this))
    , m_copy(new CopyButton(this))
    , m_saveToFile(
          new QPushButton(Icons::symbol(QStringLiteral("square.and.arrow.down")), QStringLiteral("Save to .txt"), this))
    , m_saveForLater(new QPushButton(Icons::symbol(QStringLiteral("bookmark")), QStringLiteral("Save for Later"), this))
{
    setObjectName(QStringLiteral("generatedCommand"));

    m_emptyLine->setObjectName(QStringLiteral("emptyCommand"));
    m_emptyLine->setTextFormat(Qt::PlainText);
    Style::setSecondary(m_emptyLine);

    // The height follows the text; expanding, the panel would swallow a tall window's spare height.
    m_text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_copy->setObjectName(QStringLiteral("copy"));
    m_copy->setSource([this] { return m_command; });
    m_saveToFile->setObjectName(QStringLiteral("saveToFile"));
    m_saveForLater->setObjectName(QStringLiteral("saveForLater"));
    connect(m_saveToFile, &QPushButton::clicked, this, &CommandOutputView::saveToFile);
    connect(m_saveForLater, &QPushButton::clicked, this, &CommandOutputView::openSaveForLater);

    // Window-wide, so the keys work wherever the focus is in the form.
    auto *copyShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this);
    copyShortcut->setContext(Qt::WindowShortcut);
    connect(copyShortcut, &QShortcut::activated, this, &CommandOutputView::copy);
    auto *saveShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this);
    saveShortcut->setContext(Qt::WindowShortcut);
    connect(saveShortcut, &QShortcut::activated, this, &CommandOutputView::openSaveForLater);
    m_copy->setToolTip(copyShortcut->key().toString(QKeySequence::NativeText));
    m_saveForLater->setToolTip(saveShortcut->key().toString(QKeySequence::NativeText));

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_saveToFile);
    buttons->addWidget(m_saveForLater);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(12);
    layout->addWidget(m_emptyLine);
    layout->addWidget(m_text);
    layout->addLayout(buttons);

    setCommand(QString());
}

void CommandOutputView::setCommand(const QString &command)
{
    m_command = command;
    // Emptiness is not trimmed: a single space is a command to show.
    const bool empty = command.isEmpty();
    m_emptyLine->setVisible(empty);
    m_text->setVisible(!empty);
    if (m_text->toPlainText() != command)
        m_text->setPlainText(command);
    // As tall as the text of a one-line command, so that the form above does not jump when the last
    // field is cleared or the first is filled in, and 24 points (device-independent pixels, as every
    // spacing of the kit) above and below the line at the least.
    if (empty)
        m_emptyLine->setMinimumHeight(
            qMax(m_text->heightForLines(1), m_emptyLine->fontMetrics().height() + 2 * emptyPadding));
}

void CommandOutputView::setTitle(const QString &title)
{
    m_title = title;
}

void CommandOutputView::copy()
{
    m_copy->copy();
}

void CommandOutputView::saveToFile()
{
    TextFileDialog::saveText(window(), QStringLiteral("Save Command as Text File"), m_title, m_command);
}

void CommandOutputView::openSaveForLater()
{
    auto *dialog = new SaveCommandDialog(m_title, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The text and title as they are when the sheet opens are what gets saved.
    const QString title = m_title;
    const QString command = m_command;
    const DebugCategory category = m_category;
    connect(dialog, &QDialog::accepted, this, [this, dialog, title, command, category] {
        const QString typed = dialog->saveTitle();
        m_store.add(SavedCommand::create(typed.isEmpty() ? title : typed, category, command, dialog->saveNotes()));
    });
    dialog->open();
}
