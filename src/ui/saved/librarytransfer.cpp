#include "librarytransfer.h"

#include "common/alert.h"
#include "common/backgroundwork.h"
#include "common/textfiledialog.h"
#include "model/atomicfile.h"
#include "model/commandstore.h"
#include "text.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace LibraryTransfer {
namespace {
const QString nameFilter = QStringLiteral("Saved commands (*.json)");

void finish(QWidget *parent, CommandStore &store, const QList<SavedCommand> &incoming, LibraryImport::Conflict choice)
{
    const LibraryImport::Outcome outcome = store.import(incoming, choice);
    Alert::open(parent, QMessageBox::Information, "importSummary", QStringLiteral("Saved commands imported"),
                outcome.summary() + u'.', {{QMessageBox::Ok}});
}
// The commands read from path, or why there are none, put before the user.
void offer(QWidget *parent, CommandStore &store, const QString &path,
           const std::optional<QList<SavedCommand>> &incoming, const QString &error)
{
    if (!incoming) {
        // Nothing has changed: the whole file is checked first.
        Alert::open(parent, QMessageBox::Warning, "importErrorAlert", QStringLiteral("Nothing was imported"),
                    QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error), {{QMessageBox::Ok}});
        return;
    }
    store.waitUntilLoaded();
    const auto conflicts = LibraryImport::conflicts(store.commands(), *incoming);
    if (conflicts.isEmpty()) {
        finish(parent, store, *incoming, LibraryImport::Conflict::keepMine);
        return;
    }
    // Named, and what differs shown, before anything of the user's is replaced.
    QStringList titles, details;
    for (const auto &[mine, theirs] : conflicts) {
        titles << Text::quoted(mine.title);
        details << Text::quoted(mine.title) + u'\n' + LibraryImport::differences(mine, theirs);
    }
    if (titles.size() > 10)
        titles = titles.mid(0, 9) << QStringLiteral("and %1 more").arg(conflicts.size() - 9);
    QList<Alert::Choice> choices;
    for (const auto &[text, choice] : {std::pair{"Keep Mine", LibraryImport::Conflict::keepMine},
                                       std::pair{"Take Theirs", LibraryImport::Conflict::takeTheirs},
                                       std::pair{"Keep Both", LibraryImport::Conflict::keepBoth}}) {
        // Copied out: a structured binding cannot be captured by every compiler in use.
        const LibraryImport::Conflict chosen = choice;
        choices.append(
            Alert::Choice{QMessageBox::NoButton, QLatin1String(text), QMessageBox::AcceptRole, text,
                          [parent, &store, incoming = *incoming, chosen] { finish(parent, store, incoming, chosen); },
                          chosen == LibraryImport::Conflict::keepMine});
    }
    choices.append(Alert::Choice{QMessageBox::Cancel});
    QMessageBox *ask = Alert::make(
        parent, QMessageBox::Question, "importConflictAlert",
        conflicts.size() == 1
            ? QStringLiteral("The file holds another version of your saved command %1.").arg(titles.first())
            : QStringLiteral("The file holds other versions of %1 of your saved commands: %2.")
                  .arg(conflicts.size())
                  .arg(titles.join(QStringLiteral(", "))),
        QStringLiteral("Keep yours, take the imported versions in their place, or keep both (the imported ones "
                       "then get new ids)? Show Details tells what differs."),
        choices);
    ask->setDetailedText(details.join(QStringLiteral("\n\n")));
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
