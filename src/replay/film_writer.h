// A film of the replay's frames with the background sound, encoded by the ffmpeg
// program. The frames stream to it as raw RGB through a pipe; once the length is
// known the soundtrack is mixed and joined to the picture in a second, copying
// run. The film appears under its name only when every step succeeded; a stop
// signal on the way leaves nothing behind, nor does a fatal error that ends the
// process through exit() once the encoder runs.
#pragma once

#include "platform/non_copyable.h"

#include <sys/types.h>

#include <string>
#include <vector>

class FilmWriter : NonCopyable {
public:
    ~FilmWriter(); // abandons an unfinished film

    // Checks the format the extension names (.mp4: H.264 and AAC; .webm: VP9 and
    // Opus), that ffmpeg can be found and that the folder takes the file. False
    // with `error` set when one of them fails; nothing is left behind.
    bool prepare(const std::string& path, std::string& error);
    // Starts encoding the picture; after a successful prepare.
    bool start(int width, int height, int fps, std::string& error);
    // One frame of `width` x `height` RGB pixels, the top row first. A frame of
    // another size than the encoder was started with, or whose length is not
    // that size's, is refused with `error` naming both sizes: the film would
    // shear. False with `error` empty when the encoder takes no more (finish
    // then says why).
    bool addFrame(const std::vector<unsigned char>& rgb, int width, int height, std::string& error);
    // Ends the picture, adds the soundtrack and moves the film into place. Gives
    // up before the soundtrack and before the move once a stop signal has arrived.
    bool finish(std::string& error);
    // Stops the encoder and removes every piece of the unfinished film.
    void abandon();

    long frames = 0;

private:
    void removeTemporaries() const;

    std::string path;
    std::string extension;
    std::string picturePath;
    std::string soundPath;
    std::string partPath;
    std::string logPath;
    std::string ffmpeg;
    int fps = 30;
    int width = 0;
    int height = 0;
    int pipeFd = -1;
    pid_t encoder = -1;
};
