#pragma once
// The places and people the scene pictures are built from. Every painter
// draws into the whole 720 x 480 picture unless it takes a rectangle.
#include "paint.h"

#include <QPolygonF>

enum class Tod { Morning, Day, Dusk, Night };

// Pinhole camera for rooms and streets: x right, y up, z into the picture,
// all in metres; the eye is at the origin.
struct Cam
{
    double cx = 360, cy = 240, f = 380;
    QPointF at(double x, double y, double z) const { return {cx + f * x / z, cy - f * y / z}; }
    QPolygonF quad(double x0, double y0, double z0, double x1, double y1, double z1,
                   double x2, double y2, double z2, double x3, double y3, double z3) const
    {
        return QPolygonF({at(x0, y0, z0), at(x1, y1, z1), at(x2, y2, z2), at(x3, y3, z3)});
    }
    // Upright rectangle on a plane of constant x (side walls).
    QPolygonF wallX(double x, double y0, double y1, double z0, double z1) const
    {
        return quad(x, y0, z0, x, y0, z1, x, y1, z1, x, y1, z0);
    }
    // Upright rectangle on a plane of constant z (facing the eye).
    QPolygonF wallZ(double z, double x0, double x1, double y0, double y1) const
    {
        return quad(x0, y0, z, x1, y0, z, x1, y1, z, x0, y1, z);
    }
    // Horizontal rectangle at height y (floors, desk tops, ceilings).
    QPolygonF flat(double y, double x0, double x1, double z0, double z1) const
    {
        return quad(x0, y, z0, x1, y, z0, x1, y, z1, x0, y, z1);
    }
};

void poly(QPainter &p, const QPolygonF &q, const QBrush &b);
// Box with its top and the faces turned to the eye, lit from the left.
void box(QPainter &p, const Cam &c, double x0, double x1, double y0, double y1, double z0,
         double z1, const QColor &col);

// Sky for a time of day over r, with sun or moon at sunAt.
void sky(QPainter &p, const QRectF &r, Tod t, Rng &rng, QPointF sunAt);
void clouds(QPainter &p, const QRectF &r, Tod t, Rng &rng, int count);
// Row of buildings standing on baseY, windows lit with the given share.
void skyline(QPainter &p, double baseY, double minH, double maxH, const QColor &body,
             const QColor &lit, double litShare, Rng &rng, double x0 = -10, double x1 = 730);
// Whole-picture colour wash for the time of day.
void timeWash(QPainter &p, Tod t);

void classroom(QPainter &p, Tod t, Rng &rng, bool withDesks = true, bool seaView = false);
void corridor(QPainter &p, Tod t, Rng &rng);
void rooftop(QPainter &p, Tod t, Rng &rng);
void street(QPainter &p, Tod t, Rng &rng);
void bedroom(QPainter &p, Tod t, Rng &rng, bool neighbour = false);
void park(QPainter &p, Tod t, Rng &rng);
void shipCorridor(QPainter &p, const QColor &accent, Rng &rng, bool alarm = false);
void shipBridge(QPainter &p, Rng &rng, const QColor &planetCol, bool warp = false);
void deepSpace(QPainter &p, Rng &rng, const QColor &nebulaA, const QColor &nebulaB, int stars);
void planet(QPainter &p, QPointF c, double r, const QColor &base, const QColor &light,
            QPointF lightDir, bool ring, Rng &rng);

// Small illustrated people: enough to read who is who by colours and shape.
struct Look
{
    QColor hair{60, 45, 40};
    QColor top{70, 90, 140};
    QColor bottom{50, 55, 70};
    QColor accent{230, 230, 240};
    QColor skin{250, 222, 205};
    QColor line{44, 36, 54, 230}; // outline
    int hairStyle = 0; // 0 short, 1 long, 2 ponytail, 3 twin tails, 4 bob, 5 spiky
    bool skirt = false;
    bool coat = false;
    // The marks by which the figures are told apart, kept even when small.
    bool sideTail = false; // Lio's little side ponytail with its star clip
    QColor clip;           // colour of that clip, if valid
    bool glasses = false;  // Taviel's round glasses
};

enum class Pose { Stand, Walk, Reach, Wave, Sit, Back, Fallen, Run };

// feet: the point between the feet; height in pixels; facing -1 left, +1 right.
void person(QPainter &p, QPointF feet, double height, const Look &look, Pose pose,
            int facing = 1);
// Dark outline of a person against a bright background.
void silhouette(QPainter &p, QPointF feet, double height, const QColor &col, Pose pose,
                int hairStyle = 0, int facing = 1);

// Cast colours, so every picture shows the same people the same way.
Look lookSorin();
Look lookLio();
Look lookTaviel(bool uniform = true);
Look lookStudentAi();

// Town pieces.
void sea(QPainter &p, double horizon, Tod t, Rng &rng, double glitter = 1.0);
void lighthouse(QPainter &p, QPointF base, double height, Tod t, bool beam);
// Hillside of houses with red roofs filling r, nearer rows lower and larger.
void townHill(QPainter &p, const QRectF &r, Tod t, Rng &rng, int rows = 4, double scale = 1.0);
void rowingBoat(QPainter &p, QPointF c, double len, const QColor &hull);
void hexSeams(QPainter &p, const QRectF &r, double size, const QColor &col);
// A Night Watcher: black sphere, one eye, three spring legs.
void watcher(QPainter &p, QPointF c, double r, const QColor &eye, bool eyeOpen = true);
// The generation ship from outside: a long cylinder with a ring.
void shipExterior(QPainter &p, QPointF c, double length, double angleDeg, const QColor &lit);
// Motionless stars and the sea at night seen from the cape.
void nightSky(QPainter &p, double horizon, Rng &rng, int stars = 240);

// Ship places.
// Round hall seen from its edge with a pillar of light in the middle.
void coreHall(QPainter &p, Rng &rng, bool dark, const QColor &pillar);
// Red veins of light running over a floor towards a centre point.
void redVeins(QPainter &p, QPointF centre, Rng &rng, int count, double reach);
// Cavern with a walkway of guide lights towards a round gate of light rings.
// lit: how many of the gate's rings, from the outermost, are lit all round.
void gateHall(QPainter &p, Rng &rng, double gateRadius, QPointF gateAt, int lit = 0);
void capsuleRoom(QPainter &p, Rng &rng);
// Long shaft of lights with dormant or waking Watchers along its sides.
void spine(QPainter &p, Rng &rng, int watchers, const QColor &eye, bool eyesOpen,
           const QColor &lights);
// The end of the spine's first passage after the fight: its door open on
// light, a round hatch beside it, broken Watchers on the walkway.
void passageEnd(QPainter &p, Rng &rng);
// The last gate before the bridge, opening, the cracked shell of the great
// Watcher that guarded it lying in front.
void bridgeGate(QPainter &p, Rng &rng);
// The inside of the habitat cylinder: land and sea curving up on both sides.
void cylinderWorld(QPainter &p, Rng &rng, double curl);
void hiddenRoom(QPainter &p, Rng &rng);
// Screen-like frame around a picture (the keeper's monitors).
void monitorFrame(QPainter &p, const QImage &view, Rng &rng);
// Round room around a dark holographic table (navigation room).
void navRoom(QPainter &p, Rng &rng, bool tableLit);
