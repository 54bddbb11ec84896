#include "readerinput.h"

#include "common/emptystateview.h"
#include "common/textfiledialog.h"
#include "model/atomicfile.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>

#include <cerrno>

namespace {
QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(text);
    return button;
}
} // namespace

ReaderInput::ReaderInput(QWidget *view, const Texts &texts)
    : QObject(view)
    , m_view(view)
    , m_texts(texts)
    , m_bar(new QWidget(view))
    , m_buttons(new QHBoxLayout(m_bar))
    , m_status(new QWidget(view))
    , m_progress(new QProgressBar(m_status))
    , m_cancel(button(QStringLiteral("cancelReading"), QStringLiteral("Cancel"), m_status))
    , m_summary(new QLabel(m_status))
    , m_stack(new QStackedWidget(view))
    , m_empty(new EmptyStateView(
          texts.emptySymbol, texts.emptyTitle,
          texts.emptyHelp.arg(QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText)), m_stack))
{
    m_buttons->setContentsMargins(0, 0, 0, 0);
    QPushButton *paste = button(QStringLiteral("paste"), QStringLiteral("Paste"), m_bar);
    connect(paste, &QPushButton::clicked, this, &ReaderInput::paste);
    QPushButton *open = button(QStringLiteral("openLog"), QStringLiteral("Open Log\u2026"), m_bar);
    connect(open, &QPushButton::clicked, this, &ReaderInput::openLog);
    m_buttons->addWidget(paste);
    m_buttons->addWidget(open);
    m_buttons->addStretch(1);

    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_progress->setObjectName(QStringLiteral("readProgress"));
    m_progress->setAccessibleName(QStringLiteral("Reading"));
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(220);
    connect(m_cancel, &QPushButton::clicked, this, &ReaderInput::cancel);
    auto *status = new QHBoxLayout(m_status);
    status->setContentsMargins(0, 0, 0, 0);
    status->addWidget(m_progress);
    status->addWidget(m_cancel);
    status->addWidget(m_summary, 1);

    m_empty->setObjectName(texts.emptyName);
    m_stack->addWidget(m_empty);

    // In the whole window while the view is shown, after a text field's own: Ctrl+V in a search field
    // pastes there.
    const auto add = [this](const QKeySequence &keys, auto slot) { return new QShortcut(keys, m_view, this, slot); };
    add(QKeySequence::Paste, [this] { this->paste(); });
    add(QKeySequence::Open, [this] { openLog(); });
    m_escape = add(QKeySequence(Qt::Key_Escape), [this] { cancel(); });

    view->setAcceptDrops(true);
    view->installEventFilter(this);
    updateStatus();
}

ReaderInput::~ReaderInput()
{
    delete m_job;
}

void ReaderInput::addButton(QPushButton *button)
{
    m_buttons->addWidget(button);
}

void ReaderInput::setContent(QWidget *content)
{
    m_stack->insertWidget(0, content);
    m_stack->setCurrentWidget(m_empty);
}

void ReaderInput::showContent()
{
    m_stack->setCurrentIndex(0);
}

void ReaderInput::showEmpty(const QString &title, const QString &description)
{
    m_empty->setText(title, description);
    m_stack->setCurrentWidget(m_empty);
}

void ReaderInput::setSummary(const QString &text)
{
    m_summary->setText(text);
}

QString ReaderInput::summary() const
{
    return m_summary->text();
}

void ReaderInput::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        setSummary(QStringLiteral("The clipboard holds no text to read."));
        return;
    }
    readText(text.toUtf8());
}

void ReaderInput::openLog()
{
    const QString path = TextFileDialog::openFile(m_view->window(), m_texts.openTitle,
                                                  QStringLiteral("Logs (*.log *.txt);;All files (*)"));
    if (!path.isEmpty())
        readFile(path);
}

void ReaderInput::readText(const QByteArray &text)
{
    m_source = {QString(), text};
    m_sourceName = QStringLiteral("the pasted text");
    m_sourceSize = text.size();
    emit sourceChanged();
}

void ReaderInput::readFile(const QString &path)
{
    m_source = {path, QByteArray()};
    m_sourceName = QFileInfo(path).fileName();
    m_sourceSize = QFileInfo(path).size();
    emit sourceChanged();
}

bool ReaderInput::canRead(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return urls.isEmpty() ? data->hasText() : urls.first().isLocalFile();
}

void ReaderInput::read(const QMimeData *data)
{
    if (const QList<QUrl> urls = data->urls(); !urls.isEmpty())
        readFile(urls.first().toLocalFile());
    else
        readText(data->text().toUtf8());
}

std::unique_ptr<QIODevice> ReaderInput::open(const Source &source, QString *error)
{
    if (source.path.isEmpty()) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(source.text);
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    }
    const QFileInfo info(source.path);
    if (info.exists() && !info.isFile()) {
        *error =
            info.isDir() ? QStringLiteral("it is a folder, not a file") : QStringLiteral("it is not a regular file");
        return nullptr;
    }
    auto file = std::make_unique<QFile>(source.path);
    errno = 0;
    if (!file->open(QIODevice::ReadOnly)) {
        *error = AtomicFile::reason(file->errorString(), errno);
        return nullptr;
    }
    return file;
}

qint64 ReaderInput::size(const Source &source)
{
    return source.path.isEmpty() ? source.text.size() : QFileInfo(source.path).size();
}

void ReaderInput::startJob(std::function<void(const BackgroundWork::Progress &)> work)
{
    cancel();
    m_progress->setValue(0);
    m_job = new BackgroundJob(std::move(work), this);
    connect(m_job, &BackgroundJob::finished, m_job, &QObject::deleteLater);
    updateStatus();
}

bool ReaderInput::cancel()
{
    if (!m_job)
        return false;
    // Not waited for: the job ends by itself.
    m_job->cancel();
    m_job = nullptr;
    updateStatus();
    emit cancelled();
    return true;
}

void ReaderInput::setProgress(qint64 bytesRead)
{
    m_progress->setValue(int(1000 * bytesRead / std::max<qint64>(m_sourceSize, 1)));
}

void ReaderInput::ended()
{
    m_job = nullptr;
    m_progress->setValue(1000);
    updateStatus();
}

void ReaderInput::updateStatus()
{
    const bool reading = isReading();
    m_progress->setVisible(reading);
    m_cancel->setVisible(reading);
    m_escape->setEnabled(reading);
    emit readingChanged();
}

bool ReaderInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::DragEnter) {
        auto *enter = static_cast<QDragEnterEvent *>(event);
        if (canRead(enter->mimeData()))
            enter->acceptProposedAction();
        return true;
    }
    if (watched == m_view && event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        read(drop->mimeData());
        drop->acceptProposedAction();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
