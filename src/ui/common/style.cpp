#include "style.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QPalette>
#include <QWidget>

#include <cmath>

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

QColor secondary(const QPalette &palette, QPalette::ColorGroup group, QPalette::ColorRole foreground,
                 QPalette::ColorRole background)
{
    const QColor text = palette.color(group, foreground), back = palette.color(group, background);
    for (double share = 0.55; share < 1.0; share += 0.05) {
        const QColor mixed = QColor::fromRgbF(float(back.redF() + (text.redF() - back.redF()) * share),
                                              float(back.greenF() + (text.greenF() - back.greenF()) * share),
                                              float(back.blueF() + (text.blueF() - back.blueF()) * share));
        if (contrast(mixed, back) >= 4.5)
            return mixed;
    }
    return text;
}

void mendPlaceholders()
{
    QPalette palette = QApplication::palette();
    bool mended = false;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor base = palette.color(group, QPalette::Base);
        // As drawn: a translucent colour shows the field through it.
        QColor placeholder = palette.color(group, QPalette::PlaceholderText);
        const double alpha = placeholder.alphaF();
        placeholder = QColor::fromRgbF(float(base.redF() + (placeholder.redF() - base.redF()) * alpha),
                                       float(base.greenF() + (placeholder.greenF() - base.greenF()) * alpha),
                                       float(base.blueF() + (placeholder.blueF() - base.blueF()) * alpha));
        if (contrast(placeholder, base) < 3.0) {
            palette.setColor(group, QPalette::PlaceholderText,
                             secondary(palette, group, QPalette::Text, QPalette::Base));
            mended = true;
        }
    }
    if (mended)
        QApplication::setPalette(palette);
}

void setSecondary(QWidget *widget)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, secondary(palette, group));
        palette.setColor(group, QPalette::Text, secondary(palette, group, QPalette::Text, QPalette::Base));
    }
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
    // On the button it is drawn on: a deep red vanishes on a dark one, a light one glares on a light one.
    QPalette onButton = palette;
    onButton.setColor(QPalette::Window, palette.color(QPalette::Button));
    palette.setColor(QPalette::ButtonText, tone(Tone::error, onButton));
    widget->setPalette(palette);
}

namespace {
double luminance(const QColor &colour)
{
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}
} // namespace

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor tone(Tone tone, const QPalette &palette)
{
    const double hue = tone == Tone::warning ? 35.0 : tone == Tone::error ? 4.0 : 134.0;
    const QColor window = palette.color(QPalette::Window);
    const bool dark = window.lightnessF() < 0.5;
    // From the tone's usual lightness away from the window's, until it stands out.
    for (double lightness = dark ? 0.55 : 0.45; lightness > 0.0 && lightness < 1.0; lightness += dark ? 0.05 : -0.05) {
        const QColor colour = QColor::fromHslF(hue / 360.0, 0.9, lightness);
        if (contrast(colour, window) >= 3.0)
            return colour;
    }
    return dark ? QColor(Qt::white) : QColor(Qt::black);
}

void setNotice(QFrame *frame, Tone tone, const QString &extraStyleSheet)
{
    const QColor colour = Style::tone(tone, frame->palette());
    const auto rgba = [&colour](int alpha) {
        return QStringLiteral("rgba(%1, %2, %3, %4)")
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue())
            .arg(alpha);
    };
    // By a property of the frame's own: a name may change, and its labels are frames too.
    frame->setProperty("notice", true);
    frame->setStyleSheet(
        QStringLiteral("[notice=\"true\"] { background: %1; border: 1px solid %2; border-radius: 8px; }")
            .arg(rgba(24), rgba(96)) +
        extraStyleSheet);
}

QList<QKeySequence> closeKeys()
{
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_W)};
    for (const QKeySequence &platform : QKeySequence::keyBindings(QKeySequence::Close)) {
        if (!keys.contains(platform))
            keys << platform;
    }
    return keys;
}

void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace Style
