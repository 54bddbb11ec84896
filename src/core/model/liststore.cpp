#include "liststore.h"

#include "atomicfile.h"
#include "storefile.h"
#include "storelog.h"

#include <QDir>
#include <QFileInfo>

Q_LOGGING_CATEGORY(lcStore, "brindlecap.store")

ListStore::ListStore(SettingsStorage &storage, const SettingsStorage::List &list, const char *name,
                     const QString &displayName, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_displayName(displayName)
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

QString ListStore::supersededFileName() const
{
    return m_file->supersededFileName();
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

void ListStore::keepNewerKeys()
{
    m_dropsNewerKeys = true;
    qCWarning(lcStore).noquote() << QLatin1String(m_name) + u':' << fileName()
                                 << "holds keys this version does not know and would drop - it is copied aside first";
    m_file->keepCopy();
}

QString ListStore::rescue(QString *error)
{
    const QByteArray data = document();
    QString why;
    for (const QString &folder : {QFileInfo(fileName()).absolutePath(), QDir::tempPath()}) {
        const QString path = QDir(folder).filePath(QFileInfo(fileName()).fileName());
        const QString rescued = AtomicFile::writeAside(path, QStringLiteral("rescue"), data,
                                                       QFileDevice::ReadOwner | QFileDevice::WriteOwner, &why);
        if (!rescued.isEmpty()) {
            qCWarning(lcStore).noquote() << m_name << "rescue: what could not be written to" << fileName() << "is in"
                                         << rescued;
            return rescued;
        }
        if (error)
            *error += (error->isEmpty() ? QString() : QStringLiteral("; ")) + path + QStringLiteral(": ") + why;
    }
    qCWarning(lcStore).noquote() << m_name << "rescue failed: what could not be written to" << fileName() << "is lost -"
                                 << (error ? *error : why);
    return {};
}
