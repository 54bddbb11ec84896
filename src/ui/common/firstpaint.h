#pragma once

#include <QElapsedTimer>
#include <QEvent>
#include <QLoggingCategory>
#include <QObject>
#include <QWidget>

// Logs "first paint" once the window has been painted for the first time, for the start-up benchmark
// (QT_LOGGING_RULES="brindlecap.startup.info=true"); shared by the application and its bare reference
// window in bench/startup.
class FirstPaint : public QObject
{
public:
    static void watch(QWidget *window, const QLoggingCategory &category)
    {
        if (category.isInfoEnabled())
            window->installEventFilter(new FirstPaint(window, category));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            // After the paint, which the widget does once this filter returns.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    qCInfo(m_category) << "first paint";
                    deleteLater();
                },
                Qt::QueuedConnection);
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    FirstPaint(QObject *parent, const QLoggingCategory &category)
        : QObject(parent)
        , m_category(category)
    {
    }
    const QLoggingCategory &m_category;
};
