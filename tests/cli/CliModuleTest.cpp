// gridlark-cli starts without Qt: the pictures come from a module that only print and
// explain --format html load, beside the program or where it is installed.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kPuzzle = "..........75..8..9.8..32..7...9..7....934.51..1........9.....48.216.5............\n";

std::string quoted(const std::string& path)
{
    return "'" + path + "'";
}

// The shared libraries a file names as needed.
std::vector<std::string> needed(const std::string& file)
{
    std::vector<std::string> names;
    for (const std::string& line : lines(runCommand("readelf -d " + quoted(file)).out)) {
        const std::size_t open = line.find("(NEEDED)");
        const std::size_t start = line.find('[');
        if (open != std::string::npos && start != std::string::npos)
            names.push_back(line.substr(start + 1, line.find(']') - start - 1));
    }
    return names;
}

bool namesQt(const std::vector<std::string>& libraries)
{
    for (const std::string& name : libraries)
        if (name.starts_with("libQt6"))
            return true;
    return false;
}

// A copy of gridlark-cli in a folder of its own, with the module where asked for.
class CliModule : public testing::Test {
protected:
    void SetUp() override
    {
        dir = temporaryPath(testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir + "/bin");
        fs::copy_file(GRIDLARK_CLI, dir + "/bin/gridlark-cli");
        writeFile(dir + "/puzzle.txt", kPuzzle);
    }
    void TearDown() override { fs::remove_all(dir); }

    CommandResult run(const std::string& arguments) const
    {
        return runCommand("cd " + quoted(dir) + " && timeout 60 bin/gridlark-cli " + arguments);
    }

    std::string dir;
};

TEST_F(CliModule, TheProgramNeedsNoQtButItsModuleDoes)
{
    const std::vector<std::string> program = needed(GRIDLARK_CLI);
    ASSERT_FALSE(program.empty());
    EXPECT_FALSE(namesQt(program));
    EXPECT_TRUE(namesQt(needed(GRIDLARK_CLI_MODULE)));
}

TEST_F(CliModule, WithoutTheModuleOnlyTheDrawingCommandsFailAndSayWhy)
{
    const CommandResult print = run("print --format svg -o book.svg puzzle.txt");
    EXPECT_EQ(print.code, 69);
    EXPECT_TRUE(print.err.starts_with("gridlark-cli: cannot load the picture module gridlark-cli-pictures.so (not found in "))
        << print.err;
    EXPECT_TRUE(print.err.ends_with("); print and explain --format html draw with it\n")) << print.err;
    EXPECT_FALSE(fs::exists(dir + "/book.svg"));

    const CommandResult html = run("explain --format html puzzle.txt");
    EXPECT_EQ(html.code, 69);
    EXPECT_EQ(html.out, "");
    EXPECT_EQ(html.err, print.err);

    EXPECT_EQ(run("solve puzzle.txt").code, 0);
    const CommandResult words = run("explain puzzle.txt");
    EXPECT_EQ(words.code, 0);
    EXPECT_EQ(words.err, "");
}

TEST_F(CliModule, AModuleThatDoesNotLoadIsNamedWithTheReason)
{
    writeFile(dir + "/bin/gridlark-cli-pictures.so", "not a library\n");
    const CommandResult print = run("print -o book.pdf puzzle.txt");
    EXPECT_EQ(print.code, 69);
    EXPECT_TRUE(print.err.starts_with("gridlark-cli: cannot load the picture module gridlark-cli-pictures.so (")) << print.err;
    EXPECT_NE(print.err.find("/bin/gridlark-cli-pictures.so"), std::string::npos) << print.err;
    EXPECT_FALSE(fs::exists(dir + "/book.pdf"));
}

TEST_F(CliModule, TheInstalledLayoutFindsTheModuleInItsOwnFolder)
{
    const fs::path folder = fs::path(dir + "/bin") / GRIDLARK_CLI_MODULE_DIR;
    fs::create_directories(folder);
    fs::copy_file(GRIDLARK_CLI_MODULE, folder / "gridlark-cli-pictures.so");
    const CommandResult print = run("print --format svg -o book.svg puzzle.txt");
    EXPECT_EQ(print.code, 0) << print.err;
    EXPECT_EQ(print.err, "");
    EXPECT_NE(readFile(dir + "/book.svg").find("<svg"), std::string::npos);
}

} // namespace
