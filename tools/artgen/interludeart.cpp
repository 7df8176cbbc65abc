#include "interludeart.h"

#include "paint.h"
#include "places.h"
#include "scenes.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// The maps are shown in tiles this wide: a tile out of view costs nothing.
constexpr int kTile = 500;
// Where the figures and the enemies stand on both maps.
constexpr double kFloor = 350;
// The bridge's window sill: the sky above it scrolls at less than the map's
// pace, across a layer as wide as the view and that part of the map's scroll.
constexpr int kSkyLine = 196;
constexpr int kSkyWidth = 720 + (4000 - 720) * 3 / 10;

struct Art {
    int w = 0, h = 0;
    bool opaque = true;
    std::function<void(QPainter &)> paint;
};

void plate(QPainter &p, const QRectF &r, const QColor &face)
{
    p.fillRect(r, face);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 1.2), shade(face, 1.18));
    p.fillRect(QRectF(r.left(), r.top(), 1.2, r.height()), shade(face, 1.1));
    p.fillRect(QRectF(r.left(), r.bottom() - 1.4, r.width(), 1.4), shade(face, 0.7));
    p.fillRect(QRectF(r.right() - 1.2, r.top(), 1.2, r.height()), shade(face, 0.78));
}

void rivets(QPainter &p, const QRectF &r, const QColor &face)
{
    p.setBrush(shade(face, 0.6));
    for (const QPointF &c : {r.topLeft() + QPointF(5, 5), r.topRight() + QPointF(-5, 5),
                             r.bottomLeft() + QPointF(5, -5), r.bottomRight() + QPointF(-5, -5)})
        p.drawEllipse(c, 1.5, 1.5);
}

// A horizontal pipe along y, lit from above.
void pipe(QPainter &p, double x0, double x1, double y, double r, const QColor &col)
{
    QLinearGradient g(0, y - r, 0, y + r);
    g.setColorAt(0, shade(col, 1.35));
    g.setColorAt(0.35, col);
    g.setColorAt(1, shade(col, 0.45));
    p.fillRect(QRectF(x0, y - r, x1 - x0, 2 * r), g);
}

void verticalPipe(QPainter &p, double x, double y0, double y1, double r, const QColor &col)
{
    QLinearGradient g(x - r, 0, x + r, 0);
    g.setColorAt(0, shade(col, 1.3));
    g.setColorAt(0.4, col);
    g.setColorAt(1, shade(col, 0.45));
    p.fillRect(QRectF(x - r, y0, 2 * r, y1 - y0), g);
}

void hazard(QPainter &p, const QRectF &r)
{
    p.save();
    p.setClipRect(r);
    p.fillRect(r, QColor(226, 178, 40));
    p.setBrush(QColor(36, 32, 30));
    for (double x = r.left() - r.height(); x < r.right(); x += 14) {
        QPolygonF q({QPointF(x, r.bottom()), QPointF(x + 7, r.bottom()), QPointF(x + 7 + r.height(), r.top()),
                     QPointF(x + r.height(), r.top())});
        p.drawPolygon(q);
    }
    p.restore();
}

// The floor both maps stand on: plates of grating over dark pipes.
void grating(QPainter &p, double x0, double x1, const QColor &col)
{
    fillVertical(p, QRectF(x0, kFloor, x1 - x0, 480 - kFloor),
                 {{0, shade(col, 0.9)}, {0.4, shade(col, 0.55)}, {1, shade(col, 0.3)}});
    pipe(p, x0, x1, 420, 9, QColor(70, 62, 56));
    pipe(p, x0, x1, 452, 6, QColor(60, 58, 62));
    p.setPen(QPen(alpha(shade(col, 0.35), 200), 1.6));
    for (double y = kFloor + 8; y < 480; y += 9)
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
    for (double x = x0 - std::fmod(x0, 12); x < x1; x += 12)
        p.drawLine(QPointF(x, kFloor + 4), QPointF(x, 480));
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(x0, kFloor - 1, x1 - x0, 3), shade(col, 1.35));
    p.fillRect(QRectF(x0, kFloor + 2, x1 - x0, 2), shade(col, 0.4));
}

// Map 1: a maintenance passage in the ship's spine, lamps in cages, pipes
// along the ceiling, wall panels, a grating floor; the door at its end.
void passage(QPainter &p)
{
    Rng rng(seedFor("hd1"));
    const QColor wall(112, 114, 112);
    fillVertical(p, QRectF(0, 0, 2000, 96), {{0, QColor(30, 31, 34)}, {1, QColor(56, 57, 60)}});
    fillVertical(p, QRectF(0, 96, 2000, kFloor - 96), {{0, shade(wall, 0.8)}, {1, wall}});
    for (int x = 0; x < 2000; x += 125) {
        const QColor face = shade(wall, rng.uniform(0.93, 1.06));
        const QRectF r(x + 3, 104, 119, 214);
        plate(p, r, face);
        rivets(p, r, face);
        const int kind = rng.below(4);
        if (kind == 0) { // a vent
            p.setBrush(shade(face, 0.45));
            for (int k = 0; k < 6; ++k)
                p.drawRoundedRect(QRectF(r.left() + 30, r.top() + 40 + k * 9, 60, 4), 2, 2);
        } else if (kind == 1) { // a service box with a small light
            plate(p, QRectF(r.left() + 34, r.top() + 70, 50, 64), shade(face, 0.86));
            glow(p, QPointF(r.left() + 76, r.top() + 78), 6, QColor(120, 255, 160, 200));
        }
        hazard(p, QRectF(x + 3, 322, 119, 10));
    }
    // A pale kick plate where the watchers stand: dark shells read against it.
    fillVertical(p, QRectF(0, 332, 2000, kFloor - 332), {{0, QColor(168, 168, 162)}, {1, QColor(136, 136, 132)}});
    for (int x : {300, 820, 1350, 1700})
        verticalPipe(p, x, 60, kFloor, 8, QColor(128, 104, 80));
    pipe(p, 0, 2000, 24, 11, QColor(110, 96, 84));
    pipe(p, 0, 2000, 50, 8, QColor(92, 100, 104));
    pipe(p, 0, 2000, 72, 6, QColor(140, 80, 60));
    p.setBrush(QColor(40, 40, 44));
    for (int x = 60; x < 2000; x += 160)
        p.drawRect(QRectF(x, 10, 6, 74));
    // Lamps in cages, each lighting its stretch of wall.
    for (int x = 180; x < 2000; x += 400) {
        addGlow(p, QPointF(x, 112), 150, QColor(255, 200, 120, 60));
        p.setBrush(QColor(40, 38, 36));
        p.drawRect(QRectF(x - 14, 96, 28, 6));
        glow(p, QPointF(x, 108), 14, QColor(255, 230, 170, 255));
        p.setPen(QPen(QColor(50, 46, 40), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(x - 10, 100, 20, 14), 4, 4);
        p.setPen(Qt::NoPen);
    }
    grating(p, 0, 2000, QColor(92, 94, 96));
    // The end of the passage darkens towards the door.
    fillLinear(p, QRectF(1600, 0, 400, kFloor), QPointF(1600, 0), QPointF(2000, 0),
               {{0, QColor(0, 0, 0, 0)}, {1, QColor(0, 0, 20, 70)}});
}

// Map 2: the bridge deck, tall windows on the stars above consoles and
// pillars, a polished deck with a strip of guide lights. The stars are not
// part of it: they are a layer of their own that scrolls slower behind the
// windows, and the window bars are pictures of their own in front of it.
void bridge(QPainter &p)
{
    Rng rng(seedFor("hd2"));
    fillVertical(p, QRectF(0, 0, 4000, kSkyLine), {{0, QColor(6, 8, 22)}, {1, QColor(26, 30, 58)}});
    p.fillRect(QRectF(0, 196, 4000, 16), QColor(84, 78, 72));
    p.fillRect(QRectF(0, 196, 4000, 1.5), QColor(120, 112, 104));
    const QColor wall(138, 130, 120);
    fillVertical(p, QRectF(0, 212, 4000, kFloor - 212), {{0, shade(wall, 0.85)}, {1, wall}});
    for (int x = 0; x < 4000; x += 160) {
        const QColor face = shade(wall, rng.uniform(0.95, 1.05));
        plate(p, QRectF(x + 2, 220, 156, 104), face);
    }
    fillVertical(p, QRectF(0, 326, 4000, kFloor - 326), {{0, QColor(184, 176, 164)}, {1, QColor(150, 142, 132)}});
    for (int x = 40; x < 4000; x += 80)
        glow(p, QPointF(x, 329), 3, QColor(255, 190, 110, 230));
    grating(p, 0, 4000, QColor(120, 112, 104));
}

// The sky behind the bridge's windows: far stars, a nebula and a planet's
// rim, wide enough for the slower scroll across the whole map.
void sky(QPainter &p)
{
    Rng rng(seedFor("hd2-sky"));
    const QRectF r(0, 0, kSkyWidth, kSkyLine);
    fillVertical(p, r, {{0, QColor(6, 8, 22)}, {1, QColor(26, 30, 58)}});
    for (int i = 0; i < 6; ++i)
        addGlow(p, QPointF(rng.uniform(0, kSkyWidth), rng.uniform(20, 160)), rng.uniform(120, 260),
                QColor(90, 60, 140, 30));
    addGlow(p, QPointF(1180, 60), 220, QColor(60, 120, 170, 34));
    starfield(p, r, 420, rng, 1.5);
    // A planet low over the deck, its lit rim towards the ship's sun.
    const QPointF c(520, 300);
    QRadialGradient body(c + QPointF(-60, -90), 260);
    body.setColorAt(0, QColor(70, 92, 130));
    body.setColorAt(0.55, QColor(28, 36, 62));
    body.setColorAt(1, QColor(10, 12, 26));
    p.setBrush(body);
    p.drawEllipse(c, 190, 190);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 200, 255, 150), 2.2));
    p.drawArc(QRectF(c.x() - 190, c.y() - 190, 380, 380), 60 * 16, 80 * 16);
    p.setPen(Qt::NoPen);
}

// One window bar of the bridge, above the sill.
void windowBar(QPainter &p)
{
    p.fillRect(QRectF(0, 0, 14, kSkyLine), QColor(66, 62, 60));
    p.fillRect(QRectF(2, 0, 3, kSkyLine), QColor(96, 90, 84));
    p.fillRect(QRectF(11, 0, 3, kSkyLine), QColor(44, 40, 40));
}

// Tile k of a map painted as the whole map, moved into place; the bridge's
// tiles start at its window sill, the sky above is a layer of its own.
Art mapTile(int map, int k)
{
    const double top = map == 2 ? kSkyLine : 0;
    return {kTile, int(480 - top), true, [map, k, top](QPainter &p) {
                p.translate(-k * kTile, -top);
                p.setClipRect(QRectF(k * kTile, top, kTile, 480 - top));
                map == 1 ? passage(p) : bridge(p);
            }};
}

// The passage's door: a heavy bulkhead door in its frame, a slit of window.
void door(QPainter &p)
{
    const QColor steel(96, 98, 104);
    plate(p, QRectF(0, 0, 126, 103), shade(steel, 0.7));
    plate(p, QRectF(10, 8, 106, 95), steel);
    plate(p, QRectF(16, 14, 46, 89), shade(steel, 1.08));
    plate(p, QRectF(64, 14, 46, 89), shade(steel, 1.08));
    p.fillRect(QRectF(62, 14, 2, 89), QColor(30, 30, 34));
    fillVertical(p, QRectF(26, 24, 26, 8), {{0, QColor(40, 60, 70)}, {1, QColor(110, 150, 160)}});
    fillVertical(p, QRectF(74, 24, 26, 8), {{0, QColor(40, 60, 70)}, {1, QColor(110, 150, 160)}});
    p.setBrush(QColor(54, 54, 58));
    p.drawRect(QRectF(52, 52, 8, 18));
    p.drawRect(QRectF(66, 52, 8, 18));
    hazard(p, QRectF(10, 0, 106, 7));
}

// The round hatch beside the door, its wheel in the middle.
void hatch(QPainter &p)
{
    const QPointF c(29, 29);
    QRadialGradient g(c + QPointF(-8, -8), 34);
    g.setColorAt(0, QColor(170, 170, 168));
    g.setColorAt(1, QColor(96, 96, 96));
    p.setBrush(QColor(70, 70, 72));
    p.drawEllipse(c, 29, 29);
    p.setBrush(g);
    p.drawEllipse(c, 25, 25);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 60, 64), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(c, 13, 13);
    for (int k = 0; k < 4; ++k) {
        const double a = M_PI / 4 + k * M_PI / 2;
        p.drawLine(c, c + QPointF(std::cos(a) * 13, std::sin(a) * 13));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 46, 50));
    p.drawEllipse(c, 4, 4);
}

// A great pillar of the bridge, round, fluted, with a band of light.
void pillar(QPainter &p)
{
    const double w = 179, h = 273;
    fillLinear(p, QRectF(0, 0, w, h), QPointF(0, 0), QPointF(w, 0),
               {{0, QColor(96, 90, 84)}, {0.3, QColor(196, 188, 176)}, {0.55, QColor(150, 142, 132)},
                {1, QColor(60, 56, 54)}});
    for (double x = 14; x < w; x += 18)
        p.fillRect(QRectF(x, 22, 2, h - 44), QColor(0, 0, 0, 40));
    plate(p, QRectF(0, 0, w, 22), QColor(118, 110, 100));
    plate(p, QRectF(0, h - 22, w, 22), QColor(92, 86, 80));
    fillLinear(p, QRectF(0, 110, w, 8), QPointF(0, 0), QPointF(w, 0),
               {{0, QColor(255, 170, 80, 120)}, {0.35, QColor(255, 220, 160)}, {1, QColor(200, 110, 40, 140)}});
}

// A bridge console: a long desk of screens and keys.
void console(QPainter &p)
{
    plate(p, QRectF(0, 0, 401, 100), QColor(112, 104, 96));
    plate(p, QRectF(0, 0, 401, 10), QColor(150, 142, 132));
    for (int k = 0; k < 4; ++k) {
        const QRectF screen(14 + k * 98, 18, 84, 42);
        p.fillRect(screen.adjusted(-2, -2, 2, 2), QColor(40, 36, 34));
        fillVertical(p, screen, {{0, QColor(20, 70, 70)}, {1, QColor(10, 34, 40)}});
        p.setPen(QPen(QColor(120, 240, 200, 200), 1));
        for (int l = 0; l < 4; ++l)
            p.drawLine(QPointF(screen.left() + 6, screen.top() + 8 + l * 9),
                       QPointF(screen.left() + 20 + ((k * 7 + l * 13) % 50), screen.top() + 8 + l * 9));
        p.setPen(Qt::NoPen);
    }
    for (int x = 16; x < 390; x += 12)
        p.fillRect(QRectF(x, 72, 8, 6), (x / 12) % 5 == 0 ? QColor(250, 180, 80) : QColor(70, 66, 62));
}

// The gate walls: pairs of great leaves in heavy frames, banded and bolted,
// their seams lit from the far side, a ring of the ship's mark across each pair.
void gateWall(QPainter &p, double w, double h)
{
    const QColor face(178, 174, 168);
    const QColor frame(88, 84, 80);
    fillVertical(p, QRectF(0, 0, w, h), {{0, shade(frame, 0.7)}, {1, frame}});
    p.fillRect(QRectF(0, 0, w, 26), shade(frame, 0.55));
    hazard(p, QRectF(0, h - 22, w, 12));
    const double pair = 266;
    const int pairs = std::max(1, int(std::round(w / pair)));
    const double pw = w / pairs;
    for (int k = 0; k < pairs; ++k) {
        const double x0 = k * pw;
        const QRectF door(x0 + 14, 34, pw - 28, h - 64);
        p.fillRect(door.adjusted(-5, -5, 5, 5), shade(frame, 0.5));
        for (int half = 0; half < 2; ++half) {
            const QRectF leaf(door.left() + half * door.width() / 2, door.top(), door.width() / 2, door.height());
            fillLinear(p, leaf, leaf.topLeft(), leaf.topRight(),
                       {{0, shade(face, half ? 0.86 : 1.02)}, {1, shade(face, half ? 1.0 : 0.88)}});
            for (int b = 0; b < 4; ++b) {
                const QRectF band(leaf.left(), leaf.top() + 18 + b * (leaf.height() - 44) / 3, leaf.width(), 10);
                plate(p, band, shade(face, 0.72));
                p.setBrush(shade(face, 0.45));
                for (double bx = band.left() + 8; bx < band.right() - 4; bx += 16)
                    p.drawEllipse(QPointF(bx, band.center().y()), 1.6, 1.6);
            }
            p.setPen(QPen(shade(face, 0.7), 1));
            for (double px = leaf.left() + 12; px < leaf.right() - 6; px += 24)
                p.drawLine(QPointF(px, leaf.top() + 34), QPointF(px, leaf.bottom() - 30));
            p.setPen(Qt::NoPen);
        }
        // The seam between the leaves, lit from beyond.
        const double mid = door.center().x();
        fillLinear(p, QRectF(mid - 4, door.top(), 8, door.height()), QPointF(mid - 4, 0), QPointF(mid + 4, 0),
                   {{0, QColor(113, 228, 249, 0)}, {0.5, QColor(200, 248, 255)}, {1, QColor(113, 228, 249, 0)}});
        // The ship's mark: a ring over both leaves, a lamp above.
        const QPointF c(mid, door.top() + door.height() * 0.42);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(70, 66, 62), 9));
        p.drawEllipse(c, 46, 46);
        p.setPen(QPen(QColor(150, 120, 70), 4));
        p.drawEllipse(c, 46, 46);
        p.setPen(QPen(QColor(113, 228, 249, 170), 1.6));
        p.drawEllipse(c, 34, 34);
        p.setPen(Qt::NoPen);
        glow(p, QPointF(mid, 16), 9, QColor(255, 190, 110));
    }
}

void beam(QPainter &p)
{
    plate(p, QRectF(0, 0, 865, 33), QColor(110, 104, 98));
    for (double x = 30; x < 865; x += 70)
        glow(p, QPointF(x, 26), 5, QColor(255, 220, 170));
}

void mast(QPainter &p)
{
    verticalPipe(p, 9, 0, 480, 9, QColor(120, 112, 104));
    p.setBrush(QColor(60, 56, 52));
    for (double y = 12; y < 480; y += 24)
        p.drawRect(QRectF(2, y, 14, 3));
}

// The raised platform the story's first half of the bridge leads to.
void platform(QPainter &p)
{
    plate(p, QRectF(0, 8, 127, 83), QColor(120, 112, 102));
    plate(p, QRectF(0, 0, 127, 10), QColor(170, 160, 146));
    for (int k = 0; k < 4; ++k)
        plate(p, QRectF(6 + k * 6, 30 + k * 15, 115 - k * 12, 15), QColor(100 - k * 6, 94 - k * 6, 88 - k * 5));
    for (double x = 8; x < 127; x += 18)
        glow(p, QPointF(x, 5), 4, QColor(120, 255, 200));
}

// The round window in the ceiling: stars behind a rim.
void roundWindow(QPainter &p)
{
    Rng rng(seedFor("hd2-window"));
    const QPointF c(50, 50);
    p.setBrush(QColor(80, 76, 72));
    p.drawEllipse(c, 50, 50);
    QRadialGradient sky(c, 44);
    sky.setColorAt(0, QColor(40, 46, 96));
    sky.setColorAt(1, QColor(8, 10, 30));
    p.setBrush(sky);
    p.drawEllipse(c, 43, 43);
    p.save();
    QPainterPath round;
    round.addEllipse(c, 43, 43);
    p.setClipPath(round);
    starfield(p, QRectF(0, 0, 100, 100), 60, rng, 1.2);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 196, 186), 2));
    p.drawEllipse(c, 46, 46);
    p.setPen(Qt::NoPen);
}

// The last gate's lower housing, heavy, its vents lit from inside.
void lowGate(QPainter &p)
{
    plate(p, QRectF(0, 0, 335, 239), QColor(150, 144, 136));
    hazard(p, QRectF(0, 0, 335, 12));
    for (int k = 0; k < 3; ++k) {
        const QRectF v(24 + k * 104, 40, 80, 60);
        p.fillRect(v, QColor(40, 34, 30));
        for (int s = 0; s < 5; ++s)
            fillLinear(p, QRectF(v.left() + 4, v.top() + 6 + s * 11, v.width() - 8, 5), v.topLeft(), v.topRight(),
                       {{0, QColor(255, 120, 40, 60)}, {0.5, QColor(255, 170, 90)}, {1, QColor(255, 120, 40, 60)}});
    }
    p.fillRect(QRectF(0, 109, 335, 6), QColor(70, 64, 60));
}

// Below the deck's floor: the glass over the lower deck, lit from beneath.
void basin(QPainter &p)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, 626, 408), 142, 142);
    p.setClipPath(shape);
    fillVertical(p, QRectF(0, 0, 626, 408), {{0, QColor(80, 150, 160)}, {0.3, QColor(30, 70, 86)}, {1, QColor(8, 20, 30)}});
    p.setPen(QPen(QColor(160, 230, 230, 120), 1.2));
    for (double x = 20; x < 626; x += 40)
        p.drawLine(QPointF(x, 0), QPointF(x - 30, 408));
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, 0, 626, 4), QColor(200, 240, 240));
}

void gateLight(QPainter &p)
{
    fillLinear(p, QRectF(0, 0, 40, 5), QPointF(0, 0), QPointF(40, 0),
               {{0, QColor(118, 175, 192)}, {0.5, QColor(220, 250, 255)}, {1, QColor(118, 175, 192)}});
}

// The great Watcher: a black sphere as tall as a door on three long springs.
// Its eye is the page's, lit and put out there.
void greatWatcher(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 36, 48), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int k = -1; k <= 1; ++k) {
        QPainterPath leg;
        QPointF a(46 + k * 22, 84);
        leg.moveTo(a);
        for (int z = 1; z <= 5; ++z)
            leg.lineTo(a + QPointF(k * 4 + (z % 2 ? 6 : -6), z * 6.8));
        p.drawPath(leg);
    }
    p.setPen(Qt::NoPen);
    QRadialGradient g(QPointF(30, 28), 70);
    g.setColorAt(0, QColor(104, 98, 120));
    g.setColorAt(0.45, QColor(36, 32, 44));
    g.setColorAt(1, QColor(6, 4, 10));
    p.setBrush(g);
    p.drawEllipse(QRectF(1, 1, 90, 90));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(180, 186, 206, 160), 1.6));
    p.drawArc(QRectF(6, 6, 80, 80), 100 * 16, 70 * 16);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    hexSeams(p, QRectF(8, 8, 76, 76), 9, QColor(0, 0, 0, 60));
    p.setPen(Qt::NoPen);
    glow(p, QPointF(62, 46), 28, QColor(255, 40, 50, 110));
}

// The flash of a hit: light, a ring and shards of shell.
void burst(QPainter &p)
{
    const QPointF c(18, 18);
    glow(p, c, 18, QColor(255, 120, 40, 230));
    glow(p, c, 11, QColor(255, 236, 170, 255));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 60, 80, 160), 4));
    p.drawEllipse(c, 13, 13);
    p.setPen(QPen(QColor(113, 228, 249), 2.4));
    p.drawEllipse(c, 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 26, 36));
    for (int k = 0; k < 7; ++k) {
        const double a = k * 2 * M_PI / 7 + 0.3;
        const QPointF at = c + QPointF(std::cos(a), std::sin(a)) * 11;
        QPolygonF shard({at, at + QPointF(std::cos(a + 0.5), std::sin(a + 0.5)) * 5,
                         at + QPointF(std::cos(a), std::sin(a)) * 7});
        p.drawPolygon(shard);
    }
    p.setBrush(QColor(255, 60, 60));
    p.drawEllipse(c, 2.2, 2.2);
}

// A figure of the interlude, seen from the side and facing right, 40 x 40
// with the feet on its lower edge. Frames: 0 standing, 1 to 3 walking,
// 4 firing, 5 caught; side by side in one strip, so that a step of the
// figure moves the strip rather than changing the picture.
struct Side {
    QColor hair, skin{250, 222, 205}, top, trim, legs, shoe;
    QColor line{30, 24, 40, 220};
    bool girl = false;
};

void sideFigure(QPainter &p, const Side &s, int frame)
{
    p.save();
    p.translate(40 * frame, 0);
    const double swing[4] = {0, 0.55, 0, -0.55};
    const bool walking = frame >= 1 && frame <= 3;
    const bool caught = frame == 5;
    const double a = walking ? swing[frame] : 0;
    const double bob = walking && frame != 2 ? -0.8 : 0;
    const QPointF hip(20, 27 + bob), shoulder(20.5, 16 + bob);
    const QPointF head = caught ? QPointF(17.5, 10.5) : QPointF(21, 9 + bob);
    auto limb = [&](QPointF from, double angle, double len, double w, const QColor &col) {
        const QPointF to = from + QPointF(std::sin(angle) * len, std::cos(angle) * len);
        p.setPen(QPen(s.line, w + 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
        p.setPen(QPen(col, w, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
        p.setPen(Qt::NoPen);
        return to;
    };
    // Far leg and arm first, darker.
    const double legLen = 11.5;
    const QPointF farFoot = limb(hip, caught ? -0.5 : -a, legLen, 3.4, shade(s.legs, 0.75));
    p.setBrush(shade(s.shoe, 0.8));
    p.drawEllipse(farFoot + QPointF(1, 0), 2.4, 1.3);
    limb(shoulder, caught ? 2.6 : walking ? a : 0.15, 9, 2.6, shade(s.top, 0.75));
    // Body.
    QPainterPath body;
    body.moveTo(shoulder + QPointF(-3.4, 0));
    body.lineTo(shoulder + QPointF(3.4, 0));
    body.lineTo(hip + QPointF(3.6, s.girl ? 3.5 : 1));
    body.lineTo(hip + QPointF(-3.6, s.girl ? 3.5 : 1));
    body.closeSubpath();
    p.setPen(QPen(s.line, 1.2));
    p.setBrush(s.top);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(s.trim);
    p.drawRect(QRectF(hip.x() - 3.6, hip.y() - 2, 7.2, 1.6));
    const QPointF nearFoot = limb(hip, caught ? 0.9 : a, legLen, 3.4, s.legs);
    p.setBrush(s.shoe);
    p.drawEllipse(nearFoot + QPointF(1, 0), 2.4, 1.3);
    // Head and hair.
    p.setPen(QPen(s.line, 1.1));
    p.setBrush(s.skin);
    p.drawEllipse(head, 5.2, 5.6);
    p.setPen(Qt::NoPen);
    p.setBrush(s.hair);
    QPainterPath hair;
    hair.moveTo(head + QPointF(4.8, -1.6));
    hair.cubicTo(head + QPointF(4, -7.6), head + QPointF(-6.6, -7.4), head + QPointF(-5.8, s.girl ? 4.6 : 1.6));
    hair.lineTo(head + QPointF(-2.6, s.girl ? 4 : 0.8));
    hair.quadTo(head + QPointF(0, -3), head + QPointF(4.8, -1.6));
    p.drawPath(hair);
    if (s.girl) { // her side tail and its star clip
        p.drawEllipse(head + QPointF(-6.2, 1.4), 2.2, 3.6);
        glow(p, head + QPointF(-4.6, -2.4), 2.6, QColor(255, 25, 252));
    }
    p.setBrush(QColor(30, 30, 44));
    p.drawEllipse(head + QPointF(2.8, caught ? 0.6 : -0.4), 0.9, caught ? 0.5 : 1.1);
    // Near arm: swinging, held out with the emitter, or thrown up when caught.
    const double armAngle = frame == 4 ? 1.57 : caught ? 3.0 : walking ? -a : -0.1;
    const QPointF hand = limb(shoulder + QPointF(0.5, 0.5), armAngle, frame == 4 ? 10 : 9, 2.8, shade(s.top, 1.1));
    p.setBrush(s.skin);
    p.drawEllipse(hand, 1.6, 1.6);
    if (frame == 4)
        glow(p, hand + QPointF(2, 0), 5, QColor(113, 228, 249, 240));
    p.restore();
}

void strip(QPainter &p, const Side &s)
{
    for (int f = 0; f < 6; ++f)
        sideFigure(p, s, f);
}

// The cast's own colours, the figure's glow colour on its top.
Side side(const Look &look, const QColor &top)
{
    Side s;
    s.hair = look.hair;
    s.top = top;
    s.trim = QColor(236, 236, 244);
    s.legs = look.bottom;
    s.shoe = shade(look.bottom, 0.6);
    s.girl = look.sideTail;
    return s;
}

const QHash<QString, Art> &table()
{
    static const QHash<QString, Art> arts = [] {
        QHash<QString, Art> t;
        for (int k = 0; k < 4; ++k)
            t.insert(QStringLiteral("hd1-%1").arg(k), mapTile(1, k));
        for (int k = 0; k < 8; ++k)
            t.insert(QStringLiteral("hd2-%1").arg(k), mapTile(2, k));
        t.insert(QStringLiteral("hd1-door"), {126, 103, true, door});
        t.insert(QStringLiteral("hd1-hatch"), {58, 58, false, hatch});
        t.insert(QStringLiteral("hd2-pillar"), {179, 273, true, pillar});
        t.insert(QStringLiteral("hd2-console"), {401, 100, true, console});
        t.insert(QStringLiteral("hd2-wall"), {862, 358, true, [](QPainter &p) { gateWall(p, 862, 358); }});
        t.insert(QStringLiteral("hd2-gate"), {532, 358, true, [](QPainter &p) { gateWall(p, 532, 358); }});
        t.insert(QStringLiteral("hd2-beam"), {865, 33, true, beam});
        t.insert(QStringLiteral("hd2-sky"), {kSkyWidth, kSkyLine, true, sky});
        t.insert(QStringLiteral("hd2-bar"), {14, kSkyLine, true, windowBar});
        t.insert(QStringLiteral("hd2-mast"), {18, 480, true, mast});
        t.insert(QStringLiteral("hd2-platform"), {127, 91, true, platform});
        t.insert(QStringLiteral("hd2-window"), {100, 100, false, roundWindow});
        t.insert(QStringLiteral("hd2-lowgate"), {335, 239, true, lowGate});
        t.insert(QStringLiteral("hd2-basin"), {626, 408, false, basin});
        t.insert(QStringLiteral("hd2-light"), {40, 5, true, gateLight});
        t.insert(QStringLiteral("hd-great"), {92, 118, false, greatWatcher});
        t.insert(QStringLiteral("hd-burst"), {36, 36, false, burst});
        t.insert(QStringLiteral("hd-sorin"), {240, 40, false, [](QPainter &p) { strip(p, side(lookSorin(), lookSorin().accent)); }});
        t.insert(QStringLiteral("hd-lio"), {240, 40, false, [](QPainter &p) { strip(p, side(lookLio(), lookLio().top)); }});
        return t;
    }();
    return arts;
}

} // namespace

QStringList interludeArtNames()
{
    QStringList names = table().keys();
    names << QStringLiteral("difang-1") << QStringLiteral("difang-2");
    names.sort();
    return names;
}

QImage drawInterludeArt(const QString &name)
{
    if (name == QLatin1String("difang-1"))
        return enemySprite(1);
    if (name == QLatin1String("difang-2"))
        return enemySprite(2);
    const Art art = table().value(name);
    QImage img = art.opaque ? canvas(art.w, art.h) : spriteCanvas(art.w, art.h);
    QPainter p(&img);
    prepare(p);
    if (art.paint)
        art.paint(p);
    return img;
}
