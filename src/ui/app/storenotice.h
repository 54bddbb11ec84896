#pragma once

#include <QFrame>

class ListStore;
class QLabel;
class QPushButton;

// A banner over the main window's content while one of the user's lists is at risk: it could not be
// read at start (and where the copy of it went), or it could not be written (with Try Again). It
// closes itself once a write succeeds, and Dismiss closes it until the next failure.
class StoreNotice : public QFrame
{
    Q_OBJECT

public:
    explicit StoreNotice(ListStore &store, QWidget *parent = nullptr);

    QString text() const;
    // "Saved commands could not be written to FILE: REASON." for the store's last failed write.
    static QString writeFailure(const ListStore &store);

private:
    void showWriteFailure();
    void showLoadError();
    void showText(const QString &text, bool canRetry);

    ListStore &m_store;
    bool m_writeFailed = false;
    QLabel *m_text;
    QPushButton *m_retry;
    QPushButton *m_showCopy;
};
