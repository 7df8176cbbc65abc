#include "places.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>

namespace {

const double kW = 720;
const double kH = 480;
const QRectF kAll(0, 0, kW, kH);

struct SkyColors
{
    QColor top, mid, low, sun;
};

SkyColors skyColors(Tod t)
{
    switch (t) {
    case Tod::Morning:
        return {QColor(112, 160, 226), QColor(186, 212, 240), QColor(255, 228, 204),
                QColor(255, 244, 214)};
    case Tod::Day:
        return {QColor(62, 128, 218), QColor(128, 186, 242), QColor(214, 234, 250),
                QColor(255, 252, 236)};
    case Tod::Dusk:
        return {QColor(58, 56, 124), QColor(214, 112, 126), QColor(255, 180, 112),
                QColor(255, 214, 150)};
    case Tod::Night:
        break;
    }
    return {QColor(9, 13, 36), QColor(24, 34, 80), QColor(58, 62, 112), QColor(236, 240, 255)};
}

// Sky painted once per call into an image so windows can show it as a texture.
QImage skyImage(Tod t, Rng &rng, QPointF sunAt, int cloudCount, double seaAt = -1)
{
    QImage img = canvas(int(kW), int(kH));
    QPainter p(&img);
    prepare(p);
    sky(p, kAll, t, rng, sunAt);
    clouds(p, QRectF(0, 0, kW, seaAt > 0 ? seaAt - 20 : kH * 0.55), t, rng, cloudCount);
    if (seaAt > 0)
        sea(p, seaAt, t, rng, 1.5);
    return img;
}

void shadeQuad(QPainter &p, const QPolygonF &q, const QColor &near, const QColor &far,
               QPointF from, QPointF to)
{
    QLinearGradient g(from, to);
    g.setColorAt(0, near);
    g.setColorAt(1, far);
    poly(p, q, g);
}

QColor lightColor(Tod t)
{
    switch (t) {
    case Tod::Morning:
        return QColor(255, 236, 200, 110);
    case Tod::Day:
        return QColor(255, 246, 220, 100);
    case Tod::Dusk:
        return QColor(255, 160, 90, 130);
    case Tod::Night:
        break;
    }
    return QColor(150, 180, 255, 50);
}

} // namespace

void poly(QPainter &p, const QPolygonF &q, const QBrush &b)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(b);
    p.drawPolygon(q);
    p.restore();
}

void box(QPainter &p, const Cam &c, double x0, double x1, double y0, double y1, double z0,
         double z1, const QColor &col)
{
    // Faces turned to the eye: the top when below eye level, the near face, and
    // whichever side faces the centre line.
    if (x0 > 0)
        poly(p, c.wallX(x0, y0, y1, z0, z1), shade(col, 0.78));
    if (x1 < 0)
        poly(p, c.wallX(x1, y0, y1, z0, z1), shade(col, 0.9));
    if (y1 < 0)
        poly(p, c.flat(y1, x0, x1, z0, z1), shade(col, 1.12));
    if (y0 > 0)
        poly(p, c.flat(y0, x0, x1, z0, z1), shade(col, 0.7));
    poly(p, c.wallZ(z0, x0, x1, y0, y1), col);
}

void sky(QPainter &p, const QRectF &r, Tod t, Rng &rng, QPointF sunAt)
{
    const SkyColors s = skyColors(t);
    fillVertical(p, r, {{0, s.top}, {0.55, s.mid}, {1, s.low}});
    if (t == Tod::Night) {
        starfield(p, QRectF(r.left(), r.top(), r.width(), r.height() * 0.75), 160, rng, 1.3);
        glow(p, sunAt, 90, QColor(170, 190, 255, 60));
        p.setBrush(QColor(246, 246, 236));
        p.drawEllipse(sunAt, 16, 16);
        p.setBrush(QColor(9, 13, 36, 240)); // crescent bite
        p.drawEllipse(sunAt + QPointF(7, -4), 14, 14);
    } else {
        const double r0 = t == Tod::Dusk ? 320 : 260;
        addGlow(p, sunAt, r0, alpha(s.sun, t == Tod::Dusk ? 150 : 110));
        glow(p, sunAt, t == Tod::Dusk ? 34 : 24, alpha(s.sun, 255));
        p.setBrush(s.sun);
        p.drawEllipse(sunAt, t == Tod::Dusk ? 22 : 14, t == Tod::Dusk ? 22 : 14);
    }
}

void clouds(QPainter &p, const QRectF &r, Tod t, Rng &rng, int count)
{
    QColor top, under;
    switch (t) {
    case Tod::Morning:
        top = QColor(255, 250, 245, 215);
        under = QColor(214, 200, 222, 180);
        break;
    case Tod::Day:
        top = QColor(255, 255, 255, 230);
        under = QColor(196, 214, 236, 200);
        break;
    case Tod::Dusk:
        top = QColor(255, 196, 160, 220);
        under = QColor(150, 84, 120, 200);
        break;
    case Tod::Night:
        top = QColor(70, 80, 130, 150);
        under = QColor(30, 36, 70, 140);
        break;
    }
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double cx = r.left() + rng.next() * r.width();
        const double cy = r.top() + rng.uniform(0.15, 0.95) * r.height();
        const double w = rng.uniform(70, 190);
        const double h = w * rng.uniform(0.22, 0.34);
        QPainterPath cl;
        const int puffs = rng.range(4, 7);
        for (int k = 0; k < puffs; ++k) {
            const double px = cx - w / 2 + w * (k + 0.5) / puffs + rng.uniform(-8, 8);
            const double pr = h * rng.uniform(0.55, 1.0) * (1.0 - std::abs(k - (puffs - 1) / 2.0) / puffs);
            cl.addEllipse(QPointF(px, cy - pr * 0.4), pr * 1.15, pr);
        }
        cl.addRoundedRect(QRectF(cx - w / 2, cy - h * 0.35, w, h * 0.55), h * 0.27, h * 0.27);
        cl.setFillRule(Qt::WindingFill);
        cl = cl.simplified();
        QLinearGradient g(0, cy - h, 0, cy + h * 0.3);
        g.setColorAt(0, top);
        g.setColorAt(1, under);
        p.setBrush(g);
        p.drawPath(cl);
    }
    p.restore();
}

void skyline(QPainter &p, double baseY, double minH, double maxH, const QColor &body,
             const QColor &lit, double litShare, Rng &rng, double x0, double x1)
{
    p.save();
    p.setPen(Qt::NoPen);
    double x = x0;
    while (x < x1) {
        const double w = rng.uniform(22, 60);
        const double h = rng.uniform(minH, maxH);
        const QColor c = shade(body, rng.uniform(0.9, 1.1));
        p.setBrush(c);
        p.drawRect(QRectF(x, baseY - h, w - 2, h + 2));
        if (rng.chance(0.25)) { // antenna or roof block
            p.drawRect(QRectF(x + w * 0.3, baseY - h - 8, w * 0.25, 8));
            if (rng.chance(0.5)) {
                p.drawRect(QRectF(x + w * 0.45, baseY - h - 22, 1.5, 14));
                p.setBrush(QColor(255, 90, 90, 200));
                p.drawEllipse(QPointF(x + w * 0.45 + 0.75, baseY - h - 22), 1.6, 1.6);
            }
        }
        if (litShare > 0) {
            for (double wy = baseY - h + 6; wy < baseY - 4; wy += 7) {
                for (double wx = x + 4; wx < x + w - 6; wx += 6) {
                    if (rng.chance(litShare)) {
                        p.setBrush(alpha(lit, 120 + rng.range(0, 120)));
                        p.drawRect(QRectF(wx, wy, 2.6, 3.2));
                    }
                }
            }
        }
        x += w;
    }
    p.restore();
}

void timeWash(QPainter &p, Tod t)
{
    p.save();
    switch (t) {
    case Tod::Morning:
        p.setCompositionMode(QPainter::CompositionMode_SoftLight);
        p.fillRect(kAll, QColor(255, 226, 190, 70));
        break;
    case Tod::Day:
        break;
    case Tod::Dusk:
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.fillRect(kAll, QColor(255, 205, 180));
        break;
    case Tod::Night:
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.fillRect(kAll, QColor(96, 110, 170));
        break;
    }
    p.restore();
}

void classroom(QPainter &p, Tod t, Rng &rng, bool withDesks, bool seaView)
{
    Cam c;
    c.cx = 400;
    c.cy = 236;
    c.f = 420;
    const double xl = -4.4, xr = 3.6, fl = -1.35, ce = 1.7, zb = 8.5, zn = 0.5;
    const bool night = t == Tod::Night;
    QImage skyImg = skyImage(t, rng, QPointF(60, 120), 5, seaView ? c.cy + 6 : -1);

    const QColor wall = night ? QColor(92, 98, 128) : QColor(236, 228, 212);
    const QColor wallShade = shade(wall, 0.82);
    // Ceiling, walls, floor.
    shadeQuad(p, c.flat(ce, xl, xr, zn, zb), shade(wall, 1.06), shade(wall, 0.92), QPointF(0, 0),
              c.at(0, ce, zb));
    shadeQuad(p, c.wallZ(zb, xl, xr, fl, ce), wall, wallShade, c.at(0, 0, zb), c.at(xr, 0, zb));
    shadeQuad(p, c.wallX(xr, fl, ce, zn, zb), wallShade, wall, QPointF(kW, 0), c.at(xr, 0, zb));
    shadeQuad(p, c.wallX(xl, fl, ce, zn, zb), shade(wall, 0.9), wall, QPointF(0, 0),
              c.at(xl, 0, zb));
    const QColor wood = night ? QColor(84, 70, 72) : QColor(186, 142, 98);
    shadeQuad(p, c.flat(fl, xl, xr, zn, zb), shade(wood, 1.05), shade(wood, 0.86),
              QPointF(0, kH), c.at(0, fl, zb));
    p.save();
    p.setPen(QPen(alpha(shade(wood, 0.7), 90), 1));
    for (double x = xl; x <= xr; x += 0.35)
        p.drawLine(c.at(x, fl, zn), c.at(x, fl, zb));
    p.restore();
    // Skirting board.
    poly(p, c.wallX(xr, fl, fl + 0.12, zn, zb), shade(wood, 0.7));
    poly(p, c.wallZ(zb, xl, xr, fl, fl + 0.12), shade(wood, 0.7));

    // Windows along the left wall, with the sky behind.
    const double wy0 = -0.35, wy1 = 1.35;
    for (double z = 1.2; z < zb - 0.6; z += 1.9) {
        const QPolygonF pane = c.wallX(xl, wy0, wy1, z, z + 1.6);
        poly(p, pane, QBrush(skyImg));
        poly(p, pane, QColor(255, 255, 255, 30));
        QPen frame(night ? QColor(150, 160, 190) : QColor(250, 250, 248), 1);
        p.save();
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(pane);
        p.restore();
        poly(p, c.wallX(xl, wy0 - 0.04, wy1 + 0.04, z + 0.78, z + 0.84), night ? QColor(150, 160, 190) : QColor(248, 248, 246));
        poly(p, c.wallX(xl, 0.5, 0.54, z, z + 1.6), night ? QColor(150, 160, 190) : QColor(248, 248, 246));
        // Curtain bunched at the window edge.
        const QColor cur = night ? QColor(120, 130, 170) : QColor(240, 236, 220);
        poly(p, c.wallX(xl + 0.02, wy0 - 0.1, wy1 + 0.2, z + 1.45, z + 1.72), shade(cur, 0.95));
        // Sunlight through the pane onto the floor.
        if (!night) {
            const double lx = t == Tod::Dusk ? 2.6 : 1.5, ly = 1.0, lz = t == Tod::Dusk ? 1.2 : 0.6;
            auto floorHit = [&](double y, double zz) {
                const double k = (y - fl) / ly;
                return c.at(xl + lx * k, fl, zz + lz * k);
            };
            QPolygonF patch({floorHit(wy0, z), floorHit(wy0, z + 1.6), floorHit(wy1, z + 1.6),
                             floorHit(wy1, z)});
            QLinearGradient g(floorHit(wy0, z), floorHit(wy1, z));
            g.setColorAt(0, lightColor(t));
            g.setColorAt(1, alpha(lightColor(t), 20));
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_Screen);
            poly(p, patch, g);
            p.restore();
        }
    }

    // Blackboard with chalk strokes, and the teacher's desk.
    const QPolygonF board = c.wallZ(zb - 0.02, -2.4, 1.8, -0.25, 0.95);
    poly(p, c.wallZ(zb - 0.01, -2.48, 1.88, -0.33, 1.03), QColor(150, 120, 86));
    QLinearGradient bg(board.at(0), board.at(2));
    bg.setColorAt(0, QColor(46, 84, 70));
    bg.setColorAt(1, QColor(34, 66, 56));
    poly(p, board, bg);
    p.save();
    p.setPen(QPen(QColor(235, 240, 230, 150), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        const double y = 0.75 - i * 0.16;
        const double x0 = -2.1 + rng.uniform(0, 0.3);
        double x = x0;
        QPointF prev = c.at(x, y, zb - 0.03);
        const double len = rng.uniform(1.0, 2.8);
        while (x < x0 + len) {
            x += 0.06;
            QPointF cur = c.at(x, y + 0.03 * std::sin(x * 31 + i), zb - 0.03);
            p.drawLine(prev, cur);
            prev = cur;
        }
    }
    p.restore();
    poly(p, c.wallZ(zb - 0.03, -2.4, 1.8, -0.28, -0.24), QColor(180, 150, 110));
    box(p, c, -1.0, 0.6, fl, fl + 0.8, zb - 1.5, zb - 0.9, QColor(170, 120, 80));
    // Clock.
    const QPointF clk = c.at(2.6, 1.2, zb - 0.02);
    p.setBrush(QColor(250, 250, 246));
    p.setPen(QPen(QColor(90, 90, 96), 1.2));
    p.drawEllipse(clk, 9, 9);
    p.drawLine(clk, clk + QPointF(0, -6));
    p.drawLine(clk, clk + QPointF(4, 1));
    p.setPen(Qt::NoPen);

    // Ceiling lights.
    for (double z = 2.0; z < zb; z += 2.4) {
        for (double x : {-2.2, 0.2, 2.2}) {
            const QPolygonF lamp = c.flat(ce - 0.01, x - 0.6, x + 0.6, z, z + 0.3);
            poly(p, lamp, night ? QColor(120, 126, 150) : QColor(255, 255, 246));
            if (!night)
                addGlow(p, lamp.boundingRect().center(), 40 * 3 / z + 10, QColor(255, 250, 230, 50));
        }
    }

    if (withDesks) {
        const QColor desk = night ? QColor(110, 92, 82) : QColor(208, 166, 112);
        const QColor metal = night ? QColor(70, 76, 96) : QColor(120, 126, 136);
        for (int row = 4; row >= 0; --row) {
            const double z = 2.0 + row * 1.15;
            for (int col = 0; col < 5; ++col) {
                const double x = -3.4 + col * 1.45;
                const double top = fl + 0.72;
                // Chair behind the desk, then the desk.
                box(p, c, x + 0.08, x + 0.48, fl + 0.42, fl + 0.46, z - 0.55, z - 0.2, metal);
                box(p, c, x + 0.08, x + 0.48, fl + 0.46, fl + 0.85, z - 0.57, z - 0.53, desk);
                for (double lx : {x + 0.03, x + 0.5})
                    for (double lz : {z + 0.03, z + 0.4})
                        box(p, c, lx, lx + 0.03, fl, top, lz, lz + 0.03, metal);
                box(p, c, x, x + 0.56, top, top + 0.05, z, z + 0.44, desk);
                box(p, c, x + 0.03, x + 0.53, top - 0.2, top, z + 0.05, z + 0.4, shade(metal, 1.1));
            }
        }
    }
    timeWash(p, t);
    vignette(p, kAll, 0.35);
}

void corridor(QPainter &p, Tod t, Rng &rng)
{
    Cam c;
    c.cx = 380;
    c.cy = 230;
    c.f = 400;
    const double xl = -1.7, xr = 1.7, fl = -1.5, ce = 1.35, zn = 0.4, zb = 36;
    const bool night = t == Tod::Night;
    QImage skyImg = skyImage(t, rng, QPointF(120, 80), 6);
    const QColor wall = night ? QColor(86, 94, 126) : QColor(238, 232, 220);
    shadeQuad(p, c.flat(ce, xl, xr, zn, zb), shade(wall, 1.04), shade(wall, 0.8), QPointF(0, 0),
              c.at(0, ce, zb));
    shadeQuad(p, c.wallX(xr, fl, ce, zn, zb), shade(wall, 0.86), shade(wall, 0.7),
              QPointF(kW, 0), c.at(xr, 0, zb));
    shadeQuad(p, c.wallX(xl, fl, ce, zn, zb), shade(wall, 0.95), shade(wall, 0.75),
              QPointF(0, 0), c.at(xl, 0, zb));
    const QColor floorC = night ? QColor(70, 78, 104) : QColor(176, 186, 196);
    shadeQuad(p, c.flat(fl, xl, xr, zn, zb), shade(floorC, 1.1), shade(floorC, 0.8),
              QPointF(0, kH), c.at(0, fl, zb));
    // End of the hall: a window full of light.
    poly(p, c.wallZ(zb, xl, xr, fl, ce), shade(wall, 0.8));
    poly(p, c.wallZ(zb - 0.01, -1.1, 1.1, -0.5, 1.0), QBrush(skyImg));
    addGlow(p, c.at(0, 0.2, zb), 60, alpha(lightColor(t), night ? 40 : 120));
    // Windows on the left, light on the floor and its gleam.
    for (double z = 1.0; z < zb - 2; z += 3.0) {
        const QPolygonF pane = c.wallX(xl, -0.45, 1.05, z, z + 2.4);
        poly(p, pane, QBrush(skyImg));
        poly(p, c.wallX(xl, -0.45, 1.05, z + 1.17, z + 1.23), shade(wall, 1.05));
        poly(p, c.wallX(xl, 0.27, 0.31, z, z + 2.4), shade(wall, 1.05));
        if (!night) {
            const double lx = t == Tod::Dusk ? 2.2 : 1.3, ly = 1.0, lz = 0.9;
            auto hit = [&](double y, double zz) {
                const double k = (y - fl) / ly;
                return c.at(xl + lx * k, fl, zz + lz * k);
            };
            QPolygonF patch({hit(-0.45, z), hit(-0.45, z + 2.4), hit(1.05, z + 2.4), hit(1.05, z)});
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_Screen);
            poly(p, patch, alpha(lightColor(t), lightColor(t).alpha() * 8 / 10));
            p.restore();
        }
        // Gleam of the window on the polished floor.
        QPolygonF gleam = c.flat(fl, xl, xl + 0.5, z, z + 2.4);
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Screen);
        poly(p, gleam, QColor(255, 255, 255, 26));
        p.restore();
    }
    // Doors and notice boards on the right.
    for (double z = 2.0; z < zb - 3; z += 5.0) {
        poly(p, c.wallX(xr - 0.01, fl, 0.65, z, z + 1.0), night ? QColor(90, 80, 84) : QColor(178, 140, 104));
        poly(p, c.wallX(xr - 0.02, -0.1, 0.45, z + 0.2, z + 0.5), QBrush(skyImg));
        poly(p, c.wallX(xr - 0.01, 0.8, 1.0, z + 0.1, z + 0.7), QColor(232, 236, 240)); // room sign
        poly(p, c.wallX(xr - 0.01, -0.2, 0.55, z + 2.0, z + 3.4), QColor(198, 170, 130));
        for (int k = 0; k < 3; ++k) {
            const double zz = z + 2.1 + k * 0.42 + rng.uniform(0, 0.05);
            const QColor paper = k == 1 ? QColor(250, 236, 200) : QColor(246, 246, 246);
            poly(p, c.wallX(xr - 0.02, -0.05 + rng.uniform(0, 0.2), 0.4 + rng.uniform(0, 0.1), zz, zz + 0.3), paper);
        }
    }
    // Skirting and ceiling lights.
    poly(p, c.wallX(xr - 0.005, fl, fl + 0.1, zn, zb), shade(wall, 0.6));
    poly(p, c.wallX(xl + 0.005, fl, fl + 0.1, zn, zb), shade(wall, 0.6));
    for (double z = 1.5; z < zb; z += 3.0) {
        const QPolygonF lamp = c.flat(ce - 0.01, -0.15, 0.15, z, z + 1.2);
        poly(p, lamp, night ? QColor(130, 136, 160) : QColor(255, 255, 246));
    }
    timeWash(p, t);
    vignette(p, kAll, 0.4);
}

void rooftop(QPainter &p, Tod t, Rng &rng)
{
    const double horizon = 300;
    sky(p, QRectF(0, 0, kW, horizon + 40), t, rng, QPointF(530, t == Tod::Dusk ? 250 : 90));
    clouds(p, QRectF(0, 20, kW, 200), t, rng, 7);
    const bool night = t == Tod::Night;
    // Far city below the edge of the roof.
    const SkyColors s = skyColors(t);
    skyline(p, horizon + 24, 20, 70, mix(s.low, QColor(70, 80, 110), 0.55), QColor(255, 220, 150),
            night ? 0.4 : t == Tod::Dusk ? 0.15 : 0, rng);
    skyline(p, horizon + 34, 10, 40, mix(s.low, QColor(50, 56, 84), 0.75), QColor(255, 220, 150),
            night ? 0.45 : t == Tod::Dusk ? 0.2 : 0, rng);
    // Roof floor.
    const QColor conc = night ? QColor(70, 74, 96) : QColor(186, 184, 178);
    fillVertical(p, QRectF(0, horizon + 30, kW, kH - horizon - 30),
                 {{0, shade(conc, 0.9)}, {1, shade(conc, 1.08)}});
    p.save();
    p.setPen(QPen(alpha(shade(conc, 0.75), 140), 1));
    Cam c;
    c.cx = 360;
    c.cy = horizon - 10;
    c.f = 400;
    for (double x = -12; x <= 12; x += 2.0)
        p.drawLine(c.at(x, -1.6, 0.8), c.at(x, -1.6, 40));
    for (double z = 1.2; z < 40; z *= 1.35)
        p.drawLine(c.at(-20, -1.6, z), c.at(20, -1.6, z));
    p.restore();
    // Stair house on the left.
    box(p, c, -7.5, -4.2, -1.6, 1.4, 5.0, 8.0, night ? QColor(96, 100, 126) : QColor(214, 210, 200));
    poly(p, c.wallZ(4.99, -6.4, -5.3, -1.6, 0.5), night ? QColor(70, 76, 100) : QColor(120, 130, 140));
    // Water tank on stilts on the right.
    const QColor tank = night ? QColor(110, 116, 140) : QColor(226, 228, 230);
    for (double x : {4.2, 5.6})
        box(p, c, x, x + 0.12, -1.6, 0.2, 9.0, 9.12, QColor(120, 120, 130));
    box(p, c, 3.9, 6.1, 0.2, 1.8, 8.6, 10.2, tank);
    // Fence: posts, rails and a fine mesh.
    const double fz = 5.2, top = 0.1;
    QPen mesh(night ? QColor(160, 170, 200, 60) : QColor(90, 110, 100, 70), 0.8);
    p.save();
    p.setPen(mesh);
    for (double x = -4.2; x < 12; x += 0.18) {
        p.drawLine(c.at(x, -1.6, fz), c.at(x + 0.8, top, fz));
        p.drawLine(c.at(x + 0.8, -1.6, fz), c.at(x, top, fz));
    }
    p.restore();
    const QColor post = night ? QColor(140, 150, 176) : QColor(74, 110, 96);
    for (double x = -4.0; x < 12; x += 1.6)
        box(p, c, x, x + 0.06, -1.6, top, fz, fz + 0.06, post);
    poly(p, c.wallZ(fz, -4.2, 12, top - 0.06, top), post);
    poly(p, c.wallZ(fz, -4.2, 12, -1.0, -0.96), post);
    // Low parapet in front of the fence.
    box(p, c, -4.2, 12, -1.6, -1.35, fz, fz + 0.3, shade(conc, 1.1));
    if (!night)
        addGlow(p, QPointF(530, t == Tod::Dusk ? 250 : 90), 300, alpha(lightColor(t), 40));
    timeWash(p, t == Tod::Night ? Tod::Night : Tod::Day);
    vignette(p, kAll, 0.3);
}

void street(QPainter &p, Tod t, Rng &rng)
{
    Cam c;
    c.cx = 340;
    c.cy = 262;
    c.f = 360;
    const bool lamps = t == Tod::Dusk || t == Tod::Night;
    sky(p, QRectF(0, 0, kW, 300), t, rng, QPointF(360, 230));
    clouds(p, QRectF(0, 10, kW, 170), t, rng, 6);
    const SkyColors s = skyColors(t);
    skyline(p, 268, 10, 55, mix(s.low, QColor(60, 60, 100), 0.6), QColor(255, 210, 150),
            lamps ? 0.25 : 0, rng, 200, 520);
    const double fl = -1.6;
    const QColor asphalt = t == Tod::Night ? QColor(46, 50, 70) : QColor(96, 96, 108);
    fillVertical(p, QRectF(0, 262, kW, kH - 262), {{0, shade(asphalt, 1.2)}, {1, asphalt}});
    const QColor walk = t == Tod::Night ? QColor(80, 84, 104) : QColor(176, 170, 164);
    poly(p, c.flat(fl + 0.12, 3.0, 8, 0.6, 80), walk);
    poly(p, c.flat(fl + 0.12, -8, -3.0, 0.6, 80), walk);
    poly(p, c.wallX(3.0, fl, fl + 0.12, 0.6, 80), shade(walk, 0.8));
    poly(p, c.wallX(-3.0, fl, fl + 0.12, 0.6, 80), shade(walk, 0.8));
    // Centre line.
    for (double z = 1.0; z < 80; z += 4)
        poly(p, c.flat(fl, -0.06, 0.06, z, z + 2), QColor(236, 226, 190, 200));
    // Houses on both sides, far first.
    for (int side = -1; side <= 1; side += 2) {
        for (double z = 70; z > 1; z -= 9) {
            const double x0 = side > 0 ? 4.0 : -4.0;
            const double depth = 7.0;
            const double h = rng.uniform(3.2, 6.5);
            QColor body = QColor::fromHsv(rng.range(10, 40), rng.range(20, 60), rng.range(170, 230));
            if (t == Tod::Night)
                body = shade(body, 0.45);
            const double zz0 = z, zz1 = z + 7.0;
            const double xa = side > 0 ? x0 : x0 - depth, xb = side > 0 ? x0 + depth : x0;
            box(p, c, xa, xb, fl + 0.12, fl + h, zz0, zz1, body);
            // Gable roof over the face turned to the street.
            const double rx = side > 0 ? xa : xb;
            QPolygonF roof({c.at(rx, fl + h, zz0 - 0.3), c.at(rx, fl + h, zz1 + 0.3),
                            c.at(rx + side * depth / 2, fl + h + 1.6, zz1 + 0.3),
                            c.at(rx + side * depth / 2, fl + h + 1.6, zz0 - 0.3)});
            poly(p, roof, t == Tod::Night ? QColor(40, 44, 64) : QColor(96, 70, 74));
            // Windows.
            for (double wy = fl + 1.1; wy < fl + h - 0.8; wy += 1.5) {
                for (double wz = zz0 + 0.8; wz < zz1 - 1.0; wz += 2.1) {
                    const bool on = lamps && rng.chance(0.65);
                    const QColor wc = on ? QColor(255, 206, 130) : mix(s.mid, QColor(80, 90, 120), 0.4);
                    poly(p, c.wallX(rx, wy, wy + 0.9, wz, wz + 1.2), wc);
                    if (on)
                        addGlow(p, c.at(rx, wy + 0.45, wz + 0.6), 220 / wz + 4, QColor(255, 180, 90, 60));
                }
            }
        }
    }
    // Poles with sagging wires, street lamps.
    QList<QPointF> tops;
    for (double z = 44; z > 2; z -= 7) {
        const double x = 3.4;
        box(p, c, x, x + 0.18, fl, fl + 8.0, z, z + 0.18, t == Tod::Night ? QColor(40, 40, 54) : QColor(70, 62, 66));
        poly(p, c.wallZ(z, x - 0.9, x + 0.3, fl + 7.4, fl + 7.5), QColor(60, 54, 58));
        tops << c.at(x - 0.8, fl + 7.45, z) << c.at(x + 0.1, fl + 7.45, z);
        if (lamps) {
            const QPointF l = c.at(x - 0.3, fl + 5.0, z);
            addGlow(p, l, 900 / z + 8, QColor(255, 200, 120, 140));
            p.setBrush(QColor(255, 244, 220));
            p.drawEllipse(l, 60 / z + 0.8, 40 / z + 0.5);
            QPolygonF pool = c.flat(fl + 0.01, x - 3.0, x + 1.0, z - 1.6, z + 1.6);
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_Screen);
            QRadialGradient g(c.at(x - 1.0, fl, z), 600 / z + 10);
            g.setColorAt(0, QColor(255, 190, 110, 90));
            g.setColorAt(1, QColor(255, 190, 110, 0));
            poly(p, pool, g);
            p.restore();
        }
    }
    p.save();
    p.setPen(QPen(QColor(30, 26, 36, 200), 1.0));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i + 2 < tops.size(); i += 2) {
        for (int k = 0; k < 2; ++k) {
            const QPointF a = tops[i + k], b = tops[i + 2 + k];
            QPainterPath w;
            w.moveTo(a);
            w.quadTo((a + b) / 2 + QPointF(0, std::abs(b.x() - a.x()) * 0.12 + 3), b);
            p.drawPath(w);
        }
    }
    p.restore();
    timeWash(p, t == Tod::Dusk ? Tod::Day : t);
    if (t == Tod::Dusk)
        addGlow(p, QPointF(360, 240), 380, QColor(255, 140, 80, 50));
    vignette(p, kAll, 0.4);
}

void bedroom(QPainter &p, Tod t, Rng &rng, bool neighbour)
{
    Cam c;
    c.cx = 330;
    c.cy = 230;
    c.f = 420;
    const double xl = -3.2, xr = 3.0, fl = -1.3, ce = 1.5, zn = 0.5, zb = 4.6;
    const bool night = t == Tod::Night;
    QImage skyImg = skyImage(t, rng, QPointF(330, 150), 4);
    {
        QPainter sp(&skyImg);
        prepare(sp);
        Rng r2(rng.range(0, 1 << 30));
        if (neighbour) {
            // The house next door, close across the gap: a wall and its window.
            sp.setBrush(QColor(236, 214, 190));
            sp.drawRect(QRectF(330, 150, 400, 330));
            sp.setBrush(QColor(190, 70, 60));
            sp.drawRect(QRectF(320, 136, 410, 16));
            sp.setBrush(QColor(250, 250, 246));
            sp.drawRect(QRectF(376, 196, 74, 80));
            sp.setBrush(QColor(120, 160, 200));
            sp.drawRect(QRectF(381, 201, 64, 70));
            sp.setBrush(QColor(250, 170, 200));
            sp.drawRect(QRectF(381, 201, 18, 70));
            sp.drawRect(QRectF(427, 201, 18, 70));
            sp.setBrush(QColor(160, 120, 90));
            sp.drawRect(QRectF(370, 274, 86, 6));
        } else {
            skyline(sp, 330, 20, 110, night ? QColor(26, 30, 56) : QColor(150, 170, 200),
                    QColor(255, 210, 140), night ? 0.35 : 0, r2);
        }
    }
    const QColor wall = night ? QColor(70, 74, 110) : QColor(240, 226, 214);
    shadeQuad(p, c.wallZ(zb, xl, xr, fl, ce), wall, shade(wall, 0.9), c.at(0, 0, zb), c.at(xr, 0, zb));
    shadeQuad(p, c.wallX(xl, fl, ce, zn, zb), shade(wall, 0.88), wall, QPointF(0, 0), c.at(xl, 0, zb));
    shadeQuad(p, c.wallX(xr, fl, ce, zn, zb), shade(wall, 0.8), shade(wall, 0.92), QPointF(kW, 0), c.at(xr, 0, zb));
    poly(p, c.flat(ce, xl, xr, zn, zb), shade(wall, 1.05));
    const QColor floorC = night ? QColor(70, 58, 66) : QColor(196, 160, 124);
    shadeQuad(p, c.flat(fl, xl, xr, zn, zb), floorC, shade(floorC, 0.85), QPointF(0, kH), c.at(0, fl, zb));
    // Rug.
    poly(p, c.flat(fl + 0.005, -1.6, 1.2, 1.6, 3.4), night ? QColor(90, 86, 130) : QColor(170, 196, 220));
    // Window with curtains.
    const QPolygonF win = c.wallZ(zb - 0.01, -1.0, 1.0, -0.2, 1.1);
    poly(p, c.wallZ(zb - 0.005, -1.06, 1.06, -0.26, 1.16), QColor(248, 248, 244));
    poly(p, win, QBrush(skyImg));
    poly(p, c.wallZ(zb - 0.02, -0.03, 0.03, -0.2, 1.1), QColor(248, 248, 244));
    const QColor cur = night ? QColor(110, 120, 170) : QColor(150, 190, 206);
    QPainterPath curtainL, curtainR;
    const QPointF a0 = c.at(-1.5, 1.3, zb - 0.05), a1 = c.at(-0.8, 1.3, zb - 0.05),
                  a2 = c.at(-1.0, -0.4, zb - 0.05), a3 = c.at(-1.5, -0.4, zb - 0.05);
    curtainL.moveTo(a0);
    curtainL.lineTo(a1);
    curtainL.quadTo(QPointF(a1.x() - 12, (a1.y() + a2.y()) / 2), a2);
    curtainL.lineTo(a3);
    curtainL.closeSubpath();
    p.setBrush(cur);
    p.drawPath(curtainL);
    curtainR = QTransform().translate(2 * c.at(0, 0, zb).x(), 0).scale(-1, 1).map(curtainL);
    p.drawPath(curtainR);
    if (!night)
        lightShaft(p, c.at(0, 0.5, zb), 120, QPointF(300, 470), 300, alpha(lightColor(t), 60));
    // Bed on the right.
    const QColor sheet = night ? QColor(120, 130, 170) : QColor(246, 244, 240);
    box(p, c, 0.9, xr - 0.05, fl, fl + 0.45, 1.6, zb - 0.05, QColor(150, 110, 86));
    box(p, c, 0.9, xr - 0.05, fl + 0.45, fl + 0.62, 1.6, zb - 0.05, sheet);
    box(p, c, 1.1, xr - 0.3, fl + 0.62, fl + 0.72, zb - 0.9, zb - 0.25, shade(sheet, 0.96));
    box(p, c, 0.88, xr - 0.05, fl + 0.4, fl + 0.66, 1.6, 3.0, night ? QColor(150, 120, 170) : QColor(244, 180, 170));
    // Desk with a lamp on the left.
    const QColor deskC = night ? QColor(100, 84, 80) : QColor(190, 150, 110);
    box(p, c, xl + 0.05, xl + 0.8, fl, fl + 0.75, 2.4, 4.3, deskC);
    box(p, c, xl + 0.05, xl + 0.7, fl + 0.75, fl + 0.78, 2.4, 4.3, shade(deskC, 1.1));
    const QPointF lampAt = c.at(xl + 0.4, fl + 1.2, 3.8);
    p.setBrush(QColor(250, 230, 190));
    p.drawEllipse(lampAt, 9, 6);
    addGlow(p, lampAt, night ? 120 : 50, QColor(255, 200, 120, night ? 120 : 50));
    if (neighbour) {
        // Morning sun laid across the floor, a poster, a plant, the school bag.
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Screen);
        QPolygonF patch({c.at(-0.9, fl, 3.9), c.at(0.9, fl, 3.9), c.at(1.3, fl, 2.2), c.at(-0.5, fl, 2.2)});
        QLinearGradient sg(c.at(0, fl, 3.9), c.at(0, fl, 2.2));
        sg.setColorAt(0, QColor(255, 226, 170, 170));
        sg.setColorAt(1, QColor(255, 226, 170, 60));
        poly(p, patch, sg);
        p.restore();
        poly(p, c.wallX(xl + 0.01, 0.0, 0.9, 3.7, 4.3), QColor(70, 110, 170));
        poly(p, c.wallX(xl + 0.02, 0.15, 0.7, 3.8, 4.2), QColor(250, 220, 120));
        const QPointF pot = c.at(xl + 0.35, fl + 0.78, 4.0);
        p.setBrush(QColor(200, 110, 80));
        p.drawRect(QRectF(pot.x() - 6, pot.y() - 10, 12, 10));
        p.setBrush(QColor(90, 160, 90));
        for (int k = -1; k <= 1; ++k)
            p.drawEllipse(pot + QPointF(k * 6, -16 - std::abs(k) * -3), 6, 10);
        box(p, c, 0.3, 0.75, fl, fl + 0.3, 2.6, 2.75, QColor(44, 54, 96));
        poly(p, c.wallZ(2.59, 0.35, 0.7, fl + 0.12, fl + 0.22), QColor(70, 84, 140));
    }
    // Shelf with books.
    poly(p, c.wallZ(zb - 0.01, -2.9, -1.6, 0.4, 0.44), deskC);
    for (int i = 0; i < 8; ++i) {
        const double x = -2.85 + i * 0.15;
        QColor bk = QColor::fromHsv(rng.range(0, 359), 90, night ? 120 : 200);
        poly(p, c.wallZ(zb - 0.02, x, x + 0.12, 0.44, 0.44 + rng.uniform(0.22, 0.32)), bk);
    }
    timeWash(p, t);
    vignette(p, kAll, 0.35);
}

void park(QPainter &p, Tod t, Rng &rng)
{
    sky(p, QRectF(0, 0, kW, 320), t, rng, QPointF(200, t == Tod::Dusk ? 260 : 80));
    clouds(p, QRectF(0, 10, kW, 180), t, rng, 6);
    const bool night = t == Tod::Night;
    const SkyColors s = skyColors(t);
    hills(p, kAll, 280, 14, 1.3, 0.4, mix(s.low, QColor(90, 140, 120), 0.6));
    hills(p, kAll, 300, 10, 2.1, 1.9, mix(s.low, QColor(70, 130, 90), 0.75));
    const QColor grass = night ? QColor(34, 60, 60) : QColor(118, 176, 104);
    fillVertical(p, QRectF(0, 310, kW, 170), {{0, grass}, {1, shade(grass, 0.8)}});
    // Path curving away.
    QPainterPath path;
    path.moveTo(250, 480);
    path.cubicTo(330, 400, 300, 350, 380, 312);
    path.lineTo(396, 312);
    path.cubicTo(360, 360, 460, 410, 520, 480);
    path.closeSubpath();
    p.setBrush(night ? QColor(90, 90, 110) : QColor(222, 204, 170));
    p.drawPath(path);
    // Trees: trunks and layered round crowns.
    for (int i = 0; i < 9; ++i) {
        const double x = (i < 5 ? 20 + i * 55 : 470 + (i - 5) * 65) + rng.uniform(-15, 15);
        const double base = 300 + rng.uniform(0, 30) + (i % 2) * 40;
        const double sz = rng.uniform(34, 60) * (base / 320);
        p.setBrush(night ? QColor(30, 28, 36) : QColor(100, 76, 60));
        p.drawRect(QRectF(x - sz * 0.08, base - sz * 1.2, sz * 0.16, sz * 1.2));
        const QColor leaf = night ? QColor(30, 64, 66) : QColor::fromHsv(rng.range(90, 130), 120, 150);
        for (int k = 0; k < 5; ++k) {
            const QPointF cc(x + rng.uniform(-0.6, 0.6) * sz, base - sz * 1.5 + rng.uniform(-0.5, 0.4) * sz);
            QRadialGradient g(cc + QPointF(-sz * 0.2, -sz * 0.3), sz * 0.8);
            g.setColorAt(0, shade(leaf, 1.25));
            g.setColorAt(1, shade(leaf, 0.8));
            p.setBrush(g);
            p.drawEllipse(cc, sz * 0.6, sz * 0.55);
        }
    }
    // Bench and lamp.
    p.setBrush(night ? QColor(70, 56, 56) : QColor(140, 96, 70));
    p.drawRect(QRectF(560, 392, 110, 8));
    p.drawRect(QRectF(560, 372, 110, 6));
    p.setBrush(QColor(50, 50, 60));
    p.drawRect(QRectF(566, 400, 5, 22));
    p.drawRect(QRectF(659, 400, 5, 22));
    p.drawRect(QRectF(120, 250, 5, 160));
    const QPointF lamp(122, 246);
    p.setBrush(QColor(255, 240, 210));
    p.drawEllipse(lamp, 9, 7);
    if (t == Tod::Dusk || night)
        addGlow(p, lamp, 90, QColor(255, 200, 120, 120));
    if (!night) {
        Rng r2(rng.range(0, 1 << 30));
        bokeh(p, QRectF(0, 0, kW, 300), 12, r2, QColor(255, 250, 220, 60), QColor(255, 220, 200, 40), 6, 18);
    }
    timeWash(p, t);
    vignette(p, kAll, 0.3);
}

void shipCorridor(QPainter &p, const QColor &accent, Rng &rng, bool alarm)
{
    Cam c;
    c.cx = 360;
    c.cy = 240;
    c.f = 380;
    fillVertical(p, kAll, {{0, QColor(24, 30, 44)}, {1, QColor(14, 18, 28)}});
    // Octagonal frames, far to near, with panels between them.
    const double hw = 1.8, hh = 1.5, ch = 0.7;
    auto ring = [&](double z) {
        return QPolygonF({c.at(-hw + ch, hh, z), c.at(hw - ch, hh, z), c.at(hw, hh - ch, z),
                          c.at(hw, -hh + ch, z), c.at(hw - ch, -hh, z), c.at(-hw + ch, -hh, z),
                          c.at(-hw, -hh + ch, z), c.at(-hw, hh - ch, z)});
    };
    const QColor base(70, 82, 104);
    const double zFar = 26;
    // Door at the end.
    const QPolygonF endRing = ring(zFar);
    poly(p, endRing, QColor(44, 52, 70));
    poly(p, c.wallZ(zFar - 0.01, -0.7, 0.7, -1.5, 0.9), QColor(60, 70, 92));
    poly(p, c.wallZ(zFar - 0.02, -0.02, 0.02, -1.5, 0.9), alpha(accent, 220));
    addGlow(p, c.at(0, -0.2, zFar), 70, alpha(accent, 80));
    for (double z = zFar; z > 0.5; z -= 1.6) {
        const QPolygonF a = ring(z), b = ring(z - 1.6 > 0.35 ? z - 1.6 : 0.35);
        for (int k = 0; k < 8; ++k) {
            QPolygonF face({a[k], a[(k + 1) % 8], b[(k + 1) % 8], b[k]});
            static const double lit[8] = {1.15, 1.0, 0.85, 0.78, 0.6, 0.78, 0.85, 1.0};
            QColor fc = shade(base, lit[k] * (0.75 + 0.25 * std::min(1.0, 6.0 / z)));
            if (k == 4)
                fc = QColor(46, 52, 66);
            poly(p, face, fc);
        }
        p.save();
        p.setPen(QPen(QColor(20, 24, 34, 200), std::max(0.6, 8.0 / z)));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(a);
        p.restore();
        // Light strips along the upper bevels, and floor grating slats.
        for (int k : {1, 7})
            poly(p, QPolygonF({a[k] + (a[(k + 1) % 8] - a[k]) * 0.45, a[k] + (a[(k + 1) % 8] - a[k]) * 0.55,
                               b[k] + (b[(k + 1) % 8] - b[k]) * 0.55, b[k] + (b[(k + 1) % 8] - b[k]) * 0.45}),
                 alpha(accent, 230));
        poly(p, c.flat(-hh + 0.005, -hw + ch, hw - ch, z - 0.85, z - 0.8), QColor(30, 34, 46));
        if (rng.chance(0.4))
            poly(p, c.wallX(hw - 0.01, -0.4, 0.2, z - 1.2, z - 0.6), QColor(30, 60, 70));
    }
    // Glow of the strips over everything and a soft floor reflection.
    addGlow(p, QPointF(360, 70), 260, alpha(accent, 40));
    addGlow(p, QPointF(360, 430), 200, alpha(accent, 25));
    if (alarm) {
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.fillRect(kAll, QColor(255, 130, 130));
        p.restore();
        addGlow(p, c.at(-1.2, 1.2, 3), 120, QColor(255, 50, 40, 140));
        addGlow(p, c.at(1.2, 1.2, 7), 80, QColor(255, 50, 40, 120));
    }
    vignette(p, kAll, 0.5);
}

void deepSpace(QPainter &p, Rng &rng, const QColor &nebulaA, const QColor &nebulaB, int stars)
{
    fillVertical(p, kAll, {{0, QColor(6, 8, 22)}, {0.6, QColor(14, 14, 40)}, {1, QColor(22, 14, 44)}});
    // Nebula: a drifting band of soft clouds.
    const double angle = rng.uniform(-0.5, 0.5);
    for (int i = 0; i < 40; ++i) {
        const double t = rng.next();
        const double x = -60 + t * 840;
        const double y = 240 + (t - 0.5) * 840 * std::tan(angle) + rng.uniform(-90, 90);
        const QColor col = mix(nebulaA, nebulaB, rng.next());
        addGlow(p, QPointF(x, y), rng.uniform(60, 170), alpha(col, rng.range(14, 34)));
    }
    starfield(p, kAll, stars, rng, 1.7);
    Rng r2(rng.range(0, 1 << 30));
    for (int i = 0; i < 6; ++i) {
        const QPointF at(r2.uniform(0, kW), r2.uniform(0, kH));
        addGlow(p, at, r2.uniform(8, 18), QColor(220, 230, 255, 120));
    }
}

void planet(QPainter &p, QPointF c, double r, const QColor &base, const QColor &light,
            QPointF lightDir, bool ring, Rng &rng)
{
    const double tilt = -14;
    auto ringPath = [&](bool front) {
        QPainterPath path;
        QRectF outer(-r * 2.1, -r * 0.45, r * 4.2, r * 0.9), inner(-r * 1.45, -r * 0.28, r * 2.9, r * 0.56);
        path.addEllipse(outer);
        path.addEllipse(inner);
        QPainterPath half;
        half.addRect(front ? QRectF(-r * 3, 0, r * 6, r * 2) : QRectF(-r * 3, -r * 2, r * 6, r * 2));
        return QTransform().translate(c.x(), c.y()).rotate(tilt).map(path.intersected(half));
    };
    if (ring) {
        p.setBrush(alpha(mix(light, base, 0.4), 150));
        p.drawPath(ringPath(false));
    }
    addGlow(p, c, r * 1.25, alpha(light, 60));
    QRadialGradient g(c + lightDir * r * 0.5, r * 1.5);
    g.setColorAt(0, shade(light, 1.0));
    g.setColorAt(0.35, base);
    g.setColorAt(0.8, shade(base, 0.35));
    g.setColorAt(1, shade(base, 0.15));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    // Bands, clipped to the disc.
    p.save();
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    p.setClipPath(disc);
    for (int i = 0; i < 6; ++i) {
        const double y = c.y() - r + rng.uniform(0.1, 1.9) * r;
        p.setBrush(alpha(i % 2 ? shade(base, 1.2) : shade(base, 0.8), 50));
        p.drawEllipse(QPointF(c.x(), y), r * 1.3, rng.uniform(3, r * 0.12));
    }
    p.restore();
    // Thin lit rim of atmosphere.
    p.save();
    p.setBrush(Qt::NoBrush);
    QPen rim(alpha(light, 150), std::max(1.0, r * 0.03));
    p.setPen(rim);
    const double startDeg = std::atan2(-lightDir.y(), lightDir.x()) * 180 / M_PI;
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int((startDeg - 70) * 16), 140 * 16);
    p.restore();
    if (ring) {
        p.setBrush(alpha(mix(light, base, 0.3), 190));
        p.drawPath(ringPath(true));
    }
}

void shipBridge(QPainter &p, Rng &rng, const QColor &planetCol, bool warp)
{
    QImage outside = canvas(int(kW), int(kH));
    {
        QPainter op(&outside);
        prepare(op);
        deepSpace(op, rng, QColor(80, 60, 180), QColor(40, 140, 200), 260);
        if (warp) {
            op.save();
            for (int i = 0; i < 160; ++i) {
                const double a = rng.uniform(0, 6.2831853);
                const double r0 = rng.uniform(20, 120), r1 = r0 + rng.uniform(60, 300);
                const QPointF cc(360, 200);
                op.setPen(QPen(QColor(190, 220, 255, rng.range(60, 200)), rng.uniform(0.6, 1.8)));
                op.drawLine(cc + QPointF(std::cos(a), std::sin(a)) * r0,
                            cc + QPointF(std::cos(a), std::sin(a)) * r1);
            }
            op.restore();
            addGlow(op, QPointF(360, 200), 120, QColor(200, 230, 255, 160));
        } else {
            planet(op, QPointF(500, 250), 120, planetCol, shade(planetCol, 1.7), QPointF(-0.7, -0.5),
                   false, rng);
        }
    }
    fillVertical(p, kAll, {{0, QColor(30, 36, 52)}, {1, QColor(16, 20, 30)}});
    // Panoramic window.
    QPainterPath win;
    win.moveTo(40, 60);
    win.quadTo(360, 20, 680, 60);
    win.lineTo(640, 300);
    win.quadTo(360, 320, 80, 300);
    win.closeSubpath();
    p.setBrush(QBrush(outside));
    p.drawPath(win);
    p.save();
    p.setPen(QPen(QColor(58, 66, 86), 10));
    p.setBrush(Qt::NoBrush);
    p.drawPath(win);
    p.setPen(QPen(QColor(58, 66, 86), 7));
    p.drawLine(QPointF(250, 36), QPointF(262, 312));
    p.drawLine(QPointF(470, 36), QPointF(458, 312));
    p.restore();
    p.save();
    p.setClipPath(win);
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    fillLinear(p, kAll, QPointF(0, 40), QPointF(300, 320),
               {{0, QColor(140, 180, 255, 40)}, {0.5, QColor(0, 0, 0, 0)}, {1, QColor(140, 180, 255, 20)}});
    p.restore();
    // Consoles in front with glowing screens.
    QPainterPath desk;
    desk.moveTo(0, 330);
    desk.quadTo(360, 300, 720, 330);
    desk.lineTo(720, 480);
    desk.lineTo(0, 480);
    desk.closeSubpath();
    QLinearGradient dg(0, 300, 0, 480);
    dg.setColorAt(0, QColor(64, 72, 96));
    dg.setColorAt(1, QColor(24, 28, 40));
    p.setBrush(dg);
    p.drawPath(desk);
    for (int i = 0; i < 7; ++i) {
        const double x = 40 + i * 95 + rng.uniform(-6, 6);
        const double y = 345 + std::abs(i - 3) * 6;
        QRectF scr(x, y, 70, 34);
        QLinearGradient sg(scr.topLeft(), scr.bottomRight());
        sg.setColorAt(0, QColor(90, 200, 255, 220));
        sg.setColorAt(1, QColor(40, 90, 200, 200));
        p.setBrush(sg);
        p.drawRoundedRect(scr, 3, 3);
        p.save();
        p.setPen(QPen(QColor(220, 250, 255, 160), 1));
        for (int k = 0; k < 3; ++k) {
            const double ly = y + 8 + k * 9;
            p.drawLine(QPointF(x + 6, ly), QPointF(x + 6 + rng.uniform(20, 56), ly));
        }
        p.restore();
        addGlow(p, scr.center(), 60, QColor(80, 180, 255, 50));
    }
    // Captain's chair from behind.
    QPainterPath chair;
    chair.addRoundedRect(QRectF(318, 370, 84, 110), 18, 18);
    p.setBrush(QColor(36, 40, 56));
    p.drawPath(chair);
    p.setBrush(QColor(60, 68, 92));
    p.drawRoundedRect(QRectF(326, 378, 68, 30), 10, 10);
    vignette(p, kAll, 0.45);
}

namespace {

// The figure itself in a local frame: feet at the origin, y up negative, one
// unit = the figure's height.
void personShape(QPainter &p, QPointF feet, double height, const Look &look, Pose pose, int facing)
{
    p.save();
    p.translate(feet);
    p.scale(height * facing, height);
    p.setPen(Qt::NoPen);
    const bool back = pose == Pose::Back;
    const double headR = 0.078;
    const QPointF head(0, -1 + headR + 0.005);
    const double sh = -0.80, hip = -0.47;
    const bool sit = pose == Pose::Sit;
    const double lift = sit ? 0.2 : 0.0;

    auto limb = [&](QPointF a, QPointF b, double w, const QColor &col) {
        QPen pen(col, w, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(a, b);
        p.setPen(Qt::NoPen);
    };
    p.translate(0, lift);
    // Long hair behind the body.
    p.setBrush(look.hair);
    if (look.hairStyle == 1 || look.hairStyle == 3) {
        QPainterPath h;
        h.moveTo(-0.085, -0.93);
        h.cubicTo(-0.12, -0.8, -0.11, -0.66, -0.09, -0.6);
        h.lineTo(0.09, -0.6);
        h.cubicTo(0.11, -0.66, 0.12, -0.8, 0.085, -0.93);
        h.closeSubpath();
        if (look.hairStyle == 1 || back)
            p.drawPath(h);
        if (look.hairStyle == 3) {
            p.drawEllipse(QPointF(-0.11, -0.8), 0.03, 0.12);
            p.drawEllipse(QPointF(0.11, -0.8), 0.03, 0.12);
        }
    }
    if (look.hairStyle == 2) {
        QPainterPath tail;
        tail.moveTo(-0.03, -0.97);
        tail.cubicTo(-0.16, -0.92, -0.14, -0.74, -0.1, -0.68);
        tail.cubicTo(-0.09, -0.78, -0.06, -0.88, 0.0, -0.93);
        tail.closeSubpath();
        p.drawPath(tail);
    }
    // Legs.
    const QColor legC = look.skirt ? look.skin : look.bottom;
    const QColor shoe = shade(look.bottom, 0.5);
    QPointF lf(-0.035, 0), rf(0.035, 0);
    QPointF lk(-0.035, -0.24), rk(0.035, -0.24);
    if (pose == Pose::Walk) {
        lf = QPointF(-0.09, 0);
        rf = QPointF(0.08, 0);
        lk = QPointF(-0.05, -0.24);
        rk = QPointF(0.05, -0.25);
    } else if (pose == Pose::Run) {
        lf = QPointF(-0.16, -0.06);
        rf = QPointF(0.14, 0);
        lk = QPointF(-0.1, -0.22);
        rk = QPointF(0.1, -0.26);
    } else if (sit) {
        lk = QPointF(0.14, -0.46);
        rk = QPointF(0.16, -0.45);
        lf = QPointF(0.14, -0.2);
        rf = QPointF(0.17, -0.2);
    }
    for (auto [knee, foot] : {std::pair{lk, lf}, std::pair{rk, rf}}) {
        limb(QPointF(knee.x() * 0.4, hip + 0.02), knee, 0.05, legC);
        limb(knee, foot, 0.042, legC);
        p.setBrush(shoe);
        p.drawEllipse(QRectF(foot.x() - 0.03, foot.y() - 0.025, 0.065, 0.03));
    }
    // Torso: a soft trapezoid, with a skirt or coat tail.
    QPainterPath torso;
    torso.moveTo(-0.085, sh);
    torso.cubicTo(-0.1, sh + 0.12, -0.07, hip - 0.06, -0.075, hip);
    torso.lineTo(0.075, hip);
    torso.cubicTo(0.07, hip - 0.06, 0.1, sh + 0.12, 0.085, sh);
    torso.quadTo(0, sh - 0.03, -0.085, sh);
    QLinearGradient tg(-0.1, 0, 0.1, 0);
    tg.setColorAt(0, shade(look.top, 1.12));
    tg.setColorAt(1, shade(look.top, 0.85));
    p.setBrush(tg);
    p.drawPath(torso);
    if (look.skirt || look.coat) {
        QPainterPath sk;
        const double len = look.coat ? 0.26 : 0.15;
        sk.moveTo(-0.08, hip - 0.02);
        sk.lineTo(0.08, hip - 0.02);
        sk.lineTo(0.12 + (sit ? 0.08 : 0), hip + len);
        sk.lineTo(-0.12, hip + len);
        sk.closeSubpath();
        p.setBrush(look.coat ? shade(look.top, 0.9) : look.bottom);
        p.drawPath(sk);
    }
    // Collar accent.
    if (!back) {
        QPainterPath col;
        col.moveTo(-0.04, sh - 0.01);
        col.lineTo(0, sh + 0.06);
        col.lineTo(0.04, sh - 0.01);
        col.closeSubpath();
        p.setBrush(look.accent);
        p.drawPath(col);
    }
    // Arms.
    const QColor sleeve = shade(look.top, 0.95);
    QPointF ls(-0.09, sh + 0.02), rs(0.09, sh + 0.02);
    QPointF le(-0.12, sh + 0.16), lh(-0.11, sh + 0.3);
    QPointF re(0.12, sh + 0.16), rh(0.11, sh + 0.3);
    if (pose == Pose::Reach) {
        re = QPointF(0.22, sh + 0.04);
        rh = QPointF(0.34, sh - 0.02);
    } else if (pose == Pose::Wave) {
        re = QPointF(0.17, sh - 0.08);
        rh = QPointF(0.2, sh - 0.2);
    } else if (pose == Pose::Run || pose == Pose::Walk) {
        le = QPointF(-0.14, sh + 0.12);
        lh = QPointF(-0.18, sh + 0.24);
        re = QPointF(0.13, sh + 0.15);
        rh = QPointF(0.19, sh + 0.22);
    } else if (sit) {
        lh = QPointF(0.0, sh + 0.31);
        rh = QPointF(0.08, sh + 0.31);
    }
    for (auto [s, e, h] : {std::tuple{ls, le, lh}, std::tuple{rs, re, rh}}) {
        limb(s, e, 0.045, sleeve);
        limb(e, h, 0.038, sleeve);
        p.setBrush(look.skin);
        p.drawEllipse(h, 0.02, 0.02);
    }
    // Head, face and front hair.
    p.setBrush(look.skin);
    p.drawRect(QRectF(-0.02, sh - 0.05, 0.04, 0.06));
    const double hx = head.x(), hy = head.y(), r = headR;
    if (look.sideTail) {
        p.setBrush(look.hair);
        p.save();
        p.translate(hx + r * 1.0, hy - r * 0.1);
        p.rotate(-25);
        p.drawEllipse(QPointF(r * 0.25, r * 0.55), r * 0.32, r * 0.7);
        p.restore();
    }
    p.setBrush(look.hair);
    p.drawEllipse(QPointF(hx, hy - r * 0.08), r * 1.06, r * 1.08);
    if (back) {
        // Nape tufts and the collar or scarf seen from behind.
        QPainterPath tufts;
        tufts.moveTo(hx - r * 0.9, hy + r * 0.2);
        for (int k = 0; k <= 6; ++k)
            tufts.lineTo(hx - r * 0.9 + k * r * 0.3, hy + ((k % 2) ? r * 0.75 : r * 0.45));
        tufts.lineTo(hx + r * 0.9, hy + r * 0.2);
        tufts.closeSubpath();
        p.drawPath(tufts);
        p.setBrush(look.accent);
        p.drawRoundedRect(QRectF(-0.075, sh - 0.035, 0.15, 0.045), 0.02, 0.02);
        p.setBrush(alpha(shade(look.hair, 1.6), 70));
        p.drawEllipse(QPointF(hx - r * 0.35, hy - r * 0.55), r * 0.4, r * 0.16);
        if (height > 200) {
            p.setPen(QPen(shade(look.top, 0.75), 0.004));
            p.drawLine(QPointF(0, sh + 0.02), QPointF(0, hip));
            p.setPen(Qt::NoPen);
        }
    }
    if (!back) {
        p.setBrush(look.skin);
        p.drawEllipse(QPointF(hx + r * 0.08, hy + r * 0.12), r * 0.86, r * 0.88);
        QPainterPath fringe;
        fringe.moveTo(hx - r * 1.06, hy + r * 0.35);
        fringe.cubicTo(hx - r * 1.15, hy - r * 1.25, hx + r * 1.15, hy - r * 1.35, hx + r * 1.06, hy + r * 0.2);
        const int n = 5;
        for (int k = 0; k <= n; ++k) {
            const double x = hx + r * 0.95 - k * (r * 1.9 / n);
            const double y = (k % 2) ? hy - r * 0.38 : hy - r * 0.05 + (k == n ? r * 0.3 : 0);
            fringe.lineTo(x, y);
        }
        fringe.closeSubpath();
        if (look.hairStyle == 1 || look.hairStyle == 3 || look.hairStyle == 4) {
            const double len = look.hairStyle == 4 ? 0.75 : 1.5;
            fringe.addRect(QRectF(hx - r * 1.06, hy - r * 0.2, r * 0.3, r * len));
            fringe.addRect(QRectF(hx + r * 0.78, hy - r * 0.2, r * 0.28, r * len));
        }
        if (look.hairStyle == 5) {
            for (int k = -2; k <= 2; ++k) {
                fringe.moveTo(hx + k * r * 0.42 - r * 0.28, hy - r * 0.75);
                fringe.lineTo(hx + k * r * 0.6, hy - r * 1.45);
                fringe.lineTo(hx + k * r * 0.42 + r * 0.28, hy - r * 0.75);
                fringe.closeSubpath();
            }
        }
        fringe.setFillRule(Qt::WindingFill);
        p.setBrush(look.hair);
        p.drawPath(fringe);
        if (height > 60 && look.skin != look.hair) { // silhouettes have no face
            p.setBrush(QColor(50, 40, 50));
            p.drawEllipse(QPointF(hx + r * 0.0, hy + r * 0.22), r * 0.1, r * 0.17);
            p.drawEllipse(QPointF(hx + r * 0.5, hy + r * 0.22), r * 0.1, r * 0.17);
            if (look.glasses) {
                // At least a pixel and a bit wide, so small people keep their glasses.
                p.setPen(QPen(QColor(104, 112, 136), qMax(r * 0.08, 1.4 / height)));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QPointF(hx + r * 0.0, hy + r * 0.22), r * 0.24, r * 0.24);
                p.drawEllipse(QPointF(hx + r * 0.5, hy + r * 0.22), r * 0.24, r * 0.24);
                p.drawLine(QPointF(hx + r * 0.24, hy + r * 0.2), QPointF(hx + r * 0.26, hy + r * 0.2));
                p.setPen(Qt::NoPen);
            }
            p.setBrush(QColor(255, 140, 140, 70));
            p.drawEllipse(QPointF(hx + r * 0.55, hy + r * 0.55), r * 0.18, r * 0.1);
            if (height > 150) { // brows and a small smile once the face is big enough to read
                p.setPen(QPen(shade(look.hair, 0.6), r * 0.05, Qt::SolidLine, Qt::RoundCap));
                p.setBrush(Qt::NoBrush);
                p.drawLine(QPointF(hx - r * 0.12, hy - r * 0.08), QPointF(hx + r * 0.1, hy - r * 0.1));
                p.drawLine(QPointF(hx + r * 0.4, hy - r * 0.1), QPointF(hx + r * 0.62, hy - r * 0.06));
                p.setPen(QPen(QColor(150, 80, 80), r * 0.05, Qt::SolidLine, Qt::RoundCap));
                p.drawArc(QRectF(hx + r * 0.1, hy + r * 0.42, r * 0.32, r * 0.2), 200 * 16, 140 * 16);
                p.setPen(Qt::NoPen);
            }
        }
    }
    // Hair highlight.
    p.setBrush(alpha(shade(look.hair, 1.5), 90));
    p.drawEllipse(QPointF(head.x() - headR * 0.3, head.y() - headR * 0.7), headR * 0.35, headR * 0.12);
    if (look.sideTail && look.clip.isValid()) {
        p.setBrush(look.clip);
        p.drawEllipse(QPointF(hx + r * 0.95, hy - r * 0.25), r * 0.2, r * 0.2);
    }
    p.restore();
}

} // namespace

// Drawn on a layer first so the whole figure gets one clean outline, in the
// manner of the character figures.
void person(QPainter &p, QPointF feet, double height, const Look &look, Pose pose, int facing)
{
    const double pad = 3 + height / 60;
    const int lw = int(height * 0.95 + 2 * pad), lh = int(height * 1.1 + 2 * pad);
    const QPointF localFeet(lw / 2.0, lh - pad - height * 0.05);
    QImage layer = spriteCanvas(lw, lh);
    {
        QPainter lp(&layer);
        prepare(lp);
        personShape(lp, localFeet, height, look, pose == Pose::Fallen ? Pose::Stand : pose, facing);
    }
    QImage out = spriteCanvas(lw, lh);
    {
        QImage mask = layer;
        QPainter mp(&mask);
        mp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        mp.fillRect(mask.rect(), look.line);
        mp.end();
        QPainter op(&out);
        const double w = std::max(0.7, height / 170);
        for (int k = 0; k < 8; ++k) {
            const double a = k * M_PI / 4;
            op.drawImage(QPointF(std::cos(a) * w, std::sin(a) * w), mask);
        }
        op.drawImage(0, 0, layer);
    }
    p.save();
    p.translate(feet);
    if (pose == Pose::Fallen)
        p.rotate(facing > 0 ? -82 : 82);
    p.drawImage(-localFeet, out);
    p.restore();
}

void silhouette(QPainter &p, QPointF feet, double height, const QColor &col, Pose pose,
                int hairStyle, int facing)
{
    Look l;
    l.hair = l.top = l.bottom = l.accent = l.skin = l.line = col;
    l.hairStyle = hairStyle;
    person(p, feet, height, l, pose, facing);
}
