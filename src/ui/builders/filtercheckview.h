#pragma once

#include <QWidget>

class FilterCheck;
class QLabel;
class QTimer;

// libpcap's verdict on the capture filter, shown under it on one line: a valid mark, or an invalid
// mark with libpcap's message, followed by a plain-language warning for text the appliance would read
// otherwise (a warning mark where the filter is valid). Cut to the line's width; the whole text is
// the line's tool tip and accessible description. Only advice: the filter and the command stay as
// they are. The check runs off the UI thread; the last verdict stays in view until the next one
// arrives, and only a slow check shows "Checking…". The line keeps its place while empty, so nothing
// below moves as the user types.
class FilterCheckView : public QWidget
{
    Q_OBJECT

public:
    // How long a check may take before the view says it is still checking.
    static constexpr int checkingDelay = 300;

    explicit FilterCheckView(QWidget *parent = nullptr);

    void setFilter(const QString &expression);
    // The whole line, as the user reads it in the tool tip.
    QString text() const { return m_text; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showStatus();
    void showText();

    FilterCheck *m_check;
    QTimer *m_slow;
    QLabel *m_mark;
    QLabel *m_status;
    QString m_text;
};
