#pragma once

#include <QDateTime>
#include <QString>

// What a row of the load page says about a slot under its name, read afresh
// from the files each time.
namespace saves {

struct SlotDetails {
    QDateTime savedAt; // invalid when the screenshot is missing
    int line = 0;      // 0 when the saved line is not a number
    QString opening;   // first words of that line of the script
};
SlotDetails slotDetails(int position);
QString slotCaption(int position);

// The quick slot's date and first words, as the load page shows them.
QString quickCaption();

} // namespace saves
