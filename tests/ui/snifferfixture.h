#pragma once

#include "builders/snifferview.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/settingsstorage.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

// A Sniffer form on screen with its own temporary settings file, as the Sniffer tests share it.
class SnifferFixture
{
public:
    // Settings written before the form exists (saved interface names) are read by the new form.
    void createStorage()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_storage = std::make_unique<SettingsStorage>(m_dir->filePath(QStringLiteral("settings.conf")));
        m_store = std::make_unique<CommandStore>(*m_storage);
        m_interfaces = std::make_unique<InterfaceStore>(*m_storage);
        m_interfaces->load();
    }
    bool createView()
    {
        m_view = std::make_unique<SnifferView>(*m_store, *m_interfaces);
        m_view->resize(1000, 1400);
        m_view->show();
        m_view->activateWindow();
        return QTest::qWaitForWindowActive(m_view.get());
    }
    void destroy()
    {
        m_view.reset();
        m_interfaces.reset();
        m_store.reset();
        m_storage.reset();
        m_dir.reset();
    }

    SnifferView *view() const { return m_view.get(); }
    SettingsStorage &storage() const { return *m_storage; }
    QString panelText() const
    {
        return m_view->findChild<QPlainTextEdit *>(QStringLiteral("commandText"))->toPlainText();
    }
    // The named control under scope (the form when none is given); fails the test when missing.
    template <typename T> T *field(const char *name, QObject *scope = nullptr) const
    {
        auto *widget = (scope ? scope : m_view.get())->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    // Types text into widget: key by key for ASCII, otherwise committed at once as an input method
    // delivers it (QTest can only press keys for ASCII characters).
    static void type(QWidget *widget, const QString &text)
    {
        const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            QTest::keyClicks(widget, text);
            return;
        }
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(widget, &commit);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStorage> m_storage;
    std::unique_ptr<CommandStore> m_store;
    std::unique_ptr<InterfaceStore> m_interfaces;
    std::unique_ptr<SnifferView> m_view;
};
