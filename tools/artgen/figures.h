#pragma once
#include "figure_painter.h"

#include <QImage>
#include <QStringList>
// Names of every character figure ("a1-1" ... "a-13"), without ".png".
QStringList figureNames();
// Draws one figure: shown at 280 x 490 (drawn at twice that), transparent
// background, standing on the lower edge.
QImage drawFigure(const QString &name);
// The girl of Sorin's dream: a figure's frame holding a backlit shape nobody
// could name yet. Not one of figureNames(), whose sets each show one person.
extern const char *const kDreamFigure;
QImage drawDreamFigure();
// Poses no story scene uses, for illustrations: Lio asleep, and the
// transfer-student body with her arms before her, eyes lowered, to carry her.
QImage drawLioAsleep();
QImage drawAndroidCarrying();
// The people behind the figures, for illustrations that pose them their own
// way with fig::paintFigure: the same hair, colours and clothes as in the story
// scenes. Sorin and the first captain have no figure of their own.
enum class CastLook { Lio, LioGrown, Android, Hologram, Taviel, TavielHome, Sorin, Captain };
fig::Look castLook(CastLook who);
