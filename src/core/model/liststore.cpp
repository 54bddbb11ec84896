#include "liststore.h"

#include "atomicfile.h"
#include "storefile.h"
#include "storelog.h"

Q_LOGGING_CATEGORY(lcStore, "brindlecap.store")

ListStore::ListStore(SettingsStorage &storage, const SettingsStorage::List &list, const char *name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_file(new StoreFile(storage, list, this))
{
    connect(m_file, &StoreFile::writeFailed, this, [this](const QString &fileName, const QString &reason) {
        qCWarning(lcStore).noquote() << m_name << "save error:" << fileName + u':' << reason;
        emit saveFailed(fileName, reason);
    });
    connect(m_file, &StoreFile::written, this, &ListStore::saved);
}

QString ListStore::fileName() const
{
    return m_file->path();
}

QString ListStore::backupFileName() const
{
    return m_file->copyFileName();
}

QString ListStore::saveError() const
{
    return m_file->writeError();
}

bool ListStore::flush()
{
    return m_file->flush();
}

std::optional<QByteArray> ListStore::read()
{
    prepareRead();
    QString why;
    std::optional<QByteArray> data = AtomicFile::read(fileName(), &why);
    return completeRead(std::move(data), why);
}

void ListStore::prepareRead()
{
    m_file->prepareRead();
}

std::optional<QByteArray> ListStore::completeRead(std::optional<QByteArray> fetched, const QString &why)
{
    QString error;
    std::optional<QByteArray> data = m_file->completeRead(std::move(fetched), why, &error);
    if (!error.isEmpty()) {
        m_loadError = error;
        qCWarning(lcStore).noquote() << m_name << "load error:" << fileName() + u':' << error;
    }
    return data;
}

void ListStore::unreadable(const QString &error)
{
    m_loadError = error;
    qCWarning(lcStore).noquote() << m_name << "load error:" << fileName() + u':' << error;
    m_file->keepCopy();
}

void ListStore::keepCopy(const QString &why)
{
    qCWarning(lcStore).noquote() << QLatin1String(m_name) + u':' << fileName() << why << "- it is copied aside first";
    m_file->keepCopy();
}
