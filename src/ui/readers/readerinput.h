#pragma once

#include "common/backgroundjob.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class EmptyStateView;
class QHBoxLayout;
class QIODevice;
class QLabel;
class QMimeData;
class QProgressBar;
class QPushButton;
class QShortcut;
class QStackedWidget;
class QWidget;

// What every reader of appliance output shares: the input (pasted, opened or dropped, and kept to be
// read again), the Paste and Open buttons with their keys, the empty state that says what to paste,
// and one reading at a time off the UI thread, its batches handed over while it runs, with a progress
// bar, Cancel and Escape. The view places the parts and says what a reading does.
class ReaderInput : public QObject
{
    Q_OBJECT

public:
    // A log file, or the text pasted or dropped.
    struct Source {
        QString path;
        QByteArray text;
    };
    struct Texts {
        QString emptySymbol;
        QString emptyTitle;
        QString emptyHelp; // %1 is the paste key
        QString openTitle; // of the file dialog
        QString emptyName; // the empty state's object name
    };

    ReaderInput(QWidget *view, const Texts &texts);
    ~ReaderInput() override;

    // Paste, Open Log…, and the view's own buttons at the right (addButton).
    QWidget *bar() const { return m_bar; }
    void addButton(QPushButton *button);
    // The progress bar, Cancel and the summary line.
    QWidget *status() const { return m_status; }
    // The view's content, or the empty state in its place until something is read.
    QStackedWidget *stack() const { return m_stack; }
    void setContent(QWidget *content);
    void showContent();
    void showEmpty(const QString &title, const QString &description);

    void setSummary(const QString &text);
    QString summary() const;

    const Source &source() const { return m_source; }
    bool hasSource() const { return !m_source.path.isEmpty() || !m_source.text.isEmpty(); }
    // As the summary names it: "the pasted text", or the file's name.
    QString sourceName() const { return m_sourceName; }
    void readText(const QByteArray &text);
    void readFile(const QString &path);
    // Whether what is dragged is a file or text to read; reads it.
    static bool canRead(const QMimeData *data);
    void read(const QMimeData *data);
    void paste();
    void openLog();

    // Opens a source for a reading, on any thread: null, and why, when it cannot be read. A pipe or a
    // device is refused: it could block the reading for ever.
    static std::unique_ptr<QIODevice> open(const Source &source, QString *error);
    static qint64 size(const Source &source);

    // Runs read(source, progress, deliver) on a thread of its own, after cancelling the reading before:
    // each batch it delivers reaches received on the UI thread while it runs, and its outcome finished,
    // unless the reading is cancelled first.
    template <typename Batch, typename Outcome>
    void start(
        std::function<Outcome(const Source &, const BackgroundWork::Progress &, const std::function<void(Batch &&)> &)>
            read,
        std::function<void(Batch &&)> received, std::function<void(const Outcome &)> finished)
    {
        startJob([this, read = std::move(read), received = std::move(received), finished = std::move(finished),
                  source = m_source](const BackgroundWork::Progress &progress) {
            const auto deliver = [&progress, &received](Batch &&batch) {
                // Shared: a posted function is copied.
                progress.post(
                    [received, batch = std::make_shared<Batch>(std::move(batch))] { received(std::move(*batch)); });
            };
            auto outcome = std::make_shared<Outcome>(read(source, progress, deliver));
            progress.post([this, finished, outcome] {
                ended();
                finished(*outcome);
            });
        });
    }
    bool isReading() const { return m_job; }
    // Stops the reading without waiting for it: nothing it still finds reaches the view.
    bool cancel();
    // Moves the progress bar to bytesRead of the source.
    void setProgress(qint64 bytesRead);

signals:
    // A new source to read: the view reads it.
    void sourceChanged();
    void cancelled();
    void readingChanged();

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void startJob(std::function<void(const BackgroundWork::Progress &)> work);
    void ended();
    void updateStatus();

    QWidget *m_view;
    Texts m_texts;
    QWidget *m_bar;
    QHBoxLayout *m_buttons;
    QWidget *m_status;
    QProgressBar *m_progress;
    QPushButton *m_cancel;
    QLabel *m_summary;
    QStackedWidget *m_stack;
    EmptyStateView *m_empty;
    QShortcut *m_escape;
    Source m_source;
    QString m_sourceName;
    qint64 m_sourceSize = 0;
    QPointer<BackgroundJob> m_job;
};
