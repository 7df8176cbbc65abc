#include "tracks.h"

#include "song.h"

namespace musicgen {

namespace {

using I = Instrument;

PartSettings voice(Instrument inst, float gain, float pan, float reverb, float delay = 0.0f,
              float brightness = 0.5f)
{
    PartSettings p;
    p.instrument = inst;
    p.gain = gain;
    p.pan = pan;
    p.reverb = reverb;
    p.delay = delay;
    p.brightness = brightness;
    return p;
}

PartSettings drum(Instrument inst, float gain, float pan, float reverb)
{
    PartSettings p = voice(inst, gain, pan, reverb);
    p.humanise = false;
    return p;
}

// Title page: a slow D major drift under a night sky. Long pads, a low sine bass,
// bells twinkling on chord tones, a flute line that comes and goes.
StereoBuffer universe()
{
    Song s(66, 4, 2, false, 101);
    const int intro = s.addBars("Dmaj7 | Gmaj7/D | Dmaj7 | Gmaj7/D");
    const char *a = "Dmaj7 | Bm7 | Gmaj7 | Asus4 A | Dmaj7/F# | Gmaj7 | Em7 | Asus4 A";
    const int a1 = s.addBars(a);
    const int b1 = s.addBars("Gmaj7 | A | F#m7 | Bm7 | Gmaj7 | A/G | F#m7 | Bm7 A");
    const int a2 = s.addBars(a);
    const int outro = s.addBars("Gmaj7 | Asus4 | Dmaj7 | Dmaj7");
    const int end = s.bars();

    const int pad = s.addPart(voice(I::Pad, 0.55f, 0, 0.5f, 0, 0.35f));
    const int sub = s.addPart(voice(I::SubBass, 0.35f, 0, 0.05f));
    const int bells = s.addPart(voice(I::Bell, 0.5f, 0, 0.6f, 0.5f));
    const int flute = s.addPart(voice(I::Flute, 0.75f, 0.1f, 0.45f, 0.3f, 0.4f));
    const int harp = s.addPart(voice(I::Pluck, 0.45f, -0.2f, 0.45f, 0.15f, 0.3f));
    const int strings = s.addPart(voice(I::Strings, 0.5f, 0.15f, 0.5f, 0, 0.3f));

    s.pad(pad, intro, end, 50, 69, 0.6f);
    s.bassLine(sub, a1, outro + 3, "R-------", 38, 0.7f);
    s.sparkle(bells, intro, a1, 1.5, 78, 93, 0.5f);
    s.sparkle(bells, a1, end - 1, 2.5, 78, 96, 0.55f);

    MelodyStyle m;
    m.low = 66;
    m.high = 85;
    m.rhythms = {{2, 1, 1}, {3, 1}, {1.5, 0.5, 2}, {2, 2}, {1, 1, 2}};
    m.cadences = {{4}, {3, -1}, {2, 2}};
    m.velocity = 0.75f;
    s.melody(flute, a1, b1, m, 1);
    s.counterLine(strings, b1, a2, 57, 69, 0.5f);
    MelodyStyle mb = m;
    mb.rhythms = {{1, 1, 1, 1}, {2, 1, 1}, {1.5, 0.5, 1, 1}};
    s.melody(flute, b1, a2, mb, 2);
    s.arpeggio(harp, b1, outro, {0, 1, 2, 3, 4, 3, 2, 1}, 0.5, 50, 74, 0.5f);
    s.melody(flute, a2, outro, m, 1);
    s.counterLine(strings, a2, outro, 57, 69, 0.45f);

    MixSettings mix;
    mix.roomSize = 0.95;
    mix.damping = 0.3;
    mix.reverbLevel = 1.3;
    mix.tailSeconds = 5;
    mix.fadeSeconds = 10;
    return s.render(mix);
}

// Opening and after-battle memory: F major piano, broken chords in the left hand,
// a simple tune in the right, strings joining for the second half.
StereoBuffer memories()
{
    Song s(70, 4, 5, false, 202);
    const int intro = s.addBars("Fmaj7 | Bb/F");
    const char *a = "F | C/E | Dm | Bb | F/A | Gm7 | C7sus4 | C";
    const int a1 = s.addBars(a);
    const int b1 = s.addBars("Bb | C | Am | Dm | Gm7 | C | F | C7sus4 C7");
    const int a2 = s.addBars(a);
    const int outro = s.addBars("Bb | C7sus4 | F | F");
    const int end = s.bars();

    const int lh = s.addPart(voice(I::Piano, 0.55f, -0.15f, 0.35f, 0, 0.3f));
    const int low = s.addPart(voice(I::Piano, 0.6f, -0.25f, 0.3f, 0, 0.3f));
    const int rh = s.addPart(voice(I::Piano, 1.2f, 0.15f, 0.35f, 0.08f, 0.55f));
    const int strings = s.addPart(voice(I::Strings, 0.4f, 0.2f, 0.5f, 0, 0.3f));
    const int cello = s.addPart(voice(I::Strings, 0.45f, -0.2f, 0.45f, 0, 0.25f));

    s.arpeggio(lh, intro, outro + 2, {0, 2, 1, 2, 3, 2, 1, 2}, 0.5, 48, 67, 0.45f);
    s.bassLine(low, intro, end - 1, "R---5---", 36, 0.55f);
    s.chordHits(lh, end - 2, end, {0}, 8, 48, 67, 0.5f);
    s.note(low, (end - 2) * 4.0, 8, 41, 0.6f);

    MelodyStyle m;
    m.low = 67;
    m.high = 84;
    m.rhythms = {{1, 1, 1.5, 0.5}, {2, 1, 1}, {1.5, 0.5, 1, 1}, {1, 0.5, 0.5, 2}};
    m.cadences = {{3, -1}, {2, 2}, {4}};
    m.velocity = 0.7f;
    s.melody(rh, a1, b1, m, 1);
    MelodyStyle mb = m;
    mb.low = 69;
    mb.high = 86;
    s.melody(rh, b1, a2, mb, 2);
    s.counterLine(strings, b1, outro, 60, 72, 0.5f);
    s.bassLine(cello, b1, outro, "R-------", 43, 0.45f);
    s.melody(rh, a2, outro, m, 1);
    s.melody(rh, outro, outro + 2, m, 1);

    MixSettings mix;
    mix.roomSize = 0.8;
    mix.damping = 0.45;
    mix.reverbLevel = 1.0;
    mix.tailSeconds = 5;
    mix.fadeSeconds = 9;
    return s.render(mix);
}

// School days: G major at a walking pace, guitar picking, electric piano offbeats,
// clap backbeat, flute tune answered by bells.
StereoBuffer playingTogether()
{
    Song s(112, 4, 7, false, 303);
    const int intro = s.addBars("G | Em | C | D");
    const char *a = "G | Em | C | D | G | Em | Am7 | D7";
    const char *b = "C | D | Bm | Em | C | D | Em D/F# | G";
    const int a1 = s.addBars(a);
    const int b1 = s.addBars(b);
    const int a2 = s.addBars(a);
    const int b2 = s.addBars(b);
    const int outro = s.addBars("C | D | G | G");
    const int end = s.bars();

    const int guitar = s.addPart(voice(I::Pluck, 0.55f, -0.3f, 0.25f, 0, 0.5f));
    const int keys = s.addPart(voice(I::ElectricPiano, 0.45f, 0.3f, 0.25f, 0, 0.4f));
    const int bass = s.addPart(voice(I::Bass, 0.5f, 0, 0.05f, 0, 0.4f));
    const int flute = s.addPart(voice(I::Flute, 0.7f, 0.05f, 0.3f, 0.2f, 0.5f));
    const int bells = s.addPart(voice(I::Bell, 0.6f, 0.15f, 0.35f, 0.2f));
    const int kick = s.addPart(drum(I::Kick, 0.7f, 0, 0.05f));
    const int clap = s.addPart(drum(I::Clap, 0.4f, 0.05f, 0.25f));
    const int hat = s.addPart(drum(I::ClosedHat, 0.3f, 0.25f, 0.1f));
    const int shaker = s.addPart(drum(I::Shaker, 0.3f, -0.3f, 0.1f));

    s.arpeggio(guitar, intro, outro + 3, {0, 1, 2, 3, 2, 1, 2, 3}, 0.5, 52, 71, 0.55f);
    s.chordHits(keys, a1, outro + 2, {1.5, 3.5}, 0.4, 59, 74, 0.5f);
    s.bassLine(bass, intro + 2, outro + 2, "R--R--5-", 40, 0.8f);
    s.drums(shaker, intro, outro + 3, "..o...o...o...o.", 0.8f);
    s.drums(kick, a1, outro + 2, "X.....x.X.......", 0.9f);
    s.drums(clap, a1, outro + 2, "....X.......X...", 0.8f);
    s.drums(hat, b1, a2, "x.o.x.o.x.o.x.o.", 0.8f);
    s.drums(hat, b2, outro + 2, "x.o.x.o.x.o.x.o.", 0.8f);
    s.chordHits(guitar, end - 1, end, {0}, 4, 52, 71, 0.6f);
    s.note(bass, (end - 1) * 4.0, 3, 43, 0.8f);

    MelodyStyle m;
    m.low = 67;
    m.high = 86;
    m.rhythms = {{1, 0.5, 0.5, 1, 1}, {0.5, 0.5, 1, 0.5, 0.5, 1}, {1.5, 0.5, 1, 1},
                 {-0.5, 0.5, 1, 1, 1}};
    m.cadences = {{2, 2}, {3, -1}, {1, 1, 2}};
    m.velocity = 0.8f;
    m.legato = 0.85;
    s.melody(flute, a1, b1, m, 1);
    MelodyStyle mb = m;
    mb.low = 72;
    mb.high = 91;
    mb.rhythms = {{1, 1, 0.5, 0.5, 1}, {0.5, 0.5, 0.5, 0.5, 2}, {1, 1, 2}};
    s.melody(bells, b1, a2, mb, 2);
    s.melody(flute, a2, b2, m, 1);
    s.melody(bells, a2, b2, m, 1, 12);
    s.melody(flute, b2, outro, mb, 2, -12);
    s.melody(bells, b2, outro, mb, 2);

    MixSettings mix;
    mix.roomSize = 0.6;
    mix.damping = 0.5;
    mix.reverbLevel = 0.8;
    mix.delayBeats = 0.75;
    mix.tailSeconds = 3;
    mix.fadeSeconds = 7;
    return s.render(mix);
}

// Outings: D major travelling two-step. Bass on one and three, string chords on two and
// four, a marimba tune, tambourine-like shaker.
StereoBuffer playingAround()
{
    Song s(128, 4, 2, false, 404);
    const int intro = s.addBars("D | G | A | D");
    const char *a = "D | D | G | A | D | Bm | E7 | A7";
    const char *b = "G | A | F#m | Bm | Em | A | D | D";
    const int a1 = s.addBars(a);
    const int b1 = s.addBars(b);
    const int a2 = s.addBars(a);
    const int b2 = s.addBars(b);
    const int a3 = s.addBars(a);
    const int outro = s.addBars("G | A7 | D | D");
    const int end = s.bars();

    const int bass = s.addPart(voice(I::Pluck, 0.6f, 0, 0.1f, 0, 0.3f));
    const int chords = s.addPart(voice(I::StaccatoStrings, 0.5f, 0.25f, 0.3f, 0, 0.4f));
    const int marimba = s.addPart(voice(I::Marimba, 0.95f, -0.1f, 0.3f, 0.15f));
    const int whistle = s.addPart(voice(I::Flute, 0.6f, 0.2f, 0.35f, 0.25f, 0.6f));
    const int arp = s.addPart(voice(I::Marimba, 0.45f, -0.35f, 0.3f));
    const int shaker = s.addPart(drum(I::Shaker, 0.35f, 0.3f, 0.15f));
    const int kick = s.addPart(drum(I::Kick, 0.55f, 0, 0.05f));
    const int snare = s.addPart(drum(I::Snare, 0.3f, 0.05f, 0.2f));
    const int pad = s.addPart(voice(I::Pad, 0.3f, 0, 0.4f, 0, 0.3f));

    s.bassLine(bass, intro, outro + 2, "R---5---R---5---", 38, 0.85f);
    s.chordHits(chords, intro, outro + 2, {1, 3}, 0.3, 57, 72, 0.6f);
    s.drums(shaker, a1, outro + 2, "x.o.x.o.x.o.x.o.", 0.8f);
    s.drums(kick, a1, outro + 2, "X.......X.......", 0.8f);
    s.drums(snare, b1, a2, "....x.......x...", 0.7f);
    s.drums(snare, b2, outro + 2, "....x.......x..o", 0.7f);
    s.arpeggio(arp, b1, a2, {0, 1, 2, 3, 2, 1, 2, 1}, 0.5, 62, 81, 0.5f);
    s.arpeggio(arp, b2, a3, {0, 1, 2, 3, 2, 1, 2, 1}, 0.5, 62, 81, 0.5f);
    s.pad(pad, b1, outro, 54, 69, 0.45f);
    s.chordHits(chords, end - 2, end, {0}, 6, 57, 72, 0.55f);
    s.note(bass, (end - 2) * 4.0, 4, 38, 0.9f);

    MelodyStyle m;
    m.low = 69;
    m.high = 88;
    m.rhythms = {{0.5, 0.5, 1, 0.5, 0.5, 1}, {1, 0.5, 0.5, 1, 1}, {0.5, 0.5, 0.5, 0.5, 1, 1},
                 {1.5, 0.5, 1, 1}};
    m.cadences = {{1, 1, 2}, {2, 1, -1}, {0.5, 0.5, 1, 2}};
    m.velocity = 0.85f;
    m.legato = 0.8;
    s.melody(marimba, a1, b1, m, 1);
    MelodyStyle mb = m;
    mb.rhythms = {{2, 1, 1}, {1, 1, 2}, {1.5, 0.5, 2}};
    mb.cadences = {{4}, {2, 2}};
    mb.legato = 0.95;
    s.melody(whistle, b1, a2, mb, 2);
    s.melody(marimba, a2, b2, m, 1);
    s.melody(whistle, b2, a3, mb, 2);
    s.melody(marimba, a3, outro, m, 1);
    s.melody(whistle, a3, outro, m, 1);

    MixSettings mix;
    mix.roomSize = 0.55;
    mix.damping = 0.5;
    mix.reverbLevel = 0.8;
    mix.tailSeconds = 3;
    mix.fadeSeconds = 7;
    return s.render(mix);
}

// Discovery: D minor, a staccato string ostinato from the first bar, timpani, and
// layers added section by section until brass carries the theme over full drums.
StereoBuffer adventure()
{
    Song s(100, 4, 2, true, 505);
    const int intro = s.addBars("Dm | Dm | Bb | C");
    const char *a = "Dm | Bb | F | C | Dm | Bb | Gm | A";
    const int a1 = s.addBars(a);
    const int b1 = s.addBars("Bb | C | Am | Dm | Bb | C | Asus4 | A");
    const int a2 = s.addBars(a);
    const int c1 = s.addBars("Gm | Dm | Bb | F | Gm | Dm/F | Em7b5 A | Dm");
    const int outro = s.addBars("Bb | A | Dm | Dm");
    const int end = s.bars();

    const int ost = s.addPart(voice(I::StaccatoStrings, 0.8f, -0.2f, 0.3f, 0, 0.3f));
    const int timp = s.addPart(drum(I::Timpani, 0.4f, 0, 0.35f));
    const int bass = s.addPart(voice(I::Bass, 0.7f, 0, 0.1f, 0, 0.3f));
    const int pad = s.addPart(voice(I::Strings, 0.4f, 0.1f, 0.45f, 0, 0.35f));
    const int brass = s.addPart(voice(I::Brass, 0.75f, 0.15f, 0.4f, 0.1f, 0.6f));
    const int horns = s.addPart(voice(I::Brass, 0.45f, -0.25f, 0.45f, 0, 0.4f));
    const int tom = s.addPart(drum(I::Tom, 0.6f, -0.15f, 0.3f));
    const int kick = s.addPart(drum(I::Kick, 0.6f, 0, 0.1f));
    const int snare = s.addPart(drum(I::Snare, 0.35f, 0.1f, 0.3f));
    const int crash = s.addPart(drum(I::Crash, 0.35f, 0, 0.3f));
    const int hat = s.addPart(drum(I::ClosedHat, 0.22f, 0.3f, 0.1f));

    // The ostinato grows louder and brighter bar by bar: the rising tension.
    for (int bar = intro; bar < outro + 2; ++bar) {
        const float v = 0.45f + 0.5f * float(bar) / float(end);
        s.arpeggio(ost, bar, bar + 1, {0, 0, 1, 0, 2, 0, 1, 0}, 0.5, 50, 65, v);
    }
    s.drums(timp, intro, a1, "X...............", 0.7f, 38);
    s.drums(timp, a1, b1, "X.......x.......", 0.8f, 38);
    s.bassLine(bass, a1, outro + 2, "R-----R-R-----5-", 38, 0.75f);
    s.pad(pad, a1, outro + 2, 57, 72, 0.45f);

    MelodyStyle m;
    m.low = 62;
    m.high = 79;
    m.rhythms = {{1.5, 0.5, 1, 1}, {1, 0.5, 0.5, 2}, {0.75, 0.25, 1, 2}, {2, 1, 1}};
    m.cadences = {{4}, {2, 2}, {3, -1}};
    m.velocity = 0.75f;
    m.legato = 0.9;
    m.leapChance = 0.3;
    s.melody(horns, a1, b1, m, 1);
    s.drums(tom, b1, a2, "X..x..x.X..x.x..", 0.7f, 45);
    s.drums(tom, b1 + 7, a2, "x.x.x.xxXxXxXXXX", 0.8f, 50);
    s.drums(timp, b1, a2, "X.......X.......", 0.8f, 38);
    s.counterLine(horns, b1, a2, 53, 65, 0.55f);
    MelodyStyle mb = m;
    mb.low = 65;
    mb.high = 81;
    s.melody(brass, b1, a2, mb, 2);
    s.melody(brass, a2, c1, m, 1);
    s.melody(brass, c1, outro, mb, 3);
    s.counterLine(horns, a2, outro, 53, 65, 0.6f);
    s.drums(crash, a2, a2 + 1, "X...............", 0.8f);
    s.drums(crash, c1, c1 + 1, "X...............", 0.8f);
    s.drums(kick, a2, outro, "X.....X.X.......", 0.85f);
    s.drums(snare, a2, outro, "....X.......X...", 0.8f);
    s.drums(hat, a2, outro, "x.x.x.x.x.x.x.x.", 0.8f);
    s.drums(tom, c1 + 7, outro, "X.x.X.x.XxXxXXXX", 0.85f, 47);
    s.drums(timp, outro, end, "X...............", 0.8f, 38);
    s.chordHits(pad, end - 2, end, {0}, 8, 50, 69, 0.5f);
    s.note(brass, (end - 2) * 4.0, 6, 62, 0.6f);
    s.note(bass, (end - 2) * 4.0, 6, 38, 0.7f);

    MixSettings mix;
    mix.roomSize = 0.8;
    mix.damping = 0.4;
    mix.reverbLevel = 1.0;
    mix.tailSeconds = 4;
    mix.fadeSeconds = 8;
    return s.render(mix);
}

// Action interludes: E minor at 144, four-on-the-floor kick, sixteenth hats, a filtered
// synth bass and plucked arpeggios, brass riff on top, tom fills into each section.
StereoBuffer civilization()
{
    Song s(144, 4, 4, true, 606);
    const int intro = s.addBars("Em | Em | C | D");
    const char *a = "Em | C | D | Bm | Em | C | Am | B";
    const char *b = "C | D | Em | Em | C | D | B | B";
    const int a1 = s.addBars(a);
    const int a2 = s.addBars(a);
    const int b1 = s.addBars(b);
    const int a3 = s.addBars(a);
    const int brk = s.addBars("Em | Em | C | D");
    const int a4 = s.addBars(a);
    const int outro = s.addBars("C | D | Em | Em");
    const int end = s.bars();

    const int bass = s.addPart(voice(I::SynthBass, 0.6f, 0, 0.03f, 0, 0.5f));
    const int arp = s.addPart(voice(I::SynthPluck, 0.42f, 0.25f, 0.2f, 0.25f, 0.55f));
    const int lead = s.addPart(voice(I::Brass, 0.7f, -0.05f, 0.3f, 0.15f, 0.7f));
    const int pad = s.addPart(voice(I::Strings, 0.35f, 0, 0.35f, 0, 0.4f));
    const int kick = s.addPart(drum(I::Kick, 0.8f, 0, 0.03f));
    const int snare = s.addPart(drum(I::Snare, 0.45f, 0.05f, 0.2f));
    const int hat = s.addPart(drum(I::ClosedHat, 0.28f, 0.3f, 0.05f));
    const int open = s.addPart(drum(I::OpenHat, 0.22f, -0.3f, 0.1f));
    const int tom = s.addPart(drum(I::Tom, 0.6f, -0.2f, 0.2f));
    const int tomLow = s.addPart(drum(I::Tom, 0.6f, 0.2f, 0.2f));
    const int crash = s.addPart(drum(I::Crash, 0.35f, 0, 0.2f));

    s.drums(hat, intro, outro + 2, "xoxoxoxoxoxoxoxo", 0.8f);
    s.drums(kick, intro + 2, brk, "X...X...X...X...", 0.9f);
    s.drums(kick, brk + 2, outro + 2, "X...X...X...X...", 0.9f);
    s.bassLine(bass, a1, brk, "R.RRR.RRR.RRR.5R", 40, 0.8f);
    s.bassLine(bass, brk, outro + 2, "R.RRR.RRR.RRR.5R", 40, 0.8f);
    s.drums(snare, a1, brk, "....X.......X...", 0.85f);
    s.drums(snare, a4, outro + 2, "....X.......X...", 0.85f);
    s.drums(open, a2, brk, "..x...x...x...x.", 0.8f);
    s.arpeggio(arp, a1, brk, {0, 1, 2, 3, 2, 1, 0, 2}, 0.25, 59, 76, 0.6f);
    s.arpeggio(arp, a4, outro + 2, {0, 1, 2, 3, 2, 1, 0, 2}, 0.25, 59, 76, 0.6f);
    s.pad(pad, b1, a3, 55, 71, 0.5f);
    s.pad(pad, brk, outro + 2, 55, 71, 0.5f);
    for (int fill : {a1 - 1, a2 - 1, b1 - 1, a3 - 1, brk - 1, a4 - 1}) {
        s.drums(tom, fill, fill + 1, "........X.X.x.x.", 0.85f, 52);
        s.drums(tomLow, fill, fill + 1, ".........X.X.XxX", 0.85f, 45);
    }
    for (int at : {a1, a2, b1, a3, a4})
        s.drums(crash, at, at + 1, "X...............", 0.8f);

    MelodyStyle m;
    m.low = 64;
    m.high = 81;
    m.rhythms = {{0.5, 0.5, 0.5, 0.5, 1, 1}, {1, 0.5, 0.5, 1, 1}, {0.75, 0.75, 0.5, 1, 1},
                 {-0.5, 0.5, 0.5, 0.5, 2}};
    m.cadences = {{2, 2}, {1, 1, 2}, {3, -1}};
    m.velocity = 0.85f;
    m.legato = 0.8;
    m.leapChance = 0.3;
    s.melody(lead, a2, b1, m, 1);
    MelodyStyle mb = m;
    mb.rhythms = {{2, 2}, {1, 1, 2}, {3, 1}};
    mb.cadences = {{4}};
    mb.legato = 0.95;
    s.melody(lead, b1, a3, mb, 2);
    s.melody(lead, a3, brk, m, 1);
    s.melody(lead, a4, outro, m, 1);
    s.chordHits(pad, end - 2, end, {0}, 8, 55, 71, 0.5f);
    s.note(bass, (end - 2) * 4.0, 3, 40, 0.8f);
    s.drums(crash, end - 2, end - 1, "X...............", 0.7f);
    s.drums(kick, end - 2, end - 1, "X...............", 0.9f);

    MixSettings mix;
    mix.roomSize = 0.5;
    mix.damping = 0.5;
    mix.reverbLevel = 0.7;
    mix.delayBeats = 0.75;
    mix.tailSeconds = 3;
    mix.fadeSeconds = 6;
    return s.render(mix);
}

// Sad endings: A minor at 62, slow piano arpeggios, a cello line, strings in the middle.
StereoBuffer farewell()
{
    Song s(62, 4, 9, true, 707);
    const int intro = s.addBars("Am | Fmaj7");
    const char *a = "Am | F | C | G | Am | Dm | Esus4 E | Am";
    const int a1 = s.addBars(a);
    const int b1 = s.addBars("F | G | Em | Am | Dm | Am/C | Bm7b5 E | Am");
    const int a2 = s.addBars(a);
    const int outro = s.addBars("Fmaj7 | Am");
    const int end = s.bars();

    const int piano = s.addPart(voice(I::Piano, 0.7f, -0.1f, 0.4f, 0, 0.3f));
    const int low = s.addPart(voice(I::Piano, 0.55f, -0.2f, 0.35f, 0, 0.25f));
    const int cello = s.addPart(voice(I::Strings, 1.0f, 0.15f, 0.45f, 0, 0.35f));
    const int high = s.addPart(voice(I::Piano, 0.85f, 0.2f, 0.45f, 0.1f, 0.4f));
    const int strings = s.addPart(voice(I::Pad, 0.4f, 0, 0.5f, 0, 0.25f));

    s.arpeggio(piano, intro, outro + 1, {0, 1, 2, 3, 2, 1, 0, 2}, 0.5, 50, 69, 0.4f);
    s.bassLine(low, intro, outro + 1, "R-------", 33, 0.5f);
    s.chordHits(piano, end - 1, end, {0}, 4, 50, 69, 0.45f);
    s.note(low, (end - 1) * 4.0, 4, 45, 0.5f);

    MelodyStyle m;
    m.low = 55;
    m.high = 72;
    m.rhythms = {{2, 1, 1}, {3, 1}, {1.5, 0.5, 2}, {1, 1, 2}};
    m.cadences = {{4}, {3, -1}};
    m.velocity = 0.7f;
    m.legato = 0.98;
    s.melody(cello, a1, b1, m, 1);
    MelodyStyle mb = m;
    mb.low = 69;
    mb.high = 84;
    mb.rhythms = {{1, 1, 1, 1}, {2, 1, 1}, {1.5, 0.5, 1, 1}};
    s.melody(high, b1, a2, mb, 2);
    s.pad(strings, b1, outro + 1, 55, 71, 0.45f);
    s.melody(cello, a2, outro, m, 1, 12);

    MixSettings mix;
    mix.roomSize = 0.85;
    mix.damping = 0.45;
    mix.reverbLevel = 1.1;
    mix.tailSeconds = 5;
    mix.fadeSeconds = 10;
    return s.render(mix);
}

// Finale: starts with piano and bells in C, adds strings, then drums, and lifts a whole
// tone to D for the last statement of the theme.
StereoBuffer theStars()
{
    Song s(80, 4, 0, false, 808);
    const int intro = s.addBars("C | G/B | Am | F");
    const char *a = "C | G/B | Am | Em/G | F | C/E | Dm7 | G";
    const int a1 = s.addBars(a);
    const int b1 = s.addBars("F | G | Em | Am | Dm7 | Em | F | G");
    const int a2 = s.addBars(a);
    const int lift = s.addBars("A7sus4 A7");
    s.setKey(2, false);
    const int a3 = s.addBars("D | A/C# | Bm | F#m/A | G | D/F# | Em7 | A");
    const int outro = s.addBars("G | A | D | D");
    const int end = s.bars();

    const int piano = s.addPart(voice(I::Piano, 0.7f, -0.15f, 0.35f, 0, 0.4f));
    const int bells = s.addPart(voice(I::Bell, 0.45f, 0.2f, 0.5f, 0.35f));
    const int lead = s.addPart(voice(I::Flute, 0.75f, 0.1f, 0.4f, 0.2f, 0.5f));
    const int strings = s.addPart(voice(I::Strings, 0.75f, 0.05f, 0.45f, 0, 0.45f));
    const int counter = s.addPart(voice(I::Strings, 0.45f, -0.25f, 0.45f, 0, 0.35f));
    const int brass = s.addPart(voice(I::Brass, 0.4f, 0.25f, 0.4f, 0, 0.45f));
    const int bass = s.addPart(voice(I::Bass, 0.7f, 0, 0.1f, 0, 0.3f));
    const int pad = s.addPart(voice(I::Pad, 0.35f, 0, 0.5f, 0, 0.3f));
    const int kick = s.addPart(drum(I::Kick, 0.6f, 0, 0.1f));
    const int snare = s.addPart(drum(I::Snare, 0.35f, 0.05f, 0.35f));
    const int tom = s.addPart(drum(I::Tom, 0.45f, -0.1f, 0.35f));
    const int crash = s.addPart(drum(I::Crash, 0.3f, 0, 0.35f));
    const int timp = s.addPart(drum(I::Timpani, 0.35f, 0, 0.4f));

    s.arpeggio(piano, intro, outro, {0, 1, 2, 3, 4, 3, 2, 1}, 0.5, 48, 72, 0.45f);
    s.sparkle(bells, intro, a2, 1.5, 79, 93, 0.5f);
    s.bassLine(bass, a1, outro + 2, "R---R-5-", 36, 0.7f);
    s.pad(pad, b1, outro + 2, 52, 69, 0.45f);

    MelodyStyle m;
    m.low = 67;
    m.high = 84;
    m.rhythms = {{2, 1, 1}, {1.5, 0.5, 1, 1}, {1, 1, 2}, {3, 0.5, 0.5}};
    m.cadences = {{4}, {2, 2}, {3, -1}};
    m.velocity = 0.75f;
    s.melody(lead, a1, b1, m, 1);
    MelodyStyle mb = m;
    mb.rhythms = {{1, 1, 1, 1}, {2, 2}, {1.5, 0.5, 2}};
    s.melody(strings, b1, a2, mb, 2);
    s.drums(tom, b1 + 4, a2, "X.......x...x...", 0.7f, 45);
    s.drums(timp, b1 + 7, a2, "X...x...XxxxXXXX", 0.7f, 36);
    s.melody(strings, a2, lift, m, 1, -12);
    s.melody(lead, a2, lift, m, 1);
    s.counterLine(counter, a2, outro + 2, 50, 62, 0.5f);
    s.drums(kick, a2, lift, "X.......X.......", 0.8f);
    s.drums(snare, a2, lift, "........X.......", 0.8f);
    s.drums(crash, a2, a2 + 1, "X...............", 0.8f);
    s.drums(timp, lift, a3, "X.......XxxxXXXX", 0.8f, 38);
    s.counterLine(brass, lift, lift + 1, 57, 69, 0.6f);

    s.melody(strings, a3, outro, m, 1, -10);
    s.melody(lead, a3, outro, m, 1, 2);
    s.counterLine(brass, a3, outro + 2, 57, 69, 0.6f);
    s.drums(crash, a3, a3 + 1, "X...............", 0.9f);
    s.drums(kick, a3, outro, "X.....X.X.......", 0.85f);
    s.drums(snare, a3, outro, "....X.......X...", 0.85f);
    s.drums(tom, outro - 1, outro, "X.x.X.x.XxXxXXXX", 0.75f, 47);
    s.sparkle(bells, a3, end, 2.5, 81, 96, 0.55f);
    s.chordHits(piano, outro, end, {0, 2}, 2, 50, 74, 0.5f);
    s.drums(crash, end - 2, end - 1, "X...............", 0.7f);
    s.drums(timp, end - 2, end - 1, "X...............", 0.7f, 38);
    s.chordHits(strings, end - 2, end, {0}, 8, 62, 78, 0.6f);

    MixSettings mix;
    mix.roomSize = 0.9;
    mix.damping = 0.35;
    mix.reverbLevel = 1.2;
    mix.tailSeconds = 5;
    mix.fadeSeconds = 9;
    return s.render(mix);
}

} // namespace

const std::vector<Track> &tracks()
{
    static const std::vector<Track> list = {
        {"Universe.mp3", universe},
        {"Memories.mp3", memories},
        {"Playing_Together_With_You.mp3", playingTogether},
        {"Playing_Around_The_World.mp3", playingAround},
        {"The_Adventure.mp3", adventure},
        {"Civilization.mp3", civilization},
        {"Farewell.mp3", farewell},
        {"The_Stars_Shall_Never_Forget.mp3", theStars},
    };
    return list;
}

} // namespace musicgen
