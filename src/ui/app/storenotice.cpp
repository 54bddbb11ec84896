#include "storenotice.h"

#include "common/icons.h"
#include "common/style.h"
#include "model/liststore.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

StoreNotice::StoreNotice(ListStore &store, QWidget *parent)
    : QFrame(parent)
    , m_store(store)
    , m_text(new QLabel(this))
    , m_retry(new QPushButton(QStringLiteral("Try Again"), this))
    , m_showCopy(new QPushButton(QStringLiteral("Open Folder"), this))
{
    Style::setNotice(this, Style::Tone::warning);
    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::tinted(QStringLiteral("exclamationmark.triangle.fill"),
                                  Style::tone(Style::Tone::warning, palette()), 20, devicePixelRatioF()));
    m_text->setObjectName(QStringLiteral("noticeText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_retry->setObjectName(QStringLiteral("retry"));
    auto *dismiss = new QPushButton(QStringLiteral("Dismiss"), this);
    dismiss->setObjectName(QStringLiteral("dismiss"));
    // Where the copy of what could not be read is kept, for the user to look at.
    m_showCopy->setObjectName(QStringLiteral("showCopy"));
    connect(m_showCopy, &QPushButton::clicked, this, [this] {
        const QString copy =
            m_store.backupFileName().isEmpty() ? m_store.supersededFileName() : m_store.backupFileName();
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(copy).absolutePath()));
    });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(10);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_showCopy, 0, Qt::AlignTop);
    layout->addWidget(m_retry, 0, Qt::AlignTop);
    layout->addWidget(dismiss, 0, Qt::AlignTop);

    connect(m_retry, &QPushButton::clicked, &m_store, &ListStore::retrySave);
    connect(dismiss, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_store, &ListStore::saveFailed, this, &StoreNotice::showWriteFailure);
    connect(&m_store, &ListStore::saved, this, [this] {
        // What could not be read at start stays worth knowing (a copy of it may have been made with
        // this write); a failed write is over.
        if (m_writeFailed)
            hide();
        else if (!isHidden())
            showLoadError();
        m_writeFailed = false;
    });

    // A list loaded in the background tells only then whether it could be read.
    connect(&m_store, &ListStore::loaded, this, &StoreNotice::showLoadError);

    hide();
    if (!m_store.saveError().isEmpty())
        showWriteFailure();
    else
        showLoadError();
}

void StoreNotice::showLoadError()
{
    if (m_writeFailed)
        return;
    const QString backup = m_store.backupFileName();
    const QString kept =
        backup.isEmpty() ? QStringLiteral("It is not replaced until a copy of it can be kept; until then your changes "
                                          "are kept only in memory.")
                         : QStringLiteral("A copy of it as it was is kept at %1.").arg(backup);
    QStringList sentences;
    if (!m_store.loadError().isEmpty())
        sentences << QStringLiteral("%1 could not be read from %2: %3.")
                         .arg(m_store.displayName(), m_store.fileName(), m_store.loadError())
                  << kept;
    else if (m_store.dropsNewerKeys())
        sentences << QStringLiteral("%1 in %2 hold details from a newer version of Brindlecap Builder, which this "
                                    "version leaves out when it next writes the list.")
                         .arg(m_store.displayName(), m_store.fileName())
                  << kept;
    if (const QString superseded = m_store.supersededFileName(); !superseded.isEmpty())
        sentences << QStringLiteral("The first version's settings file held other %1 than %2; they are kept in %3.")
                         .arg(m_store.displayName().toLower(), m_store.fileName(), superseded);
    if (!sentences.isEmpty())
        showText(sentences.join(u' '), false);
}

QString StoreNotice::text() const
{
    return m_text->text();
}

QString StoreNotice::writeFailure(const ListStore &store)
{
    return QStringLiteral("%1 could not be written to %2: %3.")
        .arg(store.displayName(), store.fileName(), store.saveError());
}

void StoreNotice::showWriteFailure()
{
    m_writeFailed = true;
    showText(writeFailure(m_store) + QStringLiteral(" They are kept until you quit; the next change tries again."),
             true);
}

void StoreNotice::showText(const QString &text, bool canRetry)
{
    m_text->setText(text);
    m_retry->setVisible(canRetry);
    m_showCopy->setVisible(!canRetry && !(m_store.backupFileName() + m_store.supersededFileName()).isEmpty());
    show();
}
