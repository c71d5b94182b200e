// The film's encoder runs and temporary files, all beside the film itself.
#include "replay/film_writer.h"

#include "audio/background_mix.h"
#include "platform/report_line.h"
#include "platform/stop_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct FilmFormat {
    const char* extension;
    std::vector<std::string> picture; // encoder arguments for the picture
    std::vector<std::string> sound;   // encoder arguments for the soundtrack
};

const FilmFormat FORMATS[] = {
    {".mp4",
     {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-preset", "slow", "-crf", "32"},
     {"-c:a", "aac", "-b:a", "96k", "-movflags", "+faststart"}},
    {".webm",
     {"-c:v", "libvpx-vp9", "-pix_fmt", "yuv420p", "-crf", "36", "-b:v", "0", "-deadline", "good", "-cpu-used",
      "4", "-row-mt", "1"},
     {"-c:a", "libopus", "-b:a", "96k"}},
};

const FilmFormat* formatOf(const std::string& extension)
{
    for (const FilmFormat& format : FORMATS)
        if (extension == format.extension)
            return &format;
    return nullptr;
}

// The first executable `name` on PATH; empty when there is none.
std::string findOnPath(const char* name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// Starts `program` with `args`, its standard input from `input` (or /dev/null when
// -1) and both of its outputs appended to `logPath`.
pid_t spawn(const std::string& program, const std::vector<std::string>& args, int input, const std::string& logPath)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // Ctrl-C on a terminal reaches its whole foreground process group: in a group
    // of its own the encoder stops only when the writer says so.
    setpgid(0, 0);
    const int in = input >= 0 ? input : open("/dev/null", O_RDONLY);
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(in, STDIN_FILENO);
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    execv(program.c_str(), argv.data());
    _exit(127);
}

bool succeeded(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The last line the encoder wrote, to say why it failed.
std::string lastLine(const std::string& logPath)
{
    std::ifstream log(logPath);
    std::string line;
    std::string last = "no message";
    while (std::getline(log, line))
        if (!line.empty())
            last = line;
    return last;
}

bool writeWave(const std::string& path, const std::vector<std::int16_t>& stereo)
{
    const auto u32 = [](std::uint32_t v) {
        return std::string{char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char(v >> 24)};
    };
    const auto u16 = [](std::uint16_t v) { return std::string{char(v & 0xff), char(v >> 8)}; };
    const std::uint32_t bytes = static_cast<std::uint32_t>(stereo.size() * sizeof(std::int16_t));
    std::ofstream file(path, std::ios::binary);
    file << "RIFF" << u32(36 + bytes) << "WAVEfmt " << u32(16) << u16(1) << u16(2) << u32(MIX_RATE)
         << u32(MIX_RATE * 4) << u16(4) << u16(16) << "data" << u32(bytes);
    file.write(reinterpret_cast<const char*>(stereo.data()), bytes);
    return file.good();
}

// The film whose encoder runs. A fatal error on the way (an X error, a lost
// display) ends the process through exit(), past the writer's destructor: the
// exit handler then abandons the film, so that none of its pieces stay.
FilmWriter* unfinished = nullptr;
std::string unfinishedPath;

void abandonUnfinishedFilm()
{
    if (unfinished == nullptr)
        return;
    unfinished->abandon();
    // The line break ends the progress line the frame loop leaves open.
    std::fputs("\n", stderr);
    reportLine("film %s not made", unfinishedPath.c_str());
}

void abandonAtExit(FilmWriter* film, const std::string& path)
{
    static bool handlerSet = false;
    if (!handlerSet)
        std::atexit(abandonUnfinishedFilm);
    handlerSet = true;
    unfinished = film;
    unfinishedPath = path;
}

// A stop signal ends the film between its steps; the encoder's runs themselves
// are short once the last frame is in.
bool stopRequested(std::string& error)
{
    if (stopSignal() == 0)
        return false;
    error = "stopped";
    return true;
}

} // namespace

FilmWriter::~FilmWriter()
{
    abandon();
}

void FilmWriter::abandon()
{
    if (unfinished == this)
        unfinished = nullptr;
    // The pipe closes first, since an encoder waiting for frames may not see the
    // signal until its read ends; and it is gone before its files are removed,
    // so that it cannot write them anew.
    if (pipeFd >= 0)
        close(pipeFd);
    pipeFd = -1;
    if (encoder > 0) {
        kill(encoder, SIGTERM);
        succeeded(encoder);
        encoder = -1;
    }
    removeTemporaries();
    if (!partPath.empty())
        std::filesystem::remove(partPath);
    partPath.clear();
}

bool FilmWriter::prepare(const std::string& path_, std::string& error)
{
    const std::filesystem::path target(path_);
    extension = target.extension().string();
    if (formatOf(extension) == nullptr) {
        error = "unknown film format '" + extension + "' of " + path_ + ": name it .mp4 or .webm";
        return false;
    }
    ffmpeg = findOnPath("ffmpeg");
    if (ffmpeg.empty()) {
        error = "no video encoder: the ffmpeg program is not on PATH";
        return false;
    }
    // Everything is written beside the film, so that the last step is a rename.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const std::string stem = (folder / ("." + target.filename().string())).string();
    const std::string part = stem + ".part" + extension;
    if (!std::ofstream(part)) {
        error = "cannot write " + path_;
        return false;
    }
    std::filesystem::remove(part);
    path = path_;
    partPath = part;
    picturePath = stem + ".picture" + extension;
    soundPath = stem + ".sound.wav";
    logPath = stem + ".log";
    return true;
}

bool FilmWriter::start(int width_, int height_, int fps_, std::string& error)
{
    fps = fps_;
    width = width_;
    height = height_;
    int ends[2] = {-1, -1};
    if (pipe2(ends, O_CLOEXEC) != 0) {
        error = "cannot start ffmpeg";
        return false;
    }
    // A failed encoder closes its end; the writes then fail instead of killing us.
    signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args = {"-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24",
                                     "-s", std::to_string(width) + "x" + std::to_string(height), "-r",
                                     std::to_string(fps), "-i", "-", "-an"};
    const FilmFormat& format = *formatOf(extension);
    args.insert(args.end(), format.picture.begin(), format.picture.end());
    args.push_back(picturePath);
    encoder = spawn(ffmpeg, args, ends[0], logPath);
    close(ends[0]);
    pipeFd = ends[1];
    if (encoder < 0) {
        error = "cannot start ffmpeg";
        return false;
    }
    abandonAtExit(this, path);
    return true;
}

bool FilmWriter::addFrame(const std::vector<unsigned char>& rgb, int frameWidth, int frameHeight, std::string& error)
{
    const std::size_t length = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    if (frameWidth != width || frameHeight != height || rgb.size() != length) {
        error = "film " + path + " not made: the window's frames are now " + std::to_string(frameWidth) + "x" +
                std::to_string(frameHeight) + ", the film's " + std::to_string(width) + "x" + std::to_string(height);
        return false;
    }
    std::size_t written = 0;
    while (written < rgb.size()) {
        const ssize_t n = write(pipeFd, rgb.data() + written, rgb.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    ++frames;
    return true;
}

bool FilmWriter::finish(std::string& error)
{
    close(pipeFd);
    pipeFd = -1;
    const bool pictureDone = succeeded(encoder);
    encoder = -1;
    if (!pictureDone) {
        error = "ffmpeg failed on the picture: " + lastLine(logPath);
        return false;
    }
    if (stopRequested(error))
        return false;

    // The soundtrack as long as the picture, sample for frame from the first one.
    const std::size_t soundFrames = static_cast<std::size_t>(frames) * MIX_RATE / static_cast<std::size_t>(fps);
    std::vector<std::int16_t> stereo;
    if (!mixBackgroundTracks(soundFrames, stereo, error))
        return false;
    if (!writeWave(soundPath, stereo)) {
        error = "cannot write " + soundPath;
        return false;
    }
    std::vector<std::string> args = {"-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-i", picturePath,
                                     "-i", soundPath, "-map", "0:v", "-map", "1:a", "-c:v", "copy"};
    const FilmFormat& format = *formatOf(extension);
    args.insert(args.end(), format.sound.begin(), format.sound.end());
    args.push_back(partPath);
    if (!succeeded(spawn(ffmpeg, args, -1, logPath))) {
        error = "ffmpeg failed on the soundtrack: " + lastLine(logPath);
        return false;
    }
    if (stopRequested(error))
        return false;
    std::error_code renamed;
    std::filesystem::rename(partPath, path, renamed);
    if (renamed) {
        error = "cannot write " + path;
        return false;
    }
    partPath.clear();
    removeTemporaries();
    unfinished = nullptr;
    return true;
}

void FilmWriter::removeTemporaries() const
{
    for (const std::string& file : {picturePath, soundPath, logPath})
        if (!file.empty())
            std::filesystem::remove(file);
}
