#pragma once

class QQmlEngine;

namespace app {

// The pages name their pictures by file URL; from then on every picture under
// the game folder is decoded by the game itself: only regular files, never one
// larger than 8192 pixels a side (a player's replacement picture must not cost
// gigabytes or freeze the window), and at the size the page shows it when the
// page says so.
void guardImages(QQmlEngine &engine);

// The largest side a picture may have.
inline constexpr int kLargestImageSide = 8192;

} // namespace app
