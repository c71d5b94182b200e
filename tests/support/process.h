// Running the program (or a tool) as a child process in a chosen working
// directory, with chosen standard input, its output captured to files.
#pragma once

#include "platform/non_copyable.h"

#include <optional>
#include <string>
#include <vector>

struct ProcessResult {
    int status = -1;        // exit status 0..255, or -1 when killed or signalled
    bool timedOut = false;
    std::string out;        // standard output
    std::string err;        // standard error
};

struct ProcessOptions {
    std::string workDir;
    std::optional<std::string> input; // nullopt: standard input closed
    bool silentConsole = false;        // instead, open but never written: nobody types
    std::vector<std::string> env;      // extra NAME=value entries
    double timeoutSeconds = 60.0;
    bool ownProcessGroup = false;      // a group of its own, as a shell starts a job
};

// A started child; wait() or the destructor collects it (killing it if needed).
class ChildProcess : NonCopyable {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args, const ProcessOptions& options);
    ~ChildProcess();

    bool running();
    ProcessResult wait(double timeoutSeconds);
    std::string outputSoFar() const;
    std::string errorSoFar() const;
    // To the child alone, or to its whole process group as a terminal's Ctrl-C is.
    void sendSignal(int signal, bool toGroup) const;
    int processId() const { return pid; }

private:
    int pid = -1;
    std::string outPath;
    std::string errPath;
    std::optional<ProcessResult> finished;
};

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options);

// A temporary directory removed with everything in it at destruction.
class TempDir : NonCopyable {
public:
    TempDir();
    ~TempDir();
    std::string path;
};

std::string readFile(const std::string& path);
std::vector<std::string> splitLines(const std::string& text);
void writeFile(const std::string& path, const std::string& text);
