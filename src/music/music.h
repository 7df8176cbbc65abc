#pragma once

#include "core/state.h"
#include "music/player.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct Game;

// Background music: one player for the whole run, a track chosen by the story
// line, the title page or the extras page's music box, looping until another
// is asked for. Every function does nothing when the game has no player.
namespace music {

struct StoryTrack {
    int line;         // first line of the story that plays this file
    const char *file; // relative to the working directory
};

struct GalleryTrack {
    const char *file;
    const char *title; // shown on the extras page as the track title
};

// Sorted by line; a line between two rows takes the lower row's track.
const QVector<StoryTrack> &storyMusicTable();
const QVector<GalleryTrack> &galleryTable();

// Every file either table names, each once, for the data checks.
QStringList musicFiles();

// Process-wide music state, GUI thread only.
using MusicState = core::MusicState;

MusicState &music();

// The player's volume for a setting from 0 to 1, truncated: 0.999 gives 99.
int volumePercent(float inliang);

// Stop, set the file, play.
void startTrack(Game &game, const QString &file);

// The track of the nearest table line at or below the cursor.
void playMusicForLine(Game &game);
void playTitleMusic(Game &game, int value);
void playGalleryTrack(Game &game, int step);
void holdMusic(Game &game, int value);
void loopMusic(Game &game, music::Player::State state);

// Title music, the music box, looping and the player's errors; publishes the
// first track title.
void connectMusic(Game &game);

// The player's error signal: one warning naming the file, then silence until
// another track is started.
void musicFailed(Game &game, music::Player::Error error);

} // namespace music
