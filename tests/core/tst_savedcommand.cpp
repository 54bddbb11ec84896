#include "model/interfacestore.h"
#include "model/jsontext.h"
#include "model/savedcommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class TestSavedCommand : public QObject
{
    Q_OBJECT

private slots:
    void encodesCompactWithSixKeys();
    void roundTrip();
    void readsAnyKeyOrderAndEscaping();
    void readsAsQJsonDocumentDoes_data();
    void readsAsQJsonDocumentDoes();
    void keepsAByteOrderMarkStartingAString();
    void encodingIsQJsonDocumentsOwn_data();
    void encodingIsQJsonDocumentsOwn();
    void exportText_data();
    void exportText();
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

void TestSavedCommand::encodesCompactWithSixKeys()
{
    SavedCommand c{QUuid(QStringLiteral("{0f8fad5b-d9cb-469f-a165-70867728950e}")),
                   QStringLiteral("a/b"),
                   DebugCategory::flow,
                   QStringLiteral("x\ny"),
                   QStringLiteral("n"),
                   1.25};
    const QByteArray json = SavedCommand::encodeList({c});
    QVERIFY2(!json.contains('\n') && !json.contains("\": ") && !json.contains(", \""), json.constData());
    QVERIFY(json.startsWith("[{") && json.endsWith("}]"));
    const QJsonObject object = QJsonDocument::fromJson(json).array().first().toObject();
    QCOMPARE(object.keys().size(), 6);
    QCOMPARE(object.value(QStringLiteral("id")).toString(), QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E"));
    QCOMPARE(object.value(QStringLiteral("category")).toString(), QStringLiteral("Debug Flow"));
    QCOMPARE(object.value(QStringLiteral("command")).toString(), QStringLiteral("x\ny"));
    QVERIFY(json.contains(R"("command":"x\ny")"));
    QCOMPARE(object.value(QStringLiteral("createdAt")).toDouble(), 1.25);
    QCOMPARE(SavedCommand::encodeList({}), QByteArray("[]"));
}

void TestSavedCommand::roundTrip()
{
    SavedCommand c = SavedCommand::create(QStringLiteral("Routing / BGP"), DebugCategory::routing,
                                          QStringLiteral("get router info bgp summary\ndiagnose debug enable"),
                                          QStringLiteral("say \"hi\"\\ and\ttab — ünïcode"));
    // A time with sub-millisecond digits, as another writer may have stored it.
    c.createdAt = 786543210.123456789;
    SavedCommand other = SavedCommand::create(QStringLiteral("second"), DebugCategory::saved, QString(), QString());

    const auto decoded = SavedCommand::decodeList(SavedCommand::encodeList({c, other}));
    QVERIFY(decoded);
    QCOMPARE(decoded->size(), 2);
    QVERIFY(decoded->at(0) == c);
    QVERIFY(decoded->at(1) == other);
    QCOMPARE(decoded->at(0).createdAt, 786543210.123456789);

    // The reference date is 2001-01-01 00:00:00 UTC.
    const SavedCommand epoch{QUuid::createUuid(), {}, DebugCategory::session, {}, {}, 0};
    QCOMPARE(epoch.createdAtDateTime(), QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC));
    QCOMPARE(SavedCommand::referenceSeconds(QDateTime(QDate(2001, 1, 1), QTime(0, 0, 1, 500), Qt::UTC)), 1.5);
}

void TestSavedCommand::readsAnyKeyOrderAndEscaping()
{
    const QByteArray json = R"([{"createdAt":10,"notes":"a\/b","command":"l1\nl2","category":"Debug Flow",)"
                            R"("title":"\u0054itle","id":"0f8fad5b-d9cb-469f-a165-70867728950e"}])";
    QString error;
    const auto decoded = SavedCommand::decodeList(json, &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(decoded->size(), 1);
    const SavedCommand &c = decoded->first();
    QCOMPARE(c.notes, QStringLiteral("a/b"));
    QCOMPARE(c.title, QStringLiteral("Title"));
    QCOMPARE(c.command, QStringLiteral("l1\nl2"));
    QCOMPARE(c.category, DebugCategory::flow);
    QCOMPARE(c.createdAt, 10.0);
    QCOMPARE(SavedCommand::idText(c.id), QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E"));
}

void TestSavedCommand::readsAsQJsonDocumentDoes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("readable"); // -1: as QJsonDocument decides

    QTest::newRow("good") << QByteArray("[" + goodObject + "]") << 1;
    QTest::newRow("empty array") << QByteArray("[]") << 1;
    QTest::newRow("not json") << QByteArray("[{") << 0;
    QTest::newRow("object, not array") << goodObject << 0;
    QTest::newRow("array of strings") << QByteArray(R"(["x"])") << 0;
    QTest::newRow("one bad among good") << QByteArray("[" + goodObject +
                                                      R"(,{"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","title":"T",)"
                                                      R"("category":"Ping","command":"c","createdAt":1}])")
                                        << 0;

    const auto variant = [](const char *from, const char *to) {
        return QByteArray("[" + QByteArray(goodObject).replace(from, to) + "]");
    };
    QTest::newRow("missing notes") << variant(R"("notes":"",)", "") << 0;
    QTest::newRow("missing createdAt") << variant(R"(,"createdAt":786000000.5)", "") << 0;
    QTest::newRow("notes not a string") << variant(R"("notes":"")", R"("notes":null)") << 0;
    QTest::newRow("createdAt as text") << variant("786000000.5", R"("786000000.5")") << 0;
    QTest::newRow("title a number") << variant(R"("title":"T")", R"("title":5)") << 0;
    QTest::newRow("unknown category") << variant(R"("Ping")", R"("ping")") << 0;
    QTest::newRow("category with space") << variant(R"("Ping")", R"("Ping ")") << 0;
    QTest::newRow("uuid with braces") << variant("0F8FAD5B-D9CB-469F-A165-70867728950E",
                                                 "{0F8FAD5B-D9CB-469F-A165-70867728950E}")
                                      << 0;
    QTest::newRow("uuid short group") << variant("0F8FAD5B-D9CB-469F-A165-70867728950E",
                                                 "0F8FAD5B-D9CB-469F-A165-70867728950")
                                      << 0;
    QTest::newRow("uuid not hex") << variant("0F8FAD5B-D9CB-469F-A165-70867728950E",
                                             "0F8FAD5B-D9CB-469F-A165-70867728950G")
                                  << 0;
    QTest::newRow("uuid without hyphens")
        << variant("0F8FAD5B-D9CB-469F-A165-70867728950E", "0F8FAD5BD9CB469FA16570867728950E") << 0;
    QTest::newRow("extra key is fine") << variant(R"("notes":"",)", R"("notes":"","extra":1,)") << 1;

    // Where a reader of its own could differ from QJsonDocument.
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[" + goodObject + "]") << 1;
    QTest::newRow("white space everywhere")
        << QByteArray(" \t[\r\n" + QByteArray(goodObject).replace(",", " ,\n ").replace(":", "\t:\r") + " ]\n") << 1;
    QTest::newRow("form feed is not white space") << QByteArray("\f[" + goodObject + "]") << 0;
    QTest::newRow("negative zero") << variant("786000000.5", "-0") << 1;
    QTest::newRow("negative zero fraction") << variant("786000000.5", "-0.000") << 1;
    QTest::newRow("exponent") << variant("786000000.5", "7.86E8") << 1;
    QTest::newRow("negative exponent") << variant("786000000.5", "5e-324") << -1;
    QTest::newRow("overflowing exponent") << variant("786000000.5", "1e400") << -1;
    QTest::newRow("leading zero") << variant("786000000.5", "0786") << 0;
    QTest::newRow("point without digits") << variant("786000000.5", "786.") << -1;
    QTest::newRow("plus sign") << variant("786000000.5", "+786") << 0;
    QTest::newRow("many digits") << variant("786000000.5", "123456789012345678901234567890.123456789") << 1;
    QTest::newRow("largest integer") << variant("786000000.5", "9223372036854775807") << 1;
    QTest::newRow("duplicate key") << variant(R"("title":"T")", R"("title":"T","title":"U")") << 1;
    QTest::newRow("escaped key") << variant(R"("title":"T")", R"("\u0074itle":"T")") << 1;
    QTest::newRow("unknown escape") << variant(R"("title":"T")", R"("title":"\x\q")") << -1;
    QTest::newRow("raw control character") << variant(R"("title":"T")", "\"title\":\"a\tb\x01\"") << -1;
    QTest::newRow("lone surrogate escape") << variant(R"("title":"T")", R"("title":"\uD800\udc00\uDC00")") << 1;
    QTest::newRow("short unicode escape") << variant(R"("title":"T")", R"("title":"\u12")") << 0;
    QTest::newRow("four-byte UTF-8") << variant(R"("title":"T")", "\"title\":\"\xF0\x9F\x98\x80\"") << 1;
    QTest::newRow("overlong UTF-8") << variant(R"("title":"T")", "\"title\":\"\xC0\xAF\"") << 0;
    QTest::newRow("UTF-8 surrogate") << variant(R"("title":"T")", "\"title\":\"\xED\xA0\x80\"") << 0;
    QTest::newRow("beyond U+10FFFF") << variant(R"("title":"T")", "\"title\":\"\xF4\x90\x80\x80\"") << 0;
    QTest::newRow("noncharacter") << variant(R"("title":"T")", "\"title\":\"\xEF\xBF\xBE\"") << -1;
    QTest::newRow("cut-off sequence") << variant(R"("title":"T")", "\"title\":\"\xE2\x82\"") << 0;
    QTest::newRow("trailing comma") << QByteArray("[" + goodObject + ",]") << 0;
    QTest::newRow("text after the array") << QByteArray("[" + goodObject + "] x") << 0;
    QTest::newRow("unterminated") << QByteArray("[" + goodObject) << 0;
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

void TestSavedCommand::keepsAByteOrderMarkStartingAString()
{
    // As pasted from a ticket: QJsonDocument writes the mark raw, and Qt 6.4 would drop it on reading.
    const QString marked = QStringLiteral("\uFEFFvlan100");
    SavedCommand c = SavedCommand::create(marked, DebugCategory::sniffer, marked, marked);
    for (double createdAt : {786000000.5, 1e300}) { // the second is read by QJsonDocument
        c.createdAt = createdAt;
        const QByteArray json = SavedCommand::encodeList({c});
        QVERIFY(json.contains("\xEF\xBB\xBFvlan100"));
        QCOMPARE(SavedCommand::decodeList(json), std::optional(QList<SavedCommand>{c}));
    }
    const QStringList names{marked, QStringLiteral("port1")};
    QCOMPARE(InterfaceStore::decode(QJsonDocument(QJsonArray::fromStringList(names)).toJson()), std::optional(names));
}

void TestSavedCommand::encodingIsQJsonDocumentsOwn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("createdAt");
    QTest::newRow("plain") << QStringLiteral("exec ping 1.1.1.1") << 786000000.5;
    QTest::newRow("escapes") << QStringLiteral("a/b \"q\" \\ \b\f\n\r\t\x01\x1f\x7f end") << 740000000.0;
    QTest::newRow("non-ASCII") << QStringLiteral("\u00e9 \u20ac \u2028 \u2603 \U0001F600") << 0.1;
    QTest::newRow("lone surrogates") << QString(QChar(0xd800)) + QStringLiteral("x") + QChar(0xdfff) << -1.25;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("negative zero") << QStringLiteral("z") << -0.0;
    QTest::newRow("fraction digits") << QStringLiteral("f") << 123456789.123456789;
    QTest::newRow("large whole") << QStringLiteral("l") << 9007199254740992.0;
    QTest::newRow("larger whole") << QStringLiteral("l") << 1e18;
    QTest::newRow("huge") << QStringLiteral("h") << 1e21;
    QTest::newRow("tiny") << QStringLiteral("t") << 1e-7;
}

void TestSavedCommand::encodingIsQJsonDocumentsOwn()
{
    QFETCH(QString, text);
    QFETCH(double, createdAt);
    const SavedCommand a{
        QUuid::createUuid(), text, DebugCategory::saved, text + QStringLiteral("\nline"), text, createdAt};
    const SavedCommand b = SavedCommand::create(QStringLiteral("second"), DebugCategory::ha, QStringLiteral("x"), {});
    QJsonArray array{a.toJson(), b.toJson()};
    QCOMPARE(SavedCommand::encodeList({a, b}), QJsonDocument(array).toJson(QJsonDocument::Compact));
    QCOMPARE(SavedCommand::encodeList({}), QByteArray("[]"));
}

void TestSavedCommand::exportText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("expected");

    const QString command = QStringLiteral("get router info bgp summary\nget router info bgp neighbors");
    QTest::newRow("no notes: the command alone") << QStringLiteral("BGP") << QString() << command;
    QTest::newRow("notes: header, empty line, command")
        << QStringLiteral("BGP") << QStringLiteral("check peer") << QStringLiteral("# BGP\n# check peer\n\n") + command;
    QTest::newRow("notes of spaces are notes")
        << QStringLiteral("T") << QStringLiteral("  ") << QStringLiteral("# T\n#   \n\n") + command;
    // Every line stays a comment: the file is pasted into a firewall console, where a bare line of
    // notes would run as a command.
    QTest::newRow("multi-line notes") << QStringLiteral("T") << QStringLiteral("line one\nexecute reboot")
                                      << QStringLiteral("# T\n# line one\n# execute reboot\n\n") + command;
    QTest::newRow("CR LF is one break") << QStringLiteral("T") << QStringLiteral("a\r\nb")
                                        << QStringLiteral("# T\n# a\r\n# b\n\n") + command;
    QTest::newRow("lone CR and line separator") << QStringLiteral("T") << QStringLiteral("a\rb\u2028c")
                                                << QStringLiteral("# T\n# a\r# b\u2028# c\n\n") + command;
    QTest::newRow("title with a line break (hand-edited store)")
        << QStringLiteral("A\nB") << QStringLiteral("n") << QStringLiteral("# A\n# B\n# n\n\n") + command;
}

void TestSavedCommand::exportText()
{
    QFETCH(QString, title);
    QFETCH(QString, notes);
    QFETCH(QString, expected);
    const SavedCommand c =
        SavedCommand::create(title, DebugCategory::routing,
                             QStringLiteral("get router info bgp summary\nget router info bgp neighbors"), notes);
    QCOMPARE(c.exportText(), expected);
}

QTEST_GUILESS_MAIN(TestSavedCommand)
#include "tst_savedcommand.moc"
