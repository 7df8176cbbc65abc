#pragma once
#include <QImage>
#include <QStringList>
// Names of every character figure ("a1-1" ... "a-13"), without ".png".
QStringList figureNames();
// Draws one figure: 280 x 490, transparent background, standing on the lower edge.
QImage drawFigure(const QString &name);
