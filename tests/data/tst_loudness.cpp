// Checks the music generator's loudness meter, true-peak meter and mastering against
// reference signals whose values are known from BS.1770 and EBU Tech 3341.
#include "loudness.h"

#include <QtTest>

#include <cmath>
#include <vector>

using namespace musicgen;

namespace {

// Appends a sine to both channels (or only the left) at the given peak level.
void appendSine(StereoBuffer &buf, double hz, double peakDb, double seconds, bool leftOnly = false,
                double phase = 0.0)
{
    const double a = std::pow(10.0, peakDb / 20.0);
    const size_t n = size_t(seconds * kSampleRate);
    for (size_t i = 0; i < n; ++i) {
        const float v = float(a * std::sin(2.0 * kPi * hz * double(i) / kSampleRate + phase));
        buf.left.push_back(v);
        buf.right.push_back(leftOnly ? 0.0f : v);
    }
}

void appendSilence(StereoBuffer &buf, double seconds)
{
    const size_t n = size_t(seconds * kSampleRate);
    buf.left.insert(buf.left.end(), n, 0.0f);
    buf.right.insert(buf.right.end(), n, 0.0f);
}

} // namespace

class TestLoudness : public QObject {
    Q_OBJECT

private slots:
    void sineLoudness_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("peakDb");
        QTest::addColumn<bool>("leftOnly");
        QTest::addColumn<double>("expected");
        // A full-scale 1 kHz tone in one channel reads -3.01 LKFS (BS.1770 calibration);
        // the same tone in both channels adds 3.01 dB of power.
        QTest::newRow("997 Hz left only, 0 dBFS") << 997.0 << 0.0 << true << -3.01;
        QTest::newRow("997 Hz stereo, 0 dBFS") << 997.0 << 0.0 << false << 0.0;
        QTest::newRow("1 kHz stereo, -20 dBFS") << 1000.0 << -20.0 << false << -20.0;
        // EBU Tech 3341 case 1.
        QTest::newRow("1 kHz stereo, -23 dBFS") << 1000.0 << -23.0 << false << -23.0;
        // The high shelf lifts treble, the high-pass cuts the lows; reference values
        // from ffmpeg's ebur128 filter on the same tones (measured once, by hand).
        QTest::newRow("8 kHz stereo, -20 dBFS") << 8000.0 << -20.0 << false << -16.6;
        QTest::newRow("25 Hz stereo, -20 dBFS") << 25.0 << -20.0 << false << -31.1;
    }
    void sineLoudness()
    {
        QFETCH(double, hz);
        QFETCH(double, peakDb);
        QFETCH(bool, leftOnly);
        QFETCH(double, expected);
        StereoBuffer buf;
        appendSine(buf, hz, peakDb, 10.0, leftOnly);
        QVERIFY2(std::fabs(integratedLoudness(buf) - expected) < 0.15,
                 qPrintable(QString::number(integratedLoudness(buf))));
    }

    void gating_data()
    {
        QTest::addColumn<std::vector<double>>("levels");   // dBFS per section, -200 = silence
        QTest::addColumn<std::vector<double>>("seconds");
        QTest::addColumn<double>("expected");
        // EBU Tech 3341 cases 3 to 5: quiet passages fall under the relative gate.
        QTest::newRow("3341 case 3") << std::vector<double>{-36, -23, -36}
                                     << std::vector<double>{10, 60, 10} << -23.0;
        QTest::newRow("3341 case 4") << std::vector<double>{-72, -36, -23, -36, -72}
                                     << std::vector<double>{10, 10, 60, 10, 10} << -23.0;
        QTest::newRow("3341 case 5") << std::vector<double>{-26, -20, -26}
                                     << std::vector<double>{20, 20.1, 20} << -23.0;
        // Silence around a piece, as at the loop point of a track, must not drag it down
        // (ungated it would read -27); only the blocks straddling the edges count.
        QTest::newRow("silence padding") << std::vector<double>{-200, -20, -200}
                                         << std::vector<double>{20, 10, 20} << -20.1;
    }
    void gating()
    {
        QFETCH(std::vector<double>, levels);
        QFETCH(std::vector<double>, seconds);
        QFETCH(double, expected);
        StereoBuffer buf;
        for (size_t i = 0; i < levels.size(); ++i) {
            if (levels[i] < -150)
                appendSilence(buf, seconds[i]);
            else
                appendSine(buf, 1000.0, levels[i], seconds[i]);
        }
        const double measured = integratedLoudness(buf);
        QVERIFY2(std::fabs(measured - expected) < 0.1, qPrintable(QString::number(measured)));
    }

    void silenceIsBelowGate()
    {
        StereoBuffer buf;
        appendSilence(buf, 5.0);
        QVERIFY(integratedLoudness(buf) <= -70.0);
    }

    void truePeak_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("phase");
        QTest::addColumn<double>("expectedDb");
        // At a quarter of the sample rate with a 45 degree phase every sample sits at
        // 0.707 of the crest: the sample peak reads -3 dB, the true peak 0 dB.
        QTest::newRow("fs/4 between samples") << kSampleRate / 4.0 << kPi / 4 << 0.0;
        QTest::newRow("fs/4 on samples") << kSampleRate / 4.0 << 0.0 << 0.0;
        QTest::newRow("1 kHz") << 1000.0 << 0.3 << 0.0;
        QTest::newRow("5.5 kHz") << 5512.5 << kPi / 8 << 0.0;
    }
    void truePeak()
    {
        QFETCH(double, hz);
        QFETCH(double, phase);
        QFETCH(double, expectedDb);
        StereoBuffer buf;
        appendSilence(buf, 0.1);
        appendSine(buf, hz, -6.0, 1.0, false, phase);
        appendSilence(buf, 0.1);
        const double tp = truePeakDb(buf);
        // The window's edges ring a little above the steady tone.
        QVERIFY2(tp > expectedDb - 6.0 - 0.3 && tp < expectedDb - 6.0 + 0.6,
                 qPrintable(QString::number(tp)));
    }

    void master_data()
    {
        QTest::addColumn<double>("toneDb");
        QTest::addColumn<double>("clickDb");
        QTest::addColumn<double>("targetLufs");
        QTest::newRow("quiet tone raised") << -40.0 << -200.0 << -16.0;
        QTest::newRow("loud tone lowered") << -3.0 << -200.0 << -16.0;
        // Spikes 30 dB over a quiet bed: gain alone would clip, the limiter must act.
        QTest::newRow("spiky") << -30.0 << 0.0 << -16.0;
        QTest::newRow("spiky, other target") << -30.0 << 0.0 << -13.0;
    }
    void master()
    {
        QFETCH(double, toneDb);
        QFETCH(double, clickDb);
        QFETCH(double, targetLufs);
        StereoBuffer buf;
        appendSine(buf, 440.0, toneDb, 20.0);
        if (clickDb > -150) {
            const float a = float(std::pow(10.0, clickDb / 20.0));
            for (size_t i = 0; i < buf.frames(); i += kSampleRate) {
                for (size_t k = 0; k < 200 && i + k < buf.frames(); ++k) {
                    const float v = a * float(std::sin(2.0 * kPi * 3000.0 * double(k) / kSampleRate));
                    buf.left[i + k] += v;
                    buf.right[i + k] -= v;
                }
            }
        }
        const MasterReport r = musicgen::master(buf, targetLufs, -1.5);
        QVERIFY2(std::fabs(r.loudness - targetLufs) < 0.3, qPrintable(QString::number(r.loudness)));
        QVERIFY2(std::fabs(integratedLoudness(buf) - r.loudness) < 1e-6, "report disagrees with audio");
        QVERIFY2(truePeakDb(buf) <= -1.5, qPrintable(QString::number(truePeakDb(buf))));
        if (clickDb > -150)
            QVERIFY(r.maxReduction < -1.0);
    }
};

QTEST_GUILESS_MAIN(TestLoudness)
#include "tst_loudness.moc"
