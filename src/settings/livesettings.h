#pragma once

struct Game;

namespace settings {

// Attaches the settings handlers to the controller: quit, and the live
// settings and display mode of the settings page.
void connectSettings(Game &game);

// A slider's value reaching the game: ignored when not a number, clamped to
// 0 to 1, dropped when equal to the live value; otherwise stored in the
// controller, written to setting line 2, 3 or 4, published, and (volume)
// given to the player.
void setTextSpeed(Game &game, float value);
void setAutoSpeed(Game &game, float value);
void setVolume(Game &game, float value);

// The options after the four numbers; "1" on, "0" off, a missing line off.
constexpr int kWholeLineFirstLine = 5;
constexpr int kSkipReadOnlyLine = 6;

// The interludes' mode, "0" 标准, "1" 轻松, "2" 跳过; missing is 标准.
constexpr int kInterludeModeLine = 7;

// The text box's look: the text size (0 to 2, a missing or odd line 0) and the
// box's opacity (0.2 to 1, a missing or odd line the usual 0.75).
constexpr int kTextSizeLine = 8;
constexpr int kBoxOpacityLine = 9;
constexpr float kDefaultBoxOpacity = 0.75f;
void setTextSize(Game &game, int size);
void setBoxOpacity(Game &game, float value);

// 朗读: every line read aloud as it is shown; "1" on, missing or "0" off.
constexpr int kReadAloudLine = 10;
// Stores and writes it like the other options; off stops the speech, on
// reads the line on screen (or says so away from the story).
void setReadAloud(Game &game, bool on);

// The script the game writes in, "0" 简体, "1" 繁體; missing is 简体.
constexpr int kTextFormLine = 11;
// A form other than 0 or 1 is dropped; a new one shows at once: the pages'
// words, every word property and the line in the text box.
void setTextForm(Game &game, int form);

// Reads the option lines into the game and publishes them.
void loadOptions(Game &game);

// Stores, writes its line (padding missing option lines with "0") and publishes.
void setWholeLineFirst(Game &game, bool on);
void setSkipReadOnly(Game &game, bool on);
// A mode other than 0 to 2 is dropped; a new one takes effect at once (see
// stage::changeInterludeMode).
void setInterludeMode(Game &game, int mode);

// Stores the mode in setting line 1 and the scale factor in QT_SCALE_FACTOR,
// then 100 ms later starts a new game process and quits this one, or, when
// the new process does not start, keeps running and says so on the page.
void changeDisplayMode(Game &game, int mode);

} // namespace settings
