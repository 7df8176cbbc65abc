#pragma once
#include <QImage>
#include <QStringList>
// Names of every character figure ("a1-1" ... "a-13"), without ".png".
QStringList figureNames();
// Draws one figure: 280 x 490, transparent background, standing on the lower edge.
QImage drawFigure(const QString &name);
// Poses no story scene uses, for illustrations: Lio asleep, and the
// transfer-student body with her arms before her, eyes lowered, to carry her.
QImage drawLioAsleep();
QImage drawAndroidCarrying();
