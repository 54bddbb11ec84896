#pragma once

#include <QHash>
#include <QStringList>
#include <QWidget>

class FilterCheck;
class QLabel;
class QTimer;
class QVBoxLayout;

// libpcap's verdict on the capture filter, shown under it: a valid mark, or an invalid mark with
// libpcap's message, and a plain-language warning for text the appliance would read otherwise. Only
// advice: the filter and the command stay as they are. The check runs off the UI thread; the last
// verdict stays in view until the next one arrives, and only a slow check shows "Checking…". The
// verdict line and the known warnings keep their place while empty, so nothing below moves as the
// user types.
class FilterCheckView : public QWidget
{
    Q_OBJECT

public:
    // How long a check may take before the view says it is still checking.
    static constexpr int checkingDelay = 300;

    explicit FilterCheckView(QWidget *parent = nullptr);

    void setFilter(const QString &expression);

private:
    void showStatus();
    void showWarnings();
    void addWarningRow(const QString &warning);

    FilterCheck *m_check;
    QTimer *m_slow;
    QLabel *m_mark;
    QLabel *m_status;
    QVBoxLayout *m_warnings;
    QHash<QString, QWidget *> m_warningRows;
};
