#pragma once

#include <QPushButton>

#include <functional>

// A button that copies a text to the clipboard and then shows "Copied" with a checkmark for 1.5
// seconds. Every copy schedules its own reset and none is cancelled, so two quick copies turn the
// label back 1.5 seconds after the first.
class CopyButton : public QPushButton
{
    Q_OBJECT

public:
    static constexpr int resetInterval = 1500;

    explicit CopyButton(QWidget *parent = nullptr);
    CopyButton(const QString &idleText, QWidget *parent = nullptr);

    void setSource(std::function<QString()> source) { m_source = std::move(source); }
    bool didCopy() const { return m_didCopy; }

    // Copies the source's text and shows the confirmation.
    void copy();
    // Copies another text (a list row's, say) with the same confirmation on this button.
    void copyText(const QString &text);

    // As wide as the wider of its two labels, so that "Copied" never moves the buttons beside it.
    QSize sizeHint() const override;

signals:
    void copied(const QString &text);

private:
    void setDidCopy(bool didCopy);
    QSize sizeHintFor(const QString &text) const;

    QString m_idleText;
    std::function<QString()> m_source;
    bool m_didCopy = false;
};
