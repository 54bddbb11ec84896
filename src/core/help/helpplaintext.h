#pragma once

#include "helparticle.h"

#include <QString>

// Help for terminals: articles and the topic list as plain text, Markdown markers removed.
namespace HelpPlainText {

// Title underlined with "=", subtitle, then the blocks one blank line apart: headings underlined
// with "-", paragraphs as single lines, bullets as "• " lines, code indented by four spaces on top
// of its own indentation. Ends with one line feed.
QString article(const HelpArticle &article);

// One line per topic: case name, then title, in sidebar order.
QString topicList();

} // namespace HelpPlainText
