// Builds the Debian package from this build, unpacks it into a scratch root and
// checks what a user gets: the programs running from there, the desktop entry, the
// metainfo, the icons and the manual pages, all carrying the project's version.
// A file missing from the package fails the test that reads or runs it.

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

TEST_F(PackageTest, CliFromThePackageRunsLikeTheBuiltOne)
{
    const CommandResult version = run(cli() + " --version");
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "gridlark-cli " PROJECT_VERSION "\n");
    // The sample needs no guess, so both print the same solution and figures.
    const std::string arguments = " solve --unique " + quoted(GRIDLARK_SAMPLE);
    const CommandResult packaged = run(cli() + arguments);
    const CommandResult built = run(quoted(fs::path(GRIDLARK_BINARY_DIR) / "cli" / "gridlark-cli") + arguments);
    ASSERT_EQ(packaged.exitCode, 0) << packaged.err;
    EXPECT_EQ(packaged.out.rfind("unique\n---", 0), 0u) << packaged.out;
    EXPECT_EQ(packaged.out, built.out);
}

TEST_F(PackageTest, DesktopEntryMetainfoAndIconsValidateAndNameTheProgramIconAndRelease)
{
    const fs::path entry = share("applications/" GRIDLARK_APP_ID ".desktop");
    const fs::path metainfo = share("metainfo/" GRIDLARK_APP_ID ".metainfo.xml");
    const CommandResult desktop = run("desktop-file-validate " + quoted(entry));
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out << desktop.err;
    EXPECT_EQ(desktop.out + desktop.err, "");
    const CommandResult appstream = run("appstreamcli validate --no-net " + quoted(metainfo));
    EXPECT_EQ(appstream.exitCode, 0) << appstream.out << appstream.err;
    EXPECT_TRUE(fs::is_regular_file(usr / "bin" / "gridlark"));
    const std::pair<fs::path, std::vector<std::string>> contents[] = {
        {entry,
         {"\nExec=gridlark %f\n", "\nIcon=" GRIDLARK_APP_ID "\n", "\nCategories=Game;LogicGame;\n",
          "\nMimeType=text/x-gridlark;\n"}},
        {share("mime/packages/" GRIDLARK_APP_ID ".xml"),
         {"<mime-type type=\"text/x-gridlark\">", "<glob pattern=\"*.grid\"/>"}},
        {metainfo,
         {"<release version=\"" PROJECT_VERSION "\"", "<screenshot type=\"default\">",
          "<launchable type=\"desktop-id\">" GRIDLARK_APP_ID ".desktop<"}},
        {share("icons/hicolor/scalable/apps/" GRIDLARK_APP_ID ".svg"), {"<svg ", "<path d=\"M"}},
    };
    for (const auto& [file, parts] : contents)
        for (const std::string& part : parts)
            EXPECT_NE(readFile(file).find(part), std::string::npos) << file << ": " << part;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string side = std::to_string(size) + "x" + std::to_string(size);
        const std::string png = readFile(share("icons/hicolor/" + side + "/apps/" GRIDLARK_APP_ID ".png"));
        ASSERT_GE(png.size(), 24u) << side;
        // The signature, then width and height, big-endian, in the header chunk.
        const std::string be32 = {'\0', '\0', static_cast<char>(size >> 8), static_cast<char>(size & 0xff)};
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << side;
        EXPECT_EQ(png.substr(16, 8), be32 + be32) << side;
    }
}

TEST_F(PackageTest, ManualPagesRenderCleanlyWithTheProjectVersion)
{
    for (const std::string page : {"gridlark.6", "gridlark-cli.6"}) {
        const CommandResult r = run("LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l " +
                                    quoted(share("man/man6/" + page + ".gz")));
        EXPECT_EQ(r.exitCode, 0) << page;
        EXPECT_EQ(r.err, "") << page;
        EXPECT_NE(r.out.find("Gridlark " PROJECT_VERSION), std::string::npos) << page;
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

TEST_F(PackageTest, LintianFindsNoErrorsOrWarnings)
{
    const CommandResult r = run("lintian --tag-display-limit 0 --fail-on error,warning " + deb);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(PackageTest, VersionIsWrittenOnlyInTheProjectDeclaration)
{
    if (!fs::exists(fs::path(GRIDLARK_SOURCE_DIR) / ".git"))
        GTEST_SKIP() << "not a git checkout";
    // What the programs and the installed files are made from; the tests may state
    // what the user must see.
    const CommandResult holders = run("git -C " + quoted(GRIDLARK_SOURCE_DIR) + " grep -l -I -F " PROJECT_VERSION
                                      " -- app cli model solver packaging cmake '*CMakeLists.txt' ':!tests'");
    ASSERT_LE(holders.exitCode, 1) << holders.err;
    EXPECT_EQ(holders.out, "CMakeLists.txt\n");
}

} // namespace
