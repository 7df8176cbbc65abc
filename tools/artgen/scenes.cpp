#include "scenes.h"

#include "figures.h"

#include "paint.h"
#include "places.h"

#include <QHash>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const int W = 720;
const int H = 480;

// Only reached by a name added to the list without a painter of its own.
void placeholder(QPainter &p, Rng &rng)
{
    deepSpace(p, rng, QColor(80, 90, 200), QColor(200, 90, 160), 300);
}

} // namespace

// The interlude enemy: a Night Watcher, a black sphere with one red eye on
// three short spring legs; its lit top and red eye read on the grey map.
// Frame 1 crouches with its eye narrowed, frame 2 leaps, its springs let go.
QImage enemySprite(int frame)
{
    QImage img = spriteCanvas(20, 20);
    QPainter p(&img);
    prepare(p);
    const double lift = frame == 2 ? -1.6 : frame == 1 ? 0.5 : 0;
    const QPointF c(10, 8.6 + lift);
    p.setPen(QPen(QColor(14, 12, 20), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (int k = -1; k <= 1; ++k) {
        const double x = 10 + k * 4.6;
        const double spread = frame == 2 ? k * 1.8 : 0;
        QPainterPath leg;
        leg.moveTo(10 + k * 2.4, 14 + lift);
        leg.lineTo(x - 1.2 + spread * 0.4, 15.5 + lift * 0.7);
        leg.lineTo(x + 1.2 + spread * 0.7, 16.8 + lift * 0.4);
        leg.lineTo(x - 1.2 + spread, 18.1 + lift * 0.2);
        leg.lineTo(x + 0.6 + spread, 19.3);
        p.drawPath(leg);
    }
    QRadialGradient body(c + QPointF(-2.2, -2.6), 9);
    body.setColorAt(0, QColor(96, 92, 110));
    body.setColorAt(0.55, QColor(34, 30, 42));
    body.setColorAt(1, QColor(8, 6, 12));
    p.setBrush(body);
    p.setPen(QPen(QColor(6, 4, 10), 1.0));
    p.drawEllipse(c, 7.6, 7.4 - (frame == 1 ? 0.5 : 0));
    // A pale rim on the lit side keeps the dark shell readable on dark floors too.
    p.setPen(QPen(QColor(170, 176, 196, 200), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 6.8, c.y() - 6.6, 13.6, 13.2), 95 * 16, 80 * 16);
    p.setPen(Qt::NoPen);
    const double eyeOpen = frame == 1 ? 0.45 : frame == 2 ? 1.25 : 1;
    glow(p, c + QPointF(0.6, 0.2), 5.0 * (frame == 2 ? 1.3 : 1), QColor(255, 50, 50, 210));
    p.setBrush(QColor(255, 40, 50));
    p.drawEllipse(c + QPointF(0.6, 0.2), 2.7, 2.4 * eyeOpen);
    p.setBrush(QColor(255, 236, 210));
    p.drawEllipse(c + QPointF(0.2, -0.3), 0.9, 0.8);
    return img;
}

namespace {

using Painter = std::function<void(QPainter &, Rng &)>;

// One of the character figures, scaled, its lower edge centred on foot.
// Illustrations that frame a character closely use these so faces match the
// story scenes.
void placeFigure(QPainter &p, const QImage &fig, QPointF foot, double scale, double opacity = 1.0)
{
    const QSizeF size = shownSize(fig) * scale;
    const QRectF target(foot.x() - size.width() / 2, foot.y() - size.height(), size.width(),
                        size.height());
    p.save();
    p.setOpacity(opacity);
    p.drawImage(target, fig);
    p.restore();
}

void castFigure(QPainter &p, const QString &name, QPointF foot, double scale, double opacity = 1.0)
{
    placeFigure(p, drawFigure(name), foot, scale, opacity);
}

fig::Mood mood(fig::Brow b, fig::Eyes e, fig::Mouth m, fig::Arm left = fig::Arm::Down,
               fig::Arm right = fig::Arm::Down)
{
    fig::Mood md;
    md.brow = b;
    md.eyes = e;
    md.mouth = m;
    md.left = left;
    md.right = right;
    return md;
}

// Someone the story names, posed for this picture by the figures' own painter
// so that a player knows who it is.
void posed(QPainter &p, CastLook who, const fig::Mood &md, QPointF foot, double scale)
{
    placeFigure(p, fig::paintFigure(castLook(who), md), foot, scale);
}

const QRectF kAll(0, 0, W, H);

// Cape with the lighthouse on the left of a view over the sea.
void capeLeft(QPainter &p, double horizon, Tod t, double lhX, double lhH)
{
    const QColor land = t == Tod::Night ? QColor(18, 26, 36) : t == Tod::Dusk ? QColor(70, 50, 70)
                                                                             : QColor(90, 130, 90);
    QPainterPath cape;
    cape.moveTo(-10, horizon + 40);
    cape.cubicTo(60, horizon - 30, lhX - 40, horizon - 34, lhX + 30, horizon - 20);
    cape.cubicTo(lhX + 70, horizon - 10, lhX + 90, horizon + 4, lhX + 120, horizon + 6);
    cape.lineTo(-10, horizon + 6);
    cape.closeSubpath();
    p.setBrush(land);
    p.drawPath(cape);
    lighthouse(p, QPointF(lhX, horizon - 24), lhH, t, t == Tod::Night);
}

// Title page: the town at night from the cape. The lower right stays open sea
// for the menu and the title.
void titleBackground(QPainter &p, Rng &rng)
{
    const double horizon = 270;
    nightSky(p, horizon, rng, 300);
    hexSeams(p, QRectF(0, 0, W, horizon - 30), 46, QColor(140, 170, 255, 14));
    addGlow(p, QPointF(560, 120), 180, QColor(120, 140, 255, 30));
    sea(p, horizon, Tod::Night, rng, 1.4);
    // Town along the far shore, lights reflected in the water.
    QPainterPath shore;
    shore.moveTo(-10, horizon + 6);
    shore.cubicTo(120, horizon - 40, 300, horizon - 40, 470, horizon + 4);
    shore.lineTo(470, horizon + 10);
    shore.lineTo(-10, horizon + 10);
    shore.closeSubpath();
    p.setBrush(QColor(16, 22, 40));
    p.drawPath(shore);
    townHill(p, QRectF(30, horizon - 36, 430, 38), Tod::Night, rng, 4, 0.55);
    addGlow(p, QPointF(250, horizon - 14), 200, QColor(255, 190, 120, 26));
    // Town lights trembling in the water.
    for (int i = 0; i < 70; ++i) {
        const double x = rng.uniform(50, 450);
        const double y = horizon + 4 + std::pow(rng.next(), 1.5) * 50;
        p.setBrush(QColor(255, 200, 120, rng.range(40, 110)));
        p.drawRect(QRectF(x, y, rng.uniform(3, 9), 1.1));
    }
    // A soft moon high on the right, its path on the sea.
    addGlow(p, QPointF(610, 80), 110, QColor(200, 214, 255, 60));
    p.setBrush(QColor(240, 242, 250));
    p.drawEllipse(QPointF(610, 80), 13, 13);
    for (int i = 0; i < 40; ++i) {
        const double y = horizon + 6 + i * 5;
        p.setBrush(QColor(210, 220, 255, 70 - i));
        p.drawRect(QRectF(610 - 6 - i * 0.8 + rng.uniform(-6, 6), y, 12 + i * 1.6, 1.2));
    }
    // The cape in front, grass and the lighthouse with its beam.
    QPainterPath cape;
    cape.moveTo(-10, 480);
    cape.lineTo(-10, 330);
    cape.cubicTo(60, 300, 160, 296, 230, 330);
    cape.cubicTo(290, 360, 320, 420, 380, 480);
    cape.closeSubpath();
    QLinearGradient cg(0, 300, 0, 480);
    cg.setColorAt(0, QColor(30, 44, 60));
    cg.setColorAt(1, QColor(10, 14, 24));
    p.setBrush(cg);
    p.drawPath(cape);
    lighthouse(p, QPointF(120, 318), 170, Tod::Night, false);
    lightShaft(p, QPointF(120, 194), 6, QPointF(820, -70), 260, QColor(255, 244, 210, 70));
    lightShaft(p, QPointF(120, 194), 4, QPointF(-60, 230), 60, QColor(255, 244, 210, 50));
    p.save();
    p.setPen(QPen(QColor(40, 60, 70), 1.2));
    for (int i = 0; i < 120; ++i) {
        const double x = rng.uniform(-10, 340);
        const double y = 340 + rng.uniform(0, 140);
        if (x > 230 + (y - 330) * 1.0)
            continue;
        p.drawLine(QPointF(x, y), QPointF(x + rng.uniform(-2, 6), y - rng.uniform(6, 16)));
    }
    p.restore();
    fillVertical(p, QRectF(0, 380, W, 100), {{0, QColor(4, 6, 16, 0)}, {1, QColor(4, 6, 16, 120)}});
    vignette(p, kAll, 0.45);
}

// Menu pages: a page of the star notebook turned into light, under a panel.
void pageBackground(QPainter &p, Rng &rng)
{
    fillLinear(p, kAll, QPointF(0, 0), QPointF(W, H),
               {{0, QColor(22, 36, 80)}, {0.6, QColor(30, 48, 104)}, {1, QColor(44, 40, 100)}});
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(140, 180, 255, 40), 1));
    for (double x = 0; x <= W; x += 40)
        p.drawLine(QPointF(x, 0), QPointF(x, H));
    for (double y = 0; y <= H; y += 40)
        p.drawLine(QPointF(0, y), QPointF(W, y));
    p.setPen(QPen(QColor(170, 200, 255, 60), 1.2));
    for (int i = 1; i <= 5; ++i)
        p.drawEllipse(QPointF(430, 250), i * 70.0, i * 70.0);
    p.drawLine(QPointF(430, 0), QPointF(430, H));
    p.drawLine(QPointF(0, 250), QPointF(W, 250));
    // Constellations joined by thin lines.
    p.setPen(QPen(QColor(200, 220, 255, 90), 1));
    for (int k = 0; k < 6; ++k) {
        QPointF prev(rng.uniform(40, 680), rng.uniform(40, 440));
        for (int j = 0; j < 4; ++j) {
            const QPointF next = prev + QPointF(rng.uniform(-70, 70), rng.uniform(-50, 50));
            p.drawLine(prev, next);
            p.setBrush(QColor(230, 240, 255, 200));
            p.drawEllipse(next, 2, 2);
            p.setBrush(Qt::NoBrush);
            prev = next;
        }
    }
    p.restore();
    starfield(p, kAll, 140, rng, 1.4);
    bokeh(p, kAll, 26, rng, QColor(120, 160, 255, 60), QColor(200, 160, 255, 50), 12, 50);
}

// Coastal road: guardrail, the sea glittering, the one-line bus stop.
void coastalRoad(QPainter &p, Rng &rng, Tod t)
{
    const double horizon = 230;
    sky(p, QRectF(0, 0, W, horizon + 2), t, rng, QPointF(520, 80));
    clouds(p, QRectF(0, 10, W, 150), t, rng, 6);
    sea(p, horizon, t, rng, 1.8);
    capeLeft(p, horizon + 4, t, 90, 60);
    // Road and guardrail running away to the left.
    QPolygonF road({QPointF(-10, 480), QPointF(720, 480), QPointF(720, 380), QPointF(-10, 330)});
    p.setBrush(QColor(110, 110, 118));
    p.drawPolygon(road);
    p.setBrush(QColor(236, 230, 200));
    p.drawPolygon(QPolygonF({QPointF(-10, 406), QPointF(720, 452), QPointF(720, 458), QPointF(-10, 410)}));
    p.setBrush(QColor(150, 146, 140));
    p.drawPolygon(QPolygonF({QPointF(-10, 330), QPointF(720, 380), QPointF(720, 392), QPointF(-10, 336)}));
    for (double x = -10; x < 740; x += 48) {
        const double y = 330 + (x + 10) / 730 * 50;
        p.setBrush(QColor(210, 214, 218));
        p.drawRect(QRectF(x, y - 30 - (x + 10) / 730 * 10, 4, 32 + (x + 10) / 730 * 10));
    }
    QPainterPath rail;
    rail.moveTo(-10, 302);
    rail.lineTo(730, 342);
    rail.lineTo(730, 356);
    rail.lineTo(-10, 310);
    rail.closeSubpath();
    p.setBrush(QColor(236, 238, 240));
    p.drawPath(rail);
    p.setBrush(QColor(180, 186, 190));
    p.drawPolygon(QPolygonF({QPointF(-10, 310), QPointF(730, 356), QPointF(730, 360), QPointF(-10, 313)}));
    // Bus stop: pole, round sign, a timetable with a single line.
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(560, 200, 6, 190));
    p.setBrush(QColor(240, 240, 236));
    p.drawEllipse(QPointF(563, 196), 24, 24);
    p.setBrush(QColor(40, 110, 190));
    p.drawEllipse(QPointF(563, 196), 18, 18);
    p.setBrush(QColor(240, 240, 236));
    p.drawRect(QRectF(555, 192, 16, 6));
    p.setBrush(QColor(250, 250, 246));
    p.drawRect(QRectF(540, 250, 46, 60));
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(546, 260, 34, 3));
    timeWash(p, t);
    vignette(p, kAll, 0.3);
}

void atticRoom(QPainter &p, Rng &rng, bool telescopeView)
{
    // Under a gable roof: two sloping ceilings meet at the ridge, low knee
    // walls, the gable wall at the end, a roof window in the right slope.
    Cam c;
    c.cx = 360;
    c.cy = 250;
    c.f = 400;
    const double fl = -1.3, knee = -0.3, ridge = 1.9, half = 3.2, zn = 0.5, zb = 6.5;
    QImage skyImg = canvas(W, H);
    {
        QPainter sp(&skyImg);
        prepare(sp);
        sky(sp, kAll, Tod::Dusk, rng, QPointF(520, 210));
        clouds(sp, QRectF(0, 0, W, 200), Tod::Dusk, rng, 6);
    }
    const QColor wood(150, 100, 76), plaster(214, 170, 140);
    fillVertical(p, kAll, {{0, shade(wood, 0.8)}, {1, shade(wood, 0.6)}});
    // Slopes.
    QPolygonF left({c.at(-half, knee, zn), c.at(0, ridge, zn), c.at(0, ridge, zb), c.at(-half, knee, zb)});
    QPolygonF right({c.at(half, knee, zn), c.at(0, ridge, zn), c.at(0, ridge, zb), c.at(half, knee, zb)});
    fillVertical(p, kAll, {{0, QColor(0, 0, 0, 0)}, {1, QColor(0, 0, 0, 0)}});
    QLinearGradient lg(c.at(-half, knee, 2), c.at(0, ridge, 2));
    lg.setColorAt(0, shade(plaster, 0.85));
    lg.setColorAt(1, shade(plaster, 0.7));
    poly(p, left, lg);
    QLinearGradient rg(c.at(half, knee, 2), c.at(0, ridge, 2));
    rg.setColorAt(0, shade(plaster, 0.95));
    rg.setColorAt(1, shade(plaster, 0.75));
    poly(p, right, rg);
    // Rafters across both slopes.
    for (double z = 1.0; z < zb; z += 1.1) {
        poly(p, QPolygonF({c.at(-half, knee, z), c.at(0, ridge, z), c.at(0, ridge, z + 0.12), c.at(-half, knee, z + 0.12)}), shade(wood, 0.9));
        poly(p, QPolygonF({c.at(half, knee, z), c.at(0, ridge, z), c.at(0, ridge, z + 0.12), c.at(half, knee, z + 0.12)}), shade(wood, 0.8));
    }
    // Knee walls, floor, gable wall with a small round window.
    poly(p, c.wallX(-half, fl, knee, zn, zb), shade(plaster, 0.8));
    poly(p, c.wallX(half, fl, knee, zn, zb), shade(plaster, 0.9));
    QLinearGradient fg(QPointF(0, 480), c.at(0, fl, zb));
    fg.setColorAt(0, QColor(140, 96, 66));
    fg.setColorAt(1, QColor(110, 74, 54));
    poly(p, c.flat(fl, -half, half, zn, zb), fg);
    p.save();
    p.setPen(QPen(QColor(90, 60, 44, 120), 1));
    for (double x = -half; x <= half; x += 0.3)
        p.drawLine(c.at(x, fl, zn), c.at(x, fl, zb));
    p.restore();
    QPolygonF gable({c.at(-half, fl, zb), c.at(half, fl, zb), c.at(half, knee, zb), c.at(0, ridge, zb), c.at(-half, knee, zb)});
    poly(p, gable, shade(plaster, 1.0));
    const QPointF ow = c.at(0, 0.8, zb);
    p.setBrush(shade(wood, 0.7));
    p.drawEllipse(ow, 26, 26);
    p.setBrush(QBrush(skyImg));
    p.drawEllipse(ow, 21, 21);
    // Roof window in the right slope, full of dusk.
    const double wz0 = 1.6, wz1 = 3.4, s0 = 0.25, s1 = 0.8;
    auto onSlope = [&](double t, double z) { return c.at(half * (1 - t), knee + (ridge - knee) * t, z); };
    QPolygonF rw({onSlope(s0, wz0), onSlope(s1, wz0), onSlope(s1, wz1), onSlope(s0, wz1)});
    poly(p, rw, QBrush(skyImg));
    p.save();
    p.setPen(QPen(shade(wood, 0.6), 5));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(rw);
    p.setPen(QPen(shade(wood, 0.6), 3));
    p.drawLine(onSlope((s0 + s1) / 2, wz0), onSlope((s0 + s1) / 2, wz1));
    p.restore();
    lightShaft(p, rw.boundingRect().center(), 160, QPointF(420, 480), 320, QColor(255, 170, 110, 70));
    // Desk under the left slope with stacks of notebooks and the lamp.
    box(p, c, -half + 0.05, -1.6, fl + 0.72, fl + 0.78, 1.6, 3.6, QColor(130, 86, 60));
    box(p, c, -half + 0.1, -half + 0.2, fl, fl + 0.72, 1.7, 1.8, QColor(100, 66, 48));
    box(p, c, -1.8, -1.7, fl, fl + 0.72, 1.7, 1.8, QColor(100, 66, 48));
    for (int k = 0; k < 3; ++k) {
        const double z = 2.1 + k * 0.45;
        const int n = 4 + rng.range(0, 4);
        for (int i = 0; i < n; ++i) {
            const double y = fl + 0.78 + i * 0.05;
            box(p, c, -2.6, -2.1, y, y + 0.045, z, z + 0.35, i % 2 ? QColor(30, 44, 96) : QColor(40, 58, 120));
        }
    }
    const QPointF lamp = c.at(-2.0, fl + 1.25, 3.3);
    p.setBrush(QColor(60, 50, 40));
    p.drawRect(QRectF(lamp.x() - 1.5, lamp.y(), 3, c.at(-2.0, fl + 0.78, 3.3).y() - lamp.y()));
    QPainterPath shadeL;
    shadeL.moveTo(lamp + QPointF(-14, 4));
    shadeL.lineTo(lamp + QPointF(-7, -12));
    shadeL.lineTo(lamp + QPointF(7, -12));
    shadeL.lineTo(lamp + QPointF(14, 4));
    shadeL.closeSubpath();
    p.setBrush(QColor(250, 214, 150));
    p.drawPath(shadeL);
    addGlow(p, lamp, 190, QColor(255, 190, 110, 120));
    // Brass telescope on its tripod, aimed at the roof window.
    const QPointF pivot = c.at(1.0, fl + 1.1, 2.2);
    p.save();
    p.setPen(QPen(QColor(90, 60, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pivot, c.at(0.6, fl, 1.9));
    p.drawLine(pivot, c.at(1.4, fl, 1.9));
    p.drawLine(pivot, c.at(1.0, fl, 2.6));
    p.restore();
    p.save();
    p.translate(pivot);
    p.rotate(telescopeView ? -40 : -48);
    QLinearGradient tg(0, -14, 0, 14);
    tg.setColorAt(0, QColor(255, 226, 150));
    tg.setColorAt(0.5, QColor(204, 150, 70));
    tg.setColorAt(1, QColor(120, 80, 40));
    p.setBrush(tg);
    p.drawRoundedRect(QRectF(-60, -9, 160, 18), 5, 5);
    p.drawRoundedRect(QRectF(96, -12, 24, 24), 4, 4);
    p.restore();
    timeWash(p, Tod::Morning);
    vignette(p, kAll, 0.45);
}

void embankment(QPainter &p, Rng &rng)
{
    const double horizon = 250;
    sky(p, QRectF(0, 0, W, horizon + 2), Tod::Dusk, rng, QPointF(470, 230));
    clouds(p, QRectF(0, 20, W, 170), Tod::Dusk, rng, 7);
    sea(p, horizon, Tod::Dusk, rng, 1.6);
    lightShaft(p, QPointF(470, horizon), 20, QPointF(470, 400), 120, QColor(255, 200, 140, 90));
    capeLeft(p, horizon + 2, Tod::Dusk, 110, 90);
    // Harbour: a pier and rowing boats.
    p.setBrush(QColor(90, 70, 80));
    p.drawRect(QRectF(300, 300, 260, 8));
    for (double x = 306; x < 560; x += 30)
        p.drawRect(QRectF(x, 306, 4, 18));
    rowingBoat(p, QPointF(360, 330), 70, QColor(200, 90, 70));
    rowingBoat(p, QPointF(460, 340), 60, QColor(70, 110, 170));
    rowingBoat(p, QPointF(540, 322), 46, QColor(230, 220, 200));
    // Embankment wall and walkway in front.
    QPolygonF wall({QPointF(-10, 390), QPointF(730, 360), QPointF(730, 480), QPointF(-10, 480)});
    QLinearGradient wg(0, 360, 0, 480);
    wg.setColorAt(0, QColor(200, 150, 130));
    wg.setColorAt(1, QColor(110, 80, 90));
    p.setBrush(wg);
    p.drawPolygon(wall);
    p.save();
    p.setPen(QPen(QColor(90, 60, 70, 120), 1));
    for (double x = 0; x < 720; x += 60)
        p.drawLine(QPointF(x, 390 - x / 24), QPointF(x - 20, 480));
    p.restore();
    p.setBrush(QColor(230, 180, 150));
    p.drawPolygon(QPolygonF({QPointF(-10, 386), QPointF(730, 356), QPointF(730, 364), QPointF(-10, 394)}));
    timeWash(p, Tod::Day);
    vignette(p, kAll, 0.35);
}

void library(QPainter &p, Rng &rng)
{
    Cam c;
    c.cx = 300;
    c.cy = 230;
    c.f = 400;
    const double fl = -1.4, ce = 2.2, zb = 12;
    fillVertical(p, kAll, {{0, QColor(190, 160, 130)}, {1, QColor(150, 110, 80)}});
    poly(p, c.flat(fl, -6, 6, 0.5, zb), QColor(150, 104, 72));
    poly(p, c.wallZ(zb, -6, 6, fl, ce), QColor(224, 206, 178));
    // Tall window at the end: the afternoon light.
    poly(p, c.wallZ(zb - 0.01, 0.4, 2.2, -0.4, 1.8), QColor(255, 246, 214));
    addGlow(p, c.at(1.3, 0.7, zb), 120, QColor(255, 236, 190, 160));
    // Rows of shelves on both sides, far to near.
    for (double z = zb - 1.6; z > 0.8; z -= 1.7) {
        for (int side = -1; side <= 1; side += 2) {
            const double x0 = side < 0 ? -4.5 : 2.8, x1 = side < 0 ? -1.2 : 6.0;
            box(p, c, x0, x1, fl, ce - 0.2, z, z + 0.5, QColor(130, 88, 60));
            // Book spines on the end faces.
            const double fx = side < 0 ? x1 : x0;
            for (double y = fl + 0.2; y < ce - 0.4; y += 0.42) {
                for (double zz = z + 0.03; zz < z + 0.47; zz += 0.06) {
                    const QColor bk = QColor::fromHsv(rng.range(0, 60) + (rng.chance(0.3) ? 180 : 0), 110, 150);
                    poly(p, c.wallX(fx, y, y + 0.34 + rng.uniform(-0.05, 0.02), zz, zz + 0.05), bk);
                }
            }
        }
    }
    lightShaft(p, c.at(1.3, 1.6, zb), 40, QPointF(120, 480), 300, QColor(255, 236, 180, 80));
    lightShaft(p, c.at(1.8, 1.6, zb), 30, QPointF(420, 480), 200, QColor(255, 236, 180, 60));
    for (int i = 0; i < 120; ++i) { // dust in the light
        p.setBrush(QColor(255, 246, 220, rng.range(40, 160)));
        const double s = rng.uniform(0.5, 1.6);
        p.drawEllipse(QPointF(rng.uniform(120, 460), rng.uniform(150, 460)), s, s);
    }
    timeWash(p, Tod::Morning);
    vignette(p, kAll, 0.4);
}

void cherryTree(QPainter &p, QPointF base, double size, Rng &rng, bool dusk)
{
    p.save();
    p.setPen(QPen(QColor(70, 46, 44), size * 0.08, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base, base + QPointF(size * 0.05, -size * 0.7));
    p.setPen(QPen(QColor(70, 46, 44), size * 0.04, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base + QPointF(0, -size * 0.5), base + QPointF(-size * 0.5, -size * 0.9));
    p.drawLine(base + QPointF(0, -size * 0.6), base + QPointF(size * 0.5, -size * 0.95));
    p.restore();
    for (int i = 0; i < 40; ++i) {
        const QPointF at = base + QPointF(rng.uniform(-0.8, 0.8) * size, -size * 0.9 + rng.uniform(-0.35, 0.2) * size);
        const QColor pink = dusk ? QColor::fromHsv(345, rng.range(60, 110), rng.range(200, 255))
                                 : QColor::fromHsv(340, rng.range(40, 90), 255);
        QRadialGradient g(at + QPointF(-size * 0.05, -size * 0.05), size * 0.25);
        g.setColorAt(0, shade(pink, 1.15));
        g.setColorAt(1, shade(pink, 0.85));
        p.setBrush(g);
        p.drawEllipse(at, size * rng.uniform(0.12, 0.22), size * rng.uniform(0.1, 0.17));
    }
}

void schoolGate(QPainter &p, Rng &rng)
{
    sky(p, QRectF(0, 0, W, 300), Tod::Dusk, rng, QPointF(620, 250));
    clouds(p, QRectF(0, 20, W, 160), Tod::Dusk, rng, 5);
    // School building behind the wall.
    p.setBrush(QColor(220, 190, 180));
    p.drawRect(QRectF(260, 150, 470, 160));
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 9; ++k) {
            p.setBrush(QColor(250, 200, 150, 200));
            p.drawRect(QRectF(280 + k * 50, 170 + r * 44, 34, 24));
        }
    p.setBrush(QColor(200, 170, 160));
    p.drawRect(QRectF(440, 110, 60, 40));
    p.setBrush(QColor(250, 250, 240));
    p.drawEllipse(QPointF(470, 130), 13, 13);
    // Ground with long shadows.
    fillVertical(p, QRectF(0, 300, W, 180), {{0, QColor(200, 150, 130)}, {1, QColor(150, 100, 100)}});
    p.setBrush(QColor(90, 60, 90, 80));
    p.drawPolygon(QPolygonF({QPointF(150, 340), QPointF(200, 340), QPointF(10, 480), QPointF(-60, 480)}));
    p.drawPolygon(QPolygonF({QPointF(330, 320), QPointF(350, 320), QPointF(180, 480), QPointF(140, 480)}));
    // Wall and gate pillars.
    p.setBrush(QColor(200, 180, 170));
    p.drawRect(QRectF(-10, 270, 230, 60));
    p.drawRect(QRectF(440, 280, 290, 46));
    p.setBrush(QColor(180, 160, 150));
    p.drawRect(QRectF(200, 230, 40, 110));
    p.drawRect(QRectF(420, 250, 34, 84));
    p.setBrush(QColor(240, 230, 210));
    p.drawRect(QRectF(206, 250, 28, 40)); // name plate
    p.save();
    p.setPen(QPen(QColor(80, 70, 80), 2));
    for (double x = 244; x < 420; x += 14)
        p.drawLine(QPointF(x, 270), QPointF(x, 330));
    p.drawLine(QPointF(240, 276), QPointF(420, 276));
    p.restore();
    cherryTree(p, QPointF(120, 360), 210, rng, true);
    for (int i = 0; i < 40; ++i) { // petals
        p.setBrush(QColor(255, 200, 220, rng.range(120, 220)));
        p.drawEllipse(QPointF(rng.uniform(0, 500), rng.uniform(180, 470)), 2.2, 1.4);
    }
    timeWash(p, Tod::Day);
    addGlow(p, QPointF(620, 250), 300, QColor(255, 150, 90, 60));
    vignette(p, kAll, 0.35);
}

void shoppingStreet(QPainter &p, Rng &rng)
{
    street(p, Tod::Dusk, rng);
    // Strings of paper lanterns across the street.
    for (int row = 0; row < 4; ++row) {
        const double y = 60 + row * 34, sag = 30 - row * 6;
        const double x0 = 120 + row * 40, x1 = 600 - row * 40;
        const double sz = 12 - row * 2;
        p.save();
        p.setPen(QPen(QColor(40, 30, 40, 180), 1));
        p.setBrush(Qt::NoBrush);
        QPainterPath w;
        w.moveTo(x0 - 200 + row * 40, y - 20);
        w.quadTo(360 - 20 * row, y + sag * 2, x1 + 200 - row * 40, y - 20);
        p.drawPath(w);
        p.restore();
        QPainterPath w2;
        w2.moveTo(x0 - 200 + row * 40, y - 20);
        w2.quadTo(360 - 20 * row, y + sag * 2, x1 + 200 - row * 40, y - 20);
        for (double t = 0.05; t < 1; t += 0.09 + row * 0.02) {
            const QPointF at = w2.pointAtPercent(t) + QPointF(0, sz * 1.1);
            addGlow(p, at, sz * 3, QColor(255, 140, 80, 90));
            p.setBrush(t < 0.5 ? QColor(240, 80, 60) : QColor(255, 190, 90));
            p.drawEllipse(at, sz * 0.75, sz);
        }
    }
    // People going home.
    static const double spots[7][2] = {{250, 300}, {430, 306}, {300, 330}, {520, 350},
                                       {170, 372}, {610, 404}, {380, 440}};
    for (const auto &sp : spots) {
        const double y = sp[1];
        silhouette(p, QPointF(sp[0] + rng.uniform(-15, 15), y), 30 + (y - 280) * 0.9,
                   QColor(50, 30, 50, 225), Pose::Walk, rng.range(0, 4), rng.chance(0.5) ? 1 : -1);
    }
    // Shop awnings on the right and left edges.
    for (int side = 0; side < 2; ++side) {
        QPolygonF aw = side ? QPolygonF({QPointF(600, 200), QPointF(730, 170), QPointF(730, 230), QPointF(600, 240)})
                            : QPolygonF({QPointF(-10, 170), QPointF(110, 200), QPointF(110, 240), QPointF(-10, 230)});
        p.setBrush(side ? QColor(60, 120, 170) : QColor(200, 70, 60));
        p.drawPolygon(aw);
        addGlow(p, aw.boundingRect().center() + QPointF(0, 50), 90, QColor(255, 210, 140, 90));
    }
}

void capeAtNight(QPainter &p, Rng &rng, bool wide)
{
    const double horizon = 250;
    nightSky(p, horizon, rng, 320);
    sea(p, horizon, Tod::Night, rng, 1.0);
    QPainterPath land;
    land.moveTo(-10, 480);
    land.lineTo(-10, 330);
    land.cubicTo(200, 300, 520, 290, 730, 320);
    land.lineTo(730, 480);
    land.closeSubpath();
    QLinearGradient lg(0, 290, 0, 480);
    lg.setColorAt(0, QColor(34, 52, 60));
    lg.setColorAt(1, QColor(12, 18, 26));
    p.setBrush(lg);
    p.drawPath(land);
    lighthouse(p, QPointF(wide ? 560 : 520, 312), wide ? 150 : 240, Tod::Night, true);
    // Grass bending in the wind.
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 420; ++i) {
        const double x = rng.uniform(-10, 730);
        const double y = 320 + std::pow(rng.next(), 0.7) * 160;
        const double len = 6 + (y - 320) * 0.12;
        p.setPen(QPen(QColor(60, 96, 90, rng.range(90, 200)), 0.8 + (y - 320) / 120));
        QPainterPath b;
        b.moveTo(x, y);
        b.quadTo(x + len * 0.2, y - len * 0.6, x + len * 0.8, y - len * 0.9);
        p.drawPath(b);
    }
    p.restore();
    // Stone railing.
    p.setBrush(QColor(110, 116, 130));
    p.drawRect(QRectF(-10, 396, 380, 12));
    for (double x = 10; x < 370; x += 60)
        p.drawRect(QRectF(x, 400, 14, 70));
    vignette(p, kAll, 0.45);
}

void lampRoom(QPainter &p, Rng &rng, bool projecting)
{
    fillVertical(p, kAll, {{0, QColor(14, 20, 40)}, {1, QColor(30, 30, 46)}});
    // Windows all round: night and stars.
    for (int k = 0; k < 6; ++k) {
        const double x = -40 + k * 140;
        QRectF w(x, 40, 120, 250);
        fillVertical(p, w, {{0, QColor(10, 16, 40)}, {1, QColor(30, 44, 90)}});
        Rng r2(std::uint64_t(k + 1));
        starfield(p, w.adjusted(0, 0, 0, -80), 30, r2, 1.2);
        p.setBrush(QColor(120, 90, 50));
        p.drawRect(QRectF(x + 120, 30, 20, 280));
    }
    p.setBrush(QColor(130, 96, 54));
    p.drawRect(QRectF(0, 290, W, 14));
    p.drawRect(QRectF(0, 28, W, 12));
    fillVertical(p, QRectF(0, 304, W, 176), {{0, QColor(70, 56, 50)}, {1, QColor(40, 32, 34)}});
    // The great lens: stacked glass rings.
    const QPointF c(360, 200);
    addGlow(p, c, 220, QColor(255, 240, 200, projecting ? 120 : 60));
    for (int i = 0; i < 9; ++i) {
        const double w = 150 - i * 4, h = 24;
        const double y = c.y() - 120 + i * 28;
        QLinearGradient g(c.x() - w, 0, c.x() + w, 0);
        g.setColorAt(0, QColor(160, 200, 220, 120));
        g.setColorAt(0.45, QColor(255, 255, 255, 230));
        g.setColorAt(0.55, QColor(220, 240, 255, 200));
        g.setColorAt(1, QColor(120, 160, 190, 120));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(c.x() - w / 2 - 30, y, w + 60, h), 10, 10);
    }
    p.setBrush(QColor(255, 250, 220));
    p.drawEllipse(c + QPointF(0, 10), 20, 20);
    // Brass rail and a bench.
    p.save();
    p.setPen(QPen(QColor(200, 150, 80), 4));
    p.drawLine(QPointF(0, 370), QPointF(720, 370));
    for (double x = 20; x < 720; x += 70)
        p.drawLine(QPointF(x, 370), QPointF(x, 440));
    p.restore();
    p.setBrush(QColor(100, 70, 50));
    p.drawRect(QRectF(60, 400, 180, 14));
    p.drawRect(QRectF(70, 414, 10, 50));
    p.drawRect(QRectF(220, 414, 10, 50));
    if (projecting) {
        // Pictures of the past thrown on the walls by the turning lens.
        for (int k = 0; k < 5; ++k) {
            const double x = 20 + k * 140 + rng.uniform(-10, 10);
            QRectF fr(x, 70 + rng.uniform(-20, 20), 110, 80);
            // Thrown light: added onto the wall, never covering it.
            p.setCompositionMode(QPainter::CompositionMode_Screen);
            p.setOpacity(0.6);
            if (k % 2 == 0) {
                fillVertical(p, fr, {{0, QColor(160, 90, 70)}, {1, QColor(80, 40, 40)}});
                p.setBrush(QColor(255, 190, 120));
                p.drawEllipse(fr.center() + QPointF(20, -10), 12, 12);
            } else {
                fillVertical(p, fr, {{0, QColor(20, 30, 60)}, {1, QColor(40, 60, 100)}});
                shipExterior(p, fr.center(), 80, -10, QColor(200, 210, 220));
            }
            p.setOpacity(1);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            lightShaft(p, c, 10, fr.center(), fr.width(), QColor(255, 246, 210, 50));
        }
    }
    vignette(p, kAll, 0.5);
}

void gallery(QPainter &p, Rng &rng)
{
    const double horizon = 300;
    nightSky(p, horizon, rng, 200);
    sea(p, horizon, Tod::Night, rng, 0.8);
    // The beam sweeping overhead.
    lightShaft(p, QPointF(330, -20), 30, QPointF(900, 160), 220, QColor(255, 246, 210, 90));
    addGlow(p, QPointF(300, -10), 160, QColor(255, 240, 200, 90));
    // Wind streaks.
    p.save();
    for (int i = 0; i < 30; ++i) {
        const double y = rng.uniform(40, 280), x = rng.uniform(0, 700);
        p.setPen(QPen(QColor(200, 220, 255, rng.range(20, 60)), 1));
        p.drawLine(QPointF(x, y), QPointF(x + rng.uniform(30, 90), y - 4));
    }
    p.restore();
    // Gallery floor and curved railing.
    QPainterPath floor;
    floor.moveTo(-10, 400);
    floor.quadTo(360, 360, 730, 400);
    floor.lineTo(730, 480);
    floor.lineTo(-10, 480);
    floor.closeSubpath();
    p.setBrush(QColor(40, 44, 60));
    p.drawPath(floor);
    p.save();
    p.setPen(QPen(QColor(150, 150, 170), 5));
    p.setBrush(Qt::NoBrush);
    QPainterPath rail;
    rail.moveTo(-10, 330);
    rail.quadTo(360, 290, 730, 330);
    p.drawPath(rail);
    QPainterPath rail2;
    rail2.moveTo(-10, 362);
    rail2.quadTo(360, 326, 730, 362);
    p.setPen(QPen(QColor(120, 120, 140), 3));
    p.drawPath(rail2);
    for (double t = 0; t <= 1.0; t += 0.08) {
        const QPointF a = rail.pointAtPercent(t);
        p.drawLine(a, QPointF(a.x(), a.y() + 80));
    }
    p.restore();
    vignette(p, kAll, 0.5);
}

void townStreetMorning(QPainter &p, Rng &rng)
{
    street(p, Tod::Morning, rng);
    // Shutters and the bus stop, softened by mist.
    for (int i = 0; i < 3; ++i) {
        QRectF sh(i == 0 ? 0 : 600 + (i - 1) * 60, 250 - i * 10, 60, 90);
        p.setBrush(QColor(190, 196, 204));
        p.drawRect(sh);
        p.save();
        p.setPen(QPen(QColor(150, 156, 166), 1));
        for (double y = sh.top() + 4; y < sh.bottom(); y += 5)
            p.drawLine(QPointF(sh.left(), y), QPointF(sh.right(), y));
        p.restore();
    }
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(480, 220, 4, 110));
    p.setBrush(QColor(40, 110, 190));
    p.drawEllipse(QPointF(482, 218), 12, 12);
    for (int i = 0; i < 4; ++i)
        fillVertical(p, QRectF(0, 150 + i * 60, W, 160),
                     {{0, QColor(240, 244, 250, 0)}, {0.5, QColor(240, 244, 250, 70)}, {1, QColor(240, 244, 250, 0)}});
}

void memoryCorridor(QPainter &p, Rng &rng)
{
    Cam c;
    c.cx = 360;
    c.cy = 240;
    c.f = 380;
    fillVertical(p, kAll, {{0, QColor(226, 236, 244)}, {1, QColor(200, 214, 226)}});
    QLinearGradient fg(QPointF(0, 480), c.at(0, -1.5, 40));
    fg.setColorAt(0, QColor(226, 236, 244));
    fg.setColorAt(1, QColor(200, 214, 228));
    poly(p, c.flat(-1.5, -2.2, 2.2, 0.5, 40), fg);
    for (double x : {-1.6, 1.6}) // guide lines along the floor
        poly(p, c.flat(-1.499, x - 0.02, x + 0.02, 0.5, 40), QColor(94, 240, 255, 150));
    addGlow(p, QPointF(360, 240), 200, QColor(255, 255, 255, 110));
    // Floating panels on both walls, each a small scene of the town.
    for (double z = 30; z > 1.2; z -= 2.2) {
        for (int side = -1; side <= 1; side += 2) {
            const double x = side * 2.0;
            const QPolygonF panel = c.wallX(x, -0.6 + rng.uniform(-0.2, 0.2), 0.8, z, z + 1.6);
            const QRectF br = panel.boundingRect();
            QImage thumb = canvas(160, 100);
            {
                QPainter tp(&thumb);
                prepare(tp);
                const int kind = rng.range(0, 2);
                if (kind == 0) { // harbour
                    fillVertical(tp, QRectF(0, 0, 160, 50), {{0, QColor(120, 180, 240)}, {1, QColor(220, 236, 250)}});
                    fillVertical(tp, QRectF(0, 50, 160, 50), {{0, QColor(60, 140, 200)}, {1, QColor(30, 90, 160)}});
                    townHill(tp, QRectF(0, 30, 160, 24), Tod::Day, rng, 2);
                } else if (kind == 1) { // school
                    fillVertical(tp, QRectF(0, 0, 160, 100), {{0, QColor(140, 200, 250)}, {1, QColor(250, 240, 220)}});
                    tp.setBrush(QColor(236, 226, 214));
                    tp.drawRect(QRectF(20, 40, 120, 50));
                    tp.setBrush(QColor(120, 170, 220));
                    for (int k = 0; k < 5; ++k)
                        tp.drawRect(QRectF(28 + k * 23, 52, 14, 12));
                } else { // festival
                    fillVertical(tp, QRectF(0, 0, 160, 100), {{0, QColor(40, 30, 80)}, {1, QColor(150, 80, 110)}});
                    for (int k = 0; k < 8; ++k) {
                        tp.setBrush(k % 2 ? QColor(255, 100, 70) : QColor(255, 200, 100));
                        tp.drawEllipse(QPointF(10 + k * 20, 30 + (k % 3) * 6), 6, 8);
                    }
                }
            }
            QTransform tr;
            QPolygonF src({QPointF(0, 100), QPointF(160, 100), QPointF(160, 0), QPointF(0, 0)});
            if (side > 0)
                src = QPolygonF({QPointF(160, 100), QPointF(0, 100), QPointF(0, 0), QPointF(160, 0)});
            if (QTransform::quadToQuad(src, panel, tr)) {
                p.save();
                p.setTransform(tr);
                p.setOpacity(0.85);
                p.drawImage(0, 0, thumb);
                p.restore();
            }
            addGlow(p, br.center(), br.width() * 0.7, QColor(150, 230, 255, 40));
            p.save();
            p.setPen(QPen(QColor(94, 240, 255, 200), std::max(0.6, 3 / z)));
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(panel);
            p.restore();
        }
    }
    vignette(p, kAll, 0.25);
}

void archive(QPainter &p, Rng &rng)
{
    Cam c;
    c.cx = 380;
    c.cy = 230;
    c.f = 400;
    fillVertical(p, kAll, {{0, QColor(20, 30, 46)}, {1, QColor(10, 14, 24)}});
    poly(p, c.flat(-1.4, -4, 4, 0.5, 12), QColor(30, 40, 56));
    for (double z = 10; z > 1.2; z -= 1.4) {
        for (int side = -1; side <= 1; side += 2) {
            const double x0 = side < 0 ? -3.4 : 1.8, x1 = x0 + 1.6;
            box(p, c, x0, x1, -1.4, 1.8, z, z + 0.6, QColor(40, 52, 70));
            const double fx = side < 0 ? x1 : x0;
            for (double y = -1.1; y < 1.6; y += 0.45)
                for (double zz = z + 0.08; zz < z + 0.55; zz += 0.14) {
                    const QPointF at = c.at(fx, y + 0.15, zz);
                    const QColor cc = rng.chance(0.8) ? QColor(120, 240, 255) : QColor(200, 180, 255);
                    glow(p, at, 60 / z, alpha(cc, 90));
                    p.setBrush(alpha(cc, 220));
                    p.drawEllipse(at, 10 / z, 16 / z);
                }
        }
    }
    // The captain's worn grey coat on a hook at the end.
    const QPointF hook = c.at(0.1, 0.9, 9);
    p.setBrush(QColor(60, 64, 76));
    p.drawRect(QRectF(hook.x() - 2, hook.y() - 4, 4, 6));
    QPainterPath coat;
    coat.moveTo(hook);
    coat.cubicTo(hook + QPointF(-26, 6), hook + QPointF(-30, 70), hook + QPointF(-22, 110));
    coat.lineTo(hook + QPointF(22, 110));
    coat.cubicTo(hook + QPointF(30, 70), hook + QPointF(26, 6), hook);
    QLinearGradient cg(hook.x() - 30, 0, hook.x() + 30, 0);
    cg.setColorAt(0, QColor(150, 150, 156));
    cg.setColorAt(1, QColor(90, 92, 100));
    p.setBrush(cg);
    p.drawPath(coat);
    p.setBrush(QColor(200, 210, 220));
    p.drawEllipse(hook + QPointF(-10, 30), 3.5, 3.5);
    addGlow(p, hook + QPointF(0, 50), 120, QColor(180, 230, 255, 50));
    vignette(p, kAll, 0.5);
}

void innerChamber(QPainter &p, Rng &rng)
{
    coreHall(p, rng, true, QColor(255, 70, 70));
    // The great window onto the inside of the habitat.
    QImage view = canvas(W, H);
    {
        QPainter vp(&view);
        prepare(vp);
        Rng r2(rng.range(0, 1 << 30));
        cylinderWorld(vp, r2, 0.2);
    }
    QPainterPath win;
    win.addEllipse(QPointF(360, 120), 170, 90);
    p.save();
    p.setClipPath(win);
    p.drawImage(QRectF(190, 30, 340, 180), view);
    p.restore();
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 70, 90), 8));
    p.drawPath(win);
    p.restore();
    redVeins(p, QPointF(360, 320), rng, 18, 420);
}

void seamSky(QPainter &p, Rng &rng, bool seam)
{
    // Morning view out of the classroom window, with the window frame.
    sky(p, kAll, Tod::Morning, rng, QPointF(560, 90));
    clouds(p, QRectF(0, 20, W, 200), Tod::Day, rng, 7);
    sea(p, 270, Tod::Day, rng, 2.0);
    if (seam) {
        fillVertical(p, QRectF(0, 120, W, 60), {{0, QColor(255, 255, 255, 0)}, {0.5, QColor(255, 255, 255, 110)}, {1, QColor(255, 255, 255, 0)}});
        p.setBrush(QColor(255, 255, 255, 250));
        p.drawRect(QRectF(-10, 148.5, 740, 2.2));
        for (int i = 0; i < 4; ++i)
            addGlow(p, QPointF(100 + i * 170, 149), 50, QColor(255, 255, 255, 110));
        fillVertical(p, QRectF(0, 140, W, 18), {{0, QColor(255, 255, 255, 0)}, {0.5, QColor(220, 240, 255, 80)}, {1, QColor(255, 255, 255, 0)}});
        hexSeams(p, QRectF(0, 0, W, 260), 60, QColor(255, 255, 255, 12));
    }
    // Window frame and the edge of the desk.
    p.setBrush(QColor(236, 236, 230));
    p.drawRect(QRectF(0, 0, W, 16));
    p.drawRect(QRectF(348, 0, 18, 380));
    p.drawRect(QRectF(0, 0, 16, 380));
    p.drawRect(QRectF(704, 0, 16, 380));
    p.drawRect(QRectF(0, 196, W, 10));
    QPolygonF desk({QPointF(-10, 400), QPointF(730, 380), QPointF(730, 480), QPointF(-10, 480)});
    p.setBrush(QColor(210, 170, 120));
    p.drawPolygon(desk);
    p.setBrush(QColor(240, 230, 210));
    p.drawPolygon(QPolygonF({QPointF(-10, 360), QPointF(730, 350), QPointF(730, 384), QPointF(-10, 404)}));
    p.setBrush(QColor(250, 250, 246));
    p.save();
    p.translate(470, 430);
    p.rotate(-6);
    p.drawRect(QRectF(-70, -30, 140, 80));
    p.setPen(QPen(QColor(170, 190, 220), 1));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(-60, -18 + i * 12), QPointF(60, -18 + i * 12));
    p.restore();
    timeWash(p, Tod::Morning);
    vignette(p, kAll, 0.3);
}

void geographyClass(QPainter &p, Rng &rng)
{
    classroom(p, Tod::Day, rng, true, true);
    // Wall map over the blackboard: one town in a blank sea.
    const QRectF map(250, 80, 200, 130);
    p.setBrush(QColor(240, 236, 220));
    p.drawRect(map.adjusted(-6, -6, 6, 6));
    fillVertical(p, map, {{0, QColor(120, 180, 226)}, {1, QColor(90, 150, 210)}});
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    for (double x = map.left(); x < map.right(); x += 20)
        p.drawLine(QPointF(x, map.top()), QPointF(x, map.bottom()));
    for (double y = map.top(); y < map.bottom(); y += 20)
        p.drawLine(QPointF(map.left(), y), QPointF(map.right(), y));
    p.restore();
    QPainterPath island;
    island.addEllipse(QPointF(350, 150), 18, 12);
    island.addEllipse(QPointF(362, 142), 10, 8);
    p.setBrush(QColor(150, 200, 120));
    p.drawPath(island.simplified());
    p.setBrush(QColor(220, 60, 60));
    p.drawEllipse(QPointF(352, 150), 2.5, 2.5);
    drawLabel(p, QRectF(300, 162, 100, 16), QStringLiteral("澄湾镇"), 11, QColor(40, 60, 40), true);
    drawLabel(p, QRectF(map.left(), map.top() + 4, map.width(), 22), QStringLiteral("无尽之海"), 17, QColor(255, 255, 255, 220), true);
    // The teacher pointing at it.
    Look teacher;
    teacher.hair = QColor(70, 60, 56);
    teacher.top = QColor(120, 100, 90);
    teacher.bottom = QColor(70, 66, 70);
    teacher.accent = QColor(230, 230, 230);
    person(p, QPointF(500, 300), 150, teacher, Pose::Reach, -1);
    p.save();
    p.setPen(QPen(QColor(120, 90, 60), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(452, 180), QPointF(372, 152));
    p.restore();
}

void rooftopLunch(QPainter &p, Rng &rng)
{
    const double horizon = 250;
    sky(p, QRectF(0, 0, W, horizon + 2), Tod::Day, rng, QPointF(600, 60));
    clouds(p, QRectF(0, 10, W, 170), Tod::Day, rng, 6);
    sea(p, horizon, Tod::Day, rng, 1.6);
    fillVertical(p, QRectF(0, 300, W, 180), {{0, QColor(190, 188, 182)}, {1, QColor(214, 212, 206)}});
    // Fence.
    p.save();
    p.setPen(QPen(QColor(70, 110, 100, 70), 0.8));
    for (double x = -300; x < 740; x += 12) {
        p.drawLine(QPointF(x, 300), QPointF(x + 100, 200));
        p.drawLine(QPointF(x + 100, 300), QPointF(x, 200));
    }
    p.restore();
    p.setBrush(QColor(74, 110, 96));
    p.drawRect(QRectF(0, 196, W, 5));
    for (double x = 20; x < 720; x += 110)
        p.drawRect(QRectF(x, 196, 5, 106));
    // Picnic cloth, the two girls and Sorin's lunch in front.
    p.setBrush(QColor(120, 170, 220));
    p.drawPolygon(QPolygonF({QPointF(140, 380), QPointF(600, 370), QPointF(680, 480), QPointF(60, 480)}));
    p.setBrush(QColor(255, 255, 255, 80));
    for (int i = 0; i < 6; ++i)
        p.drawRect(QRectF(140 + i * 80, 376, 30, 104));
    castFigure(p, "a1-10", QPointF(200, 540), 1.05);
    castFigure(p, "a3-1-4", QPointF(530, 540), 1.05);
    // Lunch boxes on the cloth in front.
    p.setBrush(QColor(230, 80, 120));
    p.drawRoundedRect(QRectF(300, 430, 70, 36), 6, 6);
    p.setBrush(QColor(255, 240, 210));
    p.drawRoundedRect(QRectF(306, 436, 58, 24), 4, 4);
    p.setBrush(QColor(255, 214, 90));
    p.drawRoundedRect(QRectF(312, 440, 22, 12), 4, 4);
    p.setBrush(QColor(120, 190, 110));
    p.drawEllipse(QPointF(348, 448), 7, 6);
    vignette(p, kAll, 0.3);
}

void notebookPages(QPainter &p, Rng &rng)
{
    // Close-up on the desk under the lamp: open notebook, star charts, dates.
    fillVertical(p, kAll, {{0, QColor(80, 50, 40)}, {1, QColor(50, 32, 28)}});
    addGlow(p, QPointF(250, 120), 420, QColor(255, 190, 110, 120));
    for (int k = 2; k >= 0; --k) { // earlier notebooks fanned out below
        p.save();
        p.translate(360 + k * 40, 250 + k * 20);
        p.rotate(-8 + k * 7);
        p.setBrush(QColor(30, 44, 96));
        p.drawRoundedRect(QRectF(-260, -170, 520, 340), 8, 8);
        p.restore();
    }
    p.save();
    p.translate(360, 240);
    p.rotate(-4);
    for (int side = -1; side <= 1; side += 2) {
        QRectF page(side < 0 ? -250 : 0, -160, 250, 320);
        fillLinear(p, page, QPointF(0, 0), QPointF(side * 250, 0),
                   {{0, QColor(220, 210, 186)}, {0.1, QColor(248, 242, 226)}, {1, QColor(240, 232, 212)}});
        // Same chart on both pages: a circle grid and identical stars.
        const QPointF cc = page.center() + QPointF(0, -10);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(120, 140, 190, 140), 1));
        for (int i = 1; i <= 3; ++i)
            p.drawEllipse(cc, i * 34.0, i * 34.0);
        p.drawLine(cc - QPointF(110, 0), cc + QPointF(110, 0));
        p.drawLine(cc - QPointF(0, 110), cc + QPointF(0, 110));
        Rng same(4242);
        p.setPen(QPen(QColor(40, 60, 130), 1));
        QPointF prev;
        for (int s = 0; s < 14; ++s) {
            const QPointF at = cc + QPointF(same.uniform(-95, 95), same.uniform(-95, 95));
            p.setBrush(QColor(30, 50, 120));
            p.drawEllipse(at, same.uniform(1.5, 3.2), same.uniform(1.5, 3.2));
            if (s > 0 && s < 6)
                p.drawLine(prev, at);
            prev = at;
        }
        // Dates in the margin: small handwriting strokes.
        p.setPen(QPen(QColor(90, 80, 100, 200), 1.2));
        for (int l = 0; l < 3; ++l) {
            double x = page.left() + 20;
            const double y = page.bottom() - 40 + l * 12;
            for (int g = 0; g < 8; ++g) {
                p.drawLine(QPointF(x, y), QPointF(x + 4, y - 5));
                x += 7 + rng.uniform(0, 3);
            }
        }
        p.setPen(Qt::NoPen);
    }
    p.setBrush(QColor(150, 130, 110, 120));
    p.drawRect(QRectF(-3, -160, 6, 320));
    p.restore();
    vignette(p, kAll, 0.5);
}

void telescopeWindow(QPainter &p, Rng &rng)
{
    atticRoom(p, rng, true);
    // Taviel by her telescope, pencil raised, and Lio uneasy beside it, as the
    // story's own figures so the player knows them; the window's dusk on them.
    QImage people = spriteCanvas(W, H);
    {
        QPainter fp(&people);
        prepare(fp);
        castFigure(fp, "a3-2-2", QPointF(112, 600), 1.0);
        castFigure(fp, "a1-6", QPointF(668, 620), 0.92);
        fp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        fp.fillRect(kAll, QColor(255, 150, 90, 46));
    }
    p.drawImage(0, 0, people);
}

void nightHarbour(QPainter &p, Rng &rng)
{
    const double horizon = 240;
    nightSky(p, horizon, rng, 360);
    sea(p, horizon, Tod::Night, rng, 1.4);
    // Still stars mirrored in the water.
    for (int i = 0; i < 60; ++i) {
        p.setBrush(QColor(220, 230, 255, rng.range(40, 120)));
        p.drawEllipse(QPointF(rng.uniform(0, 720), rng.uniform(horizon + 5, 420)), 1.2, 0.6);
    }
    // Pier and the boat with the three climbing in.
    p.setBrush(QColor(60, 50, 50));
    p.drawPolygon(QPolygonF({QPointF(-10, 330), QPointF(380, 340), QPointF(380, 352), QPointF(-10, 350)}));
    for (double x = 10; x < 380; x += 40)
        p.drawRect(QRectF(x, 348, 6, 60));
    townHill(p, QRectF(0, horizon - 36, 230, 40), Tod::Night, rng, 2);
    // The three already in the boat beside the pier, about to push off: drawn
    // first so the near side of the hull hides all below the chest.
    using namespace fig;
    p.save();
    p.setClipRect(QRectF(0, 0, W, 404));
    Mood tav = mood(Brow::Neutral, Eyes::Open, Mouth::Small, Arm::Hold, Arm::Down);
    tav.prop = Prop::BookUnderArm;
    tav.look = 0.5;
    posed(p, CastLook::TavielHome, tav, QPointF(360, 482), 0.56);
    Mood him = mood(Brow::Raised, Eyes::Open, Mouth::Smile);
    him.look = 0.6;
    posed(p, CastLook::Sorin, him, QPointF(465, 486), 0.56);
    Mood lio = mood(Brow::Raised, Eyes::Smile, Mouth::Grin, Arm::Behind, Arm::Offer);
    lio.look = -0.6;
    posed(p, CastLook::Lio, lio, QPointF(565, 490), 0.54);
    p.restore();
    rowingBoat(p, QPointF(470, 420), 400, QColor(160, 80, 60));
    // Lio's lantern.
    addGlow(p, QPointF(640, 352), 130, QColor(255, 200, 110, 150));
    p.setBrush(QColor(255, 230, 160));
    p.drawRoundedRect(QRectF(632, 342, 16, 22), 3, 3);
    vignette(p, kAll, 0.5);
}

void boatAtSea(QPainter &p, Rng &rng, bool fog)
{
    const double horizon = 230;
    nightSky(p, horizon, rng, 380);
    fillVertical(p, QRectF(0, horizon, W, H - horizon), {{0, QColor(10, 14, 32)}, {1, QColor(2, 4, 12)}});
    // The mirror: stars reflected, ending in a dead straight line in the fog.
    Rng mirror(777);
    for (int i = 0; i < 200; ++i) {
        const double y = horizon + mirror.uniform(2, 250);
        if (fog && y < horizon + 60)
            continue;
        p.setBrush(QColor(220, 230, 255, mirror.range(60, 200)));
        p.drawEllipse(QPointF(mirror.uniform(0, 720), y), 0.9, 0.9);
    }
    if (fog) {
        fillVertical(p, QRectF(0, 120, W, 180), {{0, QColor(120, 130, 160, 0)}, {0.55, QColor(150, 160, 190, 200)}, {1, QColor(120, 130, 160, 0)}});
        p.setBrush(QColor(230, 236, 255, 200));
        p.drawRect(QRectF(-10, horizon + 60, 740, 1.2));
        addGlow(p, QPointF(360, horizon + 60), 80, QColor(200, 220, 255, 60));
    } else {
        // The town's lights, small behind them.
        for (int i = 0; i < 30; ++i) {
            p.setBrush(QColor(255, 200, 120, rng.range(120, 220)));
            p.drawEllipse(QPointF(rng.uniform(470, 640), horizon - rng.uniform(0, 10)), 1.2, 1.2);
        }
        lighthouse(p, QPointF(660, horizon), 40, Tod::Night, false);
    }
    // The three in the boat, drawn first so the near side of the hull hides
    // all below the chest; Lio holds the lantern out over the bow.
    {
        using namespace fig;
        p.save();
        p.setClipRect(QRectF(0, 0, W, 392));
        Mood him = mood(Brow::Neutral, Eyes::Open, Mouth::Small);
        him.look = fog ? 0.3 : -0.4;
        posed(p, CastLook::Sorin, him, QPointF(225, 478), 0.46);
        Mood tav = mood(fog ? Brow::Worried : Brow::Neutral, Eyes::Open, Mouth::Neutral,
                        Arm::Hold, Arm::Hold);
        tav.prop = Prop::BookChest;
        tav.look = 0.4;
        posed(p, CastLook::TavielHome, tav, QPointF(315, 482), 0.46);
        Mood lio = mood(fog ? Brow::Worried : Brow::Raised, Eyes::Open,
                        fog ? Mouth::Wavy : Mouth::Smile, Arm::Chest, Arm::Offer);
        lio.look = 0.8;
        posed(p, CastLook::Lio, lio, QPointF(405, 484), 0.44);
        p.restore();
    }
    rowingBoat(p, QPointF(330, 420), 330, QColor(130, 70, 56));
    const QPointF lantern(458, 356);
    addGlow(p, lantern, 170, QColor(255, 200, 110, 150));
    p.setBrush(QColor(255, 236, 170));
    p.drawRoundedRect(QRectF(lantern.x() - 8, lantern.y() - 10, 16, 22), 3, 3);
    vignette(p, kAll, 0.5);
}

void paintedWall(QPainter &p, Rng &rng)
{
    // The painted sky of the wall, ever so slightly too flat, with seams.
    fillVertical(p, kAll, {{0, QColor(18, 24, 56)}, {0.75, QColor(40, 54, 100)}, {1, QColor(20, 26, 50)}});
    Rng painted(99);
    starfield(p, QRectF(0, 0, W, 360), 260, painted, 1.4);
    p.save();
    p.setPen(QPen(QColor(10, 14, 30, 200), 1.5));
    for (double x = -30; x < 720; x += 120)
        p.drawLine(QPointF(x + 40, 0), QPointF(x, 390));
    for (double y = 60; y < 390; y += 110)
        p.drawLine(QPointF(0, y), QPointF(720, y + 6));
    p.restore();
    // Rust and water stains along the foot of the wall.
    fillVertical(p, QRectF(0, 320, W, 80), {{0, QColor(80, 60, 50, 0)}, {1, QColor(60, 50, 50, 180)}});
    sea(p, 392, Tod::Night, rng, 0.8);
    rowingBoat(p, QPointF(360, 452), 160, QColor(120, 64, 50));
    addGlow(p, QPointF(360, 430), 120, QColor(255, 200, 110, 110));
    vignette(p, kAll, 0.55);
}

void hatch(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(40, 46, 60)}, {1, QColor(26, 30, 40)}});
    // Riveted panels of the wall.
    p.save();
    p.setPen(QPen(QColor(20, 24, 32), 2));
    for (double x = 0; x < 720; x += 90)
        p.drawLine(QPointF(x, 0), QPointF(x, 480));
    for (double y = 0; y < 480; y += 80)
        p.drawLine(QPointF(0, y), QPointF(720, y));
    p.restore();
    for (int i = 0; i < 200; ++i) {
        p.setBrush(QColor(80, 86, 100));
        p.drawEllipse(QPointF(std::floor(rng.uniform(0, 8)) * 90 + 6, rng.uniform(0, 480)), 1.6, 1.6);
    }
    // Round hatch, half under water.
    const QPointF c(380, 300);
    p.setBrush(QColor(70, 76, 88));
    p.drawEllipse(c, 150, 150);
    QRadialGradient hg(c + QPointF(-30, -40), 160);
    hg.setColorAt(0, QColor(120, 124, 136));
    hg.setColorAt(1, QColor(60, 64, 76));
    p.setBrush(hg);
    p.drawEllipse(c, 128, 128);
    p.setBrush(QColor(150, 90, 60, 160)); // rust
    for (int i = 0; i < 20; ++i)
        p.drawEllipse(c + QPointF(rng.uniform(-110, 110), rng.uniform(-110, 110)), rng.uniform(3, 12), rng.uniform(2, 8));
    // Faded number.
    p.save();
    p.setPen(QPen(QColor(220, 210, 180, 150), 6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(c.x() - 40, c.y() - 80, 28, 42));
    p.drawLine(QPointF(c.x() + 4, c.y() - 80), QPointF(c.x() + 34, c.y() - 80));
    p.drawLine(QPointF(c.x() + 34, c.y() - 80), QPointF(c.x() + 14, c.y() - 38));
    p.restore();
    // Rusty ladder.
    p.save();
    p.setPen(QPen(QColor(130, 80, 56), 5));
    p.drawLine(QPointF(180, 60), QPointF(180, 480));
    p.drawLine(QPointF(220, 60), QPointF(220, 480));
    for (double y = 80; y < 480; y += 32)
        p.drawLine(QPointF(180, y), QPointF(220, y));
    p.restore();
    // Black water over the lower half.
    QImage water = canvas(W, H);
    {
        QPainter wp(&water);
        prepare(wp);
        sea(wp, 0, Tod::Night, rng, 1.2);
    }
    p.setOpacity(0.88);
    p.drawImage(QRectF(0, 330, W, 150), water, inPixels(water, QRectF(0, 0, W, 150)));
    p.setOpacity(1);
    addGlow(p, QPointF(120, 360), 200, QColor(255, 200, 110, 80));
    vignette(p, kAll, 0.5);
}

void maintenanceTunnel(QPainter &p, Rng &rng)
{
    shipCorridor(p, QColor(255, 190, 110), rng);
    // Pipes along the ceiling and a dim lamp, then the sign plate.
    p.save();
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(90, 80, 70), 14 - i * 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-10, 40 + i * 22), QPointF(330, 220 + i * 6));
        p.setPen(QPen(QColor(140, 120, 100, 120), 3 - i * 0.5));
        p.drawLine(QPointF(-10, 36 + i * 22), QPointF(330, 217 + i * 6));
    }
    p.restore();
    p.setBrush(QColor(210, 200, 150));
    p.drawRoundedRect(QRectF(424, 136, 184, 64), 4, 4);
    p.setBrush(QColor(40, 40, 46));
    p.drawRoundedRect(QRectF(430, 142, 172, 52), 3, 3);
    // The sign the story reads out at line 163.
    drawLabel(p, QRectF(430, 143, 172, 26), QStringLiteral("SOLVANE"), 20, QColor(232, 224, 180), true);
    drawLabel(p, QRectF(430, 167, 172, 24), QStringLiteral("维护通道 07"), 17, QColor(232, 224, 180), true);
    addGlow(p, QPointF(515, 130), 90, QColor(255, 190, 110, 90));
}

void watchersPour(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(6, 8, 14)}, {1, QColor(16, 10, 16)}});
    // The dark corridor mouth and dozens of red eyes coming out.
    p.setBrush(QColor(2, 2, 6));
    p.drawEllipse(QPointF(360, 220), 230, 200);
    QList<std::pair<double, QPointF>> ws;
    for (int i = 0; i < 46; ++i) {
        const double depth = rng.uniform(0.15, 1.0);
        const double a = rng.uniform(0, 2 * M_PI);
        const double rr = rng.uniform(0, 210) * (0.4 + depth * 0.9);
        ws.append({depth, QPointF(360 + std::cos(a) * rr * 1.3, 220 + std::sin(a) * rr)});
    }
    std::sort(ws.begin(), ws.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &w : ws)
        watcher(p, w.second, 6 + 34 * w.first * w.first, QColor(255, 40, 50));
    // Falling lantern.
    p.save();
    p.translate(140, 400);
    p.rotate(35);
    addGlow(p, QPointF(0, 0), 120, QColor(255, 190, 100, 140));
    p.setBrush(QColor(255, 230, 160));
    p.drawRoundedRect(QRectF(-12, -16, 24, 32), 4, 4);
    p.restore();
    vignette(p, kAll, 0.6);
}

// Lio asleep and lying, for the pictures that show her lying or carried: her
// figure down to the hips turned on its side, the head to the left of `hips`
// along `angle` degrees, then her skirt and legs, bent at the hips by
// `hipBend` and at the knees by `kneeBend` degrees (positive bends them
// downwards). In her own frame the body runs along x, the head at negative x,
// and a unit is a figure pixel.
struct LyingPose
{
    QPointF hips;
    double scale, angle, hipBend, kneeBend;

    QTransform frame() const { return QTransform().translate(hips.x(), hips.y()).rotate(angle).scale(scale, scale); }
    QPointF along(double bend) const { return QPointF(std::cos(bend * M_PI / 180), std::sin(bend * M_PI / 180)); }
    QPointF knee() const { return along(hipBend) * 190; }
    QPointF ankle() const { return knee() + along(hipBend + kneeBend) * 180; }
    // Where hands that hold her go, in the picture: on top of her far
    // shoulder, and under her knees.
    QPointF shoulderHold() const { return frame().map(QPointF(-200, -92)); }
    QPointF kneeHold() const { return frame().map(knee() + QPointF(10, 34)); }
};

void lyingLio(QPainter &p, const LyingPose &pose)
{
    const fig::Look look = castLook(CastLook::Lio);
    const QColor line(52, 34, 52);
    auto limb = [&](QPointF a, QPointF b, double w, const QColor &col) {
        p.setPen(QPen(line, w + 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
        p.setPen(QPen(col, w, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
        p.setPen(Qt::NoPen);
    };
    p.save();
    p.setTransform(pose.frame(), true);
    const QPointF knee = pose.knee(), ankle = pose.ankle();
    const QPointF sock = knee + (ankle - knee) * 0.45;
    // The far leg a little behind and lower, then the near one.
    for (int side = 1; side >= 0; --side) {
        const QPointF off(side * 6, side * 18);
        const QColor skin = side ? shade(look.skin, 0.88) : look.skin;
        limb(QPointF(20, 0) + off, knee + off, 58, skin);
        limb(knee + off, sock + off, 46, skin);
        limb(sock + off, ankle + off, 44, side ? QColor(214, 214, 224) : QColor(246, 246, 250));
        p.save();
        p.translate(ankle + off);
        p.rotate(pose.hipBend + pose.kneeBend);
        p.setPen(QPen(line, 2));
        p.setBrush(QColor(96, 58, 44));
        p.drawRoundedRect(QRectF(-8, -20, 34, 50), 14, 14);
        p.restore();
        p.setPen(Qt::NoPen);
    }
    // The figure itself, turned so that its feet would point along x; its
    // lower edge, at the hips, goes under the skirt.
    const QImage asleep = drawLioAsleep();
    p.save();
    p.rotate(-90);
    p.drawImage(QRectF(-140, -480, 280, 490), asleep);
    p.restore();
    // Pleated skirt over the tops of the legs, following their bend.
    const QPointF along = pose.along(pose.hipBend);
    const QPointF hem = along * 85 + QPointF(0, -10);
    const QPointF across(-along.y(), along.x());
    QPainterPath skirt;
    skirt.moveTo(-30, -96);
    skirt.quadTo(-36, -10, -30, 76);
    skirt.lineTo(hem + across * 96);
    skirt.quadTo(hem + along * 24, hem - across * 100);
    skirt.closeSubpath();
    p.setPen(QPen(line, 2.5));
    p.setBrush(look.cloth2);
    p.drawPath(skirt);
    p.setPen(QPen(shade(look.cloth2, 0.7), 2));
    for (int k = -2; k <= 2; ++k)
        p.drawLine(QPointF(-20, k * 36), hem + across * (k * 44));
    p.setPen(Qt::NoPen);
    p.restore();
}

void dreamCarry(QPainter &p, Rng &rng)
{
    // Half-dream: everything soft and washed with light, so the two read as
    // shapes rather than details.
    fillVertical(p, kAll, {{0, QColor(250, 250, 255)}, {1, QColor(216, 226, 244)}});
    addGlow(p, QPointF(430, 220), 360, QColor(255, 255, 255, 200));
    bokeh(p, kAll, 30, rng, QColor(200, 220, 255, 70), QColor(255, 240, 250, 70), 10, 40);
    QImage layer = spriteCanvas(W, H);
    {
        QPainter lp(&layer);
        prepare(lp);
        // Seen from the floor, some way off: she walks away into the light.
        lp.setPen(QPen(QColor(180, 196, 226, 120), 1));
        for (int k = -6; k <= 6; ++k)
            lp.drawLine(QPointF(470 + k * 8, 330), QPointF(470 + k * 140, 520));
        lp.setPen(Qt::NoPen);
        // The transfer-student body as her figure, Lio asleep across her arms:
        // her head fallen back on one side, her knees over the other arm and
        // her legs hanging down.
        const QImage carrier = drawAndroidCarrying();
        lp.drawImage(QRectF(470 - 140 * 0.9, 480 - 490 * 0.9, 280 * 0.9, 490 * 0.9), carrier);
        const LyingPose lio{QPointF(556, 300), 0.62, -8, -30, 108};
        // Her arms: one under Lio's knees, behind her legs, its hand showing
        // below them; the other hand round her far shoulder.
        const QColor edge(40, 34, 52), sleeve(30, 36, 62), skin(250, 232, 222);
        lp.setPen(QPen(edge, 18, Qt::SolidLine, Qt::RoundCap));
        lp.drawLine(QPointF(548, 332), lio.kneeHold());
        lp.setPen(QPen(sleeve, 15, Qt::SolidLine, Qt::RoundCap));
        lp.drawLine(QPointF(548, 332), lio.kneeHold());
        lyingLio(lp, lio);
        lp.setPen(QPen(edge, 1.4));
        lp.setBrush(skin);
        lp.drawEllipse(lio.kneeHold(), 10, 8);
        lp.drawEllipse(lio.shoulderHold(), 11, 8);
        lp.setPen(Qt::NoPen);
        // Backlit, but not so much that the two stop being who they are.
        lp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        lp.fillRect(kAll, QColor(190, 200, 236, 70));
    }
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        p.setOpacity(0.1);
        p.drawImage(QPointF(std::cos(a) * 6, std::sin(a) * 6), layer);
    }
    p.setOpacity(0.8);
    p.drawImage(0, 0, layer);
    p.setOpacity(1);
    addGlow(p, QPointF(470, 120), 160, QColor(255, 255, 255, 60));
    // Sorin's blurred hand reaching after them from the lower left.
    for (int i = 0; i < 8; ++i) {
        p.setBrush(QColor(40, 52, 96, 28));
        p.drawEllipse(QPointF(60 + i * 6, 470 - i * 6), 150 - i * 10, 70 - i * 5);
    }
    for (int i = 0; i < 8; ++i) {
        p.setBrush(QColor(250, 222, 205, 40));
        p.drawEllipse(QPointF(220 + i * 4, 380 - i * 4), 70 - i * 5, 44 - i * 3);
    }
}

void windowReflection(QPainter &p, Rng &rng)
{
    classroom(p, Tod::Dusk, rng, true, true);
    // A pane in front: her reflection shows stars instead of the room.
    QRectF pane(300, 40, 300, 400);
    QImage stars = canvas(W, H);
    {
        QPainter sp(&stars);
        prepare(sp);
        deepSpace(sp, rng, QColor(60, 80, 200), QColor(140, 60, 200), 260);
    }
    p.save();
    p.setOpacity(0.9);
    p.drawImage(pane, stars, inPixels(stars, pane));
    p.restore();
    p.setBrush(QColor(236, 236, 230));
    p.drawRect(QRectF(290, 30, 320, 12));
    p.drawRect(QRectF(290, 30, 12, 420));
    p.drawRect(QRectF(598, 30, 12, 420));
    fillLinear(p, pane, pane.topLeft(), pane.bottomRight(),
               {{0, QColor(255, 255, 255, 40)}, {0.3, QColor(255, 255, 255, 0)}, {1, QColor(255, 255, 255, 20)}});
    castFigure(p, "a2-1-4", QPointF(200, 560), 1.12);
    addGlow(p, QPointF(300, 250), 40, QColor(94, 240, 255, 90));
}

void skyBreaking(QPainter &p, Rng &rng)
{
    const double horizon = 330;
    nightSky(p, horizon, rng, 200);
    // Hexagonal panels lit from behind, some already gone to black.
    const double size = 44, w = size * std::sqrt(3.0), v = size * 1.5;
    int row = 0;
    for (double y = -size; y < horizon; y += v, ++row) {
        for (double x = -w + (row % 2) * w / 2; x < 720 + w; x += w) {
            QPolygonF hx;
            for (int k = 0; k < 6; ++k) {
                const double a = (60 * k + 30) * M_PI / 180;
                hx << QPointF(x + size * std::cos(a), y + size * std::sin(a));
            }
            const double d = std::hypot(x - 360, y - 80) / 500;
            const double r = rng.next();
            if (r < 0.35 * (1 - d)) {
                poly(p, hx, QColor(0, 0, 4));
                Rng s2(std::uint64_t(x * 31 + y));
                p.setBrush(QColor(255, 255, 255));
                for (int i = 0; i < 6; ++i)
                    p.drawEllipse(QPointF(x + s2.uniform(-30, 30), y + s2.uniform(-30, 30)), 0.8, 0.8);
            } else if (r < 0.7) {
                poly(p, hx, QColor(120, 200, 255, int(40 + 80 * (1 - d))));
            }
            p.save();
            p.setPen(QPen(QColor(200, 240, 255, 160), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(hx);
            p.restore();
        }
    }
    sea(p, horizon, Tod::Night, rng, 0.8);
    QPainterPath cape;
    cape.moveTo(-10, 480);
    cape.lineTo(-10, 380);
    cape.cubicTo(200, 360, 400, 380, 520, 480);
    cape.closeSubpath();
    p.setBrush(QColor(14, 20, 28));
    p.drawPath(cape);
    lighthouse(p, QPointF(130, 384), 150, Tod::Night, false);
    vignette(p, kAll, 0.4);
}

void trueSpace(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(0, 0, 2)}, {1, QColor(4, 4, 10)}});
    starfield(p, kAll, 900, rng, 1.2);
    // Torn edges of the last panels at the border.
    p.save();
    for (int i = 0; i < 10; ++i) {
        QPolygonF hx;
        const QPointF c(i < 5 ? rng.uniform(-20, 100) : rng.uniform(620, 740), rng.uniform(0, 480));
        for (int k = 0; k < 6; ++k) {
            const double a = (60 * k + 30) * M_PI / 180;
            hx << c + QPointF(40 * std::cos(a), 40 * std::sin(a));
        }
        poly(p, hx, QColor(60, 110, 170, 60));
        p.setPen(QPen(QColor(150, 220, 255, 100), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(hx);
        p.setPen(Qt::NoPen);
    }
    p.restore();
}

void shipDiagram(QPainter &p, Rng &rng)
{
    cylinderWorld(p, rng, 0.6);
    p.setBrush(QColor(0, 20, 40, 150));
    p.drawRect(kAll);
    // Cyan wireframe of the ship, the town a glowing ring inside.
    p.save();
    p.setPen(QPen(QColor(94, 240, 255, 220), 1.5));
    p.setBrush(QColor(94, 240, 255, 20));
    p.drawRoundedRect(QRectF(110, 190, 500, 100), 40, 40);
    p.setBrush(Qt::NoBrush);
    for (double x = 170; x < 600; x += 60)
        p.drawLine(QPointF(x, 190), QPointF(x, 290));
    p.drawEllipse(QRectF(280, 150, 40, 180));
    p.drawLine(QPointF(60, 240), QPointF(660, 240));
    p.setPen(QPen(QColor(94, 240, 255, 90), 1, Qt::DashLine));
    p.drawEllipse(QRectF(90, 170, 540, 140));
    p.restore();
    addGlow(p, QPointF(400, 240), 40, QColor(255, 220, 150, 200));
    p.save();
    p.setPen(QPen(QColor(255, 230, 170), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(384, 200, 32, 80));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(94, 240, 255, 180));
    for (int i = 0; i < 6; ++i)
        p.drawRect(QRectF(470, 330 + i * 12, rng.uniform(40, 140), 3));
}

void lioAsleep(QPainter &p, Rng &rng)
{
    hiddenRoom(p, rng);
    // Solvane's light standing behind the bench, watching over her.
    castFigure(p, "a2-2-7", QPointF(170, 480), 0.78, 0.9);
    // Lio as her own figure, asleep on her side along the bench with her head
    // to the left.
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QRectF(280, 314, 220, 14));
    lyingLio(p, {QPointF(404, 294), 0.27, 0, 6, 6});
    // Sorin in front, turned to them.
    fig::Mood him = mood(fig::Brow::Worried, fig::Eyes::Open, fig::Mouth::Small);
    him.look = -1;
    posed(p, CastLook::Sorin, him, QPointF(590, 570), 0.8);
    addGlow(p, QPointF(320, 330), 140, QColor(94, 240, 255, 40));
}

void watcherAtWindow(QPainter &p, Rng &rng, bool driven)
{
    hiddenRoom(p, rng);
    const QPointF wc(360, 230 - 400 * 0.3 / 5.0);
    if (!driven) {
        watcher(p, wc + QPointF(4, 6), 40, QColor(255, 40, 50));
        addGlow(p, wc, 160, QColor(255, 40, 40, 90));
    } else {
        watcher(p, wc + QPointF(10, 50), 14, QColor(255, 40, 50));
        // Light spreading like wings over the window.
        for (int side = -1; side <= 1; side += 2)
            for (int k = 0; k < 7; ++k) {
                p.save();
                p.translate(wc);
                p.rotate(side * (20 + k * 14));
                QLinearGradient g(0, 0, side * 260, 0);
                g.setColorAt(0, QColor(200, 250, 255, 200));
                g.setColorAt(1, QColor(94, 240, 255, 0));
                p.setBrush(g);
                p.drawEllipse(QRectF(side > 0 ? 0 : -260, -10, 260, 20));
                p.restore();
            }
        addGlow(p, wc, 200, QColor(150, 240, 255, 120));
    }
}

void navTableRoute(QPainter &p, Rng &rng, int step)
{
    navRoom(p, rng, true);
    // The hologram above the table.
    QRectF holo(160, 40, 400, 260);
    p.setOpacity(0.95);
    if (step == 1) {
        Rng r2(55);
        for (int i = 0; i < 140; ++i) {
            p.setBrush(QColor(180, 250, 255, r2.range(60, 220)));
            p.drawEllipse(QPointF(r2.uniform(holo.left(), holo.right()), r2.uniform(holo.top(), holo.bottom())), 1, 1);
        }
        p.save();
        p.setPen(QPen(QColor(94, 240, 255), 2));
        QPainterPath route;
        route.moveTo(190, 250);
        route.cubicTo(260, 120, 420, 260, 530, 80);
        p.setBrush(Qt::NoBrush);
        p.drawPath(route);
        p.restore();
        glow(p, QPointF(190, 250), 20, QColor(120, 180, 255, 220));
        glow(p, QPointF(530, 80), 16, QColor(150, 255, 200, 220));
    } else if (step == 2) {
        glow(p, QPointF(360, 170), 60, QColor(255, 230, 140, 230));
        p.setBrush(QColor(255, 240, 180));
        p.drawEllipse(QPointF(360, 170), 14, 14);
        p.save();
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 5; ++i) {
            p.setPen(QPen(QColor(94, 240, 255, 140), 1));
            p.drawEllipse(QPointF(360, 170), 30.0 * i, 10.0 * i);
            const double a = i * 1.3;
            p.setPen(Qt::NoPen);
            p.setBrush(i == 3 ? QColor(90, 200, 170) : QColor(160, 200, 255));
            p.drawEllipse(QPointF(360 + std::cos(a) * 30 * i, 170 + std::sin(a) * 10 * i), 2 + i * 0.6, 2 + i * 0.6);
            p.setBrush(Qt::NoBrush);
        }
        p.restore();
    } else {
        planet(p, QPointF(360, 170), 90, QColor(40, 130, 150), QColor(150, 240, 220), QPointF(-0.6, -0.6), false, rng);
        p.setBrush(QColor(200, 200, 210));
        p.drawEllipse(QPointF(490, 110), 9, 9);
        p.drawEllipse(QPointF(220, 240), 6, 6);
        if (step == 4) {
            p.save();
            p.setPen(QPen(QColor(94, 240, 255, 200), 1.2, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(360, 170), 130, 40);
            p.restore();
            glow(p, QPointF(490, 160), 14, QColor(255, 255, 255, 240));
            // Counter: eleven tick marks lit, and the words the story reads beside the marker.
            for (int k = 0; k < 11; ++k) {
                p.setBrush(QColor(94, 240, 255, 220));
                p.drawRect(QRectF(250 + k * 20, 280, 12, 6));
            }
            drawLabel(p, QRectF(506, 142, 120, 20), QStringLiteral("停泊 · 11年"), 14, QColor(200, 250, 255), true,
                      Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    p.setOpacity(1);
}

void qinganWindow(QPainter &p, Rng &rng)
{
    deepSpace(p, rng, QColor(40, 80, 160), QColor(60, 140, 170), 300);
    planet(p, QPointF(360, 520), 380, QColor(40, 120, 160), QColor(170, 250, 230), QPointF(0.0, -1.0), false, rng);
    addGlow(p, QPointF(560, 170), 140, QColor(255, 236, 200, 200));
    addGlow(p, QPointF(560, 170), 40, QColor(255, 255, 240, 255));
    // Window frame and the three from behind.
    p.setBrush(QColor(20, 24, 34));
    QPainterPath frame;
    frame.addRect(kAll);
    frame.addEllipse(QPointF(360, 220), 320, 210);
    frame.setFillRule(Qt::OddEvenFill);
    p.drawPath(frame);
    // The three side by side at the window, seen from behind.
    fig::Mood behind;
    behind.back = true;
    posed(p, CastLook::Sorin, behind, QPointF(250, 540), 0.66);
    posed(p, CastLook::Lio, behind, QPointF(360, 548), 0.62);
    posed(p, CastLook::TavielHome, behind, QPointF(470, 540), 0.66);
    vignette(p, kAll, 0.4);
}

void liftDoor(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(40, 34, 36)}, {1, QColor(20, 18, 22)}});
    // Old stone walls of the basement.
    for (int y = 0; y < 480; y += 30)
        for (int x = -(y / 30 % 2) * 30; x < 720; x += 60) {
            p.setBrush(QColor::fromHsv(20, 30, rng.range(50, 70)));
            p.drawRect(QRectF(x + 1, y + 1, 58, 28));
        }
    // The lift door opening in blue light.
    QRectF door(440, 70, 190, 320);
    p.setBrush(QColor(140, 220, 255));
    p.drawRect(door);
    addGlow(p, door.center(), 280, QColor(94, 200, 255, 150));
    lightShaft(p, QPointF(535, 390), 190, QPointF(480, 480), 560, QColor(120, 210, 255, 100));
    p.setBrush(QColor(70, 80, 96));
    p.drawRect(QRectF(440, 70, 56, 320));
    p.drawRect(QRectF(574, 70, 56, 320));
    // The two in front of it, the blue light on them: Lio close at Sorin's
    // side, her hand out to his sleeve.
    QImage pair = spriteCanvas(W, H);
    {
        QPainter fp(&pair);
        prepare(fp);
        using namespace fig;
        Mood him = mood(Brow::Neutral, Eyes::Open, Mouth::Neutral);
        him.look = 0.8;
        posed(fp, CastLook::Sorin, him, QPointF(310, 500), 0.95);
        Mood her = mood(Brow::Worried, Eyes::Open, Mouth::Wavy, Arm::Chest, Arm::Offer);
        her.look = 0.8;
        her.blush = 0.3;
        posed(fp, CastLook::Lio, her, QPointF(150, 505), 0.9);
        // Lit from the door on their right.
        fp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        QLinearGradient light(QPointF(0, 0), QPointF(W, 0));
        light.setColorAt(0, QColor(20, 30, 60, 70));
        light.setColorAt(1, QColor(120, 210, 255, 110));
        fp.fillRect(kAll, light);
    }
    p.drawImage(0, 0, pair);
    vignette(p, kAll, 0.45);
}

void axisView(QPainter &p, Rng &rng)
{
    cylinderWorld(p, rng, 0.0);
    // The sky tube running through the middle: a band of light.
    fillVertical(p, QRectF(0, 200, W, 80), {{0, QColor(255, 255, 255, 0)}, {0.5, QColor(255, 250, 230, 140)}, {1, QColor(255, 255, 255, 0)}});
    // Lift cabin's window frame.
    p.setBrush(QColor(40, 46, 60));
    QPainterPath frame;
    frame.addRect(kAll);
    frame.addRoundedRect(QRectF(30, 30, 660, 420), 40, 40);
    frame.setFillRule(Qt::OddEvenFill);
    p.drawPath(frame);
    vignette(p, kAll, 0.3);
}

void zeroG(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(20, 30, 60)}, {1, QColor(40, 50, 90)}});
    bokeh(p, kAll, 60, rng, QColor(255, 220, 150, 120), QColor(150, 220, 255, 120), 4, 22);
    p.save();
    p.translate(440, 250);
    p.rotate(-18);
    castFigure(p, "a1-10", QPointF(0, 240), 0.95);
    p.restore();
    // Sorin's hand reaching for hers from below.
    Look s = lookSorin();
    p.save();
    p.setPen(QPen(QColor(20, 20, 36), 52, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(60, 520), QPointF(250, 330));
    p.setPen(QPen(s.top, 48, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(60, 520), QPointF(250, 330));
    p.restore();
    p.setBrush(s.skin);
    p.setPen(QPen(QColor(44, 36, 54), 2));
    p.drawEllipse(QPointF(276, 306), 26, 20);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const QPointF at(rng.uniform(0, 720), rng.uniform(0, 480));
        addGlow(p, at, rng.uniform(4, 10), QColor(255, 240, 200, 160));
    }
}

void memorial(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(30, 36, 48)}, {1, QColor(16, 18, 24)}});
    // Long curved wall engraved with names: rows of fine marks.
    QPainterPath wall;
    wall.moveTo(-10, 60);
    wall.quadTo(360, 160, 730, 60);
    wall.lineTo(730, 380);
    wall.quadTo(360, 330, -10, 380);
    wall.closeSubpath();
    QLinearGradient wg(0, 0, 720, 0);
    wg.setColorAt(0, QColor(90, 96, 110));
    wg.setColorAt(0.5, QColor(150, 156, 168));
    wg.setColorAt(1, QColor(80, 86, 100));
    p.setBrush(wg);
    p.drawPath(wall);
    p.save();
    p.setClipPath(wall);
    for (int row = 0; row < 40; ++row) {
        for (double x = 0; x < 720; x += 14) {
            const double bend = 100 * (1 - std::pow((x - 360) / 360, 2));
            const double y = 70 + bend * 0.5 + row * 7.6 - bend * row / 60;
            p.setBrush(QColor(50, 54, 66, 150));
            p.drawRect(QRectF(x + rng.uniform(0, 2), y, rng.uniform(6, 11), 2));
        }
    }
    p.restore();
    lightShaft(p, QPointF(360, -10), 60, QPointF(360, 400), 500, QColor(200, 220, 255, 50));
    fillVertical(p, QRectF(0, 370, W, 110), {{0, QColor(40, 44, 54)}, {1, QColor(20, 22, 30)}});
    // Dried flowers at the foot of the wall.
    for (int k = 0; k < 4; ++k) {
        const QPointF b(240 + k * 70 + rng.uniform(-10, 10), 372);
        p.save();
        p.setPen(QPen(QColor(120, 110, 70), 1.5));
        for (int s = 0; s < 4; ++s)
            p.drawLine(b, b + QPointF(rng.uniform(-14, 14), -rng.uniform(20, 34)));
        p.restore();
        for (int s = 0; s < 4; ++s) {
            p.setBrush(QColor(150, 100, 90));
            p.drawEllipse(b + QPointF(rng.uniform(-14, 14), -rng.uniform(22, 36)), 4, 3);
        }
    }
    vignette(p, kAll, 0.5);
}

void abandonedDeck(QPainter &p, Rng &rng)
{
    shipCorridor(p, QColor(120, 130, 140), rng);
    p.setBrush(QColor(40, 36, 30, 90));
    p.drawRect(kAll);
    // Broken light strips: a few flickering, dust in the air.
    addGlow(p, QPointF(250, 120), 50, QColor(255, 230, 180, 80));
    for (int i = 0; i < 150; ++i) {
        p.setBrush(QColor(220, 210, 190, rng.range(20, 90)));
        p.drawEllipse(QPointF(rng.uniform(0, 720), rng.uniform(0, 480)), 0.8, 0.8);
    }
    fillVertical(p, QRectF(0, 380, W, 100), {{0, QColor(120, 110, 96, 0)}, {1, QColor(120, 110, 96, 90)}});
    // A child's shoe in the far left corner, above the text box and in a pool of
    // the one light still working, so the line that points at it can be believed.
    const QPointF at(292, 346);
    QRadialGradient pool(at + QPointF(0, 4), 70);
    pool.setColorAt(0, QColor(255, 226, 180, 90));
    pool.setColorAt(1, QColor(255, 226, 180, 0));
    p.save();
    p.setBrush(pool);
    p.drawEllipse(at + QPointF(0, 4), 80, 22);
    p.restore();
    lightShaft(p, QPointF(250, 120), 18, at, 80, QColor(255, 230, 190, 40));
    p.save();
    p.translate(at);
    p.rotate(-8);
    p.scale(0.85, 0.85);
    p.setBrush(QColor(30, 26, 22, 110));
    p.drawEllipse(QPointF(2, 9), 30, 5);
    QPainterPath shoe;
    shoe.moveTo(-26, 6);
    shoe.cubicTo(-28, -8, -20, -14, -10, -13);
    shoe.lineTo(2, -12);
    shoe.cubicTo(10, -6, 18, -4, 24, -1);
    shoe.cubicTo(30, 1, 30, 7, 26, 8);
    shoe.lineTo(-24, 8);
    shoe.closeSubpath();
    p.setBrush(QColor(226, 96, 112));
    p.drawPath(shoe);
    p.setBrush(QColor(246, 240, 228));
    p.drawRoundedRect(QRectF(-27, 5, 56, 5), 2, 2);
    // The opening and a strap with its button.
    p.setBrush(QColor(120, 40, 52));
    p.drawEllipse(QPointF(-14, -11), 9, 3);
    p.setBrush(QColor(246, 240, 228));
    p.drawRoundedRect(QRectF(-6, -11, 5, 15), 2, 2);
    p.setBrush(QColor(250, 210, 90));
    p.drawEllipse(QPointF(-3.5, 1), 2.2, 2.2);
    // Dust on the toe.
    p.setBrush(QColor(200, 190, 170, 70));
    p.drawEllipse(QPointF(14, -4), 10, 4);
    p.restore();
}

void coreGate(QPainter &p, Rng &rng, bool sitting, int lit = 0)
{
    gateHall(p, rng, sitting ? 150 : 200, QPointF(360, sitting ? 180 : 220), lit);
    if (lit == 3)
        addGlow(p, QPointF(360, 220), 240, QColor(180, 250, 255, 70));
    if (!sitting) {
        // The lock: rows of glyph-like marks floating in the centre.
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 6; ++k) {
                p.setBrush(QColor(200, 250, 255, lit == 3 ? 255 : 200));
                p.drawRect(QRectF(300 + k * 20, 190 + r * 16, 12, 3));
                p.drawRect(QRectF(305 + k * 20, 186 + r * 16, 3, 10));
            }
    } else {
        // Back to back on the steps: Sorin facing the gate, Lio facing us, eyes
        // closed, the rings' light on them.
        QImage pair = spriteCanvas(W, H);
        {
            QPainter fp(&pair);
            prepare(fp);
            using namespace fig;
            Mood him;
            him.back = true;
            posed(fp, CastLook::Sorin, him, QPointF(300, 560), 1.05);
            Mood her = mood(Brow::Sad, Eyes::Closed, Mouth::Small, Arm::Hug, Arm::Hug);
            her.tilt = -6;
            her.blush = 0.4;
            posed(fp, CastLook::Lio, her, QPointF(420, 570), 1.0);
            fp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            fp.fillRect(kAll, QColor(94, 240, 255, 36));
        }
        p.drawImage(0, 0, pair);
        addGlow(p, QPointF(360, 120), 160, QColor(94, 240, 255, 50));
    }
}

void protocolSphere(QPainter &p, Rng &rng, bool hand)
{
    fillVertical(p, kAll, {{0, QColor(4, 2, 6)}, {1, QColor(14, 4, 8)}});
    const QPointF c(360, 230);
    addGlow(p, c, 280, QColor(200, 20, 30, 80));
    QRadialGradient g(c + QPointF(-40, -50), 200);
    g.setColorAt(0, QColor(50, 30, 40));
    g.setColorAt(1, QColor(6, 2, 6));
    p.setBrush(g);
    p.drawEllipse(c, 170, 170);
    p.save();
    QPainterPath clip;
    clip.addEllipse(c, 170, 170);
    p.setClipPath(clip);
    redVeins(p, c, rng, 26, 200);
    p.restore();
    glow(p, c, 40, QColor(255, 240, 200, 220));
    p.setBrush(QColor(255, 250, 230));
    p.drawRoundedRect(QRectF(c.x() - 4, c.y() - 16, 8, 26), 3, 3);
    p.drawEllipse(c + QPointF(0, -18), 8, 8);
    if (hand) {
        Look s = lookSorin();
        p.save();
        p.setPen(QPen(s.top, 60, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(760, 520), QPointF(470, 300));
        p.restore();
        p.setBrush(s.skin);
        p.drawEllipse(QPointF(430, 272), 34, 28);
        p.save();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 80, 70, 220), 1.6));
        for (int k = 0; k < 14; ++k) {
            const double a = rng.uniform(0, 2 * M_PI);
            QPointF at(430, 272);
            QPainterPath crack;
            crack.moveTo(at);
            for (int s2 = 0; s2 < 5; ++s2) {
                at += QPointF(std::cos(a + rng.uniform(-0.6, 0.6)) * 14, std::sin(a + rng.uniform(-0.6, 0.6)) * 14);
                crack.lineTo(at);
            }
            p.drawPath(crack);
        }
        p.restore();
        addGlow(p, QPointF(430, 272), 90, QColor(255, 60, 50, 120));
    }
    vignette(p, kAll, 0.5);
}

void spineBattle(QPainter &p, Rng &rng)
{
    spine(p, rng, 60, QColor(255, 40, 50), false, QColor(150, 220, 255));
    {
        using namespace fig;
        Mood him = mood(Brow::Angry, Eyes::Open, Mouth::Neutral, Arm::Fist, Arm::Fist);
        him.look = -0.6;
        posed(p, CastLook::Sorin, him, QPointF(230, 560), 1.1);
        Mood her = mood(Brow::Angry, Eyes::Open, Mouth::Neutral, Arm::Fist, Arm::Fist);
        her.look = 0.6;
        posed(p, CastLook::Lio, her, QPointF(500, 565), 1.05);
    }
    // The two blasters glowing: his blue, hers magenta.
    addGlow(p, QPointF(120, 360), 80, QColor(70, 108, 240, 220));
    p.setBrush(QColor(200, 220, 255));
    p.drawRoundedRect(QRectF(100, 350, 40, 14), 3, 3);
    addGlow(p, QPointF(630, 380), 80, QColor(255, 25, 252, 220));
    p.setBrush(QColor(255, 200, 250));
    p.drawRoundedRect(QRectF(612, 372, 40, 14), 3, 3);
}

void observationNook(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(30, 36, 52)}, {1, QColor(16, 20, 30)}});
    // Small window with the planet.
    const QRectF win(380, 60, 260, 200);
    p.setBrush(QColor(60, 70, 90));
    p.drawRoundedRect(win.adjusted(-12, -12, 12, 12), 30, 30);
    p.save();
    QPainterPath wp;
    wp.addRoundedRect(win, 24, 24);
    p.setClipPath(wp);
    fillVertical(p, win, {{0, QColor(4, 6, 16)}, {1, QColor(10, 14, 30)}});
    starfield(p, win, 80, rng, 1.2);
    planet(p, QPointF(560, 250), 130, QColor(40, 120, 160), QColor(170, 250, 230), QPointF(-0.7, -0.6), false, rng);
    p.restore();
    addGlow(p, win.center() + QPointF(-60, 140), 260, QColor(140, 230, 255, 30));
    // Close on the two: Sorin's shoulder at the left edge, Lio leaning on it.
    castFigure(p, "a1-8", QPointF(400, 600), 1.2);
    QPainterPath shoulder;
    shoulder.moveTo(-10, 480);
    shoulder.lineTo(-10, 250);
    shoulder.cubicTo(60, 236, 150, 250, 200, 300);
    shoulder.cubicTo(230, 340, 240, 420, 236, 480);
    shoulder.closeSubpath();
    QLinearGradient sg(0, 240, 240, 480);
    sg.setColorAt(0, QColor(52, 64, 110));
    sg.setColorAt(1, QColor(26, 32, 60));
    p.setBrush(sg);
    p.setPen(QPen(QColor(20, 20, 36), 2));
    p.drawPath(shoulder);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 108, 240));
    p.drawRoundedRect(QRectF(-10, 236, 150, 40), 16, 16);
    vignette(p, kAll, 0.5);
}

void bridgeScene(QPainter &p, Rng &rng, int step)
{
    shipBridge(p, rng, QColor(40, 130, 160));
    if (step == 3) {
        // Lights going out from the edges inwards.
        fillLinear(p, kAll, QPointF(0, 0), QPointF(360, 0), {{0, QColor(0, 0, 0, 220)}, {1, QColor(0, 0, 0, 60)}});
        fillLinear(p, kAll, QPointF(720, 0), QPointF(360, 0), {{0, QColor(0, 0, 0, 220)}, {1, QColor(0, 0, 0, 60)}});
        castFigure(p, "a2-2-9", QPointF(480, 430), 0.62, 0.45);
        return;
    }
    if (step == 2) {
        fig::Mood her = mood(fig::Brow::Sad, fig::Eyes::Open, fig::Mouth::Small, fig::Arm::Down,
                             fig::Arm::Offer);
        her.glow = QColor(110, 236, 255);
        her.particles = 0.4;
        her.look = -0.5;
        posed(p, CastLook::Hologram, her, QPointF(470, 440), 0.64);
    } else
        castFigure(p, "a2-2-6", QPointF(490, 430), 0.62);
    if (step == 2) {
        for (int i = 0; i < 14; ++i) {
            p.save();
            p.setPen(QPen(QColor(94, 240, 255, 160), 1.4));
            const double y = 350 + rng.uniform(-20, 20);
            p.drawLine(QPointF(480, 360), QPointF(rng.uniform(0, 720), y + rng.uniform(-10, 40)));
            p.restore();
        }
        addGlow(p, QPointF(485, 360), 90, QColor(94, 240, 255, 160));
    } else {
        // Sorin and Lio in front on the left, turned towards her.
        fig::Mood him = mood(fig::Brow::Worried, fig::Eyes::Open, fig::Mouth::Neutral);
        him.look = 1;
        posed(p, CastLook::Sorin, him, QPointF(110, 570), 0.8);
        fig::Mood her = mood(fig::Brow::Worried, fig::Eyes::Open, fig::Mouth::Frown, fig::Arm::Fist,
                             fig::Arm::Fist);
        her.look = 1;
        posed(p, CastLook::Lio, her, QPointF(265, 575), 0.74);
    }
}

// The first captain's recording: her figure close up, projected in cyan.
void captainRecording(QPainter &p, Rng &rng, bool reaching)
{
    if (reaching) {
        deepSpace(p, rng, QColor(40, 80, 160), QColor(60, 140, 170), 200);
        planet(p, QPointF(560, 400), 260, QColor(40, 120, 160), QColor(170, 250, 230), QPointF(-0.5, -0.8), false, rng);
    } else {
        fillVertical(p, kAll, {{0, QColor(6, 8, 14)}, {1, QColor(12, 14, 22)}});
    }
    // Projected image: cyan-tinted, with scan lines.
    QImage rec = spriteCanvas(W, H);
    {
        QPainter rp(&rec);
        prepare(rp);
        // Her bust, close, drawn as the same person as in the ship's history.
        using namespace fig;
        Mood her = mood(Brow::Sad, Eyes::Half, Mouth::Smile, Arm::Down,
                        reaching ? Arm::Offer : Arm::Down);
        posed(rp, CastLook::Captain, her, QPointF(reaching ? 300 : 360, 790), 1.7);
        rp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        rp.fillRect(kAll, QColor(120, 220, 255, 70));
        rp.setPen(QPen(QColor(0, 0, 0, 40), 1));
        for (int y = 0; y < H; y += 3)
            rp.drawLine(0, y, W, y);
    }
    addGlow(p, QPointF(360, 250), 300, QColor(94, 220, 255, 60));
    p.setOpacity(0.92);
    p.drawImage(0, 0, rec);
    p.setOpacity(1);
    lightShaft(p, QPointF(360, 490), 40, QPointF(360, 0), 500, QColor(150, 230, 255, 30));
    vignette(p, kAll, 0.5);
}

void newLight(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(2, 4, 10)}, {1, QColor(6, 8, 18)}});
    const QPointF c(360, 250);
    // Reflections in the dark hall that look like stars.
    for (int i = 0; i < 260; ++i) {
        const double a = rng.uniform(0, 2 * M_PI), r = 40 + std::pow(rng.next(), 0.6) * 400;
        const QPointF at = c + QPointF(std::cos(a) * r * 1.3, std::sin(a) * r * 0.8);
        p.setBrush(QColor(200, 240, 255, rng.range(40, 200)));
        const double s = rng.uniform(0.5, 1.5);
        p.drawEllipse(at, s, s);
    }
    addGlow(p, c, 160, QColor(120, 230, 255, 90));
    addGlow(p, c, 50, QColor(230, 255, 255, 230));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(c, 7, 7);
    p.save();
    p.setPen(QPen(QColor(200, 250, 255, 180), 1));
    p.drawLine(c - QPointF(40, 0), c + QPointF(40, 0));
    p.drawLine(c - QPointF(0, 40), c + QPointF(0, 40));
    p.restore();
}

void skyOpens(QPainter &p, Rng &rng)
{
    const double horizon = 300;
    fillVertical(p, QRectF(0, 0, W, horizon), {{0, QColor(10, 20, 50)}, {1, QColor(90, 150, 200)}});
    starfield(p, QRectF(0, 0, W, 160), 120, rng, 1.4);
    planet(p, QPointF(430, 120), 250, QColor(40, 130, 160), QColor(180, 250, 230), QPointF(-0.4, 0.7), false, rng);
    // Edges of the opened sky panels.
    hexSeams(p, QRectF(0, 0, 140, 300), 40, QColor(200, 240, 255, 60));
    townHill(p, QRectF(-20, 270, 760, 90), Tod::Dusk, rng, 3);
    fillVertical(p, QRectF(0, 360, W, 120), {{0, QColor(120, 100, 100)}, {1, QColor(70, 60, 70)}});
    // People in the street looking up.
    for (int i = 0; i < 14; ++i) {
        const double x = 30 + i * 38 + rng.uniform(-14, 14);
        Look l;
        l.hair = QColor::fromHsv(rng.range(10, 40), 80, rng.range(40, 120));
        l.top = QColor::fromHsv(rng.range(0, 359), 90, 180);
        l.bottom = QColor::fromHsv(rng.range(200, 240), 60, 90);
        const double y = 380 + (i * 37 % 90);
        person(p, QPointF(x, y), 50 + (y - 380) * 0.6, l, Pose::Back, 1);
    }
    // Taviel on the school roof with her notebook.
    p.setBrush(QColor(230, 220, 210));
    p.drawRect(QRectF(560, 250, 170, 100));
    p.setBrush(QColor(200, 190, 180));
    p.drawRect(QRectF(560, 246, 170, 6));
    {
        // Behind the parapet, in uniform, the open notebook held up.
        fig::Mood her = mood(fig::Brow::Raised, fig::Eyes::Open, fig::Mouth::Smile, fig::Arm::Hold,
                             fig::Arm::Hold);
        her.prop = fig::Prop::BookOpenUp;
        p.save();
        p.setClipRect(QRectF(0, 0, W, 247));
        posed(p, CastLook::Taviel, her, QPointF(640, 271), 0.22);
        p.restore();
    }
    timeWash(p, Tod::Morning);
}

// Ending backgrounds.
void hollowMorning(QPainter &p, Rng &rng)
{
    const double horizon = 230;
    sky(p, QRectF(0, 0, W, horizon + 2), Tod::Day, rng, QPointF(560, 70));
    clouds(p, QRectF(0, 20, W, 150), Tod::Day, rng, 5);
    sea(p, horizon, Tod::Day, rng, 1.6);
    capeLeft(p, horizon + 4, Tod::Day, 120, 110);
    QPainterPath hill;
    hill.moveTo(-10, 480);
    hill.lineTo(-10, 330);
    hill.cubicTo(240, 290, 500, 300, 730, 340);
    hill.lineTo(730, 480);
    hill.closeSubpath();
    p.setBrush(QColor(120, 176, 104));
    p.drawPath(hill);
    townHill(p, QRectF(0, 320, W, 110), Tod::Day, rng, 3);
    // Grass and a few trees on the hill in front.
    fillVertical(p, QRectF(0, 420, W, 60), {{0, QColor(110, 170, 96, 0)}, {0.4, QColor(110, 170, 96)}, {1, QColor(90, 150, 84)}});
    for (int i = 0; i < 5; ++i) {
        const QPointF t(30 + i * 160 + rng.uniform(-30, 30), 440 + rng.uniform(0, 20));
        p.setBrush(QColor(80, 70, 60));
        p.drawRect(QRectF(t.x() - 3, t.y() - 30, 6, 30));
        p.setBrush(QColor(90, 150, 90));
        p.drawEllipse(t + QPointF(0, -44), 26, 22);
        p.setBrush(QColor(120, 180, 110));
        p.drawEllipse(t + QPointF(-6, -50), 14, 11);
    }
    // Faintly too perfect: a barely-there grid in the sky.
    hexSeams(p, QRectF(0, 0, W, horizon), 60, QColor(255, 255, 255, 10));
    vignette(p, kAll, 0.25);
}

void whiteReset(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(255, 255, 255)}, {0.6, QColor(236, 238, 244)}, {1, QColor(200, 200, 210)}});
    hexSeams(p, QRectF(0, 0, W, 260), 50, QColor(200, 210, 230, 90));
    // Square with a fountain and frozen people looking up.
    fillVertical(p, QRectF(0, 330, W, 150), {{0, QColor(200, 196, 196)}, {1, QColor(160, 156, 160)}});
    p.setBrush(QColor(220, 214, 210));
    p.drawRect(QRectF(-10, 200, 200, 130));
    p.drawRect(QRectF(540, 210, 190, 120));
    p.setBrush(QColor(180, 170, 170));
    p.drawEllipse(QPointF(360, 360), 90, 20);
    for (int i = 0; i < 16; ++i) {
        const double x = rng.uniform(20, 700);
        const double y = 370 + rng.uniform(0, 100);
        silhouette(p, QPointF(x, y), 60 + (y - 370) * 0.6, QColor(110, 110, 130, 200), Pose::Back, rng.range(0, 4));
    }
    fillVertical(p, kAll, {{0, QColor(255, 255, 255, 160)}, {1, QColor(255, 255, 255, 30)}});
}

void tornPage(QPainter &p, Rng &rng)
{
    classroom(p, Tod::Dusk, rng, true, true);
    // A torn-out page on a desk in the middle row, above the text box's top (y 377).
    const QPointF at(352, 318);
    p.save();
    p.translate(at);
    p.scale(1.3, 1.3);
    p.rotate(-10);
    QPainterPath page;
    page.moveTo(-40, -26);
    page.lineTo(40, -26);
    page.lineTo(40, 26);
    for (int k = 0; k <= 8; ++k)
        page.lineTo(40 - k * 10, 26 + ((k % 2) ? 3 : -2));
    page.closeSubpath();
    p.setBrush(QColor(248, 240, 220));
    p.drawPath(page);
    p.setBrush(QColor(40, 60, 130));
    Rng same(4242);
    for (int s = 0; s < 8; ++s)
        p.drawEllipse(QPointF(same.uniform(-32, 32), same.uniform(-20, 20)), 1.5, 1.5);
    p.restore();
    addGlow(p, at, 80, QColor(255, 200, 140, 80));
}

void keeperSeat(QPainter &p, Rng &rng)
{
    coreHall(p, rng, true, QColor(94, 240, 255));
    // The protocol's black sphere opened around him like a shell, its veins on the inside.
    const QPointF c(360, 240);
    QRadialGradient shell(c, 150);
    shell.setColorAt(0, QColor(20, 6, 12, 60));
    shell.setColorAt(0.75, QColor(14, 4, 8, 170));
    shell.setColorAt(1, QColor(6, 2, 6, 235));
    p.setBrush(shell);
    p.drawEllipse(c, 150, 150);
    {
        // Sorin seated inside, as the players know him, the light gone from his eyes.
        using namespace fig;
        Mood him = mood(Brow::Sad, Eyes::Half, Mouth::Neutral);
        p.save();
        QPainterPath inside;
        inside.addEllipse(c, 146, 146);
        p.setClipPath(inside);
        posed(p, CastLook::Sorin, him, QPointF(360, 400), 0.62);
        p.restore();
    }
    redVeins(p, c, rng, 14, 260);
    // Lio's hand, magenta sleeve and all, reaching in from the right edge.
    const Look lio = lookLio();
    p.save();
    p.setPen(QPen(lio.top, 34, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(760, 360), QPointF(560, 290));
    p.restore();
    p.setBrush(lio.skin);
    p.drawEllipse(QPointF(540, 284), 20, 15);
}

void monitorView(QPainter &p, Rng &rng, int which)
{
    QImage view = canvas(W, H);
    {
        QPainter vp(&view);
        prepare(vp);
        Rng r2(rng.range(0, 1 << 30));
        if (which == 5) {
            sky(vp, kAll, Tod::Night, r2, QPointF(600, 60));
            shoppingStreet(vp, r2);
            for (int i = 0; i < 8; ++i) {
                Look kid;
                kid.top = QColor::fromHsv(r2.range(0, 359), 120, 220);
                kid.hair = QColor(50, 40, 40);
                const double y = 380 + (i * 53 % 90);
                person(vp, QPointF(100 + i * 75 + r2.uniform(-20, 20), y), 50 + (y - 380) * 0.7, kid, Pose::Run, i % 2 ? 1 : -1);
            }
        } else if (which == 6) {
            coastalRoad(vp, r2, Tod::Dusk);
            // Lio grown up, her hair down as in the epilogue, looking out to sea.
            fig::Mood her = mood(fig::Brow::Sad, fig::Eyes::Open, fig::Mouth::Small);
            her.look = -1;
            her.tilt = -3;
            posed(vp, CastLook::LioGrown, her, QPointF(470, 560), 0.85);
        } else if (which == 7) {
            atticRoom(vp, r2, false);
            // Taviel grown old: the same glasses and notebook, her hair white.
            fig::Look old = castLook(CastLook::TavielHome);
            old.hair = QColor(224, 226, 232);
            old.older = true;
            fig::Mood her = mood(fig::Brow::Sad, fig::Eyes::Half, fig::Mouth::Smile,
                                 fig::Arm::Hold, fig::Arm::Hold);
            her.prop = fig::Prop::BookChest;
            her.look = 0.6;
            placeFigure(vp, fig::paintFigure(old, her), QPointF(470, 560), 0.85);
        } else {
            capeAtNight(vp, r2, true);
            vp.fillRect(kAll, QColor(255, 220, 160, 60));
            for (int i = 0; i < 5; ++i) {
                Look kid;
                kid.top = QColor::fromHsv(r2.range(0, 359), 120, 200);
                const double y = 350 + (i * 41 % 60);
                person(vp, QPointF(380 + i * 60 + r2.uniform(-20, 20), y), 40 + (y - 350) * 0.6, kid, Pose::Run, i % 2 ? 1 : -1);
            }
        }
    }
    monitorFrame(p, view, rng);
}

void darkEyes(QPainter &p, Rng &rng)
{
    fillVertical(p, kAll, {{0, QColor(2, 2, 4)}, {1, QColor(8, 2, 4)}});
    QList<std::pair<double, QPointF>> eyes;
    for (int i = 0; i < 120; ++i) {
        const double d = rng.next();
        const double a = rng.uniform(0, 2 * M_PI);
        const double r = (1 - d) * 420 + 60;
        eyes.append({d, QPointF(360 + std::cos(a) * r, 240 + std::sin(a) * r * 0.7)});
    }
    std::sort(eyes.begin(), eyes.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &e : eyes) {
        const double s = 2 + e.first * 7;
        glow(p, e.second, s * 4, QColor(255, 30, 40, 90));
        p.setBrush(QColor(255, 60, 60));
        p.drawEllipse(e.second, s, s * 0.8);
    }
    fillLinear(p, kAll, QPointF(360, 240), QPointF(360, 0), {{0, QColor(0, 0, 0, 160)}, {1, QColor(0, 0, 0, 0)}});
    vignette(p, kAll, 0.8);
}

Painter painterFor(const QString &name)
{
    static const QHash<QString, Painter> table = {
        {"ib", titleBackground},
        {"b", pageBackground},
        {"b1", [](QPainter &p, Rng &r) { bedroom(p, Tod::Morning, r, true); }},
        {"b2", [](QPainter &p, Rng &r) { classroom(p, Tod::Day, r, true, true); }},
        {"b3", [](QPainter &p, Rng &r) { coastalRoad(p, r, Tod::Day); }},
        {"b4", [](QPainter &p, Rng &r) { atticRoom(p, r, false); }},
        {"b5", embankment},
        {"b6", library},
        {"b7", schoolGate},
        {"b8", shoppingStreet},
        {"b9", [](QPainter &p, Rng &r) { capeAtNight(p, r, false); }},
        {"b10", [](QPainter &p, Rng &r) { lampRoom(p, r, false); }},
        {"b11", hiddenRoom},
        {"b12", gallery},
        {"b13", [](QPainter &p, Rng &r) { navRoom(p, r, false); }},
        {"b14", townStreetMorning},
        {"b15-1", [](QPainter &p, Rng &r) { coreHall(p, r, false, QColor(94, 240, 255)); }},
        {"b15-2", memoryCorridor},
        {"b15-3", archive},
        {"b15-4", innerChamber},
        {"b16", capsuleRoom},
        {"b17", [](QPainter &p, Rng &r) { gateHall(p, r, 70, QPointF(360, 190)); }},
        {"b18", passageEnd},
        {"b19", bridgeGate},
        {"b20-1", [](QPainter &p, Rng &r) { coreGate(p, r, false, 1); }},
        {"b20-2", [](QPainter &p, Rng &r) { coreGate(p, r, false, 2); }},
        {"b20-3", [](QPainter &p, Rng &r) { coreGate(p, r, false, 3); }},
        {"cg1-1", [](QPainter &p, Rng &r) { seamSky(p, r, false); }},
        {"cg1-2", [](QPainter &p, Rng &r) { seamSky(p, r, true); }},
        {"cg2", geographyClass},
        {"cg3", rooftopLunch},
        {"cg4", notebookPages},
        {"cg5", telescopeWindow},
        {"cg6", nightHarbour},
        {"cg7-1", [](QPainter &p, Rng &r) { boatAtSea(p, r, false); }},
        {"cg7-2", [](QPainter &p, Rng &r) { boatAtSea(p, r, true); }},
        {"cg8", paintedWall},
        {"cg9 - 1", hatch},
        {"cg9 - 2", maintenanceTunnel},
        {"cg10", watchersPour},
        {"cg11", dreamCarry},
        {"cg12", windowReflection},
        {"cg13-1", skyBreaking},
        {"cg13-2", trueSpace},
        {"cg14-1", [](QPainter &p, Rng &r) { cylinderWorld(p, r, 0.9); }},
        {"cg14-2", shipDiagram},
        {"cg15", lioAsleep},
        {"cg16", [](QPainter &p, Rng &r) { lampRoom(p, r, true); }},
        {"cg17-1", [](QPainter &p, Rng &r) {
             fillVertical(p, kAll, {{0, QColor(30, 10, 10)}, {1, QColor(120, 60, 40)}});
             starfield(p, QRectF(0, 0, W, 200), 80, r, 1.2);
             planet(p, QPointF(300, 560), 400, QColor(150, 80, 50), QColor(230, 140, 90), QPointF(0.3, -0.9), false, r);
             shipExterior(p, QPointF(470, 120), 260, -12, QColor(220, 224, 230));
         }},
        {"cg17-2", [](QPainter &p, Rng &r) {
             deepSpace(p, r, QColor(60, 60, 160), QColor(40, 100, 160), 500);
             shipExterior(p, QPointF(380, 250), 150, -8, QColor(220, 224, 230));
         }},
        {"cg17-3", [](QPainter &p, Rng &r) {
             shipCorridor(p, QColor(255, 80, 60), r, true);
             addGlow(p, QPointF(360, 230), 200, QColor(255, 160, 80, 200));
             addGlow(p, QPointF(360, 230), 60, QColor(255, 240, 200, 255));
             p.setBrush(QColor(40, 40, 50));
             p.drawRect(QRectF(240, 120, 240, 14));
             p.drawRect(QRectF(240, 330, 240, 14));
         }},
        {"cg17-4", [](QPainter &p, Rng &r) {
             shipCorridor(p, QColor(150, 150, 160), r);
             p.fillRect(kAll, QColor(40, 40, 50, 120));
             for (int i = 0; i < 26; ++i) {
                 const double y = 320 + r.uniform(0, 150);
                 silhouette(p, QPointF(r.uniform(-20, 740), y), 90 + (y - 320) * 1.2, QColor(30, 32, 40, 230),
                            i % 3 ? Pose::Stand : Pose::Back, r.range(0, 4), r.chance(0.5) ? 1 : -1);
             }
             Look child;
             child.top = QColor(200, 80, 80);
             person(p, QPointF(360, 440), 110, child, Pose::Stand, 1);
             addGlow(p, QPointF(360, 390), 60, QColor(255, 220, 200, 60));
         }},
        {"cg17-5", [](QPainter &p, Rng &r) {
             cylinderWorld(p, r, 0.4);
             p.fillRect(kAll, QColor(120, 110, 100, 140));
             for (int i = 0; i < 8; ++i) {
                 const double x = 60 + i * 85;
                 p.setBrush(QColor(200, 180, 160));
                 p.drawRect(QRectF(x, 360, 50, 40));
                 p.setBrush(QColor(160, 70, 60));
                 p.drawPolygon(QPolygonF({QPointF(x - 6, 360), QPointF(x + 25, 336), QPointF(x + 56, 360)}));
                 silhouette(p, QPointF(x + 60, 420), 60, QColor(60, 56, 60), Pose::Reach, 0);
             }
             fillVertical(p, QRectF(0, 400, W, 80), {{0, QColor(110, 100, 90)}, {1, QColor(70, 64, 60)}});
             // The captain watching them build, as her recording shows her.
             using namespace fig;
             Mood her = mood(Brow::Sad, Eyes::Half, Mouth::Small, Arm::Down, Arm::Chest);
             her.look = 0.7;
             posed(p, CastLook::Captain, her, QPointF(150, 540), 0.95);
         }},
        {"cg17-6", [](QPainter &p, Rng &r) { captainRecording(p, r, false); }},
        {"cg18-1", [](QPainter &p, Rng &r) { watcherAtWindow(p, r, false); }},
        {"cg18-2", [](QPainter &p, Rng &r) { watcherAtWindow(p, r, true); }},
        {"cg19-1", [](QPainter &p, Rng &r) { navTableRoute(p, r, 1); }},
        {"cg19-2", [](QPainter &p, Rng &r) { navTableRoute(p, r, 2); }},
        {"cg19-3", [](QPainter &p, Rng &r) { navTableRoute(p, r, 3); }},
        {"cg19-4", [](QPainter &p, Rng &r) { navTableRoute(p, r, 4); }},
        {"cg20", qinganWindow},
        {"cg21", liftDoor},
        {"cg22", axisView},
        {"cg23", zeroG},
        {"cg24", memorial},
        {"cg25", abandonedDeck},
        {"cg26", [](QPainter &p, Rng &r) { coreGate(p, r, false); }},
        {"cg27", [](QPainter &p, Rng &r) { coreGate(p, r, true); }},
        {"cg28-1", [](QPainter &p, Rng &r) { protocolSphere(p, r, false); }},
        {"cg28-2", [](QPainter &p, Rng &r) { protocolSphere(p, r, true); }},
        {"cg29", [](QPainter &p, Rng &r) { spine(p, r, 0, QColor(255, 40, 50), false, QColor(200, 230, 255)); }},
        {"cg30-1", [](QPainter &p, Rng &r) { spine(p, r, 160, QColor(255, 40, 50), false, QColor(150, 200, 240)); }},
        {"cg30-2", spineBattle},
        {"cg30-3", [](QPainter &p, Rng &r) { spine(p, r, 160, QColor(255, 40, 50), true, QColor(255, 90, 80)); }},
        {"cg31", observationNook},
        {"cg32-1", [](QPainter &p, Rng &r) { bridgeScene(p, r, 1); }},
        {"cg32-2", [](QPainter &p, Rng &r) { bridgeScene(p, r, 2); }},
        {"cg32-3", [](QPainter &p, Rng &r) { bridgeScene(p, r, 3); }},
        {"cg33-1", [](QPainter &p, Rng &r) { captainRecording(p, r, false); }},
        {"cg33-2", [](QPainter &p, Rng &r) { captainRecording(p, r, true); }},
        {"cg34", [](QPainter &p, Rng &r) { spine(p, r, 160, QColor(94, 180, 255), false, QColor(94, 200, 255)); }},
        {"cg35", newLight},
        {"cg36", skyOpens},
        {"bcg1", hollowMorning},
        {"bcg2", whiteReset},
        {"bcg3", tornPage},
        {"bcg4", keeperSeat},
        {"bcg5", [](QPainter &p, Rng &r) { monitorView(p, r, 5); }},
        {"bcg6", [](QPainter &p, Rng &r) { monitorView(p, r, 6); }},
        {"bcg7", [](QPainter &p, Rng &r) { monitorView(p, r, 7); }},
        {"bcg8", [](QPainter &p, Rng &r) { monitorView(p, r, 8); }},
        {"bcg9", darkEyes},
    };
    return table.value(name);
}

} // namespace

QStringList sceneNames()
{
    QStringList n;
    n << QStringLiteral("ib") << QStringLiteral("b") << QStringLiteral("difang");
    for (int i = 1; i <= 19; ++i)
        if (i != 15) // the core hall comes in four views, b15-1 to b15-4
            n << QStringLiteral("b%1").arg(i);
    for (int i = 1; i <= 4; ++i)
        n << QStringLiteral("b15-%1").arg(i);
    for (int i = 1; i <= 3; ++i) // the core gate with one, two, three rings lit
        n << QStringLiteral("b20-%1").arg(i);
    for (int i = 1; i <= 9; ++i)
        n << QStringLiteral("bcg%1").arg(i);
    // Illustration number and how many images it has (1 = a single "cgK").
    static const int parts[37] = {0, 2, 1, 1, 1, 1, 1, 2, 1, 2, 1, 1, 1, 2, 2, 1, 1, 6, 2, 4,
                                  1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 3, 1, 3, 2, 1, 1, 1};
    for (int k = 1; k <= 36; ++k) {
        if (parts[k] == 1) {
            n << QStringLiteral("cg%1").arg(k);
            continue;
        }
        for (int s = 1; s <= parts[k]; ++s) {
            if (k == 9) // the story names these with spaces; the gallery without
                n << QStringLiteral("cg9 - %1").arg(s) << QStringLiteral("cg9-%1").arg(s);
            else
                n << QStringLiteral("cg%1-%2").arg(k).arg(s);
        }
    }
    return n;
}

QString sceneAliasOf(const QString &name)
{
    if (name == QLatin1String("cg9-1"))
        return QStringLiteral("cg9 - 1");
    if (name == QLatin1String("cg9-2"))
        return QStringLiteral("cg9 - 2");
    return QString();
}

QImage drawScene(const QString &name)
{
    if (name == QLatin1String("difang"))
        return enemySprite(0);
    QImage img = canvas(W, H);
    QPainter p(&img);
    prepare(p);
    Rng rng(seedFor(name.toUtf8().constData()));
    const Painter paint = painterFor(name);
    if (paint)
        paint(p, rng);
    else
        placeholder(p, rng);
    return img;
}

QImage drawIcon(int size)
{
    // The icon's sizes are exact pixels, not shown sizes to draw in detail.
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    prepare(p);
    p.scale(size / 64.0, size / 64.0);
    const bool tiny = size < 32;
    // Night disc in the accent blue, a warm planet and its orbit, one star.
    QRadialGradient bg(QPointF(24, 18), 56);
    bg.setColorAt(0, QColor(120, 160, 252));
    bg.setColorAt(0.55, QColor(60, 84, 190));
    bg.setColorAt(1, QColor(26, 30, 88));
    p.setBrush(bg);
    p.drawEllipse(QRectF(1, 1, 62, 62));
    QRadialGradient pl(QPointF(-5, -6), 21);
    pl.setColorAt(0, QColor(255, 236, 190));
    pl.setColorAt(0.5, QColor(255, 170, 110));
    pl.setColorAt(1, QColor(214, 92, 96));
    p.save();
    p.translate(34, 35);
    p.rotate(-22);
    QPen orbit(QColor(255, 255, 255, 230), tiny ? 4.5 : 3.2);
    p.setPen(orbit);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-28, -9, 56, 18), 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(pl);
    p.drawEllipse(QPointF(0, 0), 15, 15);
    p.setPen(orbit);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-28, -9, 56, 18), 180 * 16, 180 * 16);
    p.restore();
    if (!tiny) {
        QPainterPath star;
        const QPointF c(48, 15);
        star.moveTo(c + QPointF(0, -7));
        star.quadTo(c, c + QPointF(7, 0));
        star.quadTo(c, c + QPointF(0, 7));
        star.quadTo(c, c + QPointF(-7, 0));
        star.quadTo(c, c + QPointF(0, -7));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(star);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.2));
    p.drawEllipse(QRectF(1.6, 1.6, 60.8, 60.8));
    return img;
}
