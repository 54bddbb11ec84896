#pragma once

#include <QWidget>

class QLabel;

// A centred icon, title and description, shown where there is nothing else to show.
class EmptyStateView : public QWidget
{
    Q_OBJECT

public:
    EmptyStateView(const QString &symbol, const QString &title, const QString &description, QWidget *parent = nullptr);

    QString title() const;
    QString description() const;
    void setText(const QString &title, const QString &description);

private:
    QLabel *m_title;
    QLabel *m_description;
};
