// The saved-command store and browser with 10,000 saved commands of realistic size: start-up load,
// one add, update and delete (the UI thread's share, and until the change is on disk), one search
// keystroke, and opening the Saved Commands category; and importing 200,000 commands.
// Run: build/bench/bench/savedcommands/bench_savedcommands (offscreen unless QT_QPA_PLATFORM is set).

#include "app/contentview.h"
#include "model/atomicfile.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/navigationstate.h"
#include "model/settingsstorage.h"
#include "saved/savedcommandlistmodel.h"
#include "saved/savedcommandsview.h"

#include "widgetsmain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {
constexpr int commandCount = 10000;

QString pick(std::mt19937 &random, const QStringList &from)
{
    return from.at(int(random() % from.size()));
}

QString address(std::mt19937 &random)
{
    return QStringLiteral("10.%1.%2.%3").arg(random() % 256).arg(random() % 256).arg(random() % 254 + 1);
}

// 5 to 15 lines of the kind of text the builders produce.
QString commandText(std::mt19937 &random, DebugCategory category)
{
    const int lines = 5 + int(random() % 11);
    QStringList text;
    switch (category) {
    case DebugCategory::flow:
        text << QStringLiteral("diagnose debug reset") << QStringLiteral("diagnose debug flow filter clear");
        break;
    case DebugCategory::session:
        text << QStringLiteral("diagnose sys session filter clear");
        break;
    default:
        break;
    }
    const QStringList pool{
        QStringLiteral("diagnose debug flow filter addr %1"),
        QStringLiteral("diagnose debug flow show function-name enable"),
        QStringLiteral("diagnose debug flow trace start 100"),
        QStringLiteral("diagnose sys session filter src %1"),
        QStringLiteral("diagnose sys session filter dport 443"),
        QStringLiteral("diagnose sniffer packet port1 'host %1 and tcp port 443' 4 200 l"),
        QStringLiteral("get router info bgp neighbors %1 advertised-routes"),
        QStringLiteral("get router info routing-table details %1"),
        QStringLiteral("diagnose vpn ike log-filter dst-addr4 %1"),
        QStringLiteral("execute ping-options source %1"),
        QStringLiteral("diagnose firewall proute list"),
        QStringLiteral("diagnose sys ha checksum cluster"),
    };
    while (text.size() < lines - 1) {
        const QString line = pick(random, pool);
        text << (line.contains(QLatin1String("%1")) ? line.arg(address(random)) : line);
    }
    text << QStringLiteral("diagnose debug enable");
    return text.join(u'\n');
}

QList<SavedCommand> realisticCommands()
{
    std::mt19937 random(20240603);
    const QStringList sites{QStringLiteral("HQ-FW01"), QStringLiteral("Branch 12"), QStringLiteral("DC / core"),
                            QStringLiteral("Lab FGT-60F"), QStringLiteral("Paris edge")};
    const QStringList topics{
        QStringLiteral("BGP neighbour check"), QStringLiteral("tunnel flaps"), QStringLiteral("DNS sessions"),
        QStringLiteral("asymmetric routing"),  QStringLiteral("HA sync"),      QStringLiteral("slow web traffic")};
    const QStringList notes{QStringLiteral("Run during the change window only."),
                            QStringLiteral("Peer drops every night around 02:00.\nCompare with the branch output."),
                            QStringLiteral("Ticket INC-20931; customer reports timeouts to the portal."),
                            QStringLiteral("Stop the debug afterwards!")};
    const QList<DebugCategory> categories = Enum::allCases<DebugCategory>();
    QList<SavedCommand> commands;
    commands.reserve(commandCount);
    for (int i = 0; i < commandCount; ++i) {
        const DebugCategory category = categories.at(int(random() % (categories.size() - 1)));
        SavedCommand c = SavedCommand::create(
            QStringLiteral("%1 %2 #%3").arg(pick(random, sites), pick(random, topics)).arg(i), category,
            commandText(random, category), random() % 10 < 6 ? QString() : pick(random, notes));
        c.createdAt = 740000000.0 + i * 3600.0;
        commands << c;
    }
    return commands;
}

// One saved-commands file holding the 10,000 commands, written once for every benchmark.
struct Fixture {
    QTemporaryDir dir;
    QString file;
    QList<SavedCommand> commands;
    QByteArray encoded;

    Fixture()
        : file(dir.filePath(QLatin1String(SettingsStorage::savedCommands.fileName)))
        , commands(realisticCommands())
        , encoded(SavedCommand::encodeList(commands))
    {
        AtomicFile::write(file, encoded);
    }

    static Fixture &get()
    {
        static Fixture fixture;
        return fixture;
    }
};

void reportSizes(benchmark::State &state)
{
    state.counters["json_MB"] = double(Fixture::get().encoded.size()) / 1e6;
}

// --- start-up load, and its two parts

// A folder of its own holding a copy of the 10,000 commands, so that each store reads its own file
// and writes beside it.
QString settingsCopy(const QTemporaryDir &dir)
{
    static int copies = 0;
    const QString folder = dir.filePath(QString::number(++copies));
    QDir().mkpath(folder);
    QFile::copy(Fixture::get().file, folder + u'/' + QLatin1String(SettingsStorage::savedCommands.fileName));
    return folder + QStringLiteral("/settings.conf");
}

void BM_LoadAtStartUp(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        const QString settings = settingsCopy(dir);
        state.ResumeTiming();
        SettingsStorage storage(settings);
        CommandStore store(storage);
        if (store.commands().size() != commandCount)
            state.SkipWithError("the store did not load");
        benchmark::DoNotOptimize(store.commands().constData());
    }
    reportSizes(state);
}

void BM_LoadPart_ReadFile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AtomicFile::read(Fixture::get().file)->size());
}

void BM_LoadPart_DecodeJson(benchmark::State &state)
{
    Fixture &fixture = Fixture::get();
    for (auto _ : state)
        benchmark::DoNotOptimize(SavedCommand::decodeList(fixture.encoded)->size());
}

// --- one add, update and delete: what the UI thread spends, and the time until the change is on disk

enum class Change { add, update, remove };

void change(CommandStore &store, Change kind, const SavedCommand &added)
{
    switch (kind) {
    case Change::add:
        store.add(added);
        break;
    case Change::update: {
        SavedCommand edited = store.commands().at(store.commands().size() / 2);
        edited.notes += u'.';
        store.update(edited);
        break;
    }
    case Change::remove:
        store.remove(store.commands().first().id);
        break;
    }
}

template <Change kind, bool untilOnDisk> void BM_Change(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsStorage storage(settingsCopy(dir));
    CommandStore store(storage);
    const SavedCommand added = Fixture::get().commands.at(42);
    for (auto _ : state) {
        change(store, kind, added);
        if (!untilOnDisk)
            state.PauseTiming();
        if (!store.flush())
            state.SkipWithError("could not write");
        // The next change starts from the same list: 10,000 commands.
        if (kind != Change::update) {
            if (untilOnDisk)
                state.PauseTiming();
            change(store, kind == Change::add ? Change::remove : Change::add, added);
            store.flush();
            if (untilOnDisk)
                state.ResumeTiming();
        }
        if (!untilOnDisk)
            state.ResumeTiming();
    }
}

// The Saved Commands browser over store, laid out and painted as the user sees it.
std::unique_ptr<SavedCommandsView> shownBrowser(CommandStore &store)
{
    auto view = std::make_unique<SavedCommandsView>(store);
    view->resize(900, 700);
    view->show();
    QApplication::processEvents();
    return view;
}

// The same edit made in the Saved Commands browser: the store's share and the list's refresh.
void BM_Update_UIThread_BrowserOpen(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsStorage storage(settingsCopy(dir));
    CommandStore store(storage);
    const auto view = shownBrowser(store);
    for (auto _ : state) {
        change(store, Change::update, {});
        QApplication::processEvents();
        state.PauseTiming();
        store.flush();
        state.ResumeTiming();
    }
}

void BM_AddPart_EncodeJson(benchmark::State &state)
{
    Fixture &fixture = Fixture::get();
    for (auto _ : state)
        benchmark::DoNotOptimize(SavedCommand::encodeList(fixture.commands).size());
}

void BM_AddPart_WriteFile(benchmark::State &state)
{
    Fixture &fixture = Fixture::get();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("saved-commands.json"));
    for (auto _ : state) {
        if (!AtomicFile::write(file, fixture.encoded))
            state.SkipWithError("could not write");
    }
}

// --- one search keystroke: typing "bgp" and erasing it again, one key per iteration

void BM_SearchKeystroke(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsStorage storage(settingsCopy(dir));
    CommandStore store(storage);
    const auto view = shownBrowser(store);
    const QList<Qt::Key> keys{Qt::Key_B, Qt::Key_G, Qt::Key_P, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace};
    qsizetype next = 0;
    for (auto _ : state) {
        QTest::keyClick(view->searchField(), keys.at(next));
        // Lay out and paint what the user sees.
        QApplication::processEvents();
        next = (next + 1) % keys.size();
    }
    state.counters["rows_after_last_key"] = view->model()->rowCount();
}

void BM_SearchPart_FilterOnly(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsStorage storage(settingsCopy(dir));
    CommandStore store(storage);
    SavedCommandListModel model(store);
    const QStringList queries{QStringLiteral("b"),  QStringLiteral("bg"), QStringLiteral("bgp"),
                              QStringLiteral("bg"), QStringLiteral("b"),  QString()};
    qsizetype next = 0;
    for (auto _ : state) {
        model.setSearchText(queries.at(next));
        next = (next + 1) % queries.size();
    }
}

// --- opening the Saved Commands category in the main window's content

void BM_OpenSavedCommandsCategory(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsStorage storage(settingsCopy(dir));
    CommandStore store(storage);
    InterfaceStore interfaces(storage);
    NavigationState nav;
    ContentView content(Stores{store, interfaces}, nav);
    content.resize(1100, 760);
    content.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        nav.setSelectedCategory(std::nullopt);
        QApplication::processEvents();
        state.ResumeTiming();
        nav.setSelectedCategory(DebugCategory::saved);
        QApplication::processEvents();
    }
}

// --- importing 200,000 commands (a colleague's whole library, twenty times over) into 200 of the user's

struct ImportFixture {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("import.json"));
    QList<SavedCommand> incoming;

    ImportFixture()
    {
        for (int copy = 0; copy < 20; ++copy) {
            for (SavedCommand c : Fixture::get().commands) {
                c.id = QUuid::createUuid();
                incoming << c;
            }
        }
        AtomicFile::write(file, SavedCommand::encodeList(incoming));
    }
    static ImportFixture &get()
    {
        static ImportFixture fixture;
        return fixture;
    }
};

// What the worker thread does: read the file and check every entry.
void BM_Import200k_ReadAndDecode(benchmark::State &state)
{
    const ImportFixture &fixture = ImportFixture::get();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            SavedCommand::decodeList(*AtomicFile::read(fixture.file), nullptr, nullptr, [](double) {
                return true;
            })->size());
    state.counters["json_MB"] = double(QFileInfo(fixture.file).size()) / 1e6;
}

// Merely reading the file, to compare with.
void BM_Import200k_ReadFile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AtomicFile::read(ImportFixture::get().file)->size());
}

// What the UI thread does with the result: count the conflicts and merge into the store.
void BM_Import200k_Merge_UIThread(benchmark::State &state)
{
    const QList<SavedCommand> &incoming = ImportFixture::get().incoming;
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        SettingsStorage storage(dir.filePath(QStringLiteral("settings.conf")));
        CommandStore store(storage);
        for (const SavedCommand &c : Fixture::get().commands.mid(0, 200))
            store.add(c);
        store.flush();
        state.ResumeTiming();
        benchmark::DoNotOptimize(LibraryImport::conflicts(store.commands(), incoming).size());
        benchmark::DoNotOptimize(store.import(incoming, LibraryImport::Conflict::keepMine).added);
        state.PauseTiming();
        store.flush();
        QFile::remove(store.fileName());
        state.ResumeTiming();
    }
}

constexpr int repetitions = 9;
#define BRINDLECAP_BENCHMARK(...)                                                                                      \
    BENCHMARK(__VA_ARGS__)->Unit(benchmark::kMillisecond)->Repetitions(repetitions)->ReportAggregatesOnly(true)
BRINDLECAP_BENCHMARK(BM_LoadAtStartUp);
BRINDLECAP_BENCHMARK(BM_LoadPart_ReadFile);
BRINDLECAP_BENCHMARK(BM_LoadPart_DecodeJson);
// Fixed iterations: the untimed part of each (waiting for the write, undoing the change) is most of
// its cost, which would make Google Benchmark's own choice of iterations take many minutes.
BRINDLECAP_BENCHMARK(BM_Change<Change::add, false>)->Name("BM_Add_UIThread")->Iterations(30)->Repetitions(5);
BRINDLECAP_BENCHMARK(BM_Change<Change::add, true>)->Name("BM_Add_UntilOnDisk")->Iterations(30)->Repetitions(5);
BRINDLECAP_BENCHMARK(BM_Change<Change::update, false>)->Name("BM_Update_UIThread")->Iterations(30)->Repetitions(5);
BRINDLECAP_BENCHMARK(BM_Change<Change::update, true>)->Name("BM_Update_UntilOnDisk")->Iterations(30)->Repetitions(5);
BRINDLECAP_BENCHMARK(BM_Change<Change::remove, false>)->Name("BM_Delete_UIThread")->Iterations(30)->Repetitions(5);
BRINDLECAP_BENCHMARK(BM_Change<Change::remove, true>)->Name("BM_Delete_UntilOnDisk")->Iterations(30)->Repetitions(5);
BRINDLECAP_BENCHMARK(BM_Update_UIThread_BrowserOpen)->Iterations(30)->Repetitions(5);
BRINDLECAP_BENCHMARK(BM_AddPart_EncodeJson);
BRINDLECAP_BENCHMARK(BM_AddPart_WriteFile);
BRINDLECAP_BENCHMARK(BM_SearchKeystroke);
BRINDLECAP_BENCHMARK(BM_SearchPart_FilterOnly);
BRINDLECAP_BENCHMARK(BM_OpenSavedCommandsCategory);
BRINDLECAP_BENCHMARK(BM_Import200k_ReadFile)->Repetitions(3);
BRINDLECAP_BENCHMARK(BM_Import200k_ReadAndDecode)->Repetitions(3);
BRINDLECAP_BENCHMARK(BM_Import200k_Merge_UIThread)->Iterations(3)->Repetitions(3);
} // namespace

BRINDLECAP_WIDGETS_BENCHMARK_MAIN()
