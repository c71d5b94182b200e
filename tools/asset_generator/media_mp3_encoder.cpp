// libmp3lame in its plain buffer interface; the info frame is patched over the
// placeholder the encoder leaves at the start of the stream.
#include "media_mp3_encoder.h"
#include "written_file.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <vector>

void writeMp3(const std::string& path, const StereoLoop& loop, int kilobitsPerSecond)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, audioSampleRate);
    lame_set_out_samplerate(lame, audioSampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kilobitsPerSecond);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    requireWritten(lame_init_params(lame) == 0, path);

    constexpr int chunk = 8192;
    std::vector<unsigned char> stream;
    std::vector<unsigned char> block(chunk * 5 / 4 + 7200);
    for (std::size_t start = 0; start < loop.frames(); start += chunk) {
        const int count = static_cast<int>(std::min<std::size_t>(chunk, loop.frames() - start));
        const int bytes = lame_encode_buffer_ieee_float(lame, &loop.left[start], &loop.right[start], count,
                                                        block.data(), static_cast<int>(block.size()));
        requireWritten(bytes >= 0, path);
        stream.insert(stream.end(), block.begin(), block.begin() + bytes);
    }
    const int tail = lame_encode_flush(lame, block.data(), static_cast<int>(block.size()));
    requireWritten(tail >= 0, path);
    stream.insert(stream.end(), block.begin(), block.begin() + tail);

    const std::size_t tagBytes = lame_get_lametag_frame(lame, block.data(), block.size());
    requireWritten(tagBytes > 0 && tagBytes <= stream.size(), path);
    std::copy(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(tagBytes), stream.begin());
    lame_close(lame);

    std::FILE* file = openForWriting(path);
    std::fwrite(stream.data(), 1, stream.size(), file);
    closeWritten(file, path);
}
