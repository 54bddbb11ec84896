#pragma once

#include <QWidget>

class QLabel;

// The top of every form: a bold title and a secondary description whose back-quoted words are
// shown as inline code.
class FormHeader : public QWidget
{
    Q_OBJECT

public:
    FormHeader(const QString &title, const QString &description, QWidget *parent = nullptr);

    QLabel *titleLabel() const { return m_title; }
    QLabel *descriptionLabel() const { return m_description; }

private:
    QLabel *m_title;
    QLabel *m_description;
};
