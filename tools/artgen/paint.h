#pragma once
// Small drawing vocabulary shared by the scene and figure painters. Everything
// here is deterministic: the only randomness comes from Rng with a fixed seed.
#include "rng.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <utility>

// Seed derived from a picture name, so adding a picture never shifts another.
std::uint64_t seedFor(const char *name);

using Stops = std::initializer_list<std::pair<double, QColor>>;

QColor mix(const QColor &a, const QColor &b, double t);
QColor alpha(const QColor &c, int a);
QColor shade(const QColor &c, double f); // f < 1 darker, > 1 lighter

// Every picture is drawn at kDetail times the size it is shown at, so that a
// full screen stays sharp. Painters keep the shown size's coordinates: the
// canvases carry the ratio, and a QPainter on them scales by it.
constexpr int kDetail = 2;
// Blank canvases of w x h shown pixels: opaque for pictures, transparent for
// sprites and figures.
QImage canvas(int w, int h, const QColor &fill = Qt::black);
QImage spriteCanvas(int w, int h);
// A canvas's size in the coordinates it is painted in.
QSizeF shownSize(const QImage &img);
// A rectangle in painting coordinates as the image's own pixels (source rects).
QRectF inPixels(const QImage &img, const QRectF &r);
// QPainter with antialiasing on.
void prepare(QPainter &p);

void fillLinear(QPainter &p, const QRectF &r, QPointF from, QPointF to, Stops stops);
void fillVertical(QPainter &p, const QRectF &r, Stops stops);
// Soft round light that fades to nothing at radius r.
void glow(QPainter &p, QPointF c, double r, const QColor &col);
// Soft light added onto what is below (Plus composition).
void addGlow(QPainter &p, QPointF c, double r, const QColor &col);
// Wedge of light from a narrow top to a wide bottom, fading downwards.
void lightShaft(QPainter &p, QPointF top, double topW, QPointF bottom, double bottomW,
                const QColor &col);
// Darkened edges.
void vignette(QPainter &p, const QRectF &r, double strength);
// Twinkling dots with a few brighter crosses.
void starfield(QPainter &p, const QRectF &r, int count, Rng &rng, double maxSize = 1.6);
// Out-of-focus discs of light.
void bokeh(QPainter &p, const QRectF &r, int count, Rng &rng, const QColor &a,
           const QColor &b, double minR, double maxR);
// Gently waving horizontal band closed at the bottom of r (hills, dunes).
void hills(QPainter &p, const QRectF &r, double baseY, double amp, double waves,
           double phase, const QColor &col);

// Words painted into a picture, all in one face that has Chinese glyphs. The
// face must hold every character itself: otherwise Qt borrows from whatever
// else is installed or draws boxes. A refused label draws nothing and is
// recorded; artgen fails when any was refused.
extern const char *const kLabelFamily;
QFont labelFont(double pixelSize, bool bold = false);
// The characters of text that the label face lacks (all of them without the face).
QString missingGlyphs(const QString &text);
bool drawLabel(QPainter &p, const QRectF &r, const QString &text, double pixelSize, const QColor &colour,
               bool bold = false, int flags = Qt::AlignCenter);
// Every label refused so far in this process, as "text: missing characters".
QStringList refusedLabels();
