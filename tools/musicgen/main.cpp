// Composes, masters and encodes the game's music (or only the tracks named after
// the directory) into the directory given as argument.
#include "loudness.h"
#include "measure.h"
#include "mp3writer.h"
#include "tracks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kTargetLufs = -16.0;
// LAME at 128 kbit/s decodes about 0.45 dB quieter than its input, even for a plain
// sine (at 320 kbit/s it does not); measured on every track of this game. Mastering
// aims that much higher so the decoded file lands on the target.
constexpr double kEncoderLossDb = 0.45;
// The encoder overshoots the PCM peak by a few tenths of a dB; this leaves room for it
// under the -1 dBTP the decoded file must meet.
constexpr double kCeilingDb = -1.5;

} // namespace

int main(int argc, char **argv)
{
    using namespace musicgen;
    if (argc == 3 && std::string(argv[1]) == "--measure")
        return printMeasures(argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output directory> [track.mp3...] | --measure <file.wav>\n",
                     argv[0]);
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "musicgen: %s: %s\n", outDir.c_str(), ec.message().c_str());
        return 1;
    }

    const auto started = std::chrono::steady_clock::now();
    // Named tracks only, when given: the determinism test needs no full second run.
    std::vector<Track> list;
    for (const Track &t : tracks())
        if (argc == 2 || std::find_if(argv + 2, argv + argc, [&t](const char *a) {
                             return std::string(a) == t.fileName; }) != argv + argc)
            list.push_back(t);
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex printLock;
    // Tracks are independent, so each worker takes whole tracks; output bytes do not
    // depend on which thread ran them.
    auto worker = [&] {
        for (size_t i = next++; i < list.size(); i = next++) {
            const auto t0 = std::chrono::steady_clock::now();
            std::string error;
            try {
                StereoBuffer audio = list[i].compose();
                const MasterReport r = master(audio, kTargetLufs + kEncoderLossDb, kCeilingDb);
                const std::string path = (outDir / list[i].fileName).string();
                const bool ok = writeMp3(audio, path, &error);
                const double secs = std::chrono::duration<double>(
                        std::chrono::steady_clock::now() - t0).count();
                std::lock_guard<std::mutex> lock(printLock);
                if (!ok) {
                    failed = true;
                    std::fprintf(stderr, "musicgen: %s\n", error.c_str());
                    continue;
                }
                std::printf("%-34s %6.1f s  %6.2f LUFS  %6.2f dBTP  limiter %5.2f dB  (%.1f s)\n",
                            list[i].fileName, double(audio.frames()) / kSampleRate,
                            r.loudness - kEncoderLossDb,
                            r.truePeak, r.maxReduction, secs);
                std::fflush(stdout);
            } catch (const std::exception &e) {
                std::lock_guard<std::mutex> lock(printLock);
                failed = true;
                std::fprintf(stderr, "musicgen: %s: %s\n", list[i].fileName, e.what());
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < 2; ++t)
        pool.emplace_back(worker);
    for (auto &t : pool)
        t.join();
    std::printf("musicgen: %zu tracks in %.1f s\n", list.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    return failed ? 1 : 0;
}
