#include "commandline.h"

#include "builders/formregistry.h"
#include "completion.h"
#include "filtercheck/filtercheck.h"
#include "help/helpcontent.h"
#include "help/helpplaintext.h"
#include "manpage.h"
#include "model/commandstore.h"
#include "model/savedcommandfilter.h"
#include "model/settingsstorage.h"
#include "text.h"

#include <limits>

namespace {

constexpr int usageError = 2;
constexpr int adviceRefused = 3;

QString categoryNames()
{
    QStringList names;
    for (DebugCategory c : FormRegistry::builderCategories())
        names << Enum::caseName(c);
    return names.join(QStringLiteral(", "));
}

QString usage()
{
    return QStringLiteral(
               "Usage:\n"
               "  brindlecap CATEGORY [FIELD=VALUE ...] [-n] [--title] [--check | --strict]\n"
               "  brindlecap CATEGORY --fields\n"
               "  brindlecap saved list [SEARCH] [--json]\n"
               "  brindlecap saved show ID-PREFIX|TITLE [-n]\n"
               "  brindlecap read sniffer [FILE|-] [-o OUT|-] [--pcap] [--start ISO-8601] [--utc-offset +HH:MM]\n"
               "  brindlecap read flow [FILE|-] [--json]\n"
               "  brindlecap help [TOPIC]\n"
               "  brindlecap --completion bash|zsh|fish\n"
               "  brindlecap --help | --version\n"
               "\n"
               "Prints the FortiOS command text that Brindlecap Builder generates for CATEGORY.\n"
               "Fields not given keep their defaults; `brindlecap CATEGORY --fields` lists them.\n"
               "\n"
               "  -n        print the text without a final line feed\n"
               "  --title   print the panel title instead of the command\n"
               "  --fields  list the category's fields with their kinds and defaults\n"
               "  --check   also print advice on doubtful values (an address that is not one,\n"
               "            a port out of range, a hidden tab) to standard error\n"
               "  --strict  as --check, but any advice means exit status 3 and no command\n"
               "\n"
               "`brindlecap saved list` prints the saved commands, newest first (id, category, date,\n"
               "title), those matching SEARCH as the Saved Commands search does; --json prints them as\n"
               "stored. `brindlecap saved show` prints one command's text. Neither changes anything.\n"
               "\n"
               "`brindlecap read sniffer` turns what `diagnose sniffer packet` printed into a capture\n"
               "file for Wireshark; `brindlecap read flow` prints what `diagnose debug flow` traced,\n"
               "one line per packet with its verdict; `brindlecap read --help` tells more.\n"
               "\n"
               "`brindlecap help` lists the help topics; `brindlecap help TOPIC` prints one as text.\n"
               "\n"
               "Categories: %1\n"
               "Flags take true/false (also on/off, yes/no, 1/0); enumerations take a case name.\n")
        .arg(categoryNames());
}

QString fieldNames(const AnyForm &form)
{
    QStringList names;
    for (const auto &f : form.fields())
        names << f.name;
    return names.join(QStringLiteral(", "));
}

QString kindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
        return QStringLiteral("text");
    case FieldKind::MultiLineText:
        return QStringLiteral("multiline text");
    case FieldKind::Flag:
        return QStringLiteral("flag");
    case FieldKind::Enumeration:
        return QStringLiteral("enum");
    }
    return {};
}

// Text defaults are quoted so that an empty default is visible.
QString shownDefault(const AnyForm::Field &field)
{
    if (field.kind == FieldKind::Text || field.kind == FieldKind::MultiLineText)
        return u'"' + field.defaultValue + u'"';
    return field.defaultValue;
}

QString fieldTable(const AnyForm &form)
{
    const auto fields = form.fields();
    qsizetype nameWidth = 5;
    qsizetype kindWidth = 4;
    qsizetype defaultWidth = 7;
    for (const auto &f : fields) {
        nameWidth = std::max(nameWidth, f.name.size());
        kindWidth = std::max(kindWidth, kindName(f.kind).size());
        defaultWidth = std::max(defaultWidth, shownDefault(f).size());
    }
    const auto row = [&](const QString &name, const QString &kind, const QString &value, const QString &choices) {
        QString line = name.leftJustified(nameWidth + 2) + kind.leftJustified(kindWidth + 2);
        line += choices.isEmpty() ? value : value.leftJustified(defaultWidth + 2) + choices;
        return line + u'\n';
    };
    QString text =
        row(QStringLiteral("FIELD"), QStringLiteral("KIND"), QStringLiteral("DEFAULT"), QStringLiteral("CHOICES"));
    for (const auto &f : fields)
        text += row(f.name, kindName(f.kind), shownDefault(f), f.choices.join(QStringLiteral(", ")));
    return text;
}

CommandLine::Result failure(const QString &message)
{
    return {usageError, {}, (QStringLiteral("brindlecap: ") + message + u'\n').toUtf8()};
}

CommandLine::Result help(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return {0, HelpPlainText::topicList().toUtf8(), {}};
    const QString topicNames = Enum::caseNames<HelpTopic>().join(QStringLiteral(", "));
    if (arguments.size() > 1)
        return failure(QStringLiteral("help takes one topic; valid topics: %1").arg(topicNames));
    const auto topic = Enum::fromCaseName<HelpTopic>(arguments.first());
    if (!topic)
        return failure(
            QStringLiteral("unknown help topic %1; valid topics: %2").arg(Text::quoted(arguments.first()), topicNames));
    // The terminal names keys and the settings file as the desktop application on this system does.
    const HelpPlatform platform = HelpPlatform::current(HelpPlatform::standardShortcutTexts(),
                                                        SettingsStorage().pathOf(SettingsStorage::savedCommands));
    return {0, HelpPlainText::article(articleFor(*topic, platform)).toUtf8(), {}};
}

// One line of `saved list`: short id, category, local date and title, the title escaped so that it
// stays on its line (and, in a message, cut as every quoted value is).
QString listLine(const SavedCommand &command, bool inMessage = false)
{
    const QDateTime created = command.createdAtDateTime();
    return QStringLiteral("%1  %2  %3  %4\n")
        .arg(SavedCommand::idText(command.id).left(8), Enum::caseName(command.category).leftJustified(10),
             created.isValid() ? created.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                               : QStringLiteral("unknown").leftJustified(16),
             inMessage ? Text::quoted(command.title) : Text::escaped(command.title));
}

// Read only: the running window owns the store, and this never races it.
CommandLine::Result saved(const QStringList &arguments)
{
    const QString usage = QStringLiteral("use `saved list [SEARCH] [--json]` or `saved show ID-PREFIX|TITLE [-n]`");
    if (arguments.size() == 1 && (arguments.first() == u"--help" || arguments.first() == u"-h"))
        return {0,
                QByteArrayLiteral("Usage:\n"
                                  "  brindlecap saved list [SEARCH] [--json]\n"
                                  "  brindlecap saved show ID-PREFIX|TITLE [-n]\n"
                                  "\n"
                                  "list prints the saved commands, newest first (id, category, date, title), those\n"
                                  "matching SEARCH as the Saved Commands search does; --json prints them as stored.\n"
                                  "show prints one command's text (-n: without the final line feed), found by the\n"
                                  "start of its id, or its title (in any case, where only one title matches so).\n"
                                  "Neither changes anything.\n"),
                {}};
    if (arguments.isEmpty() || (arguments.first() != u"list" && arguments.first() != u"show"))
        return failure(
            arguments.isEmpty() ? usage : QStringLiteral("unknown %1; ").arg(Text::quoted(arguments.first())) + usage);
    const bool list = arguments.first() == u"list";
    bool json = false;
    bool noNewline = false;
    QStringList words;
    for (const QString &argument : arguments.mid(1)) {
        if (list && argument == u"--json")
            json = true;
        else if (!list && argument == u"-n")
            noNewline = true;
        else if (argument.startsWith(u'-'))
            return failure(QStringLiteral("unknown option %1; ").arg(Text::quoted(argument)) + usage);
        else
            words << argument;
    }
    if (!list && words.size() != 1)
        return failure(QStringLiteral("saved show takes one ID-PREFIX or TITLE"));

    QString error;
    const std::optional<QList<SavedCommand>> stored = CommandStore::readOnly(SettingsStorage(), &error);
    if (!stored)
        return failure(QStringLiteral("the saved commands could not be read: ") + error);

    if (list) {
        const QString query = SavedCommandFilter::query(words.join(u' '));
        QList<SavedCommand> shown;
        for (const SavedCommand &command : *stored) {
            if (SavedCommandFilter::matches(command, query))
                shown << command;
        }
        if (json)
            return {0, SavedCommand::encodeList(shown) + '\n', {}};
        QString text;
        for (const SavedCommand &command : std::as_const(shown))
            text += listLine(command);
        return {0, text.toUtf8(), {}};
    }

    const QString wanted = words.first();
    const bool idLike = std::all_of(wanted.cbegin(), wanted.cend(), [](QChar c) {
        return c == u'-' || ((c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f'));
    });
    QList<SavedCommand> found;
    for (const SavedCommand &command : *stored) {
        if ((idLike && SavedCommand::idText(command.id).startsWith(wanted, Qt::CaseInsensitive)) ||
            command.title == wanted)
            found << command;
    }
    // A title in another case, where no other title is the same so.
    if (found.isEmpty()) {
        for (const SavedCommand &command : *stored) {
            if (command.title.compare(wanted, Qt::CaseInsensitive) == 0)
                found << command;
        }
    }
    if (found.size() == 1)
        return {0, (found.first().command + (noNewline ? QString() : QStringLiteral("\n"))).toUtf8(), {}};
    if (found.isEmpty())
        return failure(QStringLiteral("no saved command has an id starting with or a title equal to %1")
                           .arg(Text::quoted(wanted)));
    QString candidates =
        QStringLiteral("brindlecap: %1 matches %2 saved commands:\n").arg(Text::quoted(wanted)).arg(found.size());
    for (const SavedCommand &command : std::as_const(found))
        candidates += listLine(command, true);
    return {usageError, {}, candidates.toUtf8()};
}

} // namespace

CommandLine::Result CommandLine::run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return {usageError, {}, usage().toUtf8()};
    const QString first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return {0, usage().toUtf8(), {}};
    if (first == QLatin1String("--version"))
        return {0, QByteArrayLiteral("brindlecap " BRINDLECAP_VERSION "\n"), {}};
    if (first == QLatin1String("help"))
        return help(arguments.mid(1));
    if (first == QLatin1String("saved"))
        return saved(arguments.mid(1));
    if (first == QLatin1String("--completion")) {
        if (arguments.size() != 2)
            return failure(
                QStringLiteral("--completion takes one shell; valid shells: %1").arg(Completion::shellNames()));
        const auto script = Completion::script(arguments.at(1));
        if (!script)
            return failure(QStringLiteral("unknown shell %1; valid shells: %2")
                               .arg(Text::quoted(arguments.at(1)), Completion::shellNames()));
        return {0, script->toUtf8(), {}};
    }
    // Undocumented: the build turns this into the installed manual page.
    if (first == QLatin1String("--man"))
        return {0, ManPage::text().toUtf8(), {}};

    const auto category = Enum::fromCaseName<DebugCategory>(first);
    auto form = category ? FormRegistry::create(*category) : nullptr;
    if (!form)
        return failure(
            QStringLiteral("unknown category %1; valid categories: %2").arg(Text::quoted(first), categoryNames()));

    bool noNewline = false;
    bool printTitle = false;
    bool listFields = false;
    bool check = false;
    bool strict = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("-n")) {
            noNewline = true;
            continue;
        }
        if (argument == QLatin1String("--title")) {
            printTitle = true;
            continue;
        }
        if (argument == QLatin1String("--fields")) {
            listFields = true;
            continue;
        }
        if (argument == QLatin1String("--check") || argument == QLatin1String("--strict")) {
            check = true;
            strict = strict || argument == QLatin1String("--strict");
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        if (equals < 0) {
            return failure(QStringLiteral("%1 is not FIELD=VALUE; valid fields for %2: %3")
                               .arg(Text::quoted(argument), first, fieldNames(*form)));
        }
        const QString name = argument.left(equals);
        const QString value = argument.mid(equals + 1);
        if (!form->hasField(name)) {
            return failure(QStringLiteral("unknown field %1 for %2; valid fields: %3")
                               .arg(Text::quoted(name), first, fieldNames(*form)));
        }
        if (!form->setField(name, value)) {
            for (const auto &f : form->fields()) {
                if (f.name != name)
                    continue;
                if (f.kind == FieldKind::Flag)
                    return failure(QStringLiteral("invalid value %1 for flag '%2'; use true or false "
                                                  "(also on/off, yes/no, 1/0)")
                                       .arg(Text::quoted(value), name));
                return failure(QStringLiteral("invalid value %1 for '%2'; valid values: %3")
                                   .arg(Text::quoted(value), name, f.choices.join(QStringLiteral(", "))));
            }
        }
    }

    if (listFields)
        return {0, fieldTable(*form).toUtf8(), {}};
    QString text = printTitle ? form->title() : form->generatedCommand();
    if (!noNewline)
        text += u'\n';
    QString advice;
    if (check) {
        for (const FieldAdvice &a : FilterCheck::adviceWithVerdict(*form))
            advice += QStringLiteral("brindlecap: advice: %1: %2\n").arg(a.field, a.text);
    }
    // A script that must not emit a doubtful command gets none.
    if (strict && !advice.isEmpty())
        return {adviceRefused, {}, advice.toUtf8()};
    return {0, text.toUtf8(), advice.toUtf8()};
}
