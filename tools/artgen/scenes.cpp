#include "scenes.h"

#include "paint.h"
#include "places.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

const int W = 720;
const int H = 480;

QImage placeholder(const QString &name)
{
    QImage img = canvas(W, H);
    QPainter p(&img);
    prepare(p);
    Rng rng(seedFor(name.toUtf8().constData()));
    fillVertical(p, QRectF(0, 0, W, H), {{0, QColor(40, 52, 96)}, {1, QColor(230, 170, 160)}});
    starfield(p, QRectF(0, 0, W, H * 0.6), 120, rng);
    return img;
}

// The interlude enemy: a small spiked drone with one red eye, dark enough to
// read against the light grey map at 20 pixels.
QImage enemySprite()
{
    QImage img = spriteCanvas(20, 20);
    QPainter p(&img);
    prepare(p);
    const QPointF c(10, 10.8);
    p.setBrush(QColor(20, 14, 26));
    for (int k = 0; k < 3; ++k) { // legs
        const double x = 5.5 + k * 4.5;
        QPolygonF leg({QPointF(x - 1.4, 14), QPointF(x + 1.4, 14), QPointF(x + (k - 1) * 1.6, 19.6)});
        p.drawPolygon(leg);
    }
    QPolygonF hornL({QPointF(4.2, 8), QPointF(7.5, 5.5), QPointF(1.2, 0.8)});
    QPolygonF hornR({QPointF(15.8, 8), QPointF(12.5, 5.5), QPointF(18.8, 0.8)});
    p.setBrush(QColor(120, 24, 40));
    p.setPen(QPen(QColor(20, 14, 26), 0.9));
    p.drawPolygon(hornL);
    p.drawPolygon(hornR);
    QRadialGradient body(c + QPointF(-2, -2.5), 8.5);
    body.setColorAt(0, QColor(112, 92, 132));
    body.setColorAt(0.6, QColor(58, 42, 74));
    body.setColorAt(1, QColor(30, 20, 40));
    p.setBrush(body);
    p.setPen(QPen(QColor(16, 10, 20), 1.1));
    p.drawEllipse(c, 6.6, 6.1);
    p.setPen(Qt::NoPen);
    glow(p, c + QPointF(0.4, 0), 4.6, QColor(255, 60, 60, 200));
    p.setBrush(QColor(255, 46, 56));
    p.drawEllipse(c + QPointF(0.4, 0), 2.6, 2.3);
    p.setBrush(QColor(255, 236, 200));
    p.drawEllipse(c + QPointF(0.2, -0.3), 1.0, 0.9);
    return img;
}

// Title page: twilight over a hill, a ringed world rising at the upper left.
// The right side and the bottom band stay calm and darker for the white menu
// and title drawn there.
void titleBackground(QPainter &p, Rng &rng)
{
    fillVertical(p, QRectF(0, 0, W, H), {{0, QColor(14, 18, 52)}, {0.45, QColor(58, 54, 120)},
                                         {0.75, QColor(176, 110, 150)}, {1, QColor(250, 176, 150)}});
    starfield(p, QRectF(0, 0, W, 300), 220, rng, 1.6);
    for (int i = 0; i < 18; ++i)
        addGlow(p, QPointF(rng.uniform(0, 360), rng.uniform(40, 260)), rng.uniform(60, 130),
                alpha(i % 2 ? QColor(140, 90, 220) : QColor(60, 120, 230), 18));
    planet(p, QPointF(190, 150), 92, QColor(120, 110, 210), QColor(255, 214, 230), QPointF(0.6, 0.5),
           true, rng);
    addGlow(p, QPointF(470, 410), 320, QColor(255, 150, 120, 60));
    hills(p, QRectF(0, 0, W, H), 372, 16, 0.8, 2.2, QColor(74, 56, 110));
    hills(p, QRectF(0, 0, W, H), 400, 12, 1.4, 0.4, QColor(46, 36, 82));
    hills(p, QRectF(0, 0, W, H), 430, 8, 1.1, 4.0, QColor(28, 22, 56));
    Look girl;
    girl.hair = QColor(36, 28, 60);
    girl.top = girl.bottom = girl.accent = girl.skin = QColor(28, 22, 56);
    girl.hairStyle = 1;
    girl.skirt = true;
    person(p, QPointF(120, 398), 62, girl, Pose::Back);
    // Calm darkening behind the menu column and the title band.
    fillLinear(p, QRectF(0, 0, W, H), QPointF(470, 0), QPointF(720, 0),
               {{0, QColor(10, 10, 40, 0)}, {1, QColor(10, 10, 40, 90)}});
    fillVertical(p, QRectF(0, 360, W, 120), {{0, QColor(10, 8, 30, 0)}, {1, QColor(10, 8, 30, 120)}});
    vignette(p, QRectF(0, 0, W, H), 0.4);
}

// Settings, load and extras pages: mostly hidden under a light panel, so
// only soft colour and light are needed.
void pageBackground(QPainter &p, Rng &rng)
{
    fillLinear(p, QRectF(0, 0, W, H), QPointF(0, 0), QPointF(W, H),
               {{0, QColor(150, 186, 250)}, {0.5, QColor(190, 170, 236)}, {1, QColor(250, 190, 210)}});
    bokeh(p, QRectF(0, 0, W, H), 40, rng, QColor(255, 255, 255, 90), QColor(200, 220, 255, 70), 10, 46);
    for (int i = 0; i < 5; ++i)
        lightShaft(p, QPointF(80 + i * 140, -10), 30, QPointF(20 + i * 160, 500), 120,
                   QColor(255, 255, 255, 40));
    starfield(p, QRectF(0, 0, W, H), 60, rng, 1.2);
}

} // namespace

QStringList sceneNames()
{
    QStringList n;
    n << QStringLiteral("ib") << QStringLiteral("b") << QStringLiteral("difang");
    for (int i = 1; i <= 17; ++i)
        n << QStringLiteral("b%1").arg(i);
    for (int i = 1; i <= 4; ++i)
        n << QStringLiteral("b15-%1").arg(i);
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
        return enemySprite();
    QImage img = canvas(W, H);
    QPainter p(&img);
    prepare(p);
    Rng rng(seedFor(name.toUtf8().constData()));
    if (name == QLatin1String("ib")) titleBackground(p, rng);
    else if (name == QLatin1String("b")) pageBackground(p, rng);
    else if (name == QLatin1String("b1")) classroom(p, Tod::Morning, rng);
    else if (name == QLatin1String("b2")) classroom(p, Tod::Dusk, rng);
    else if (name == QLatin1String("b3")) corridor(p, Tod::Day, rng);
    else if (name == QLatin1String("b4")) rooftop(p, Tod::Dusk, rng);
    else if (name == QLatin1String("b5")) street(p, Tod::Dusk, rng);
    else if (name == QLatin1String("b6")) bedroom(p, Tod::Night, rng);
    else if (name == QLatin1String("b7")) park(p, Tod::Day, rng);
    else if (name == QLatin1String("b8")) shipCorridor(p, QColor(90, 220, 255), rng);
    else if (name == QLatin1String("b9")) shipBridge(p, rng, QColor(60, 130, 200));
    else if (name == QLatin1String("b10")) { deepSpace(p, rng, QColor(160, 60, 200), QColor(40, 120, 220), 400); planet(p, QPointF(200, 330), 150, QColor(200, 120, 80), QColor(255, 220, 180), QPointF(0.7, -0.6), true, rng); }
    else return placeholder(name);
    return img;
}

QImage drawIcon(int size)
{
    QImage img = spriteCanvas(size, size);
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
