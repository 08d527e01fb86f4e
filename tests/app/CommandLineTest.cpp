// gridlark's own options, answered on standard output before any window exists:
// run without a display, where opening one would abort.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Output {
    int code;
    std::string out;
};

Output runWithoutDisplay(const std::string& arguments)
{
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" GRIDLARK_APP "' " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    Output run{-1, ""};
    if (!pipe)
        return run;
    char buffer[256];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CommandLine, VersionAndHelpNeedNoWindowAndOtherOptionsAreUsageErrors)
{
    const Output version = runWithoutDisplay("--version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "gridlark " PROJECT_VERSION "\n");
    for (const char* help : {"--help", "-h"}) {
        const Output run = runWithoutDisplay(help);
        EXPECT_EQ(run.code, 0) << help;
        EXPECT_NE(run.out.find("Usage: gridlark [OPTIONS] [FILE]"), std::string::npos) << run.out;
    }
    for (const char* wrong : {"--bogus", "one.txt two.txt"}) {
        const Output run = runWithoutDisplay(wrong);
        EXPECT_EQ(run.code, 64) << wrong;
        EXPECT_EQ(run.out, "") << wrong;
    }
}

} // namespace
