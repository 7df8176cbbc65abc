// Town of the story and the people in it.
#include "places.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

Look lookSorin()
{
    Look l;
    l.hair = QColor(30, 30, 40);
    l.top = QColor(40, 52, 96);
    l.bottom = QColor(40, 44, 64);
    l.accent = QColor(70, 108, 240);
    return l;
}

Look lookLio()
{
    Look l;
    l.hair = QColor(244, 140, 176);
    l.top = QColor(226, 40, 200);
    l.bottom = QColor(40, 50, 100);
    l.accent = QColor(220, 40, 60);
    l.hairStyle = 4;
    l.skirt = true;
    l.sideTail = true;
    l.clip = QColor(255, 25, 252);
    return l;
}

Look lookTaviel(bool uniform)
{
    Look l;
    l.hair = QColor(168, 188, 220);
    l.top = uniform ? QColor(38, 50, 98) : QColor(238, 226, 200);
    l.bottom = QColor(36, 46, 90);
    l.accent = uniform ? QColor(74, 120, 200) : QColor(170, 210, 236);
    l.hairStyle = 1;
    l.skirt = true;
    l.coat = true;
    l.glasses = true;
    return l;
}

Look lookStudentAi()
{
    Look l;
    l.hair = QColor(240, 246, 250);
    l.top = QColor(40, 52, 100);
    l.bottom = QColor(40, 50, 96);
    l.accent = QColor(94, 240, 255);
    l.hairStyle = 1;
    l.skirt = true;
    return l;
}

void sea(QPainter &p, double horizon, Tod t, Rng &rng, double glitter)
{
    QColor near, far;
    switch (t) {
    case Tod::Morning:
        far = QColor(120, 170, 220);
        near = QColor(40, 110, 170);
        break;
    case Tod::Day:
        far = QColor(90, 160, 226);
        near = QColor(24, 96, 170);
        break;
    case Tod::Dusk:
        far = QColor(230, 150, 140);
        near = QColor(70, 60, 120);
        break;
    case Tod::Night:
        far = QColor(30, 40, 80);
        near = QColor(8, 12, 30);
        break;
    }
    fillVertical(p, QRectF(0, horizon, 720, 480 - horizon + 1), {{0, far}, {1, near}});
    p.save();
    const QColor spark = t == Tod::Night ? QColor(200, 210, 255) : t == Tod::Dusk ? QColor(255, 210, 150)
                                                                              : QColor(255, 255, 255);
    const int n = int(260 * glitter);
    for (int i = 0; i < n; ++i) {
        const double y = horizon + std::pow(rng.next(), 1.6) * (480 - horizon);
        const double k = (y - horizon) / (480 - horizon + 1);
        const double x = rng.uniform(-20, 740);
        const double len = 3 + k * 26 * rng.uniform(0.4, 1.0);
        p.setPen(QPen(alpha(spark, rng.range(40, t == Tod::Night ? 110 : 180)), 0.6 + k * 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }
    p.restore();
}

void lighthouse(QPainter &p, QPointF base, double height, Tod t, bool beam)
{
    const double bw = height * 0.16, tw = height * 0.1;
    const bool dark = t == Tod::Night;
    QPainterPath tower;
    tower.moveTo(base.x() - bw / 2, base.y());
    tower.lineTo(base.x() - tw / 2, base.y() - height * 0.78);
    tower.lineTo(base.x() + tw / 2, base.y() - height * 0.78);
    tower.lineTo(base.x() + bw / 2, base.y());
    tower.closeSubpath();
    QLinearGradient g(base.x() - bw / 2, 0, base.x() + bw / 2, 0);
    const QColor white = dark ? QColor(176, 184, 214) : QColor(250, 248, 244);
    g.setColorAt(0, white);
    g.setColorAt(1, shade(white, 0.72));
    p.setBrush(g);
    p.drawPath(tower);
    // Gallery, lantern room and cap.
    const double gy = base.y() - height * 0.78;
    p.setBrush(dark ? QColor(60, 60, 80) : QColor(80, 80, 90));
    p.drawRect(QRectF(base.x() - tw * 0.75, gy - height * 0.025, tw * 1.5, height * 0.025));
    const QColor lamp = dark || t == Tod::Dusk ? QColor(255, 240, 190) : QColor(200, 220, 230);
    p.setBrush(lamp);
    p.drawRect(QRectF(base.x() - tw * 0.38, gy - height * 0.12, tw * 0.76, height * 0.095));
    p.setBrush(dark ? QColor(150, 40, 50) : QColor(200, 60, 60));
    QPainterPath cap;
    cap.moveTo(base.x() - tw * 0.55, gy - height * 0.12);
    cap.lineTo(base.x(), gy - height * 0.2);
    cap.lineTo(base.x() + tw * 0.55, gy - height * 0.12);
    cap.closeSubpath();
    p.drawPath(cap);
    p.setBrush(white);
    for (int i = 1; i <= 3; ++i) // small windows
        p.drawRect(QRectF(base.x() - tw * 0.08, base.y() - height * 0.2 * i, tw * 0.16, height * 0.03));
    p.setBrush(dark ? QColor(60, 60, 90) : QColor(120, 120, 130));
    for (int i = 1; i <= 3; ++i)
        p.drawRect(QRectF(base.x() - tw * 0.06, base.y() - height * 0.2 * i, tw * 0.12, height * 0.028));
    const QPointF light(base.x(), gy - height * 0.07);
    if (dark || t == Tod::Dusk)
        addGlow(p, light, height * 0.4, QColor(255, 230, 170, 150));
    if (beam) {
        lightShaft(p, light, 4, light + QPointF(-height * 2.6, height * 0.15), height * 1.1,
                   QColor(255, 244, 200, 110));
        lightShaft(p, light, 4, light + QPointF(height * 1.2, -height * 0.05), height * 0.25,
                   QColor(255, 244, 200, 60));
    }
}

void townHill(QPainter &p, const QRectF &r, Tod t, Rng &rng, int rows, double scale)
{
    const bool lit = t == Tod::Night || t == Tod::Dusk;
    for (int row = 0; row < rows; ++row) {
        const double k = double(row) / std::max(1, rows - 1);
        const double y = r.top() + r.height() * (0.25 + 0.75 * k);
        const double s = (8 + 16 * k) * scale;
        double x = r.left() - rng.uniform(0, s);
        while (x < r.right()) {
            const double w = s * rng.uniform(1.1, 1.8), h = s * rng.uniform(0.7, 1.0);
            QColor wall = QColor::fromHsv(rng.range(25, 45), rng.range(10, 40), rng.range(215, 245));
            QColor roof = QColor::fromHsv(rng.range(0, 12), rng.range(150, 200), rng.range(150, 200));
            if (t == Tod::Night) {
                wall = shade(wall, 0.35);
                roof = shade(roof, 0.35);
            } else if (t == Tod::Dusk) {
                wall = mix(wall, QColor(255, 170, 130), 0.3);
            }
            const double hy = y + rng.uniform(-3, 3);
            p.setBrush(wall);
            p.drawRect(QRectF(x, hy - h, w, h + 4));
            p.setBrush(shade(wall, 0.8));
            p.drawRect(QRectF(x + w * 0.7, hy - h, w * 0.3, h + 4));
            QPainterPath rf;
            rf.moveTo(x - s * 0.12, hy - h);
            rf.lineTo(x + w * 0.5, hy - h - s * 0.55);
            rf.lineTo(x + w + s * 0.12, hy - h);
            rf.closeSubpath();
            p.setBrush(roof);
            p.drawPath(rf);
            const QColor win = lit && rng.chance(0.6) ? QColor(255, 210, 130)
                                                      : t == Tod::Night ? QColor(30, 36, 60) : QColor(110, 140, 170);
            p.setBrush(win);
            p.drawRect(QRectF(x + w * 0.2, hy - h * 0.65, s * 0.22, s * 0.22));
            if (w > s * 1.4)
                p.drawRect(QRectF(x + w * 0.48, hy - h * 0.65, s * 0.22, s * 0.22));
            x += w + rng.uniform(-s * 0.1, s * 0.6) + (rng.chance(0.25) ? s * rng.uniform(1.0, 3.0) : 0);
        }
        // Trees between the rows.
        for (int i = 0; i < 6; ++i) {
            const QPointF c(r.left() + rng.next() * r.width(), y + 2);
            p.setBrush(t == Tod::Night ? QColor(20, 40, 44) : QColor(80, 140, 90));
            p.drawEllipse(c, s * 0.6, s * 0.45);
        }
    }
}

void rowingBoat(QPainter &p, QPointF c, double len, const QColor &hull)
{
    QPainterPath b;
    b.moveTo(c.x() - len / 2, c.y() - len * 0.1);
    b.quadTo(c.x() - len * 0.35, c.y() + len * 0.12, c.x(), c.y() + len * 0.12);
    b.quadTo(c.x() + len * 0.4, c.y() + len * 0.12, c.x() + len / 2, c.y() - len * 0.14);
    b.closeSubpath();
    p.setBrush(hull);
    p.drawPath(b);
    p.setBrush(shade(hull, 1.3));
    p.drawRect(QRectF(c.x() - len / 2, c.y() - len * 0.12, len, len * 0.025));
    p.setBrush(alpha(QColor(255, 255, 255), 40));
    p.drawEllipse(QPointF(c.x(), c.y() + len * 0.15), len * 0.55, len * 0.04);
}

void hexSeams(QPainter &p, const QRectF &r, double size, const QColor &col)
{
    p.save();
    p.setPen(QPen(col, 1));
    p.setBrush(Qt::NoBrush);
    const double w = size * std::sqrt(3.0), v = size * 1.5;
    int row = 0;
    for (double y = r.top() - size; y < r.bottom() + size; y += v, ++row) {
        for (double x = r.left() - w + (row % 2) * w / 2; x < r.right() + w; x += w) {
            QPolygonF hx;
            for (int k = 0; k < 6; ++k) {
                const double a = (60 * k + 30) * M_PI / 180;
                hx << QPointF(x + size * std::cos(a), y + size * std::sin(a));
            }
            p.drawPolygon(hx);
        }
    }
    p.restore();
}

void watcher(QPainter &p, QPointF c, double r, const QColor &eye, bool eyeOpen)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(58, 54, 68), std::max(0.8, r * 0.12), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int k = -1; k <= 1; ++k) { // spring legs
        QPainterPath leg;
        const QPointF a = c + QPointF(k * r * 0.55, r * 0.7);
        leg.moveTo(a);
        for (int z = 1; z <= 4; ++z)
            leg.lineTo(a + QPointF(k * r * 0.12 + ((z % 2) ? r * 0.18 : -r * 0.18), r * 0.18 * z));
        p.drawPath(leg);
    }
    p.restore();
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.4), r * 1.3);
    g.setColorAt(0, QColor(90, 86, 104));
    g.setColorAt(0.5, QColor(34, 30, 42));
    g.setColorAt(1, QColor(10, 8, 14));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    if (eyeOpen) {
        glow(p, c + QPointF(r * 0.1, 0), r * 0.9, alpha(eye, 170));
        p.setBrush(eye);
        p.drawEllipse(c + QPointF(r * 0.1, 0), r * 0.32, r * 0.28);
        p.setBrush(QColor(255, 250, 240));
        p.drawEllipse(c + QPointF(r * 0.05, -r * 0.06), r * 0.1, r * 0.09);
    } else {
        p.setBrush(alpha(eye, 160));
        p.drawRect(QRectF(c.x() - r * 0.25, c.y() - r * 0.03, r * 0.6, r * 0.07));
    }
}

void shipExterior(QPainter &p, QPointF c, double length, double angleDeg, const QColor &lit)
{
    p.save();
    p.translate(c);
    p.rotate(angleDeg);
    const double rr = length * 0.09;
    // Ring behind, hull, ring in front.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(shade(lit, 0.6), rr * 0.28));
    const QRectF ring(-length * 0.1 - rr * 0.4, -rr * 2.1, rr * 0.8, rr * 4.2);
    p.drawArc(ring, 90 * 16, 180 * 16);
    p.setPen(Qt::NoPen);
    QLinearGradient g(0, -rr, 0, rr);
    g.setColorAt(0, shade(lit, 1.2));
    g.setColorAt(0.4, lit);
    g.setColorAt(1, shade(lit, 0.35));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(-length / 2, -rr, length, 2 * rr), rr * 0.8, rr * 0.8);
    p.setBrush(shade(lit, 0.5));
    for (int i = 1; i < 6; ++i)
        p.drawRect(QRectF(-length / 2 + i * length / 6, -rr, length * 0.006, 2 * rr));
    // Engines glowing at the stern.
    p.setBrush(shade(lit, 0.6));
    p.drawRect(QRectF(length / 2 - rr * 0.2, -rr * 0.7, rr * 0.5, rr * 1.4));
    addGlow(p, QPointF(length / 2 + rr * 0.4, 0), rr * 1.6, QColor(140, 200, 255, 160));
    p.setPen(QPen(lit, rr * 0.28));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 270 * 16, 180 * 16);
    p.restore();
}

void nightSky(QPainter &p, double horizon, Rng &rng, int stars)
{
    fillVertical(p, QRectF(0, 0, 720, horizon + 2),
                 {{0, QColor(8, 12, 34)}, {0.7, QColor(24, 34, 80)}, {1, QColor(60, 66, 120)}});
    for (int i = 0; i < 10; ++i)
        addGlow(p, QPointF(rng.uniform(0, 720), rng.uniform(0, horizon * 0.7)), rng.uniform(80, 160),
                QColor(80, 100, 200, 14));
    starfield(p, QRectF(0, 0, 720, horizon - 10), stars, rng, 1.6);
}
