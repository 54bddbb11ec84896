#pragma once

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// The widget tests write their texts as u"..."_s.
using namespace Qt::StringLiterals;

// A named child, as the views name the parts a test works.
template <typename T = QWidget> T *child(const QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

// Up and in front, so that keys and clicks reach it as the user's would.
inline bool showActive(QWidget *widget, QSize size = {900, 800})
{
    widget->resize(size);
    widget->show();
    widget->activateWindow();
    return QTest::qWaitForWindowActive(widget);
}

// Text as an input method commits it: the only way QTest has to type a tab or a combining accent.
inline void commitText(QWidget *widget, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}
