#pragma once

#include "model/savedcommand.h"

#include <QWidget>

class QLabel;

// The caption line of a saved command, under its title in the list and in the detail pane: the
// category's icon in the accent colour, the category's title, a middle dot and the creation date.
class SavedCommandCaption : public QWidget
{
    Q_OBJECT

public:
    static constexpr double fontScale = 0.85;
    static constexpr int spacing = 6;

    explicit SavedCommandCaption(QWidget *parent = nullptr);

    void setCommand(const SavedCommand &command);
    QString text() const;

    // "Debug Flow · 03/06/2024": the date alone, in the local time zone and the locale's short style.
    static QString text(const SavedCommand &command);
    // The category's icon tinted with the palette's accent (highlight) colour.
    static QPixmap icon(DebugCategory category, int size, const QPalette &palette, qreal devicePixelRatio);

private:
    QLabel *m_icon;
    QLabel *m_text;
};
