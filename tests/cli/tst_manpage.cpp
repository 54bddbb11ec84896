#include "builders/formregistry.h"
#include "readers/flowtext.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {
// As man shows it, in one line: what a reader sees, whatever roff made of the source.
QString rendered(const QString &page, QByteArray *warnings = nullptr)
{
    QProcess man;
    man.start(u"env"_s,
              {u"LC_ALL=C.UTF-8"_s, u"MANWIDTH=100"_s, u"man"_s, u"--warnings=w"_s, u"-P"_s, u"cat"_s, u"-l"_s, page});
    man.waitForFinished(30000);
    if (warnings)
        *warnings = man.readAllStandardError();
    return man.exitCode() == 0 ? QString::fromUtf8(man.readAllStandardOutput()).simplified() : QString();
}
} // namespace

class TestManPage : public QObject
{
    Q_OBJECT

private slots:
    void rendersWithoutWarnings()
    {
        for (const QString &page : {u"" BRINDLECAP_MAN_PAGE ""_s, u"" BRINDLECAP_BUILDER_MAN_PAGE ""_s}) {
            QByteArray warnings;
            QVERIFY2(rendered(page, &warnings).startsWith(QFileInfo(page).baseName().toUpper()), qPrintable(page));
            QCOMPARE(warnings, QByteArray());
        }
    }

    // Each category's section holds each of its fields with its default and choices, in the order
    // `--fields` lists them.
    void listsEveryFieldOfItsCategory()
    {
        const QString text = rendered(u"" BRINDLECAP_MAN_PAGE ""_s);
        const QList<DebugCategory> categories = FormRegistry::builderCategories();
        for (qsizetype i = 0; i < categories.size(); ++i) {
            const QString heading = Enum::caseName(categories.at(i)) + u" \u2014 "_s + Enum::rawValue(categories.at(i));
            const QString next =
                i + 1 < categories.size() ? Enum::caseName(categories.at(i + 1)) + u" \u2014 "_s : u"SAVED COMMANDS"_s;
            const qsizetype start = text.indexOf(heading);
            QVERIFY2(start >= 0, qPrintable(heading));
            const QString section = text.mid(start, text.indexOf(next, start) - start);
            qsizetype at = 0;
            for (const auto &f : FormRegistry::create(categories.at(i))->fields()) {
                QString entry = u" %1 [a-z -]+, default "_s.arg(f.name);
                const bool isText = f.kind == FieldKind::Text || f.kind == FieldKind::MultiLineText;
                entry += isText && f.defaultValue.isEmpty() ? u"empty"_s
                         : isText ? u"\u201c"_s + QRegularExpression::escape(f.defaultValue.simplified()) + u"\u201d"_s
                                  : QRegularExpression::escape(f.defaultValue);
                if (!f.choices.isEmpty())
                    entry += u"; one of "_s + QRegularExpression::escape(f.choices.join(u", "_s));
                const auto match = QRegularExpression(entry + u"\\."_s).match(section, at);
                QVERIFY2(match.hasMatch(), qPrintable(heading + u": "_s + entry));
                at = match.capturedEnd();
            }
        }
    }

    // Every key `read flow --json` writes, nested ones included, from a trace that shows every fact.
    void documentsEveryFlowKey()
    {
        FlowTrace t;
        t.icmp = FlowIcmp{};
        t.session = FlowTrace::Session::created;
        t.dnat = t.snat = FlowEndpoint{};
        t.policyId = 1;
        t.encrypted = true;
        t.records.append(FlowRecord{});
        QStringList keys;
        const std::function<void(const QJsonValue &)> collect = [&](const QJsonValue &v) {
            for (const QJsonValue &item : v.toArray())
                collect(item);
            const QJsonObject o = v.toObject();
            for (auto it = o.begin(); it != o.end(); ++it) {
                keys << it.key();
                collect(it.value());
            }
        };
        collect(QJsonDocument::fromJson(FlowText::json(t)).object());
        QVERIFY(keys.size() > 40);
        const QString text = rendered(u"" BRINDLECAP_MAN_PAGE ""_s);
        const QString section = text.mid(text.indexOf(u"READING DEBUG FLOW OUTPUT"_s));
        for (const QString &key : keys)
            QVERIFY2(section.contains(QRegularExpression(u"\\b"_s + key + u"\\b"_s)), qPrintable(key));
    }
};

QTEST_GUILESS_MAIN(TestManPage)
#include "tst_manpage.moc"
