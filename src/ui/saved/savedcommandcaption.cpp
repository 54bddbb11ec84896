#include "savedcommandcaption.h"

#include "common/icons.h"
#include "common/style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>

SavedCommandCaption::SavedCommandCaption(QWidget *parent)
    : QWidget(parent)
    , m_icon(new QLabel(this))
    , m_text(new QLabel(this))
{
    m_text->setObjectName(QStringLiteral("caption"));
    m_text->setTextFormat(Qt::PlainText);
    Style::setPointSizeScale(m_text, fontScale);
    Style::setSecondary(m_text);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(m_icon);
    layout->addWidget(m_text, 1);
}

void SavedCommandCaption::setCommand(const SavedCommand &command)
{
    const int size = m_text->fontMetrics().height();
    m_icon->setPixmap(icon(command.category, size, palette(), devicePixelRatioF()));
    m_text->setText(text(command));
}

QString SavedCommandCaption::text() const
{
    return m_text->text();
}

QString SavedCommandCaption::text(const SavedCommand &command)
{
    const QDateTime created = command.createdAtDateTime();
    const QString date = created.isValid() ? QLocale().toString(created.toLocalTime().date(), QLocale::ShortFormat)
                                           : QStringLiteral("Unknown date");
    return QStringLiteral("%1 \u00b7 %2").arg(Category::title(command.category), date);
}

QPixmap SavedCommandCaption::icon(DebugCategory category, int size, const QPalette &palette, qreal devicePixelRatio)
{
    QPixmap pixmap = Icons::symbol(Category::icon(category)).pixmap(QSize(size, size), devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), palette.color(QPalette::Highlight));
    return pixmap;
}
