#include "helpcodeblock.h"

#include "common/style.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int padding = 10;
constexpr qreal radius = 6;
} // namespace

HelpCodeBlock::HelpCodeBlock(const QString &code, QWidget *parent)
    : QWidget(parent)
    , m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("helpCode"));
    // Plain text, not HTML: rich text would collapse the indentation of configuration snippets.
    m_label->setObjectName(QStringLiteral("helpCodeText"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setText(code);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_label->setCursor(Qt::IBeamCursor);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Long commands wrap at spaces rather than widen the article; copying still yields the line whole.
    m_label->setWordWrap(true);
    Style::setMonospaced(m_label);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->addWidget(m_label);
}

void HelpCodeBlock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Half a pixel in, so the one-pixel border is drawn crisp rather than across two pixels.
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(frame, radius, radius);
}
