#include "model/jsontext.h"
#include "model/savedcommand.h"
#include "model/savedcommandfilter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSavedCommand : public QObject
{
    Q_OBJECT

private slots:
    void storedFormIsByteExact();
    void encodingIsQJsonDocumentsOwn_data();
    void encodingIsQJsonDocumentsOwn();
    void readsAsQJsonDocumentDoes_data();
    void readsAsQJsonDocumentDoes();
    void exportText_data();
    void exportText();
    void filter_data();
    void filter();
};

namespace {
// What QJsonDocument makes of the text, record by record: the reading every reader must agree with.
std::optional<QList<SavedCommand>> readByQt(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = JsonText::read(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<SavedCommand> list;
    for (const QJsonValue &value : document.array()) {
        const auto command = value.isObject() ? SavedCommand::fromJson(value.toObject()) : std::nullopt;
        if (!command)
            return std::nullopt;
        list << *command;
    }
    return list;
}

const QByteArray goodObject = R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","title":"T","category":"Ping",)"
                              R"("command":"exec ping 1.1.1.1","notes":"","createdAt":786000000.5})";
} // namespace

void TestSavedCommand::storedFormIsByteExact()
{
    // The one golden record of the file format: six keys sorted, compact, the id upper-case, createdAt in
    // seconds since 2001-01-01 UTC.
    const QDateTime created(QDate(2001, 1, 1), QTime(0, 0, 1, 500), Qt::UTC);
    SavedCommand c = SavedCommand::create(u"a/b \"q\""_s, DebugCategory::flow, u"x\ny"_s, u"n"_s);
    c.id = QUuid(u"{0f8fad5b-d9cb-469f-a165-70867728950e}"_s);
    c.createdAt = SavedCommand::referenceSeconds(created);
    const QByteArray golden = R"([{"category":"Debug Flow","command":"x\ny","createdAt":1.5,)"
                              R"("id":"0F8FAD5B-D9CB-469F-A165-70867728950E","notes":"n","title":"a/b \"q\""}])";
    QCOMPARE(SavedCommand::encodeList({c}), golden);
    QCOMPARE(c.createdAtDateTime(), created);
    QCOMPARE(SavedCommand::decodeList(golden), std::optional(QList<SavedCommand>{c}));
    QCOMPARE(SavedCommand::encodeList({}), QByteArray("[]"));
}

void TestSavedCommand::encodingIsQJsonDocumentsOwn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("createdAt");
    QTest::newRow("escapes") << u"a/b \"q\" \\ \b\f\n\r\t\x01\x1f\x7f end"_s << 740000000.0;
    QTest::newRow("non-ASCII") << u"\u00e9 \u20ac \u2028 \u2603 \U0001F600"_s << 0.1;
    QTest::newRow("lone surrogates") << QString(QChar(0xd800)) + u"x"_s + QChar(0xdfff) << -1.25;
    // As pasted from a ticket: QJsonDocument writes the mark raw, and Qt 6.4 alone would drop it on
    // reading, by the fast reader and (for a number it leaves alone) by QJsonDocument.
    QTest::newRow("byte order mark") << u"\uFEFFvlan100"_s << 786000000.5;
    QTest::newRow("byte order mark, read by Qt") << u"\uFEFFvlan100"_s << 1e300;
    QTest::newRow("empty, negative zero") << QString() << -0.0;
    QTest::newRow("below the millisecond") << u"f"_s << 786543210.123456789;
    QTest::newRow("largest exact whole") << u"l"_s << 9007199254740992.0;
    QTest::newRow("larger whole") << u"l"_s << 1e18;
    QTest::newRow("just beyond any date") << u"h"_s << -1e13;
    QTest::newRow("far past") << u"p"_s << -1e11;
    QTest::newRow("tiny") << u"t"_s << 5e-324;
}

void TestSavedCommand::encodingIsQJsonDocumentsOwn()
{
    QFETCH(QString, text);
    QFETCH(double, createdAt);
    const SavedCommand a{QUuid::createUuid(), text, DebugCategory::saved, text + u"\nline"_s, text, createdAt};
    const QByteArray encoded = SavedCommand::encodeList({a});
    QCOMPARE(encoded, QJsonDocument(QJsonArray{a.toJson()}).toJson(QJsonDocument::Compact));
    // Read back exactly, so that loading and saving never changes a stored value.
    QCOMPARE(SavedCommand::decodeList(encoded), std::optional(QList<SavedCommand>{a}));
    // A date only as far as ECMAScript has dates: 8.64e15 ms either side of 1970.
    QCOMPARE(a.createdAtDateTime().isValid(), std::abs(createdAt) < 1e12);
}

void TestSavedCommand::readsAsQJsonDocumentDoes_data()
{
    // The fuzzer compares both readers on random input, but both share the record checks and JsonText,
    // and only a wrongly accepting fast reader shows (a rejecting one hands over to QJsonDocument): kept
    // are the record rules, with their answer, and the fast reader's acceptance edges.
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("readable"); // -1: as QJsonDocument decides
    const auto row = [](const char *name, const char *from, const char *to, int readable) {
        QTest::newRow(name) << QByteArray("[" + QByteArray(goodObject).replace(from, to) + "]") << readable;
    };
    const char *id = "0F8FAD5B-D9CB-469F-A165-70867728950E";
    row("good", "", "", 1);
    row("lower-case id", id, "0f8fad5b-d9cb-469f-a165-70867728950e", 1);
    row("id with braces", id, "{0F8FAD5B-D9CB-469F-A165-70867728950E}", 0);
    row("id not hex", id, "0F8FAD5B-D9CB-469F-A165-70867728950G", 0);
    row("hex for a hyphen", id, "0F8FAD5B0D9CB-469F-A165-70867728950E", 0);
    row("category in lower case", R"("Ping")", R"("ping")", 0);
    row("notes missing", R"("notes":"",)", "", 0);
    row("notes null", R"("notes":"")", R"("notes":null)", 0);
    row("createdAt as text", "786000000.5", R"("786000000.5")", 0);
    row("form feed is no white space", "{", "\f{", 0);
    row("trailing comma", "}", "},", 0);
    row("extra key", R"("notes":"",)", R"("notes":"","extra":1,)", 1);
    row("exponent", "786000000.5", "7.86E8", 1);
    row("leading zero", "786000000.5", "0786", 0);
    row("many digits", "786000000.5", "123456789012345678901234567890.123456789", 1);
    row("escapes", R"("title":"T")", R"("title":"\u0054\/\n\"")", 1);
    row("lone surrogate escape", R"("title":"T")", R"("title":"\uD800\udc00\uDC00")", 1);
    row("four-byte UTF-8", R"("title":"T")", "\"title\":\"\xF0\x9F\x98\x80\"", 1);
    row("overlong UTF-8", R"("title":"T")", "\"title\":\"\xE0\x80\xAF\"", 0);
    row("bad continuation byte", R"("title":"T")", "\"title\":\"\xC3\x41\"", -1);
    row("UTF-8 surrogate", R"("title":"T")", "\"title\":\"\xED\xA0\x80\"", 0);
    row("beyond U+10FFFF", R"("title":"T")", "\"title\":\"\xF4\x90\x80\x80\"", 0);
    QTest::newRow("one bad among good") << QByteArray("[" + goodObject + ",{}]") << 0;
    QTest::newRow("text after the array") << QByteArray("[" + goodObject + "] x") << 0;
}

void TestSavedCommand::readsAsQJsonDocumentDoes()
{
    QFETCH(QByteArray, json);
    QFETCH(int, readable);
    QString error;
    const auto decoded = SavedCommand::decodeList(json, &error);
    if (readable >= 0)
        QCOMPARE(decoded.has_value(), bool(readable));
    QCOMPARE(error.isEmpty(), decoded.has_value());
    QVERIFY(decoded == readByQt(json));
}

void TestSavedCommand::exportText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("header"); // what comes before the command
    QTest::newRow("no notes: the command alone") << u"BGP"_s << QString() << QString();
    QTest::newRow("notes of spaces are notes") << u"T"_s << u"  "_s << u"# T\n#   \n\n"_s;
    // Every line stays a comment: the file is pasted into a firewall console, where a bare line of
    // notes would run as a command.
    QTest::newRow("multi-line notes, CR LF one break")
        << u"T"_s << u"line one\r\nexecute reboot"_s << u"# T\n# line one\r\n# execute reboot\n\n"_s;
    QTest::newRow("lone CR and line separator")
        << u"A\nB"_s << u"a\rb\u2028c"_s << u"# A\n# B\n# a\r# b\u2028# c\n\n"_s;
}

void TestSavedCommand::exportText()
{
    QFETCH(QString, title);
    QFETCH(QString, notes);
    QFETCH(QString, header);
    const QString command = u"get router info bgp summary\nget router info bgp neighbors"_s;
    QCOMPARE(SavedCommand::create(title, DebugCategory::routing, command, notes).exportText(), header + command);
}

void TestSavedCommand::filter_data()
{
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QString>("expected"); // the commands that pass, by index
    // Nothing of "Policy routes" but its category says "session".
    QTest::newRow("category title") << u"SESSION"_s << u"1"_s;
    QTest::newRow("non-ASCII lower-cased") << u"\u00e9cole"_s << u"2"_s;
    QTest::newRow("across a line break") << u"10.0.0.1\ndiagnose"_s << u"2"_s;
    QTest::newRow("a line break is not trimmed") << u"bgp summary\n"_s << QString();
}

void TestSavedCommand::filter()
{
    QFETCH(QString, searchText);
    QFETCH(QString, expected);
    const QList<SavedCommand> commands{
        SavedCommand::create(u"Core BGP"_s, DebugCategory::routing, u"get router info bgp summary"_s, {}),
        SavedCommand::create(u"Policy routes"_s, DebugCategory::session, u"diagnose firewall proute list"_s, {}),
        SavedCommand::create(u"Branch tunnel"_s, DebugCategory::flow,
                             u"diagnose debug flow filter addr 10.0.0.1\ndiagnose debug enable"_s,
                             u"Opened for \u00c9COLE site"_s),
    };
    const QString query = SavedCommandFilter::query(searchText);
    QString passed;
    for (qsizetype i = 0; i < commands.size(); ++i)
        passed += SavedCommandFilter::matches(commands.at(i), query) ? QString::number(i) : QString();
    QCOMPARE(passed, expected);
}

QTEST_GUILESS_MAIN(TestSavedCommand)
#include "tst_savedcommand.moc"
