#include "widgets/CopyAnimation.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// The sheet flies during the first kFlightFrames frames; the rest (the stop frame among
// them) show both folders at rest.
constexpr int kFlightFrames = 30;
constexpr QRectF kSource(14, 22, 46, 32);
constexpr QRectF kTarget(212, 22, 46, 32);

void DrawFolder(QPainter& p, const QRectF& r, bool open)
{
    const QColor edge(150, 110, 20);
    p.setPen(QPen(edge, 1));
    // Back with its tab.
    QPainterPath back;
    back.moveTo(r.left(), r.bottom());
    back.lineTo(r.left(), r.top());
    back.lineTo(r.left() + 14, r.top());
    back.lineTo(r.left() + 18, r.top() + 4);
    back.lineTo(r.right(), r.top() + 4);
    back.lineTo(r.right(), r.bottom());
    back.closeSubpath();
    p.setBrush(QColor(226, 180, 60));
    p.drawPath(back);
    // Front flap, tilted when the folder is open.
    QPolygonF front;
    const double lift = open ? 7 : 0;
    front << QPointF(r.left() + lift, r.top() + 10) << QPointF(r.right() + lift, r.top() + 10)
          << QPointF(r.right(), r.bottom()) << QPointF(r.left(), r.bottom());
    p.setBrush(QColor(250, 210, 90));
    p.drawPolygon(front);
}

void DrawSheet(QPainter& p, QPointF centre, double angle)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    const QRectF sheet(-9, -12, 18, 24);
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(QPen(QColor(120, 140, 190), 1));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(-6, -8 + 4 * i), QPointF(i == 4 ? 1 : 6, -8 + 4 * i));
    p.restore();
}

} // namespace

CopyAnimation::CopyAnimation(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kWidth, kHeight);
    m_timer.setInterval(kFrameInterval);
    connect(&m_timer, &QTimer::timeout, this, &CopyAnimation::advance);
}

void CopyAnimation::start()
{
    if (m_timer.isActive())
        return;
    m_frame = 0;
    m_timer.start();
    update();
}

void CopyAnimation::stop()
{
    m_timer.stop();
    m_frame = kStopFrame;
    update();
}

void CopyAnimation::advance()
{
    m_frame = (m_frame + 1) % kFrameCount;
    update();
}

void CopyAnimation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());

    const bool flying = m_frame < kFlightFrames;
    DrawFolder(p, kSource, flying);
    DrawFolder(p, kTarget, flying);
    if (!flying)
        return;
    // Up out of the first folder, over an arc, down into the second.
    const double t = double(m_frame) / (kFlightFrames - 1);
    const double x = kSource.center().x() + t * (kTarget.center().x() - kSource.center().x());
    const double y = kSource.top() + 6 - std::sin(t * M_PI) * 18;
    DrawSheet(p, QPointF(x, y), -25 + 50 * t);
}
