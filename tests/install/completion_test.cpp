// bash completing the replay tool's and the ambience's command lines with the
// completions the package installs, each program found on the PATH as the
// installed one is.
#include "support/process.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

// The completion's candidates for `line`, as bash would offer them after a Tab at
// its end, sorted, one a line.
const char* const COMPLETE_LINE = R"(
. /usr/share/bash-completion/bash_completion
. "$1"
COMP_LINE=$2
COMP_POINT=${#COMP_LINE}
read -ra COMP_WORDS <<<"$COMP_LINE"
if [[ $COMP_LINE == *" " ]]; then COMP_WORDS+=(""); fi
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
function=$(complete -p "${COMP_WORDS[0]}" | awk '{ print $3 }')
"$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
if ((${#COMPREPLY[@]})); then printf '%s\n' "${COMPREPLY[@]}" | sort; fi
)";

} // namespace

TEST(Install, BashCompletesTheToolsOptionsAndThePathsTheirValuesName)
{
    ASSERT_TRUE(std::filesystem::exists("/usr/share/bash-completion/bash_completion"))
        << "bash-completion is needed for this test";
    TempDir caller;
    std::filesystem::create_directory(caller.path + "/shots");
    writeFile(caller.path + "/frames.csv", "");
    ProcessOptions options;
    options.workDir = caller.path;
    options.env = {"PATH=" + runDir() + ":" + std::getenv("PATH")};

    struct Case {
        const char* line;
        const char* candidates;
    };
    const Case cases[] = {
        {"frostember-replay --st", "--startup\n--stats\n"},
        {"frostember-replay --floor --re", "--realtime\n--redraw-shadows\n"},
        {"frostember-replay --out ", "shots\n"},
        {"frostember-replay --stats fr", "frames.csv\n"},
        {"frostember-replay --size ", ""},
        {"frostember-replay --quality h", "high\n"},
        {"frostember-ambient --window", "--window\n--window-id\n"},
        {"frostember-ambient --mute --stats fr", "frames.csv\n"},
    };
    for (const Case& c : cases) {
        const std::string line = c.line;
        const std::string completion = FROSTEMBER_BUILD_DIR "/packaging/completions/" + line.substr(0, line.find(' '));
        const ProcessResult result = runProcess("/bin/bash", {"-c", COMPLETE_LINE, "bash", completion, line}, options);
        EXPECT_EQ(result.status, 0) << c.line << result.err;
        EXPECT_EQ(result.out, c.candidates) << c.line << result.err;
    }
}
