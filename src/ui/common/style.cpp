#include "style.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace Style {

void setBold(QWidget *widget, bool bold)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setPointSizeScale(QWidget *widget, double scale)
{
    QFont font = widget->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(qRound(font.pixelSize() * scale));
    widget->setFont(font);
}

void setSecondary(QWidget *widget)
{
    QPalette palette = widget->palette();
    const QColor secondary = palette.color(QPalette::PlaceholderText);
    palette.setColor(QPalette::WindowText, secondary);
    palette.setColor(QPalette::Text, secondary);
    widget->setPalette(palette);
}

void setMonospaced(QWidget *widget)
{
    widget->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void setHeadline(QWidget *widget)
{
    setBold(widget);
}

void setCallout(QWidget *widget)
{
    setPointSizeScale(widget, 0.92);
}

void setCaption(QWidget *widget)
{
    setPointSizeScale(widget, 0.85);
}

QString inlineCodeHtml(const QString &text)
{
    const QString mono = QFontDatabase::systemFont(QFontDatabase::FixedFont).family().toHtmlEscaped();
    const QStringList parts = text.split(u'`');
    QString html;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString escaped = parts.at(i).toHtmlEscaped();
        // Odd parts sit between a pair of back-quotes; a last unpaired quote stays as written.
        if (i % 2 == 1 && i + 1 < parts.size())
            html += QStringLiteral("<code style=\"font-family:'%1'\">%2</code>").arg(mono, escaped);
        else if (i % 2 == 1)
            html += u'`' + escaped;
        else
            html += escaped;
    }
    return html;
}

QString withoutBackQuotes(const QString &text)
{
    QString plain = text;
    plain.remove(u'`');
    return plain;
}

void setDestructive(QWidget *widget)
{
    QPalette palette = widget->palette();
    // A deep red vanishes on a dark button; a light one glares on a light button.
    const bool dark = palette.color(QPalette::Button).lightness() < 128;
    palette.setColor(QPalette::ButtonText, dark ? QColor(0xff, 0x6b, 0x60) : QColor(0xc6, 0x28, 0x28));
    widget->setPalette(palette);
}

void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace Style
