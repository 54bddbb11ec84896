#pragma once

#include "common/stores.h"
#include "model/commandstore.h"
#include "model/interfacestore.h"
#include "model/settingsstorage.h"

#include <QTemporaryDir>

// Both stores in a temporary settings folder of their own: what a test starts from, so that no test
// reaches the user's real settings or another test's.
class TestStores
{
public:
    TestStores()
        : m_storage(m_dir.filePath(QStringLiteral("settings.conf")))
        , m_commands(m_storage)
        , m_interfaces(m_storage)
    {
        m_interfaces.load();
    }

    Stores stores() { return {m_commands, m_interfaces}; }
    SettingsStorage &storage() { return m_storage; }
    CommandStore &commands() { return m_commands; }
    InterfaceStore &interfaces() { return m_interfaces; }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    SettingsStorage m_storage;
    CommandStore m_commands;
    InterfaceStore m_interfaces;
};
