#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

typedef struct _GstElement GstElement;

// What the music chain and the voice share: GStreamer, loaded once, and the
// sound output both play into. Off Windows only.
namespace music {

// False (with one warning for the whole run) when GStreamer cannot start.
bool gstreamerReady();

// The first audio output that opens, pulsesink then alsasink, or without a
// sound card a fake sink that keeps time; QT_GSTREAMER_PLAYBIN_AUDIOSINK, when
// set, wins. Held, not floating; null only when not even the fake sink exists.
GstElement *openAudioSink();

// A pipeline of the elements named, in order, into openAudioSink(), linked.
struct Chain {
    GstElement *pipeline = nullptr; // held; null when the chain could not be made
    std::vector<GstElement *> parts; // the named elements, then the output
    const char *missing = nullptr;   // the first element that could not be made
};
// With no sound output nothing is heard: a chain given keepSilent keeps only
// its first keepSilent elements there (those that keep the track's time) and
// decodes nothing.
Chain buildChain(const char *name, std::initializer_list<const char *> names, std::size_t keepSilent = 0);

} // namespace music
