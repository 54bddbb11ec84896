#pragma once

#include <QColor>
#include <QKeySequence>
#include <QList>
#include <QPalette>
#include <QString>

class QFrame;
class QWidget;

// Small typography helpers shared by every view, so "secondary", "caption" and "monospaced" look
// the same everywhere.
namespace Style {

void setBold(QWidget *widget, bool bold = true);
void setPointSizeScale(QWidget *widget, double scale);
// Secondary text (the descriptions of headers, captions, empty states, dates): the palette's text
// colour toned down toward its background as far as a contrast of 4.5 to 1 (WCAG's for text) allows,
// so that it reads on any palette. Text on Base for item views, WindowText on Window for labels.
QColor secondary(const QPalette &palette, QPalette::ColorGroup group = QPalette::Normal,
                 QPalette::ColorRole foreground = QPalette::WindowText,
                 QPalette::ColorRole background = QPalette::Window);
void setSecondary(QWidget *widget);
// Gives the application's palette a readable placeholder colour where its own is not (a theme's black at
// half opacity on a dark field), for every field's example text.
void mendPlaceholders();
void setMonospaced(QWidget *widget);
// The text styles of sheets and notices: a bold headline, a slightly smaller callout, a small caption.
void setHeadline(QWidget *widget);
void setCallout(QWidget *widget);
void setCaption(QWidget *widget);
// The text colour of an action that throws something away (Delete, Clear Filter).
void setDestructive(QWidget *widget);

// What a mark or a notice says: take care, something is wrong, all is well.
enum class Tone { warning, error, success };
// The tone's colour on the palette's window: its usual hue, light enough on a dark palette and dark
// enough on a light one to stand out from the window (a contrast of at least 3 to 1).
QColor tone(Tone tone, const QPalette &palette);
// WCAG's contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrast(const QColor &a, const QColor &b);
// A notice's band: the frame tinted with the tone, and a border of it, rounded. extraStyleSheet is
// added for the frame's children.
void setNotice(QFrame *frame, Tone tone, const QString &extraStyleSheet = {});
// A widget that comes and goes as the user types keeps its place while hidden, so that nothing
// below it moves.
void keepPlaceWhenHidden(QWidget *widget);

// The keys that close a window: Ctrl+W everywhere, and the platform's own where it has others (Ctrl+F4).
QList<QKeySequence> closeKeys();

// Escapes text for a rich-text label and renders back-quoted words as inline code.
QString inlineCodeHtml(const QString &text);
// The label text without its back-quotes (accessible names, plain-text uses).
QString withoutBackQuotes(const QString &text);

} // namespace Style
