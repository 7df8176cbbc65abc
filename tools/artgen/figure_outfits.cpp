// Outfits of the figure painter. Each paints inside the torso's clip, where the
// order of its calls decides what lies on top.
#include "figure_draw.h"
#include "paint.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <initializer_list>

namespace fig {
namespace {

// Paints the garments of one look. The members are what every outfit paints
// with: the look, its palette, and the torso's own shading and outline, which
// open fronts carry on.
class Tailor
{
public:
    Tailor(QPainter &p, const Look &l, const Palette &c, const QLinearGradient &body,
           const QColor &line)
        : p(p), l(l), c(c), body(body), line(line)
    {
    }
    void layered();
    void cardigan();
    void light();
    void sailor();
    void blazer();
    void hoodie();
    void jacket();
    void dress();
    void coat();
    void sweater();
    void robe();

private:
    void blazerFront(double vb);
    void openFront(double halfTop, double halfBottom, const QColor &edgeCol, bool zip);

    QPainter &p;
    const Look &l;
    const Palette &c;
    const QLinearGradient &body;
    const QColor line;
};

QPainterPath vee(double topHalf, double bottomY, double topY)
{
    QPainterPath v;
    v.moveTo(P(kCx - topHalf, topY));
    v.lineTo(P(kCx, bottomY));
    v.lineTo(P(kCx + topHalf, topY));
    v.lineTo(P(kCx + topHalf, topY - 30));
    v.lineTo(P(kCx - topHalf, topY - 30));
    v.closeSubpath();
    return v;
}

// What shows between the open fronts of a hoodie or cardigan.
QPainterPath innerPanel()
{
    QPainterPath in;
    in.addRect(QRectF(kCx - 60, 190, 120, 320));
    return in;
}

QPainterPath roundNeck(double y, double rx, double ry)
{
    QPainterPath n;
    n.addEllipse(P(kCx, y), rx, ry);
    return n;
}

// Closed polygon given for the viewer's right, x counted from the centre line;
// side -1 puts its mirror image on the left.
void addOnSide(QPainterPath &path, double side, std::initializer_list<QPointF> right)
{
    bool first = true;
    for (const QPointF &q : right) {
        const QPointF at = P(kCx + side * q.x(), q.y());
        if (first)
            path.moveTo(at);
        else
            path.lineTo(at);
        first = false;
    }
    path.closeSubpath();
}

// The polygon and its mirror image, the left one first.
QPainterPath bothSides(std::initializer_list<QPointF> right)
{
    QPainterPath path;
    for (double s : {-1.0, 1.0})
        addOnSide(path, s, right);
    return path;
}

QPointF across(QPointF q) { return P(2 * kCx - q.x(), q.y()); }

// Band lying round the neck, the same on both sides: from its end on the
// viewer's left over the top, then back under the chin, dipping to bottomY.
QPainterPath neckBand(QPointF end, QPointF top, QPointF side, QPointF chin, double bottomY)
{
    QPainterPath b;
    b.moveTo(end);
    b.cubicTo(top, across(top), across(end));
    b.cubicTo(across(side), across(chin), P(kCx, bottomY));
    b.cubicTo(chin, side, end);
    b.closeSubpath();
    return b;
}

void neckShadow(QPainter &p, const Palette &c, double depth)
{
    QPainterPath s;
    s.addEllipse(P(kCx, 204), 26, depth);
    QRadialGradient rg(P(kCx, 204), 26);
    rg.setColorAt(0, alpha(c.skinShadow, 150));
    rg.setColorAt(1, alpha(c.skinShadow, 0));
    fillPath(p, s, rg);
}

void button(QPainter &p, QPointF at, const QColor &col)
{
    QPainterPath b;
    b.addEllipse(at, 3, 3);
    shape(p, b, col, shade(col, 0.6), 0.9);
}

void bow(QPainter &p, QPointF at, double size, const QColor &col)
{
    QPainterPath r;
    r.setFillRule(Qt::WindingFill);
    r.moveTo(at);
    r.cubicTo(at + P(-size * 1.4, -size * 0.9), at + P(-size * 1.5, size * 0.8), at);
    r.cubicTo(at + P(size * 1.4, -size * 0.9), at + P(size * 1.5, size * 0.8), at);
    r.moveTo(at + P(-2, 0));
    r.lineTo(at + P(-size * 0.8, size * 1.9));
    r.lineTo(at + P(-size * 0.3, size * 1.7));
    r.lineTo(at + P(0, size * 0.2));
    r.lineTo(at + P(size * 0.3, size * 1.7));
    r.lineTo(at + P(size * 0.8, size * 1.9));
    r.lineTo(at + P(2, 0));
    r.closeSubpath();
    const QPainterPath rr = r.simplified();
    shape(p, rr, col, shade(col, 0.6), 1.1);
    QPainterPath knot;
    knot.addRoundedRect(QRectF(at.x() - size * 0.3, at.y() - size * 0.35, size * 0.6,
                               size * 0.7), 2, 2);
    shape(p, knot, shade(col, 0.9), shade(col, 0.6), 1.0);
}

void tie(QPainter &p, double topY, double bottomY, const QColor &col)
{
    QPainterPath t;
    t.moveTo(P(kCx - 5, topY));
    t.lineTo(P(kCx + 5, topY));
    t.lineTo(P(kCx + 3, topY + 9));
    t.lineTo(P(kCx + 9, bottomY - 8));
    t.lineTo(P(kCx, bottomY));
    t.lineTo(P(kCx - 9, bottomY - 8));
    t.lineTo(P(kCx - 3, topY + 9));
    t.closeSubpath();
    QLinearGradient tg(P(kCx - 9, 0), P(kCx + 9, 0));
    tg.setColorAt(0, shade(col, 1.1));
    tg.setColorAt(1, shade(col, 0.85));
    shape(p, t, tg, shade(col, 0.55), 1.1);
    QPainterPath stripe;
    for (double y = topY + 20; y < bottomY - 12; y += 14) {
        stripe.moveTo(P(kCx - 7, y + 4));
        stripe.lineTo(P(kCx + 7, y - 4));
    }
    p.save();
    p.setClipPath(t);
    linePath(p, stripe, alpha(shade(col, 1.4), 150), 2.2);
    p.restore();
}

void shirtCollar(QPainter &p, const QColor &col, double spread)
{
    const QPainterPath cl = bothSides({P(13, 196), P(16 + spread, 214), P(3, 226), P(0, 214)});
    shape(p, cl, col, shade(col, 0.7), 1.1);
}

// Hood cords either side of the centre line; the points are given for the
// viewer's right and mirrored for the left.
void drawstrings(QPainter &p, QPointF from, QPointF c1, QPointF c2, QPointF to,
                 const QColor &cord, const QColor &tip, const QColor &tipLine)
{
    for (double s : {-1.0, 1.0}) {
        QPainterPath str;
        str.moveTo(P(kCx + s * from.x(), from.y()));
        str.cubicTo(P(kCx + s * c1.x(), c1.y()), P(kCx + s * c2.x(), c2.y()),
                    P(kCx + s * to.x(), to.y()));
        linePath(p, str, cord, 2.2);
        QPainterPath end;
        end.addRoundedRect(QRectF(kCx + s * to.x() - 2.2, to.y() - 2, 4.4, 9), 1.5, 1.5);
        shape(p, end, tip, tipLine, 0.8);
    }
}

// Lapels, the front edge and buttons of a blazer whose opening ends at vb.
void Tailor::blazerFront(double vb)
{
    const double k = (vb - 200) / 102.0;
    const QPainterPath lap = bothSides({P(22, 204), P(40, 204 + 28 * k), P(30, 204 + 36 * k),
                                        P(2, vb + 2), P(6, vb + 2), P(28, 206)});
    QPainterPath opening;
    opening.moveTo(P(kCx - 26, 200));
    opening.lineTo(P(kCx, vb));
    opening.lineTo(P(kCx + 26, 200));
    linePath(p, opening, line, 1.5);
    shape(p, lap, shade(l.cloth, 0.92), line, 1.2);
    if (l.trim.isValid()) {
        QPainterPath edge;
        for (double s : {-1.0, 1.0}) {
            edge.moveTo(P(kCx + s * 24, 206));
            edge.lineTo(P(kCx + s * 38, 204 + 28 * k));
            edge.lineTo(P(kCx + s * 29, 204 + 36 * k));
            edge.lineTo(P(kCx + s * 3, vb));
        }
        linePath(p, edge, l.trim, 1.1);
    }
    QPainterPath front;
    front.moveTo(P(kCx, vb + 2));
    front.lineTo(P(kCx, 500));
    linePath(p, front, line, 1.3);
    const QColor bc = l.cloth2;
    for (double y = vb + 26; y < 400; y += 32)
        button(p, P(kCx - 6, y), bc);
    if (l.emblem) {
        // Planet with its ring, for the new academy.
        const QPointF at(178, 262);
        QPainterPath pl;
        pl.addEllipse(at, 8, 8);
        QRadialGradient pg(at + P(-3, -3), 10);
        pg.setColorAt(0, shade(l.cloth2, 1.5));
        pg.setColorAt(1, l.cloth2);
        shape(p, pl, pg, shade(l.cloth2, 0.6), 1.0);
        QPainterPath ring;
        ring.addEllipse(at, 14, 4);
        p.save();
        p.translate(at);
        p.rotate(-18);
        p.translate(-at);
        linePath(p, ring, shade(l.cloth2, 0.8), 1.4);
        p.restore();
    } else {
        QPainterPath em;
        em.moveTo(P(178, 262));
        em.lineTo(P(190, 262));
        em.lineTo(P(190, 272));
        em.quadTo(P(184, 280), P(178, 272));
        em.closeSubpath();
        shape(p, em, l.trim.isValid() ? l.trim : l.cloth2, shade(l.cloth2, 0.6), 1.0);
    }
}

// Open zip edges of a hoodie or cardigan over what is inside.
void Tailor::openFront(double halfTop, double halfBottom, const QColor &edgeCol, bool zip)
{
    for (double s : {-1.0, 1.0}) {
        QPainterPath side;
        side.moveTo(P(kCx + s * halfTop, 198));
        side.lineTo(P(kCx + s * 130, 198));
        side.lineTo(P(kCx + s * 130, 500));
        side.lineTo(P(kCx + s * halfBottom, 500));
        side.cubicTo(P(kCx + s * (halfBottom + 2), 400), P(kCx + s * (halfTop + 10), 300),
                     P(kCx + s * halfTop, 198));
        side.closeSubpath();
        shape(p, side, body, line, 1.4);
        QPainterPath edge;
        edge.moveTo(P(kCx + s * (halfTop + 3), 200));
        edge.cubicTo(P(kCx + s * (halfTop + 13), 300), P(kCx + s * (halfBottom + 5), 400),
                     P(kCx + s * (halfBottom + 3), 500));
        linePath(p, edge, edgeCol, zip ? 3.5 : 7);
        if (zip) {
            QPen dash(shade(edgeCol, 0.6), 2.2, Qt::CustomDashLine, Qt::FlatCap);
            dash.setDashPattern({0.8, 1.2});
            p.setPen(dash);
            p.setBrush(Qt::NoBrush);
            p.drawPath(edge);
        } else if (s < 0) {
            for (double y = 250; y < 420; y += 34)
                button(p, P(kCx + s * (halfTop + 9) + (y - 200) * 0.03 * s, y), l.cloth2);
        }
    }
}

void Tailor::layered()
{
    // Open zip hoodie over the navy blazer, white blouse and ribbon.
    fillPath(p, innerPanel(), l.cloth2);
    fillPath(p, vee(22, 262, 200), QColor(248, 248, 252));
    neckShadow(p, c, 10);
    shirtCollar(p, QColor(250, 250, 255), 5);
    {
        const QColor navyLine = shade(l.cloth2, 0.55);
        const QPainterPath lap = bothSides({P(20, 204), P(32, 226), P(25, 232), P(2, 264),
                                            P(6, 264), P(26, 206)});
        shape(p, lap, shade(l.cloth2, 1.15), navyLine, 1.1);
        button(p, P(kCx - 4, 290), QColor(220, 190, 110));
        button(p, P(kCx - 4, 322), QColor(220, 190, 110));
    }
    bow(p, P(kCx, 226), 12, l.ribbon);
    // The hood lies in folds around the back of the neck.
    QPainterPath hood;
    hood.moveTo(P(82, 226));
    hood.cubicTo(P(90, 196), P(190, 196), P(198, 226));
    hood.cubicTo(P(190, 222), P(178, 214), P(166, 208));
    hood.cubicTo(P(150, 200), P(130, 200), P(114, 208));
    hood.cubicTo(P(102, 214), P(90, 222), P(82, 226));
    hood.closeSubpath();
    shape(p, hood, shade(l.cloth, 0.85), line, 1.3);
    openFront(30, 40, shade(l.cloth, 0.8), true);
    drawstrings(p, P(40, 214), P(42, 240), P(40, 262), P(42, 284), shade(l.cloth, 1.35),
                QColor(245, 245, 250), QColor(160, 160, 170));
}

void Tailor::cardigan()
{
    // Knitted cardigan open over a white blouse.
    fillPath(p, innerPanel(), QColor(250, 250, 252));
    neckShadow(p, c, 10);
    shirtCollar(p, QColor(252, 252, 255), 5);
    QPainterPath placket;
    placket.moveTo(P(kCx, 226));
    placket.lineTo(P(kCx, 500));
    linePath(p, placket, QColor(200, 200, 212), 1.1);
    for (double y = 246; y < 420; y += 30)
        button(p, P(kCx, y), QColor(240, 240, 245));
    openFront(28, 36, shade(l.cloth, 0.94), false);
    QPainterPath knit;
    for (double s : {-1.0, 1.0})
        for (int i = 0; i < 4; ++i) {
            knit.moveTo(P(kCx + s * (54 + i * 16), 214 + i * 3));
            knit.lineTo(P(kCx + s * (50 + i * 17), 500));
        }
    linePath(p, knit, alpha(shade(l.cloth, 0.78), 110), 1.0);
}

void Tailor::light()
{
    // A long dress of light: round neckline, circuit traces over the bodice.
    fillPath(p, roundNeck(196, 34, 22), c.skin);
    neckShadow(p, c, 12);
    QPainterPath edge;
    edge.moveTo(P(kCx - 34, 200));
    edge.quadTo(P(kCx, 236), P(kCx + 34, 200));
    linePath(p, edge, l.trim, 1.6);
}

void Tailor::sailor()
{
    // Skin in the neckline, then the big sailor collar with its stripe.
    fillPath(p, vee(14, 240, 200), c.skin);
    neckShadow(p, c, 14);
    QPainterPath collar;
    collar.moveTo(P(40, 226));
    collar.lineTo(P(kCx, 286));
    collar.lineTo(P(240, 226));
    collar.lineTo(P(240, 180));
    collar.lineTo(P(40, 180));
    collar.closeSubpath();
    QPainterPath neckHole = vee(15, 242, 200);
    collar = collar.subtracted(neckHole);
    shape(p, collar, vgrad(200, 280, l.cloth2, shade(l.cloth2, 0.85)),
          shade(l.cloth2, 0.5), 1.3);
    QPainterPath stripe;
    stripe.moveTo(P(48, 232));
    stripe.lineTo(P(kCx, 278));
    stripe.lineTo(P(232, 232));
    linePath(p, stripe, QColor(250, 250, 255), 2.2);
    QPainterPath stripe2;
    stripe2.moveTo(P(kCx - 12, 204));
    stripe2.lineTo(P(kCx, 232));
    stripe2.lineTo(P(kCx + 12, 204));
    linePath(p, stripe2, alpha(QColor(250, 250, 255), 200), 1.3);
    bow(p, P(kCx, 282), 14, l.ribbon);
}

void Tailor::blazer()
{
    fillPath(p, vee(26, 300, 200), QColor(248, 248, 252));
    neckShadow(p, c, 10);
    shirtCollar(p, QColor(250, 250, 255), 6);
    // Buttoned up, the opening ends just under the ribbon.
    const double vb = l.buttoned ? 262 : 302;
    fillPath(p, vee(26, vb, 200), QColor(248, 248, 252));
    neckShadow(p, c, 10);
    shirtCollar(p, QColor(250, 250, 255), 6);
    if (l.male)
        tie(p, 222, 304, l.ribbon);
    else
        bow(p, P(kCx, 226), 12, l.ribbon);
    blazerFront(vb);
}

void Tailor::hoodie()
{
    fillPath(p, vee(12, 222, 200), c.skin);
    neckShadow(p, c, 12);
    // Hood lying around the neck.
    const QPainterPath hood = neckBand(P(92, 214), P(96, 190), P(94, 232), P(120, 240), 232);
    const QPainterPath inner = neckBand(P(112, 206), P(120, 198), P(118, 222), P(130, 226), 224);
    shape(p, hood.subtracted(inner), vgrad(196, 236, shade(l.cloth, 1.05), shade(l.cloth, 0.88)),
          line, 1.3);
    fillPath(p, inner, l.cloth2);
    drawstrings(p, P(10, 228), P(11, 250), P(8, 270), P(10, 290), l.accent,
                shade(l.accent, 0.8), shade(l.accent, 0.5));
    // Front pocket.
    QPainterPath pocket;
    pocket.moveTo(P(96, 420));
    pocket.lineTo(P(110, 380));
    pocket.lineTo(P(170, 380));
    pocket.lineTo(P(184, 420));
    linePath(p, pocket, line, 1.4);
}

void Tailor::jacket()
{
    // Open jacket over a shirt in the second colour.
    QPainterPath shirt;
    shirt.moveTo(P(kCx - 34, 196));
    shirt.lineTo(P(kCx - 26, 500));
    shirt.lineTo(P(kCx + 26, 500));
    shirt.lineTo(P(kCx + 34, 196));
    shirt.closeSubpath();
    fillPath(p, shirt, vgrad(200, 420, shade(l.cloth2, 1.05), shade(l.cloth2, 0.9)));
    fillPath(p, roundNeck(200, 17, 15), c.skin);
    neckShadow(p, c, 12);
    QPainterPath rib;
    rib.moveTo(P(kCx - 17, 202));
    rib.quadTo(P(kCx, 222), P(kCx + 17, 202));
    linePath(p, rib, shade(l.cloth2, 0.75), 3);
    // Pendant in the accent colour.
    QPainterPath chain;
    chain.moveTo(P(kCx - 16, 208));
    chain.quadTo(P(kCx, 250), P(kCx + 16, 208));
    linePath(p, chain, QColor(190, 190, 200), 1.0);
    QPainterPath gem;
    gem.moveTo(P(kCx, 236));
    gem.lineTo(P(kCx + 5, 243));
    gem.lineTo(P(kCx, 252));
    gem.lineTo(P(kCx - 5, 243));
    gem.closeSubpath();
    shape(p, gem, l.accent, shade(l.accent, 0.55), 1.0);
    for (double s : {-1.0, 1.0}) {
        QPainterPath side;
        side.moveTo(P(kCx + s * 26, 198));
        side.lineTo(P(kCx + s * 30, 198));
        side.lineTo(P(kCx + s * 120, 198));
        side.lineTo(P(kCx + s * 120, 500));
        side.lineTo(P(kCx + s * 24, 500));
        side.cubicTo(P(kCx + s * 26, 400), P(kCx + s * 30, 300), P(kCx + s * 36, 250));
        side.lineTo(P(kCx + s * 24, 214));
        side.closeSubpath();
        shape(p, side, body, line, 1.4);
        QPainterPath lapel;
        addOnSide(lapel, s, {P(26, 200), P(48, 226), P(40, 236), P(36, 252), P(24, 214)});
        shape(p, lapel, shade(l.cloth, 0.88), line, 1.2);
    }
}

void Tailor::dress()
{
    fillPath(p, roundNeck(198, 20, 16), c.skin);
    neckShadow(p, c, 12);
    // Round collar in the second colour with the accent ribbon.
    QPainterPath col;
    for (double s : {-1.0, 1.0}) {
        col.moveTo(P(kCx, 214));
        col.cubicTo(P(kCx + s * 10, 212), P(kCx + s * 18, 206), P(kCx + s * 22, 200));
        col.cubicTo(P(kCx + s * 40, 210), P(kCx + s * 38, 236), P(kCx + s * 6, 234));
        col.closeSubpath();
    }
    shape(p, col, l.cloth2, shade(l.cloth2, 0.7), 1.2);
    bow(p, P(kCx, 224), 11, l.accent);
    // Pin tucks down the front and a waist sash.
    QPainterPath tuck;
    for (double s : {-1.0, 1.0}) {
        tuck.moveTo(P(kCx + s * 14, 246));
        tuck.lineTo(P(kCx + s * 12, 370));
    }
    linePath(p, tuck, alpha(line, 130), 1.0);
    button(p, P(kCx, 262), l.cloth2);
    button(p, P(kCx, 290), l.cloth2);
    button(p, P(kCx, 318), l.cloth2);
    QPainterPath sash;
    sash.addRect(QRectF(40, 372, 200, 18));
    shape(p, sash, l.accent, shade(l.accent, 0.6), 1.2);
}

void Tailor::coat()
{
    // High collar, double row of buttons, a scarf in the accent colour.
    QPainterPath fr;
    fr.moveTo(P(kCx + 8, 220));
    fr.lineTo(P(kCx + 8, 500));
    linePath(p, fr, line, 1.5);
    for (int i = 0; i < 3; ++i) {
        button(p, P(kCx - 16, 280 + i * 34), l.cloth2);
        button(p, P(kCx + 28, 280 + i * 34), l.cloth2);
    }
    QPainterPath belt;
    belt.addRect(QRectF(40, 380, 200, 14));
    shape(p, belt, shade(l.cloth, 0.8), line, 1.2);
    const QPainterPath scarf = neckBand(P(100, 206), P(104, 190), P(98, 226), P(120, 236), 234);
    QPainterPath tail;
    tail.moveTo(P(150, 220));
    tail.lineTo(P(170, 222));
    tail.lineTo(P(176, 300));
    tail.lineTo(P(156, 304));
    tail.closeSubpath();
    QPainterPath sc = scarf.united(tail);
    shape(p, sc, vgrad(190, 300, shade(l.accent, 1.05), shade(l.accent, 0.85)),
          shade(l.accent, 0.55), 1.3);
    QPainterPath fringe;
    for (int i = 0; i < 5; ++i) {
        fringe.moveTo(P(158 + i * 4, 302 - i * 0.8));
        fringe.lineTo(P(158 + i * 4, 310 - i * 0.8));
    }
    linePath(p, fringe, shade(l.accent, 0.8), 1.6);
    QPainterPath stripes;
    stripes.moveTo(P(151, 270));
    stripes.lineTo(P(173, 268));
    stripes.moveTo(P(152, 278));
    stripes.lineTo(P(174, 276));
    p.save();
    p.setClipPath(sc);
    linePath(p, stripes, alpha(l.cloth2, 200), 2.2);
    p.restore();
}

void Tailor::sweater()
{
    fillPath(p, roundNeck(198, 18, 14), c.skin);
    neckShadow(p, c, 12);
    shirtCollar(p, l.cloth2, 4);
    QPainterPath rib;
    rib.moveTo(P(kCx - 24, 200));
    rib.quadTo(P(kCx, 238), P(kCx + 24, 200));
    linePath(p, rib, shade(l.cloth, 0.85), 5);
    linePath(p, rib, line, 1.0);
    // Knit ribs down the body.
    QPainterPath knit;
    for (int i = -5; i <= 5; ++i) {
        knit.moveTo(P(kCx + i * 13, 236 + std::abs(i) * 2));
        knit.lineTo(P(kCx + i * 14, 500));
    }
    linePath(p, knit, alpha(shade(l.cloth, 0.8), 90), 1.0);
    if (!l.male)
        bow(p, P(kCx, 226), 10, l.accent);
}

void Tailor::robe()
{
    // Wrapped front, crossing left over right, with a wide sash.
    QPainterPath neck;
    neck.moveTo(P(kCx - 20, 196));
    neck.lineTo(P(kCx, 256));
    neck.lineTo(P(kCx + 20, 196));
    neck.closeSubpath();
    fillPath(p, neck, c.skin);
    neckShadow(p, c, 12);
    QPainterPath lap;
    lap.moveTo(P(kCx - 26, 196));
    lap.lineTo(P(kCx + 30, 320));
    lap.lineTo(P(kCx + 42, 320));
    lap.lineTo(P(kCx - 14, 196));
    lap.closeSubpath();
    QPainterPath lap2;
    lap2.moveTo(P(kCx + 26, 196));
    lap2.lineTo(P(kCx + 4, 248));
    lap2.lineTo(P(kCx + 12, 250));
    lap2.lineTo(P(kCx + 36, 196));
    lap2.closeSubpath();
    shape(p, lap2, l.cloth2, shade(l.cloth2, 0.6), 1.2);
    shape(p, lap, l.cloth2, shade(l.cloth2, 0.6), 1.2);
    QPainterPath sash;
    sash.addRect(QRectF(40, 332, 200, 32));
    shape(p, sash, vgrad(332, 364, shade(l.accent, 1.08), shade(l.accent, 0.85)),
          shade(l.accent, 0.55), 1.3);
}

// Soft scarf wound once round the neck, one end hanging in front.
void paintScarf(QPainter &p, const QColor &sc)
{
    const QPainterPath wrap = neckBand(P(98, 210), P(100, 186), P(96, 232), P(120, 240), 238);
    QPainterPath end;
    end.moveTo(P(150, 226));
    end.lineTo(P(172, 224));
    end.cubicTo(P(176, 260), P(180, 290), P(180, 312));
    end.lineTo(P(156, 316));
    end.cubicTo(P(156, 290), P(154, 260), P(150, 226));
    end.closeSubpath();
    const QColor scl = shade(sc, 0.6);
    shape(p, end, vgrad(224, 316, sc, shade(sc, 0.85)), scl, 1.3);
    QPainterPath fr;
    for (int i = 0; i < 6; ++i) {
        fr.moveTo(P(157.5 + i * 4.2, 315 - i * 0.7));
        fr.lineTo(P(157.5 + i * 4.2, 323 - i * 0.7));
    }
    linePath(p, fr, shade(sc, 0.85), 1.8);
    shape(p, wrap, vgrad(188, 240, shade(sc, 1.08), shade(sc, 0.88)), scl, 1.3);
    QPainterPath folds;
    folds.moveTo(P(108, 222));
    folds.quadTo(P(kCx, 238), P(172, 222));
    folds.moveTo(P(112, 206));
    folds.quadTo(P(kCx, 220), P(168, 206));
    linePath(p, folds, alpha(scl, 120), 1.0);
}

// Circuit traces: straight runs with right-angle turns ending in pads.
void paintCircuits(QPainter &p, const QColor &tc)
{
    QPainterPath tr;
    const double xs[] = {-44, -26, -12, 14, 30, 48};
    for (int i = 0; i < 6; ++i) {
        const double x0 = kCx + xs[i];
        const double y0 = 236 + (i % 3) * 26;
        tr.moveTo(P(x0, 500));
        tr.lineTo(P(x0, y0 + 30));
        tr.lineTo(P(x0 + (i < 3 ? 10 : -10), y0 + 20));
        tr.lineTo(P(x0 + (i < 3 ? 10 : -10), y0));
    }
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    linePath(p, tr, alpha(tc, 90), 4);
    linePath(p, tr, tc, 1.3);
    for (int i = 0; i < 6; ++i) {
        const double x0 = kCx + xs[i] + (i < 3 ? 10 : -10);
        const double y0 = 236 + (i % 3) * 26;
        QPainterPath pad;
        pad.addEllipse(P(x0, y0), 2.6, 2.6);
        shape(p, pad, QColor(255, 255, 255), tc, 1.2);
    }
    p.restore();
}

} // namespace

// Clipped to the torso so collars and lapels cannot spill over the outline.
void paintClothes(QPainter &p, const Look &l, const Palette &c, const QPainterPath &torso)
{
    const QColor line = shade(l.cloth, 0.58);
    QLinearGradient g(P(60, 0), P(220, 0));
    g.setColorAt(0, shade(l.cloth, 1.06));
    g.setColorAt(0.55, l.cloth);
    g.setColorAt(1, shade(l.cloth, 0.9));
    shape(p, torso, g, line, 1.5);

    p.save();
    p.setClipPath(torso);
    Tailor tailor(p, l, c, g, line);
    switch (l.outfit) {
    case Outfit::Layered: tailor.layered(); break;
    case Outfit::Cardigan: tailor.cardigan(); break;
    case Outfit::Light: tailor.light(); break;
    case Outfit::Sailor: tailor.sailor(); break;
    case Outfit::Blazer: tailor.blazer(); break;
    case Outfit::Hoodie: tailor.hoodie(); break;
    case Outfit::Jacket: tailor.jacket(); break;
    case Outfit::Dress: tailor.dress(); break;
    case Outfit::Coat: tailor.coat(); break;
    case Outfit::Sweater: tailor.sweater(); break;
    case Outfit::Robe: tailor.robe(); break;
    }
    if (l.scarf.isValid())
        paintScarf(p, l.scarf);
    if (l.hologram)
        paintCircuits(p, l.trim);

    // Cel shadow down the far side, and under the collar line.
    QPainterPath far;
    far.moveTo(P(190, 180));
    far.cubicTo(P(196, 260), P(186, 340), P(190, 500));
    far.lineTo(P(260, 500));
    far.lineTo(P(260, 180));
    far.closeSubpath();
    fillPath(p, far, QColor(40, 30, 80, 40));
    p.restore();
}

} // namespace fig
