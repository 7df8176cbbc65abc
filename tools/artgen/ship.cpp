// Places inside the ship: cool white, steel and cyan, with the protocol's red.
#include "places.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {
const QRectF kAll(0, 0, 720, 480);
}

void coreHall(QPainter &p, Rng &rng, bool dark, const QColor &pillar)
{
    const QColor top = dark ? QColor(10, 12, 22) : QColor(226, 236, 244);
    const QColor low = dark ? QColor(20, 22, 36) : QColor(246, 250, 252);
    fillVertical(p, kAll, {{0, top}, {1, low}});
    const QPointF c(360, 300);
    // Concentric floor rings and wall ribs curving round the hall.
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 9; i >= 1; --i) {
        const double rx = 60 + i * 70, ry = rx * 0.2;
        QColor ringCol = dark ? QColor(60, 70, 100, 120) : QColor(180, 200, 214, 160);
        p.setPen(QPen(ringCol, 1.2));
        p.drawEllipse(c, rx, ry);
    }
    for (int k = 0; k < 24; ++k) {
        const double a = k * M_PI / 12;
        const QPointF on(c.x() + std::cos(a) * 700, c.y() + std::sin(a) * 140);
        p.setPen(QPen(dark ? QColor(50, 60, 90, 90) : QColor(190, 206, 220, 120), 1));
        p.drawLine(c, on);
    }
    // Wall: tall panels around the back of the hall.
    for (int k = 0; k < 16; ++k) {
        const double x = -20 + k * 50;
        const double h = 150 + 30 * std::cos((x - 360) / 360.0 * M_PI / 2);
        QLinearGradient g(0, 80, 0, 220);
        g.setColorAt(0, dark ? QColor(20, 24, 40) : QColor(236, 244, 250));
        g.setColorAt(1, dark ? QColor(30, 34, 54) : QColor(214, 226, 236));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(x, 240 - h, 46, h));
        p.setBrush(dark ? QColor(94, 240, 255, 40) : QColor(150, 230, 246, 120));
        p.drawRect(QRectF(x + 21, 240 - h + 10, 3, h - 20));
    }
    p.restore();
    fillVertical(p, QRectF(0, 226, 720, 30), {{0, alpha(low, 0)}, {1, alpha(low, 200)}});
    // The pillar of light.
    const double pw = 70;
    addGlow(p, QPointF(c.x(), 200), 260, alpha(pillar, dark ? 60 : 90));
    QLinearGradient pg(c.x() - pw / 2, 0, c.x() + pw / 2, 0);
    pg.setColorAt(0, alpha(pillar, 0));
    pg.setColorAt(0.3, alpha(pillar, 200));
    pg.setColorAt(0.5, QColor(255, 255, 255, 240));
    pg.setColorAt(0.7, alpha(pillar, 200));
    pg.setColorAt(1, alpha(pillar, 0));
    p.fillRect(QRectF(c.x() - pw / 2, 0, pw, c.y()), pg);
    p.setBrush(alpha(pillar, 160));
    p.drawEllipse(c, pw * 0.8, pw * 0.16);
    for (int i = 0; i < 60; ++i) {
        const QPointF at(c.x() + rng.uniform(-1, 1) * rng.uniform(0, 90), rng.uniform(0, c.y()));
        p.setBrush(QColor(255, 255, 255, rng.range(60, 200)));
        const double s = rng.uniform(0.6, 1.8);
        p.drawEllipse(at, s, s);
    }
    vignette(p, kAll, dark ? 0.6 : 0.25);
}

void redVeins(QPainter &p, QPointF centre, Rng &rng, int count, double reach)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < count; ++i) {
        const double a = rng.uniform(0, 2 * M_PI);
        QPointF at = centre + QPointF(std::cos(a) * reach, std::sin(a) * reach * 0.3);
        QPainterPath v;
        v.moveTo(at);
        const int steps = 10;
        for (int s = 1; s <= steps; ++s) {
            const double k = double(s) / steps;
            QPointF target = at + (centre - at) * k;
            target += QPointF(rng.uniform(-12, 12), rng.uniform(-4, 4)) * (1 - k);
            v.lineTo(target);
        }
        p.setPen(QPen(QColor(255, 40, 50, 60), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(v);
        p.setPen(QPen(QColor(255, 90, 80, 220), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(v);
    }
    p.restore();
    addGlow(p, centre, reach * 0.3, QColor(255, 40, 40, 90));
}

void gateHall(QPainter &p, Rng &rng, double gateRadius, QPointF gateAt, int lit)
{
    fillVertical(p, kAll, {{0, QColor(6, 8, 16)}, {0.6, QColor(14, 18, 32)}, {1, QColor(8, 10, 18)}});
    // Faint cavern ribs.
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i < 8; ++i) {
        const double s = i * 0.16;
        p.setPen(QPen(QColor(40, 60, 90, 70), 1.5 * s + 0.5));
        p.drawArc(QRectF(gateAt.x() - 420 * s, gateAt.y() - 330 * s, 840 * s, 900 * s), 0, 180 * 16);
    }
    p.restore();
    // The gate: three rings of light around a dark centre.
    addGlow(p, gateAt, gateRadius * 2.2, QColor(94, 240, 255, 50));
    p.setBrush(QColor(16, 22, 34));
    p.drawEllipse(gateAt, gateRadius, gateRadius);
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        const double r = gateRadius * (0.95 - k * 0.22);
        const bool on = k < lit;
        if (on) {
            p.setPen(QPen(QColor(94, 240, 255, 45), gateRadius * 0.22));
            p.drawEllipse(gateAt, r, r);
        }
        p.setPen(QPen(QColor(94, 240, 255, on ? 170 : 60), gateRadius * 0.08));
        p.drawEllipse(gateAt, r, r);
        if (on) {
            p.setPen(QPen(QColor(236, 255, 255), std::max(1.5, gateRadius * 0.03)));
            p.drawEllipse(gateAt, r, r);
        } else {
            p.setPen(QPen(QColor(200, 250, 255, 230), std::max(1.0, gateRadius * 0.018)));
            p.drawArc(QRectF(gateAt.x() - r, gateAt.y() - r, 2 * r, 2 * r), (k * 70) * 16, (250 - k * 40) * 16);
        }
        for (int t = 0; t < 24; ++t) {
            const double a = t * M_PI / 12 + k * 0.2;
            const QPointF a0 = gateAt + QPointF(std::cos(a), std::sin(a)) * (r - gateRadius * 0.04);
            const QPointF a1 = gateAt + QPointF(std::cos(a), std::sin(a)) * (r + gateRadius * 0.04);
            p.setPen(QPen(QColor(150, 240, 255, 150), std::max(0.8, gateRadius * 0.01)));
            p.drawLine(a0, a1);
        }
    }
    p.restore();
    // Walkway with guide lights.
    const double horizonY = gateAt.y() + gateRadius;
    QPolygonF walk({QPointF(gateAt.x() - gateRadius * 0.3, horizonY), QPointF(gateAt.x() + gateRadius * 0.3, horizonY),
                    QPointF(520, 480), QPointF(200, 480)});
    QLinearGradient wg(0, horizonY, 0, 480);
    wg.setColorAt(0, QColor(30, 40, 56));
    wg.setColorAt(1, QColor(50, 62, 80));
    p.setBrush(wg);
    p.drawPolygon(walk);
    for (int i = 0; i < 14; ++i) {
        const double k = std::pow(i / 13.0, 2.0);
        const double y = horizonY + (480 - horizonY) * k;
        const double half = gateRadius * 0.3 + (160 - gateRadius * 0.3) * k;
        for (int side = -1; side <= 1; side += 2) {
            const QPointF at(gateAt.x() + side * half, y);
            addGlow(p, at, 3 + 14 * k, QColor(94, 240, 255, 150));
            p.setBrush(QColor(220, 255, 255));
            p.drawEllipse(at, 0.8 + 2 * k, 0.5 + 1.2 * k);
        }
    }
    for (int i = 0; i < 40; ++i) { // drifting dust in the gate light
        p.setBrush(QColor(160, 230, 255, rng.range(30, 120)));
        const double s = rng.uniform(0.5, 1.5);
        p.drawEllipse(QPointF(rng.uniform(0, 720), rng.uniform(0, 480)), s, s);
    }
    vignette(p, kAll, 0.5);
}

void capsuleRoom(QPainter &p, Rng &rng)
{
    Cam c;
    c.cx = 360;
    c.cy = 220;
    c.f = 380;
    const double xl = -3.2, xr = 3.2, fl = -1.4, ce = 1.6, zn = 0.5, zb = 14;
    fillVertical(p, kAll, {{0, QColor(232, 238, 242)}, {1, QColor(210, 218, 224)}});
    poly(p, c.flat(ce, xl, xr, zn, zb), QColor(240, 244, 246));
    poly(p, c.wallX(xl, fl, ce, zn, zb), QColor(222, 228, 234));
    poly(p, c.wallX(xr, fl, ce, zn, zb), QColor(214, 222, 228));
    QLinearGradient fg(0, 480, 0, 230);
    fg.setColorAt(0, QColor(236, 240, 244));
    fg.setColorAt(1, QColor(206, 214, 222));
    poly(p, c.flat(fl, xl, xr, zn, zb), fg);
    poly(p, c.wallZ(zb, xl, xr, fl, ce), QColor(226, 232, 236));
    // Glass door at the far end.
    poly(p, c.wallZ(zb - 0.01, -0.8, 0.8, fl, 0.8), QColor(180, 220, 230, 200));
    poly(p, c.wallZ(zb - 0.02, -0.02, 0.02, fl, 0.8), QColor(150, 170, 180));
    // Ceiling light strips.
    for (double x : {-1.4, 1.4})
        poly(p, c.flat(ce - 0.01, x - 0.08, x + 0.08, zn, zb), QColor(255, 255, 255));
    addGlow(p, c.at(0, ce, 4), 200, QColor(200, 250, 255, 40));
    // Capsules along both walls, far first.
    for (double z = zb - 1.5; z > 1.0; z -= 1.6) {
        for (int side = -1; side <= 1; side += 2) {
            const double x0 = side < 0 ? xl + 0.1 : xr - 1.1, x1 = x0 + 1.0;
            box(p, c, x0, x1, fl, fl + 0.5, z, z + 1.3, QColor(236, 240, 244));
            // Glass lid with a soft cyan glow inside.
            const QPolygonF lid = c.flat(fl + 0.52, x0 + 0.08, x1 - 0.08, z + 0.1, z + 1.2);
            QLinearGradient lg(lid.at(0), lid.at(2));
            lg.setColorAt(0, QColor(170, 240, 250, 220));
            lg.setColorAt(1, QColor(110, 200, 224, 200));
            poly(p, lid, lg);
            addGlow(p, lid.boundingRect().center(), 40 / z + 8, QColor(94, 240, 255, 70));
            poly(p, c.wallZ(z, x0 + 0.1, x0 + 0.3, fl + 0.2, fl + 0.3), rng.chance(0.5) ? QColor(94, 240, 255) : QColor(120, 220, 160));
        }
    }
    // Humming lights: small dots along the walls.
    for (double z = 1.5; z < zb; z += 0.8)
        for (double x : {xl, xr}) {
            const QPointF at = c.at(x, 0.6, z);
            glow(p, at, 30 / z + 2, QColor(120, 240, 255, 120));
        }
    vignette(p, kAll, 0.25);
}

void spine(QPainter &p, Rng &rng, int watchers, const QColor &eye, bool eyesOpen, const QColor &lights)
{
    Cam c;
    c.cx = 360;
    c.cy = 240;
    c.f = 340;
    fillVertical(p, kAll, {{0, QColor(12, 16, 26)}, {1, QColor(6, 8, 14)}});
    const double r = 2.2, zFar = 90;
    addGlow(p, QPointF(c.cx, c.cy), 70, alpha(lights, 120));
    // Ring frames receding into the distance, each studded with lights.
    for (double z = zFar; z > 0.6; z -= 1.8) {
        const double k = std::min(1.0, 5.0 / z);
        p.save();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(60, 72, 96, int(60 + 150 * k)), std::max(0.5, 9 / z)));
        p.drawEllipse(QPointF(c.cx, c.cy), c.f * r / z, c.f * r / z);
        p.restore();
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4 + M_PI / 8;
            const QPointF at = c.at(std::cos(a) * r * 0.96, std::sin(a) * r * 0.96, z);
            p.setBrush(alpha(lights, int(120 + 135 * k)));
            const double s = std::max(0.6, 12 / z);
            p.drawEllipse(at, s, s);
            if (z < 20)
                glow(p, at, s * 4, alpha(lights, 60));
        }
    }
    // Walkway.
    poly(p, c.flat(-r * 0.86, -0.8, 0.8, 0.6, zFar), QColor(40, 48, 64));
    for (double z = 1; z < zFar; z += 1.5)
        poly(p, c.flat(-r * 0.86 + 0.005, -0.8, 0.8, z, z + 0.05), QColor(24, 30, 42));
    // Watchers on shelves along both sides, far first.
    QList<std::pair<double, QPointF>> spots;
    for (int i = 0; i < watchers; ++i) {
        const double z = 1.6 + std::pow(rng.next(), 0.7) * 40;
        const double a = (rng.chance(0.5) ? M_PI : 0) + rng.uniform(-0.9, 0.9);
        spots.append({z, QPointF(std::cos(a) * r * 0.8, std::sin(a) * r * 0.8)});
    }
    std::sort(spots.begin(), spots.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (const auto &s : spots) {
        const QPointF at = c.at(s.second.x(), s.second.y(), s.first);
        watcher(p, at, std::max(1.5, 0.22 * c.f / s.first), eye, eyesOpen);
    }
    vignette(p, kAll, 0.55);
}

namespace {

// A Watcher that was shot: its shell split, the eye out, shards around it.
void brokenWatcher(QPainter &p, QPointF c, double r, Rng &rng)
{
    watcher(p, c, r, QColor(120, 40, 44), false);
    p.save();
    p.setPen(QPen(QColor(150, 200, 240, 200), std::max(0.8, r * 0.06), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath crack;
    crack.moveTo(c + QPointF(-r * 0.2, -r));
    crack.lineTo(c + QPointF(r * 0.05, -r * 0.45));
    crack.lineTo(c + QPointF(-r * 0.15, -r * 0.1));
    crack.lineTo(c + QPointF(r * 0.2, r * 0.4));
    p.drawPath(crack);
    p.restore();
    for (int i = 0; i < 6; ++i) {
        const QPointF at = c + QPointF(rng.uniform(-1.8, 1.8) * r, r * rng.uniform(0.7, 1.1));
        p.setBrush(QColor(30, 28, 38));
        p.drawPolygon(QPolygonF({at, at + QPointF(r * 0.25, -r * 0.1), at + QPointF(r * 0.1, r * 0.12)}));
    }
}

} // namespace

void passageEnd(QPainter &p, Rng &rng)
{
    spine(p, rng, 0, QColor(255, 40, 50), false, QColor(150, 200, 240));
    // The door at the end, its two leaves slid apart on soft light.
    const QRectF door(322, 176, 76, 112);
    addGlow(p, door.center(), 150, QColor(210, 245, 255, 120));
    p.setBrush(QColor(236, 250, 255));
    p.drawRect(door);
    p.setBrush(QColor(44, 54, 72));
    p.drawRect(QRectF(door.left() - 30, door.top(), 26, door.height()));
    p.drawRect(QRectF(door.right() + 4, door.top(), 26, door.height()));
    lightShaft(p, QPointF(door.center().x(), door.bottom()), door.width(), QPointF(360, 480), 300,
               QColor(220, 248, 255, 70));
    // The round maintenance hatch in the right wall, beside the door.
    const QPointF h(560, 232);
    p.setBrush(QColor(62, 72, 90));
    p.drawEllipse(h, 62, 66);
    p.setBrush(QColor(88, 100, 122));
    p.drawEllipse(h, 50, 54);
    p.setBrush(QColor(40, 48, 62));
    p.drawEllipse(h, 30, 33);
    p.save();
    p.setPen(QPen(QColor(150, 170, 190), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(h + QPointF(-22, 0), h + QPointF(22, 0)); // the wheel
    p.drawLine(h + QPointF(0, -24), h + QPointF(0, 24));
    p.restore();
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.setBrush(QColor(170, 186, 204));
        p.drawEllipse(h + QPointF(std::cos(a) * 56, std::sin(a) * 60), 2.4, 2.4);
    }
    glow(p, h + QPointF(-70, -40), 10, QColor(120, 255, 160, 180)); // its lamp: the way home
    p.setBrush(QColor(150, 255, 180));
    p.drawEllipse(h + QPointF(-70, -40), 3, 3);
    p.save();
    p.setPen(QPen(QColor(110, 124, 146), 4));
    for (int side = -1; side <= 1; side += 2)
        p.drawLine(h + QPointF(side * 20, 66), h + QPointF(side * 24, 150));
    for (int k = 0; k < 4; ++k)
        p.drawLine(h + QPointF(-21, 84 + k * 18), h + QPointF(21, 84 + k * 18));
    p.restore();
    // What is left of the Watchers, dark on the walkway.
    brokenWatcher(p, QPointF(250, 330), 20, rng);
    brokenWatcher(p, QPointF(430, 300), 12, rng);
    brokenWatcher(p, QPointF(300, 280), 8, rng);
}

void bridgeGate(QPainter &p, Rng &rng)
{
    const QPointF gate(360, 180);
    gateHall(p, rng, 120, gate);
    // The gate opening: white light through its centre.
    addGlow(p, gate, 220, QColor(255, 255, 255, 110));
    QRadialGradient open(gate, 84);
    open.setColorAt(0, QColor(255, 255, 255));
    open.setColorAt(0.7, QColor(226, 248, 255));
    open.setColorAt(1, QColor(180, 236, 255, 0));
    p.setBrush(open);
    p.drawEllipse(gate, 84, 84);
    // The great Watcher that held the gate, its shell shot through.
    brokenWatcher(p, QPointF(214, 300), 58, rng);
    brokenWatcher(p, QPointF(520, 330), 10, rng);
}

void cylinderWorld(QPainter &p, Rng &rng, double curl)
{
    // Looking down the habitat's length: land, sea and town run along the
    // inside of the drum, so they curve up both sides and close overhead.
    // curl 0 puts the eye on the axis, 1 near the ground.
    Cam c;
    c.cx = 360;
    c.cy = 240;
    c.f = 330;
    const double R = 10, eyeY = -R * 0.82 * curl, zFar = 260;
    fillVertical(p, kAll, {{0, QColor(150, 190, 220)}, {1, QColor(190, 214, 232)}});
    const int sectors = 120;
    // Stripe pattern round the drum: land, town and sea bands of uneven width
    // (0 land, 1 town, 2 sea), repeated three times around.
    static const int pattern[40] = {0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 2, 2, 2,
                                    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0};
    auto kind = [](int s) { return pattern[s % 40]; };
    const double zs[] = {1.2, 2, 3.2, 5, 8, 12, 18, 27, 40, 60, 90, 140, 200, 260};
    const int nz = int(sizeof(zs) / sizeof(zs[0]));
    for (int zi = nz - 2; zi >= 0; --zi) {
        const double z0 = zs[zi], z1 = zs[zi + 1];
        const double haze = 1.0 - std::exp(-z0 / 70.0);
        for (int s2 = 0; s2 < sectors; ++s2) {
            const double a0 = 2 * M_PI * s2 / sectors, a1 = 2 * M_PI * (s2 + 1) / sectors;
            auto pt = [&](double a, double z) { return c.at(R * std::sin(a), -R * std::cos(a) - eyeY, z); };
            QPolygonF q({pt(a0, z0), pt(a1, z0), pt(a1, z1), pt(a0, z1)});
            QColor col = kind(s2) == 0 ? QColor(110, 160, 100) : kind(s2) == 1 ? QColor(200, 170, 150)
                                                                             : QColor(50, 120, 180);
            col = shade(col, 0.86 + 0.16 * std::cos(a0) + 0.08 * rng.next());
            col = mix(col, QColor(190, 214, 232), 0.25 + haze * 0.65);
            poly(p, q, col);
            if (kind(s2) == 1 && zi < nz - 4) { // houses: red roofs and lights
                for (int k = 0; k < 6; ++k) {
                    const double a = rng.uniform(a0, a1), z = rng.uniform(z0, z1);
                    const QPointF at = pt(a, z);
                    const double sz = std::max(0.7, 30.0 / z);
                    p.setBrush(mix(QColor(200, 70, 60), QColor(190, 214, 232), haze * 0.8));
                    p.drawRect(QRectF(at.x() - sz, at.y() - sz * 0.6, sz * 2, sz * 1.2));
                }
            }
        }
    }
    // The sky tube along the axis and the glowing end cap far away.
    const QPointF axisFar = c.at(0, -eyeY, zFar), axisNear = c.at(0, -eyeY, 1.5);
    addGlow(p, axisFar, 120, QColor(255, 250, 230, 200));
    p.save();
    p.setPen(QPen(QColor(255, 250, 230, 120), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(axisFar, axisNear);
    p.setPen(QPen(QColor(255, 255, 255, 200), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(axisFar, axisNear);
    p.restore();
    for (int i = 0; i < 60; ++i) { // cloud wisps near the axis
        const double z = rng.uniform(3, 80);
        const QPointF at = c.at(rng.uniform(-3, 3), -eyeY + rng.uniform(-3, 3), z);
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(at, 300 / z + 4, 100 / z + 2);
    }
    vignette(p, kAll, 0.3);
}

void hiddenRoom(QPainter &p, Rng &rng)
{
    Cam c;
    c.cx = 360;
    c.cy = 230;
    c.f = 400;
    const double xl = -3.0, xr = 3.0, fl = -1.3, ce = 1.4, zn = 0.5, zb = 5.0;
    const QColor wall(40, 46, 58);
    poly(p, c.flat(ce, xl, xr, zn, zb), shade(wall, 0.7));
    poly(p, c.wallX(xl, fl, ce, zn, zb), shade(wall, 0.85));
    poly(p, c.wallX(xr, fl, ce, zn, zb), shade(wall, 0.8));
    poly(p, c.wallZ(zb, xl, xr, fl, ce), wall);
    poly(p, c.flat(fl, xl, xr, zn, zb), QColor(50, 52, 60));
    // Rivets and seams.
    p.save();
    p.setPen(QPen(QColor(24, 28, 36), 1));
    for (double x = xl; x <= xr; x += 1.0)
        p.drawLine(c.at(x, fl, zb), c.at(x, ce, zb));
    p.restore();
    // Round window onto the dark sea.
    const QPointF wc = c.at(0, 0.3, zb);
    p.setBrush(QColor(70, 80, 96));
    p.drawEllipse(wc, 58, 58);
    QRadialGradient wg(wc, 50);
    wg.setColorAt(0, QColor(20, 40, 70));
    wg.setColorAt(1, QColor(6, 12, 26));
    p.setBrush(wg);
    p.drawEllipse(wc, 48, 48);
    for (int i = 0; i < 12; ++i) {
        p.setBrush(QColor(200, 220, 255, rng.range(60, 180)));
        p.drawEllipse(wc + QPointF(rng.uniform(-36, 36), rng.uniform(-36, 10)), 0.8, 0.8);
    }
    // Consoles along both sides with dim cyan screens under dust.
    for (int side = -1; side <= 1; side += 2) {
        for (double z = 1.2; z < zb - 0.6; z += 1.3) {
            const double x0 = side < 0 ? xl : xr - 0.8;
            box(p, c, x0, x0 + 0.8, fl, fl + 0.9, z, z + 1.1, QColor(70, 76, 88));
            const QPolygonF scr = c.wallX(side < 0 ? x0 + 0.81 : x0 - 0.01, fl + 1.0, fl + 1.6, z + 0.1, z + 1.0);
            poly(p, scr, QColor(40, 120, 140, 200));
            // Old readouts still scrolling on the screens.
            const QRectF sb = scr.boundingRect();
            p.save();
            p.setPen(QPen(QColor(150, 240, 255, 150), std::max(0.6, 2.0 / z)));
            for (int k = 1; k < 5; ++k) {
                const double y = sb.top() + sb.height() * k / 5.0;
                p.drawLine(QPointF(sb.left() + sb.width() * 0.2, y), QPointF(sb.left() + sb.width() * rng.uniform(0.4, 0.8), y));
            }
            p.restore();
            addGlow(p, sb.center(), 60 / z + 10, QColor(94, 240, 255, 50));
            poly(p, c.flat(fl + 0.905, x0 + 0.05, x0 + 0.75, z + 0.1, z + 1.0), QColor(150, 150, 150, 50)); // dust
        }
    }
    // Cables snaking over the floor.
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        p.setPen(QPen(QColor(24, 26, 32), 4 - k));
        QPainterPath cable;
        cable.moveTo(c.at(xl + 0.8, fl, 1.5 + k));
        cable.cubicTo(c.at(-1.0, fl, 2.0 + k), c.at(1.0, fl, 1.2 + k), c.at(xr - 0.8, fl, 2.2 + k * 0.8));
        p.drawPath(cable);
    }
    p.restore();
    // Old bench in front of the window.
    box(p, c, -1.2, 1.2, fl + 0.42, fl + 0.5, 3.4, 3.9, QColor(110, 86, 70));
    box(p, c, -1.15, -1.05, fl, fl + 0.42, 3.5, 3.6, QColor(80, 62, 52));
    box(p, c, 1.05, 1.15, fl, fl + 0.42, 3.5, 3.6, QColor(80, 62, 52));
    lightShaft(p, wc, 60, QPointF(360, 480), 260, QColor(120, 180, 255, 30));
    for (int i = 0; i < 80; ++i) {
        p.setBrush(QColor(200, 230, 255, rng.range(20, 80)));
        p.drawEllipse(QPointF(rng.uniform(0, 720), rng.uniform(0, 480)), 0.7, 0.7);
    }
    vignette(p, kAll, 0.55);
}

void monitorFrame(QPainter &p, const QImage &view, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(8, 10, 16)}, {1, QColor(16, 18, 26)}});
    const QRectF scr(56, 40, 608, 380);
    p.setBrush(QColor(40, 44, 54));
    p.drawRoundedRect(scr.adjusted(-14, -14, 14, 14), 12, 12);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(scr, 6, 6);
    p.setClipPath(clip);
    p.drawImage(scr, view);
    // Scan lines, a blue cast and the glass's sheen.
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    for (double y = scr.top(); y < scr.bottom(); y += 3)
        p.drawLine(QPointF(scr.left(), y), QPointF(scr.right(), y));
    p.setPen(Qt::NoPen);
    p.setCompositionMode(QPainter::CompositionMode_SoftLight);
    p.fillRect(scr, QColor(80, 180, 255, 120));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    fillLinear(p, scr, scr.topLeft(), scr.bottomRight(),
               {{0, QColor(255, 255, 255, 40)}, {0.4, QColor(255, 255, 255, 0)}, {1, QColor(0, 0, 0, 60)}});
    vignette(p, scr, 0.5);
    p.restore();
    p.setBrush(QColor(94, 240, 255));
    p.drawEllipse(QPointF(640, 442), 2.5, 2.5);
    addGlow(p, QPointF(360, 230), 420, QColor(94, 200, 255, 20));
    Q_UNUSED(rng);
}

void navRoom(QPainter &p, Rng &rng, bool tableLit)
{
    fillVertical(p, kAll, {{0, QColor(8, 12, 22)}, {1, QColor(14, 20, 34)}});
    const QPointF c(360, 330);
    // Round wall with dim consoles.
    p.save();
    for (int k = 0; k < 14; ++k) {
        const double x = k * 56 - 30;
        const double bend = std::pow((x - 360) / 400.0, 2);
        p.setBrush(QColor(24, 30, 46));
        p.drawRect(QRectF(x, 120 + bend * 60, 50, 150 - bend * 40));
        p.setBrush(QColor(40, 110, 140, 120));
        p.drawRect(QRectF(x + 8, 150 + bend * 60, 34, 20));
    }
    p.restore();
    // Floor with cyan lines converging on the table.
    fillVertical(p, QRectF(0, 270, 720, 210), {{0, QColor(14, 20, 34)}, {1, QColor(24, 30, 46)}});
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 5; ++i) {
        p.setPen(QPen(QColor(94, 240, 255, 90 - i * 12), 1.2));
        p.drawEllipse(c, 120 + i * 90, 26 + i * 22);
    }
    for (int k = 0; k < 12; ++k) {
        const double a = k * M_PI / 6;
        p.setPen(QPen(QColor(94, 240, 255, 60), 1));
        p.drawLine(c + QPointF(std::cos(a) * 110, std::sin(a) * 24), c + QPointF(std::cos(a) * 720, std::sin(a) * 170));
    }
    p.restore();
    // The table.
    p.setBrush(QColor(30, 36, 52));
    p.drawEllipse(c + QPointF(0, 14), 130, 30);
    p.setBrush(QColor(20, 24, 36));
    p.drawRect(QRectF(c.x() - 120, c.y() + 14, 240, 60));
    p.setBrush(QColor(30, 36, 52));
    p.drawEllipse(c + QPointF(0, 74), 120, 26);
    p.setBrush(tableLit ? QColor(40, 120, 150) : QColor(14, 22, 34));
    p.drawEllipse(c, 126, 28);
    if (tableLit) {
        addGlow(p, c + QPointF(0, -60), 180, QColor(94, 240, 255, 70));
        for (int i = 0; i < 90; ++i) {
            const QPointF at = c + QPointF(rng.uniform(-110, 110), -rng.uniform(10, 170));
            p.setBrush(QColor(180, 250, 255, rng.range(60, 220)));
            p.drawEllipse(at, 1.1, 1.1);
        }
    } else {
        for (int i = 0; i < 30; ++i) {
            const QPointF at = c + QPointF(rng.uniform(-100, 100), rng.uniform(-18, 18));
            p.setBrush(QColor(94, 240, 255, rng.range(20, 70)));
            p.drawEllipse(at, 0.9, 0.9);
        }
    }
    vignette(p, kAll, 0.5);
}
