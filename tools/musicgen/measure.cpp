#include "measure.h"

#include "loudness.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace musicgen {

namespace {

uint32_t le32(const unsigned char *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const unsigned char *p) { return uint16_t(p[0] | p[1] << 8); }

// Mean absolute level of frames [from, from + n) over both channels, in dBFS.
double levelDb(const StereoBuffer &buf, size_t from, size_t n)
{
    double sum = 0;
    for (size_t i = from; i < from + n && i < buf.frames(); ++i)
        sum += std::fabs(buf.left[i]) + std::fabs(buf.right[i]);
    return 20 * std::log10(sum / (2.0 * double(n)) + 1e-9);
}

} // namespace

bool readWav(const std::string &path, StereoBuffer *buf, int *rate, int *channels, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(bytes.data() + 8, "WAVE", 4)) {
        *error = path + ": not a WAV file";
        return false;
    }
    int bits = 0;
    *rate = *channels = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = le32(&bytes[at + 4]);
        const unsigned char *body = &bytes[at + 8];
        const size_t avail = bytes.size() - at - 8;
        if (!std::memcmp(&bytes[at], "fmt ", 4) && size >= 16 && avail >= 16) {
            *channels = le16(body + 2);
            *rate = int(le32(body + 4));
            bits = le16(body + 14);
        } else if (!std::memcmp(&bytes[at], "data", 4)) {
            if (bits != 16 || (*channels != 1 && *channels != 2)) {
                *error = path + ": not 16-bit mono or stereo PCM";
                return false;
            }
            const size_t frames = std::min<size_t>(size, avail) / (2 * size_t(*channels));
            *buf = StereoBuffer(frames);
            for (size_t i = 0; i < frames; ++i) {
                const unsigned char *s = body + i * 2 * size_t(*channels);
                buf->left[i] = float(int16_t(le16(s))) / 32768.0f;
                buf->right[i] = *channels == 2 ? float(int16_t(le16(s + 2))) / 32768.0f : buf->left[i];
            }
            return true;
        }
        at += 8 + size + (size & 1);
    }
    *error = path + ": no PCM data";
    return false;
}

int printMeasures(const std::string &wavPath)
{
    StereoBuffer buf;
    int rate = 0, channels = 0;
    std::string error;
    if (!readWav(wavPath, &buf, &rate, &channels, &error)) {
        std::fprintf(stderr, "musicgen: %s\n", error.c_str());
        return 1;
    }
    std::printf("rate %d\nchannels %d\nseconds %.3f\n", rate, channels, double(buf.frames()) / rate);
    std::printf("lufs %.2f\ndbtp %.2f\n", integratedLoudness(buf, rate), truePeakDb(buf));
    // The first 2 ms and the last 50 ms: a track must loop from silence to silence.
    const size_t head = size_t(rate) / 500, tail = size_t(rate) / 20;
    std::printf("head %.1f\ntail %.1f\n", levelDb(buf, 0, head),
                levelDb(buf, buf.frames() > tail ? buf.frames() - tail : 0, tail));
    return 0;
}

} // namespace musicgen
