#include "librarytransfer.h"

#include "common/backgroundwork.h"
#include "common/textfiledialog.h"
#include "model/atomicfile.h"
#include "model/commandstore.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace LibraryTransfer {
namespace {
const QString nameFilter = QStringLiteral("Saved commands (*.json)");

QMessageBox *alert(QWidget *parent, QMessageBox::Icon icon, const char *name, const QString &text,
                   const QString &details)
{
    auto *box = new QMessageBox(icon, QStringLiteral("Brindlecap Builder"), text, QMessageBox::NoButton, parent);
    box->setObjectName(QLatin1String(name));
    box->setTextFormat(Qt::PlainText);
    box->setInformativeText(details);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

void finish(QWidget *parent, CommandStore &store, const QList<SavedCommand> &incoming, LibraryImport::Conflict choice)
{
    const LibraryImport::Outcome outcome = store.import(incoming, choice);
    QMessageBox *done = alert(parent, QMessageBox::Information, "importSummary",
                              QStringLiteral("Saved commands imported"), outcome.summary() + u'.');
    done->addButton(QMessageBox::Ok);
    done->open();
}
// The commands read from path, or why there are none, put before the user.
void offer(QWidget *parent, CommandStore &store, const QString &path,
           const std::optional<QList<SavedCommand>> &incoming, const QString &error)
{
    if (!incoming) {
        // Nothing has changed: the whole file is checked first.
        QMessageBox *failed =
            alert(parent, QMessageBox::Warning, "importErrorAlert", QStringLiteral("Nothing was imported"),
                  QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error));
        failed->addButton(QMessageBox::Ok);
        failed->open();
        return;
    }
    store.waitUntilLoaded();
    const int conflicts = LibraryImport::conflicts(store.commands(), *incoming);
    if (conflicts == 0) {
        finish(parent, store, *incoming, LibraryImport::Conflict::keepMine);
        return;
    }
    QMessageBox *ask = alert(
        parent, QMessageBox::Question, "importConflictAlert",
        conflicts == 1
            ? QStringLiteral("1 imported command has the id of one of yours, with other content.")
            : QStringLiteral("%1 imported commands have the ids of yours, with other content.").arg(conflicts),
        QStringLiteral("Keep yours, take the imported ones in their place, or keep both (the imported ones get new "
                       "ids)?"));
    const QList<std::pair<QString, LibraryImport::Conflict>> choices{
        {QStringLiteral("Keep Mine"), LibraryImport::Conflict::keepMine},
        {QStringLiteral("Take Theirs"), LibraryImport::Conflict::takeTheirs},
        {QStringLiteral("Keep Both"), LibraryImport::Conflict::keepBoth}};
    for (const auto &option : choices) {
        // Copied out: a structured binding cannot be captured by every compiler in use.
        const LibraryImport::Conflict choice = option.second;
        QPushButton *button = ask->addButton(option.first, QMessageBox::AcceptRole);
        button->setObjectName(option.first);
        QObject::connect(button, &QPushButton::clicked, ask,
                         [parent, &store, incoming = *incoming, choice] { finish(parent, store, incoming, choice); });
        if (choice == LibraryImport::Conflict::keepMine)
            ask->setDefaultButton(button);
    }
    ask->addButton(QMessageBox::Cancel);
    ask->open();
}
} // namespace

QString exportCommands(QWidget *parent, const QList<SavedCommand> &commands)
{
    const QString name = QStringLiteral("saved-commands-%1.json").arg(QDate::currentDate().toString(Qt::ISODate));
    return TextFileDialog::saveFile(parent, QStringLiteral("Export Saved Commands"), name, nameFilter,
                                    SavedCommand::encodeList(commands));
}

void importCommands(QWidget *parent, CommandStore &store)
{
    const QString path = TextFileDialog::openFile(parent, QStringLiteral("Import Saved Commands"), nameFilter);
    if (path.isEmpty())
        return;
    struct Read {
        std::optional<QList<SavedCommand>> commands;
        QString error;
    };
    auto read = std::make_shared<Read>();
    // Hundreds of thousands of commands take seconds to read: never on the UI thread.
    const auto work = [path, read](const BackgroundWork::Progress &progress) {
        const std::optional<QByteArray> data = AtomicFile::read(path, &read->error);
        if (data)
            read->commands = SavedCommand::decodeList(*data, &read->error, nullptr,
                                                      [&progress](double done) { return progress.report(done); });
        else if (read->error.isEmpty())
            read->error = QStringLiteral("the file does not exist");
    };
    BackgroundWork::run(parent, QStringLiteral("Reading %1\u2026").arg(QFileInfo(path).fileName()), work,
                        [parent, &store, path, read] { offer(parent, store, path, read->commands, read->error); });
}

} // namespace LibraryTransfer
