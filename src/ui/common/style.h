#pragma once

#include <QString>

class QWidget;

// Small typography helpers shared by every view, so "secondary", "caption" and "monospaced" look
// the same everywhere.
namespace Style {

void setBold(QWidget *widget, bool bold = true);
void setPointSizeScale(QWidget *widget, double scale);
// The palette's placeholder colour: the secondary text of headers, captions and empty states.
void setSecondary(QWidget *widget);
void setMonospaced(QWidget *widget);
// The text styles of sheets and notices: a bold headline, a slightly smaller callout, a small caption.
void setHeadline(QWidget *widget);
void setCallout(QWidget *widget);
void setCaption(QWidget *widget);
// The text colour of an action that throws something away (Delete, Clear Filter).
void setDestructive(QWidget *widget);
// A widget that comes and goes as the user types keeps its place while hidden, so that nothing
// below it moves.
void keepPlaceWhenHidden(QWidget *widget);

// Escapes text for a rich-text label and renders back-quoted words as inline code.
QString inlineCodeHtml(const QString &text);
// The label text without its back-quotes (accessible names, plain-text uses).
QString withoutBackQuotes(const QString &text);

} // namespace Style
