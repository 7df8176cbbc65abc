#pragma once

class QQmlEngine;

namespace app {

// The game reaches no network. The story's text is rich text, and a picture it
// names by URL would be fetched by the pages' engine: every request for
// anything but the game's own files (file:, qrc:, and image:, the game's
// pictures) is answered at once with an error, and the first one refused is
// said once.
void refuseNetwork(QQmlEngine &engine);

} // namespace app
