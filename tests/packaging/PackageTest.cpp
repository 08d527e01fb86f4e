// Builds the Debian package from this build, unpacks it into a scratch root and
// checks what a user gets: the command-line program running from there, and the
// package, desktop entry, metainfo and manual pages passing their validators.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct CommandResult {
    int exitCode;
    std::string out, err;
};

std::string quoted(const fs::path& path)
{
    std::string q = "'";
    for (char ch : path.string())
        q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The words of text between any of the separators.
std::vector<std::string> words(const std::string& text, const std::string& separators)
{
    std::vector<std::string> result;
    for (std::size_t start = text.find_first_not_of(separators); start != std::string::npos;) {
        const std::size_t end = text.find_first_of(separators, start);
        result.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(separators, end);
    }
    return result;
}

// A man page line without its font escapes (\fB, \fR ...) and with \- as plain -.
std::string withoutEscapes(const std::string& line)
{
    std::string plain;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'f')
            i += 2;
        else if (!(line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '-'))
            plain += line[i];
    }
    return plain;
}

// The entries of a help block: the lines after the heading that are indented.
std::vector<std::string> helpBlock(const std::string& help, const std::string& heading)
{
    const std::vector<std::string> all = words(help, "\n");
    std::vector<std::string> block;
    for (auto at = std::find(all.begin(), all.end(), heading); at != all.end() && ++at != all.end() && (*at)[0] == ' ';)
        block.push_back(*at);
    return block;
}

// The tags (the line after .TP) of a man page section as words, with the escapes for
// the minus sign and fonts taken out.
std::vector<std::vector<std::string>> manTags(const std::string& source, const std::string& section)
{
    const std::vector<std::string> all = words(source, "\n");
    std::vector<std::vector<std::string>> tags;
    std::size_t i = std::find(all.begin(), all.end(), ".SH " + section) - all.begin();
    for (++i; i + 1 < all.size() && !all[i].starts_with(".SH"); ++i) {
        if (all[i] == ".TP")
            tags.push_back(words(withoutEscapes(all[i + 1]), " ,\""));
    }
    return tags;
}

class PackageTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/gridlark-package-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        usr = scratch / "root" / "usr";
        deb = quoted(scratch / "out") + "/*.deb";
        const CommandResult r = run(quoted(CPACK_COMMAND) + " -G DEB -B " + quoted(scratch / "out") + " --config " +
                                    quoted(fs::path(GRIDLARK_BINARY_DIR) / "CPackConfig.cmake") + " && dpkg-deb -x " +
                                    deb + " " + quoted(scratch / "root"));
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    }

    static void TearDownTestSuite() { fs::remove_all(scratch); }

    // Runs a shell command with the output and the errors caught apart.
    static CommandResult run(const std::string& command)
    {
        const fs::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
        const int status = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
    }

    // A control field's value, as dpkg-deb prints it: on one line.
    static std::string field(const char* name) { return run("dpkg-deb -f " + deb + " " + name).out; }
    static std::string cli() { return quoted(usr / "bin" / "gridlark-cli"); }
    static fs::path share(const std::string& path) { return usr / "share" / path; }

    static inline fs::path scratch, usr;
    static inline std::string deb;  // a shell word
};

TEST_F(PackageTest, IsNamedVersionedAndDependsOnTheQtRuntimeAndTheDeclaredPackages)
{
    EXPECT_EQ(field("Package"), "gridlark\n");
    EXPECT_EQ(field("Version"), PROJECT_VERSION "\n");
    EXPECT_EQ(field("Section"), "misc\n");
    const std::string depends = field("Depends");
    std::vector<std::string> wanted = words(GRIDLARK_PACKAGE_DEPENDS, ", ");
    wanted.insert(wanted.end(), {"libqt6core6", "libqt6gui6", "libqt6widgets6"});
    for (const std::string& name : wanted)
        EXPECT_EQ(std::ranges::count(words(depends, ", \n"), name), 1) << name << " in " << depends;
}

TEST_F(PackageTest, CliFromThePackageRunsAndSolvesTheSample)
{
    const CommandResult version = run(cli() + " --version");
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "gridlark-cli " PROJECT_VERSION "\n");
    const CommandResult solved = run(cli() + " solve --unique " + quoted(GRIDLARK_SAMPLE));
    EXPECT_EQ(solved.exitCode, 0) << solved.err;
    EXPECT_EQ(solved.out.rfind("unique\n---", 0), 0u) << solved.out;
}

// The pictures come from a module that the program finds where the package put it.
TEST_F(PackageTest, CliFromThePackageDrawsWithItsPictureModule)
{
    const fs::path svg = scratch / "book.svg";
    const CommandResult printed = run(cli() + " print --format svg -o " + quoted(svg) + " " + quoted(GRIDLARK_SAMPLE));
    EXPECT_EQ(printed.exitCode, 0) << printed.err;
    EXPECT_NE(readFile(svg).find("<svg"), std::string::npos);
}

// Each validator accepts its file without a warning; the manual pages render without
// one and carry the project's version.
TEST_F(PackageTest, ValidatorsAcceptThePackageDesktopEntryMetainfoAndManualPages)
{
    const std::string man = "LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l ";
    const std::string version = "Gridlark " PROJECT_VERSION;
    const struct {
        std::string command, expected;  // expected: the whole output, or a part of it
        bool whole, quiet;              // quiet: nothing on standard error
    } checks[] = {
        // lintian says on standard error that it runs as root; its findings go to the output.
        {"lintian --tag-display-limit 0 --fail-on error,warning " + deb, "", true, false},
        {"desktop-file-validate " + quoted(share("applications/" GRIDLARK_APP_ID ".desktop")), "", true, true},
        {"appstreamcli validate --no-net " + quoted(share("metainfo/" GRIDLARK_APP_ID ".metainfo.xml")), "", false,
         true},
        {man + quoted(share("man/man6/gridlark.6.gz")), version, false, true},
        {man + quoted(share("man/man6/gridlark-cli.6.gz")), version, false, true},
    };
    for (const auto& check : checks) {
        const CommandResult r = run(check.command);
        EXPECT_EQ(r.exitCode, 0) << check.command << '\n' << r.out << r.err;
        EXPECT_TRUE(!check.quiet || r.err.empty()) << check.command << '\n' << r.err;
        if (check.whole)
            EXPECT_EQ(r.out, check.expected) << check.command;
        else
            EXPECT_NE(r.out.find(check.expected), std::string::npos) << check.command << '\n' << r.out;
    }
}

TEST_F(PackageTest, CliManualPageCoversEveryCommandOptionAndExitCodeOfTheProgram)
{
    const std::string source = run("gzip -dc " + quoted(share("man/man6/gridlark-cli.6.gz"))).out;
    const std::string help = run(cli() + " --help").out;
    // The first word of each entry of a help block, and the word after .B (or the
    // like) of each tag of a man page section, must be the same.
    const auto expectSameNames = [&](const char* heading, const char* section) {
        std::set<std::string> helpNames, manNames;
        for (const std::string& line : helpBlock(help, heading))
            helpNames.insert(words(line, " ").at(0));
        for (const auto& tag : manTags(source, section))
            manNames.insert(tag.at(1));
        EXPECT_FALSE(helpNames.empty()) << heading << '\n' << help;
        EXPECT_EQ(manNames, helpNames) << section;
        return helpNames;
    };
    const std::set<std::string> commands = expectSameNames("Subcommands:", "COMMANDS");
    expectSameNames("Exit codes:", "\"EXIT STATUS\"");

    // Every option of every command, and of the program itself, has an entry naming
    // it and (in parentheses) its command. Descriptions start in column 30 of the help.
    std::set<std::string> owners = commands, offered, documented;
    owners.insert("");
    for (const std::string& command : owners) {
        const std::string text = command.empty() ? help : run(cli() + " " + command + " --help").out;
        for (const std::string& line : helpBlock(text, "Options:"))
            for (const std::string& name : words(line.substr(0, 30), " ,"))
                if (name[0] == '-' && (command.empty() || (name != "-h" && name != "--help")))
                    offered.insert(command.empty() ? name : name + " (" + command + ")");
    }
    for (const auto& tag : manTags(source, "OPTIONS"))
        for (const std::string& word : tag)
            if (word[0] == '-')
                documented.insert(tag.back()[0] == '(' ? word + " " + tag.back() : word);
    EXPECT_GE(offered.size(), 6u);
    EXPECT_EQ(documented, offered);
}

} // namespace
