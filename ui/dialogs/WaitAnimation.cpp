#include "WaitAnimation.h"

#include <QPainter>
#include <QPainterPath>

namespace
{
constexpr int kFrames = 12;
}

WaitAnimation::WaitAnimation(QWidget* parent) : QWidget(parent)
{
    m_timer.setInterval(90);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
    setMinimumSize(sizeHint());
}

void WaitAnimation::Start()
{
    m_timer.start();
}

void WaitAnimation::Stop()
{
    m_timer.stop();
}

void WaitAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    // The reader: a flat box at the bottom.
    const QRectF reader(area.left() + area.width() * 0.15, area.bottom() - area.height() * 0.22,
                        area.width() * 0.7, area.height() * 0.22);
    p.setPen(QPen(pal.color(QPalette::Mid), 1.5));
    p.setBrush(pal.color(QPalette::Button));
    p.drawRoundedRect(reader, 4, 4);
    // The card, hovering and bobbing above it.
    const double bob = (m_frame < kFrames / 2 ? m_frame : kFrames - m_frame) * 0.8;
    const QRectF card(area.left() + area.width() * 0.28, area.top() + 2 + bob, area.width() * 0.44,
                      area.height() * 0.36);
    p.setBrush(pal.color(QPalette::Highlight));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(card, 4, 4);
    // Waves between card and reader, one lit after another.
    const QPointF centre(reader.center().x(), reader.top());
    for (int i = 0; i < 3; ++i) {
        const bool lit = (m_frame / 2) % 3 == i;
        QColor colour = pal.color(QPalette::Highlight);
        colour.setAlphaF(lit ? 0.9 : 0.25);
        p.setPen(QPen(colour, 2));
        p.setBrush(Qt::NoBrush);
        const double r = 6 + i * 5;
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 40 * 16, 100 * 16);
    }
}
