#include "mp3writer.h"

#include <lame/lame.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace musicgen {

namespace {

struct LameDeleter {
    void operator()(lame_global_flags *gf) const { lame_close(gf); }
};
struct FileCloser {
    void operator()(FILE *f) const { std::fclose(f); }
};

} // namespace

bool writeMp3(const StereoBuffer &audio, const std::string &path, std::string *error)
{
    std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
    if (!gf) {
        *error = "lame_init failed";
        return false;
    }
    lame_set_num_channels(gf.get(), 2);
    lame_set_in_samplerate(gf.get(), kSampleRate);
    lame_set_out_samplerate(gf.get(), kSampleRate);
    lame_set_brate(gf.get(), 128);
    lame_set_VBR(gf.get(), vbr_off);
    lame_set_mode(gf.get(), JOINT_STEREO);
    // 5 is lame's speed/quality middle ground; the build budget has no room for 2.
    lame_set_quality(gf.get(), 5);
    lame_set_bWriteVbrTag(gf.get(), 1);
    lame_set_write_id3tag_automatic(gf.get(), 0);
    if (lame_init_params(gf.get()) < 0) {
        *error = "lame_init_params failed";
        return false;
    }

    const std::string temp = path + ".part";
    std::unique_ptr<FILE, FileCloser> file(std::fopen(temp.c_str(), "wb"));
    if (!file) {
        *error = temp + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const std::string &what) {
        file.reset();
        std::remove(temp.c_str());
        *error = path + ": " + what;
        return false;
    };

    const size_t chunk = 8192;
    std::vector<unsigned char> out(size_t(1.25 * chunk + 7200));
    for (size_t pos = 0; pos < audio.frames(); pos += chunk) {
        const size_t n = std::min(chunk, audio.frames() - pos);
        const int bytes = lame_encode_buffer_ieee_float(gf.get(), audio.left.data() + pos,
                                                        audio.right.data() + pos, int(n),
                                                        out.data(), int(out.size()));
        if (bytes < 0)
            return fail("encoder error " + std::to_string(bytes));
        if (std::fwrite(out.data(), 1, size_t(bytes), file.get()) != size_t(bytes))
            return fail(std::strerror(errno));
    }
    const int tail = lame_encode_flush(gf.get(), out.data(), int(out.size()));
    if (tail < 0)
        return fail("encoder flush error");
    if (std::fwrite(out.data(), 1, size_t(tail), file.get()) != size_t(tail))
        return fail(std::strerror(errno));

    // The first frame was reserved for the Info tag (length, encoder delay, padding);
    // it is only known now. Without it players guess the duration from the bitrate.
    const size_t tagSize = lame_get_lametag_frame(gf.get(), out.data(), out.size());
    if (tagSize > 0) {
        if (std::fseek(file.get(), 0, SEEK_SET) != 0
                || std::fwrite(out.data(), 1, tagSize, file.get()) != tagSize)
            return fail(std::strerror(errno));
    }
    if (std::fflush(file.get()) != 0)
        return fail(std::strerror(errno));
    if (std::fclose(file.release()) != 0) {
        std::remove(temp.c_str());
        *error = path + ": close failed";
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(temp.c_str());
        *error = path + ": " + why;
        return false;
    }
    return true;
}

} // namespace musicgen
