#pragma once

#include <QString>

struct Game;

namespace extras {

// Highest illustration reached: whole part the illustration, tenths the sub-image.
float &cgProgress();

// Last line of the record file as a float. Missing, empty, not a number, not
// finite or outside 0 to 36.9 reads as 0; a damaged value with a warning.
float readUnlockRecord(const QString &path = QStringLiteral("saves/extra.txt"));

// The record as a text stream writes a real by default ("1.1", "17.6", "36").
QString unlockRecordText(float value);

// Writes the record in one piece (creating "saves" when missing); false, with
// a warning, when it could not be written.
bool writeUnlockRecord(float value, const QString &path = QStringLiteral("saves/extra.txt"));

// Raises the record to v (single precision); never lowers it. A rise is
// written to the record file at once, so no unlock waits for a save. Returns
// whether it rose.
bool raiseCgProgress(float v);

} // namespace extras
