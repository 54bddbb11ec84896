#include "builders/sessionview.h"
#include "builders/singlelineedit.h"
#include "model/commandstore.h"
#include "model/settingsstorage.h"
#include "output/commandoutputview.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

class TestSessionView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsDefaults();
    void typingRegeneratesAtOnce();
    void pickerAndChecks();
    void layoutTexts();
    void lineBreaksBecomeSpaces_data();
    void lineBreaksBecomeSpaces();

private:
    QString panelText() const
    {
        return m_view->findChild<QPlainTextEdit *>(QStringLiteral("commandText"))->toPlainText();
    }
    template <typename T> T *field(const char *name) const
    {
        auto *w = m_view->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no field %s", name);
        return w;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
    std::unique_ptr<SessionView> m_view;
};

void TestSessionView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_storage = std::make_unique<SettingsStorage>(m_dir->filePath(QStringLiteral("settings.conf")));
    m_store = std::make_unique<CommandStore>(*m_storage);
    m_view = std::make_unique<SessionView>(*m_store);
    m_view->resize(800, 900);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestSessionView::cleanup()
{
    m_view.reset();
    m_store.reset();
    m_storage.reset();
}

void TestSessionView::showsDefaults()
{
    QCOMPARE(panelText(), QStringLiteral("diagnose sys session filter clear\ndiagnose sys session list"));
    QCOMPARE(m_view->output()->title(), QStringLiteral("Session Diagnostics"));
}

void TestSessionView::typingRegeneratesAtOnce()
{
    QTest::keyClicks(field<QLineEdit>("src"), QStringLiteral(" 10.1.1.10 "));
    QCOMPARE(panelText(),
             QStringLiteral("diagnose sys session filter clear\ndiagnose sys session filter src  10.1.1.10 \n"
                            "diagnose sys session list"));
    QTest::keyClicks(field<QLineEdit>("vdom"), QStringLiteral("root"));
    QTest::keyClicks(field<QLineEdit>("dstPort"), QStringLiteral("443"));
    QCOMPARE(panelText(), QStringLiteral("diagnose sys session filter clear\ndiagnose sys session filter vd root\n"
                                         "diagnose sys session filter src  10.1.1.10 \n"
                                         "diagnose sys session filter dport 443\ndiagnose sys session list"));
    // Erasing a field drops its line again.
    field<QLineEdit>("vdom")->selectAll();
    QTest::keyClick(field<QLineEdit>("vdom"), Qt::Key_Backspace);
    QVERIFY(!panelText().contains(QStringLiteral(" vd ")));
}

void TestSessionView::pickerAndChecks()
{
    auto *proto = field<QComboBox>("proto");
    QCOMPARE(proto->count(), 6);
    QCOMPARE(proto->itemText(3), QStringLiteral("ICMP (1)"));
    proto->setCurrentIndex(3);
    for (const char *name : {"clearFirst", "listAtEnd"})
        QTest::mouseClick(field<QCheckBox>(name), Qt::LeftButton);
    QCOMPARE(panelText(), QStringLiteral("diagnose sys session filter proto 1"));

    QTest::mouseClick(field<QCheckBox>("stats"), Qt::LeftButton);
    QTest::mouseClick(field<QCheckBox>("negate"), Qt::LeftButton);
    QCOMPARE(panelText(), QStringLiteral("diagnose sys session filter proto 1\ndiagnose sys session filter negate\n"
                                         "diagnose sys session stat"));

    proto->setCurrentIndex(0);
    QTest::mouseClick(field<QCheckBox>("stats"), Qt::LeftButton);
    QTest::mouseClick(field<QCheckBox>("negate"), Qt::LeftButton);
    QCOMPARE(panelText(), QString());
    // Empty text: the panel shows its empty-state line instead of the text area.
    QVERIFY(m_view->findChild<QLabel *>(QStringLiteral("emptyCommand"))->isVisible());
    QVERIFY(!m_view->findChild<QPlainTextEdit *>(QStringLiteral("commandText"))->isVisible());
}

void TestSessionView::layoutTexts()
{
    QCOMPARE(field<QLabel>("formTitle")->text(), QStringLiteral("Session Diagnostics"));
    // The back-quoted words are rendered as code, not shown with their quotes.
    const QString description = field<QLabel>("formDescription")->text();
    QVERIFY(description.contains(QStringLiteral("<code")));
    QVERIFY(!description.contains(u'`'));
    QVERIFY(description.contains(QStringLiteral(">diagnose sys session filter</code>")));

    QStringList groups;
    for (auto *box : m_view->findChildren<QGroupBox *>())
        groups << box->title();
    QCOMPARE(groups,
             (QStringList{QStringLiteral("Generated Command"), QStringLiteral("Filters"), QStringLiteral("Options")}));

    const QList<std::pair<const char *, QString>> placeholders = {
        {"src", QStringLiteral("e.g. 10.1.1.10")},
        {"dst", QStringLiteral("e.g. 8.8.8.8")},
        {"srcPort", QStringLiteral("e.g. 54321")},
        {"dstPort", QStringLiteral("e.g. 443")},
        {"vdom", QStringLiteral("optional numeric VDOM index")}};
    for (const auto &[name, placeholder] : placeholders)
        QCOMPARE(field<QLineEdit>(name)->placeholderText(), placeholder);
    QCOMPARE(field<QLineEdit>("dstPort")->accessibleName(), QStringLiteral("Destination Port:"));
    QCOMPARE(field<QComboBox>("proto")->accessibleName(), QStringLiteral("Protocol:"));
    QCOMPARE(field<QCheckBox>("negate")->text(), QStringLiteral("Negate filter (invert match)"));
    QCOMPARE(field<QCheckBox>("listAtEnd")->accessibleName(), QStringLiteral("Append diagnose sys session list"));
    QVERIFY(field<QLabel>("listAtEndLabel")->text().contains(QStringLiteral(">diagnose sys session list</code>")));

    // The form order: filters, options, panel last.
    const auto y = [this](QWidget *w) { return w->mapTo(m_view->widget(), QPoint()).y(); };
    QVERIFY(y(field<QLineEdit>("src")) < y(field<QLineEdit>("dst")));
    QVERIFY(y(field<QComboBox>("proto")) < y(field<QLineEdit>("vdom")));
    QVERIFY(y(field<QLineEdit>("vdom")) < y(field<QCheckBox>("clearFirst")));
    QVERIFY(y(field<QCheckBox>("clearFirst")) < y(field<QCheckBox>("negate")));
    QVERIFY(y(field<QCheckBox>("stats")) < y(field<QCheckBox>("listAtEnd")));
    QVERIFY(y(field<QCheckBox>("listAtEnd")) < y(m_view->output()));
}

void TestSessionView::lineBreaksBecomeSpaces_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line feed") << QStringLiteral("10.0.0.1\nexecute reboot")
                               << QStringLiteral("10.0.0.1 execute reboot");
    QTest::newRow("crlf") << QStringLiteral("10.0.0.1\r\n") << QStringLiteral("10.0.0.1  ");
    QTest::newRow("unicode separators") << QStringLiteral("a\u2028b\u2029c\u0085d\ve\ff")
                                        << QStringLiteral("a b c d e f");
}

void TestSessionView::lineBreaksBecomeSpaces()
{
    QFETCH(QString, pasted);
    QFETCH(QString, expected);
    auto *src = field<QLineEdit>("src");

    // Pasted from the clipboard.
    QGuiApplication::clipboard()->setText(pasted);
    src->setFocus();
    src->paste();
    QCOMPARE(src->text(), expected);
    QCOMPARE(panelText().count(u'\n'), 2); // clear, src, list: no extra line smuggled in

    // Committed by an input method (how a typed line break would arrive), and set by code.
    src->clear();
    QInputMethodEvent commit;
    commit.setCommitString(pasted);
    QApplication::sendEvent(src, &commit);
    QCOMPARE(src->text(), expected);
    src->setText(pasted);
    QCOMPARE(src->text(), expected);
    QCOMPARE(panelText(), QStringLiteral("diagnose sys session filter clear\ndiagnose sys session filter src ") +
                              expected + QStringLiteral("\ndiagnose sys session list"));
}

QTEST_MAIN(TestSessionView)
#include "tst_sessionview.moc"
