// Child processes for process-level tests.
#include "support/process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int decodeStatus(int raw)
{
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

} // namespace

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

void writeFile(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "frostember-XXXXXX").string();
    path = mkdtemp(pattern.data());
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const ProcessOptions& options)
{
    static int serial = 0;
    const std::string stem = (std::filesystem::temp_directory_path() /
                              ("frostember-child-" + std::to_string(getpid()) + "-" + std::to_string(serial++)))
                                 .string();
    outPath = stem + ".out";
    errPath = stem + ".err";
    std::string inPath;
    if (options.input) {
        inPath = stem + ".in";
        writeFile(inPath, *options.input);
    }

    // Both sides set the group, so that it exists whichever runs first.
    pid = fork();
    if (pid != 0) {
        if (options.ownProcessGroup)
            setpgid(pid, pid);
        return;
    }

    // Child: working directory, standard streams, environment, then the program.
    if (options.ownProcessGroup)
        setpgid(0, 0);
    if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0)
        _exit(127);
    if (options.input) {
        const int in = open(inPath.c_str(), O_RDONLY);
        dup2(in, 0);
        close(in);
    } else if (options.silentConsole) {
        // The child keeps the pipe's writing end itself, so its reads wait for ever.
        int ends[2] = {-1, -1};
        if (pipe(ends) != 0)
            _exit(127);
        if (ends[0] != 0) {
            dup2(ends[0], 0);
            close(ends[0]);
        }
    } else {
        close(0);
    }
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    close(out);
    close(err);
    for (const std::string& entry : options.env)
        putenv(const_cast<char*>(entry.c_str()));

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

ChildProcess::~ChildProcess()
{
    if (!finished)
        wait(0.0);
    std::error_code ignored;
    std::filesystem::remove(outPath, ignored);
    std::filesystem::remove(errPath, ignored);
    std::filesystem::remove(outPath.substr(0, outPath.size() - 4) + ".in", ignored);
}

bool ChildProcess::running()
{
    if (finished)
        return false;
    int raw = 0;
    if (waitpid(pid, &raw, WNOHANG) == pid) {
        finished = ProcessResult{decodeStatus(raw), false, readFile(outPath), readFile(errPath)};
        return false;
    }
    return true;
}

ProcessResult ChildProcess::wait(double timeoutSeconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            int raw = 0;
            waitpid(pid, &raw, 0);
            finished = ProcessResult{-1, true, readFile(outPath), readFile(errPath)};
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return *finished;
}

std::string ChildProcess::outputSoFar() const
{
    return readFile(outPath);
}

std::string ChildProcess::errorSoFar() const
{
    return readFile(errPath);
}

void ChildProcess::sendSignal(int signal, bool toGroup) const
{
    kill(toGroup ? -pid : pid, signal);
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options)
{
    ChildProcess child(program, args, options);
    return child.wait(options.timeoutSeconds);
}
