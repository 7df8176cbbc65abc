// Checks the music generator's harmony and synthesis: chord symbols, the figures the
// generators write against the chords, and that every instrument sounds, stays in range
// and does not alias.
#include "song.h"

#include <QtTest>

#include <cmath>
#include <set>

using namespace musicgen;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

PartSettings exact(Instrument inst)
{
    PartSettings p;
    p.instrument = inst;
    p.humanise = false;  // exact beats, so notes can be compared with the grid
    return p;
}

const char *instrumentName(int i)
{
    static const char *names[] = {"piano", "electric piano", "bell", "marimba", "pad", "strings",
                                  "staccato strings", "flute", "brass", "pluck", "bass",
                                  "synth bass", "sub bass", "synth pluck", "kick", "snare", "clap",
                                  "closed hat", "open hat", "shaker", "tom", "timpani", "crash"};
    return names[i];
}

int pitchClass(double pitch) { return ((int(std::lround(pitch)) % 12) + 12) % 12; }

// Chord sounding at a beat of a 4/4 song built from one chord per bar.
Chord chordOfBar(const std::vector<std::string> &symbols, double seconds, double bpm)
{
    const int bar = int(seconds * bpm / 60.0 / 4.0 + 1e-6);
    Chord c;
    parseChord(symbols[size_t(bar)], &c);
    return c;
}

bool inChord(const Chord &c, double pitch)
{
    return std::find(c.tones.begin(), c.tones.end(), pitchClass(pitch)) != c.tones.end();
}

// Energy above 'hz' relative to the whole signal, from a plain DFT over a grid.
double energyAboveDb(const std::vector<float> &x, double hz)
{
    double above = 0, total = 0;
    const size_t n = std::min<size_t>(x.size(), 8192);
    for (int bin = 1; bin < int(n / 2); bin += 3) {
        const double f = double(bin) * kSampleRate / double(n);
        double re = 0, im = 0;
        for (size_t i = 0; i < n; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2 * kPi * double(i) / double(n));
            re += w * x[i] * std::cos(2 * kPi * bin * double(i) / double(n));
            im -= w * x[i] * std::sin(2 * kPi * bin * double(i) / double(n));
        }
        const double e = re * re + im * im;
        total += e;
        if (f > hz)
            above += e;
    }
    return 10 * std::log10(above / total + 1e-30);
}

} // namespace

class TestMusicgen : public QObject {
    Q_OBJECT

private slots:
    void chordSymbols_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<std::vector<int>>("tones");
        QTest::addColumn<int>("bass");
        QTest::newRow("major") << "C" << true << std::vector<int>{0, 4, 7} << 0;
        QTest::newRow("sharp minor seventh") << "F#m7" << true << std::vector<int>{6, 9, 1, 4} << 6;
        QTest::newRow("flat major seventh") << "Bbmaj7" << true << std::vector<int>{10, 2, 5, 9} << 10;
        QTest::newRow("slash chord") << "Am/C" << true << std::vector<int>{9, 0, 4} << 0;
        QTest::newRow("half diminished") << "Em7b5" << true << std::vector<int>{4, 7, 10, 2} << 4;
        QTest::newRow("suspended dominant") << "A7sus4" << true << std::vector<int>{9, 2, 4, 7} << 9;
        QTest::newRow("sharp slash bass") << "A/C#" << true << std::vector<int>{9, 1, 4} << 1;
        QTest::newRow("unknown letter") << "H" << false << std::vector<int>{} << 0;
        QTest::newRow("unknown quality") << "Cmaj13" << false << std::vector<int>{} << 0;
        QTest::newRow("empty bass") << "C/" << false << std::vector<int>{} << 0;
        QTest::newRow("trailing junk") << "G/Bx" << false << std::vector<int>{} << 0;
    }
    void chordSymbols()
    {
        QFETCH(QString, symbol);
        QFETCH(bool, valid);
        QFETCH(std::vector<int>, tones);
        QFETCH(int, bass);
        Chord c;
        QCOMPARE(parseChord(symbol.toStdString(), &c), valid);
        if (valid) {
            QCOMPARE(c.tones, tones);
            QCOMPARE(c.bass, bass);
        }
    }

    void badProgressionThrows()
    {
        Song s(100, 4, 0, false, 1);
        QVERIFY_EXCEPTION_THROWN(s.addBars("C | Xm | G"), std::runtime_error);
        QVERIFY_EXCEPTION_THROWN(s.addBars("C | | G"), std::runtime_error);
    }

    // Pads hold only chord tones, inside their range, and tie notes that two chords
    // share instead of striking them again.
    void padFollowsChords()
    {
        const std::vector<std::string> bars = {"C", "Am", "F", "G7", "Em7", "A7sus4", "Dm/F", "G"};
        Song s(60, 4, 0, false, 7);
        s.addBars("C | Am | F | G7 | Em7 | A7sus4 | Dm/F | G");
        const int pad = s.addPart(exact(Instrument::Pad));
        s.pad(pad, 0, s.bars(), 52, 70, 0.5f);
        QVERIFY(!s.notes(pad).empty());
        for (const Note &n : s.notes(pad)) {
            QVERIFY2(n.pitch >= 52 && n.pitch <= 70, qPrintable(QString::number(n.pitch)));
            // Every chord the note spans must contain it.
            for (double t = n.start; t < n.start + n.length - 0.1; t += 4.0)
                QVERIFY2(inChord(chordOfBar(bars, t, 60), n.pitch),
                         qPrintable(QString("pitch %1 at %2 s").arg(n.pitch).arg(t)));
        }
        // C to Am share C and E: those voices are held through bar two.
        int heldOverBarLine = 0;
        for (const Note &n : s.notes(pad))
            if (n.start < 0.01 && n.start + n.length > 4.5)
                ++heldOverBarLine;
        QVERIFY(heldOverBarLine >= 2);
        for (const Note &a : s.notes(pad))
            for (const Note &b : s.notes(pad))
                QVERIFY(&a == &b || a.pitch != b.pitch || std::fabs(a.start + a.length - b.start) > 0.2);
    }

    void bassPattern_data()
    {
        QTest::addColumn<QString>("chord");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<std::vector<int>>("pitches");
        QTest::addColumn<std::vector<int>>("halfBeats");  // note lengths in half beats
        QTest::newRow("root and fifth") << "C" << "R-5-" << std::vector<int>{36, 43} << std::vector<int>{4, 4};
        QTest::newRow("slash bass") << "C/E" << "R..." << std::vector<int>{40} << std::vector<int>{2};
        QTest::newRow("octave and third") << "Am" << "R38." << std::vector<int>{45, 48, 57}
                                          << std::vector<int>{2, 2, 2};
        QTest::newRow("diminished fifth stands in") << "Bdim" << "5---" << std::vector<int>{41}
                                                    << std::vector<int>{8};
    }
    void bassPattern()
    {
        QFETCH(QString, chord);
        QFETCH(QString, pattern);
        QFETCH(std::vector<int>, pitches);
        QFETCH(std::vector<int>, halfBeats);
        Song s(60, 4, 0, false, 3);
        s.addBars(chord.toStdString());
        const int bass = s.addPart(exact(Instrument::Bass));
        s.bassLine(bass, 0, 1, pattern.toStdString(), 36, 0.8f);
        const auto &notes = s.notes(bass);
        QCOMPARE(int(notes.size()), int(pitches.size()));
        for (size_t i = 0; i < notes.size(); ++i) {
            QCOMPARE(int(notes[i].pitch), pitches[i]);
            // Slightly detached: 92 % of the written length.
            QVERIFY(std::fabs(notes[i].length - 0.5 * halfBeats[i] * 0.92) < 1e-9);
        }
    }

    void melodyRules_data()
    {
        QTest::addColumn<QString>("progression");
        QTest::addColumn<int>("tonic");
        QTest::addColumn<bool>("minor");
        QTest::newRow("C major") << "C | Am | F | G | C | Am | Dm | G" << 0 << false;
        QTest::newRow("A minor with raised leading note") << "Am | Dm | E | Am | F | G | E | Am" << 9 << true;
    }
    // Long and downbeat notes are chord tones, every note stays in the scale (with the
    // chord's own alterations) and in range, and a motif replays identically.
    void melodyRules()
    {
        QFETCH(QString, progression);
        QFETCH(int, tonic);
        QFETCH(bool, minor);
        std::vector<std::string> bars;
        for (const QString &b : progression.split('|'))
            bars.push_back(b.trimmed().toStdString());
        Song s(60, 4, tonic, minor, 11);
        s.addBars(progression.toStdString());
        const int lead = s.addPart(exact(Instrument::Flute));
        MelodyStyle m;
        m.low = 65;
        m.high = 84;
        m.rhythms = {{1, 1, 1, 1}, {1.5, 0.5, 2}, {0.5, 0.5, 1, 2}};
        m.cadences = {{4}, {2, 2}};
        s.melody(lead, 0, 8, m, 1);
        s.melody(lead, 0, 8, m, 1, 12);
        const auto &notes = s.notes(lead);
        const size_t half = notes.size() / 2;
        QVERIFY(half >= 8);
        const std::set<int> scale = minor ? std::set<int>{0, 2, 3, 5, 7, 8, 10}
                                          : std::set<int>{0, 2, 4, 5, 7, 9, 11};
        for (size_t i = 0; i < half; ++i) {
            const Note &n = notes[i];
            QVERIFY(n.pitch >= m.low && n.pitch <= m.high);
            const Chord c = chordOfBar(bars, n.start, 60);
            const double beatInBar = std::fmod(n.start, 4.0);
            if (std::fmod(beatInBar, 2.0) < 1e-6 || n.length >= 1.5)
                QVERIFY2(inChord(c, n.pitch), qPrintable(QString("pitch %1 at beat %2").arg(n.pitch).arg(n.start)));
            else
                QVERIFY(inChord(c, n.pitch) || scale.count((pitchClass(n.pitch) - tonic + 12) % 12));
            QCOMPARE(notes[half + i].pitch, n.pitch + 12);
            QCOMPARE(notes[half + i].start, n.start);
        }
        // The closing note settles on the root of the last chord.
        QCOMPARE(pitchClass(notes[half - 1].pitch), chordOfBar(bars, notes[half - 1].start, 60).root);
    }

    void melodyRhythmMustFillBar()
    {
        Song s(60, 4, 0, false, 1);
        s.addBars("C | G");
        const int lead = s.addPart(exact(Instrument::Flute));
        MelodyStyle m;
        m.rhythms = {{1, 1, 1}};
        m.cadences = {{4}};
        QVERIFY_EXCEPTION_THROWN(s.melody(lead, 0, 2, m, 1), std::runtime_error);
    }

    void instruments_data()
    {
        QTest::addColumn<int>("instrument");
        QTest::addColumn<double>("pitch");
        for (int i = 0; i <= int(Instrument::Crash); ++i) {
            QTest::newRow(qPrintable(QString("%1 low").arg(instrumentName(i)))) << i << 40.0;
            QTest::newRow(qPrintable(QString("%1 high").arg(instrumentName(i)))) << i << 96.0;
        }
    }
    // Silent before the note, audible during it, finite and below full scale, and
    // back to silence inside the buffer.
    void instruments()
    {
        QFETCH(int, instrument);
        QFETCH(double, pitch);
        StereoBuffer buf{size_t(kSampleRate * 14)};
        Note n;
        n.start = 0.5;
        n.length = 1.0;
        n.pitch = pitch;
        n.velocity = 1.0f;
        renderNote(Instrument(instrument), n, 1.0f, 42, buf);
        float before = 0, during = 0, after = 0;
        for (size_t i = 0; i < buf.frames(); ++i) {
            const float a = std::max(std::fabs(buf.left[i]), std::fabs(buf.right[i]));
            QVERIFY(std::isfinite(a));
            if (i < size_t(0.5 * kSampleRate))
                before = std::max(before, a);
            else if (i < size_t(1.5 * kSampleRate))
                during = std::max(during, a);
            else if (i > size_t(13.5 * kSampleRate))
                after = std::max(after, a);
        }
        QCOMPARE(before, 0.0f);
        QVERIFY2(during > 0.02f && during < 1.0f, qPrintable(QString::number(during)));
        QVERIFY2(after < 1e-3f, qPrintable(QString::number(after)));
    }

    void noAliasing_data()
    {
        QTest::addColumn<int>("instrument");
        for (Instrument i : {Instrument::Pad, Instrument::Strings, Instrument::Brass,
                             Instrument::SynthBass, Instrument::SynthPluck, Instrument::Piano,
                             Instrument::Bell, Instrument::ElectricPiano})
            QTest::newRow(instrumentName(int(i))) << int(i);
    }
    // A bright note near the top of the keyboard: a naive saw would fold harmonics
    // back below Nyquist; band-limited ones leave the top octave nearly empty.
    void noAliasing()
    {
        QFETCH(int, instrument);
        StereoBuffer buf{size_t(kSampleRate)};
        Note n;
        n.length = 0.8;
        n.pitch = 100;  // 2.6 kHz
        renderNote(Instrument(instrument), n, 1.0f, 5, buf);
        std::vector<float> mid(buf.left.begin() + kSampleRate / 10, buf.left.end());
        const double db = energyAboveDb(mid, 16500);
        QVERIFY2(db < -50, qPrintable(QString::number(db)));
    }

    void tuning_data()
    {
        QTest::addColumn<int>("instrument");
        for (Instrument i : {Instrument::Piano, Instrument::ElectricPiano, Instrument::Bell,
                             Instrument::Marimba, Instrument::Pad, Instrument::Strings,
                             Instrument::Flute, Instrument::Brass, Instrument::Pluck,
                             Instrument::Bass, Instrument::SynthBass, Instrument::SubBass,
                             Instrument::SynthPluck})
            QTest::newRow(instrumentName(int(i))) << int(i);
    }
    // A4 must sound at 440 Hz within a few cents, or the parts beat against each other.
    // The plucked string is the one at risk: its pitch comes from a delay-line length.
    void tuning()
    {
        QFETCH(int, instrument);
        StereoBuffer buf{size_t(kSampleRate)};
        Note n;
        n.length = 0.9;
        n.pitch = 69;
        renderNote(Instrument(instrument), n, 0.5f, 3, buf);
        const size_t from = kSampleRate / 20, len = kSampleRate / 2;
        double bestHz = 0, best = -1;
        for (double hz = 425; hz <= 455; hz += 0.1) {
            double re = 0, im = 0;
            for (size_t i = 0; i < len; ++i) {
                const double w = 0.5 - 0.5 * std::cos(2 * kPi * double(i) / double(len));
                const double x = w * (buf.left[from + i] + buf.right[from + i]);
                re += x * std::cos(2 * kPi * hz * double(i) / kSampleRate);
                im += x * std::sin(2 * kPi * hz * double(i) / kSampleRate);
            }
            if (re * re + im * im > best) {
                best = re * re + im * im;
                bestHz = hz;
            }
        }
        const double cents = 1200 * std::log2(bestHz / 440.0);
        QVERIFY2(std::fabs(cents) < 5, qPrintable(QString("%1 Hz").arg(bestHz)));
    }

    void renderIsRepeatableAndLoops()
    {
        auto make = [] {
            Song s(120, 4, 0, false, 99);
            s.addBars("C | F | G | C");
            const int p = s.addPart(PartSettings());
            const int d = s.addPart(exact(Instrument::Snare));
            s.arpeggio(p, 0, 4, {0, 1, 2, 1}, 0.5, 55, 72, 0.8f);
            s.drums(d, 0, 4, "..x...x.", 0.8f);
            MixSettings mix;
            mix.tailSeconds = 2;
            mix.fadeSeconds = 3;
            return s.render(mix);
        };
        const StereoBuffer a = make(), b = make();
        QVERIFY(a.left == b.left && a.right == b.right);
        QCOMPARE(a.frames(), size_t((8.0 + 2.0) * kSampleRate));
        // Ends in silence and starts from it, so the restart does not click.
        QCOMPARE(a.left.back(), 0.0f);
        QCOMPARE(a.right.back(), 0.0f);
        QVERIFY(std::fabs(a.left[0]) < 1e-6f && std::fabs(a.right[0]) < 1e-6f);
        double sum = 0;
        for (float v : a.left)
            sum += v;
        QVERIFY2(std::fabs(sum / double(a.frames())) < 1e-4, "DC offset");
    }
};

QTEST_GUILESS_MAIN(TestMusicgen)
#include "tst_musicgen.moc"
