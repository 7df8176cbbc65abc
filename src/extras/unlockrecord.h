#pragma once

#include <QString>

namespace extras {

// Highest illustration reached: whole part the illustration, tenths the sub-image.
float &cgProgress();

// Last line of the record file as a float; 0 when missing, empty or not a number.
float readUnlockRecord(const QString &path = QStringLiteral("saves/extra.txt"));

// Raises the record to v (single precision); never lowers it. Returns whether it rose.
bool raiseCgProgress(float v);

} // namespace extras
