// Builds the Debian package from this build, unpacks it into a scratch root and
// checks what a user gets: the programs running from there, the desktop entry, the
// metainfo, the icons and the manual pages, all carrying the project's version.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct CommandResult {
    int exitCode;
    std::string out;
    std::string err;
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
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The words of text between any of the separators.
std::vector<std::string> words(const std::string& text, const char* separators)
{
    std::vector<std::string> result;
    for (std::size_t at = text.find_first_not_of(separators); at != std::string::npos;) {
        const std::size_t stop = text.find_first_of(separators, at);
        result.push_back(text.substr(at, stop - at));
        at = text.find_first_not_of(separators, stop);
    }
    return result;
}

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

class PackageTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/gridlark-package-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        const CommandResult cpack = run(quoted(CPACK_COMMAND) + " -G DEB --config " +
                              quoted(fs::path(GRIDLARK_BINARY_DIR) / "CPackConfig.cmake") + " -B " +
                              quoted(scratch / "out"));
        ASSERT_EQ(cpack.exitCode, 0) << cpack.out << cpack.err;
        for (const auto& entry : fs::directory_iterator(scratch / "out"))
            if (entry.path().extension() == ".deb")
                deb = entry.path();
        ASSERT_FALSE(deb.empty()) << cpack.out;
        const CommandResult unpack = run("dpkg-deb -x " + quoted(deb) + " " + quoted(scratch / "root"));
        ASSERT_EQ(unpack.exitCode, 0) << unpack.err;
        usr = scratch / "root" / "usr";
    }

    static void TearDownTestSuite() { fs::remove_all(scratch); }

    // Runs a shell command with the output and the errors caught apart.
    static CommandResult run(const std::string& command)
    {
        const fs::path errors = scratch / "stderr.txt";
        CommandResult result{-1, {}, {}};
        if (FILE* pipe = popen((command + " 2>" + quoted(errors)).c_str(), "r")) {
            std::array<char, 4096> buffer;
            for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
                result.out.append(buffer.data(), n);
            const int status = pclose(pipe);
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        result.err = readFile(errors);
        return result;
    }

    static std::string field(const char* name)
    {
        const CommandResult r = run("dpkg-deb -f " + quoted(deb) + " " + name);
        return r.out.substr(0, r.out.find('\n'));
    }

    static fs::path cli() { return usr / "bin" / "gridlark-cli"; }
    static fs::path manPage(const char* name) { return usr / "share" / "man" / "man6" / name; }

    static inline fs::path scratch;
    static inline fs::path deb;
    static inline fs::path usr;
};

TEST_F(PackageTest, IsNamedAndVersionedFromTheProject)
{
    EXPECT_EQ(field("Package"), "gridlark");
    EXPECT_EQ(field("Version"), PROJECT_VERSION);
    EXPECT_EQ(field("Section"), "games");
}

TEST_F(PackageTest, DependsOnTheQtRuntimeAndTheDeclaredPackages)
{
    const std::string depends = field("Depends");
    std::vector<std::string> packages;
    for (const std::string& item : words(depends, ","))
        packages.push_back(words(item, " ").at(0));
    std::vector<std::string> wanted = {"libqt6core6", "libqt6gui6", "libqt6widgets6"};
    std::istringstream declared(GRIDLARK_PACKAGE_DEPENDS);
    for (std::string name; std::getline(declared, name, ',');)
        wanted.push_back(name.substr(name.find_first_not_of(' ')));
    for (const std::string& name : wanted)
        EXPECT_TRUE(contains(packages, name)) << name << " in " << depends;
}

TEST_F(PackageTest, InstallsBothProgramsTheMenuEntryAndTheMetainfo)
{
    for (const fs::path& path :
         {usr / "bin" / "gridlark", cli(), usr / "share" / "applications" / GRIDLARK_APP_ID ".desktop",
          usr / "share" / "metainfo" / GRIDLARK_APP_ID ".metainfo.xml", manPage("gridlark.6"),
          manPage("gridlark-cli.6")})
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
}

TEST_F(PackageTest, CliFromThePackageReportsTheProjectVersion)
{
    const CommandResult r = run(quoted(cli()) + " --version");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "gridlark-cli " PROJECT_VERSION "\n");
}

TEST_F(PackageTest, CliFromThePackageSolvesTheSample)
{
    const CommandResult r = run(quoted(cli()) + " solve " + quoted(GRIDLARK_SAMPLE));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<int> solution;
    for (const std::string& line : lines(r.out)) {
        if (line.empty() || line[0] != '|')
            continue;
        for (char ch : line)
            if (ch >= '1' && ch <= '9')
                solution.push_back(ch - '0');
    }
    ASSERT_EQ(solution.size(), 81u) << r.out;

    // The givens of the sample stay, and every row, column and box holds 1 to 9.
    std::istringstream sample(readFile(GRIDLARK_SAMPLE));
    int inner = 0;
    sample >> inner;
    ASSERT_EQ(inner, 3);
    for (int i = 0; i < 81; ++i) {
        int given = 0;
        sample >> given;
        if (given != 0) {
            EXPECT_EQ(solution[i], given) << "cell " << i;
        }
    }
    for (int unit = 0; unit < 9; ++unit) {
        std::set<int> row, col, box;
        for (int k = 0; k < 9; ++k) {
            row.insert(solution[unit * 9 + k]);
            col.insert(solution[k * 9 + unit]);
            box.insert(solution[(unit / 3 * 3 + k / 3) * 9 + unit % 3 * 3 + k % 3]);
        }
        EXPECT_EQ(row.size(), 9u) << "row " << unit;
        EXPECT_EQ(col.size(), 9u) << "column " << unit;
        EXPECT_EQ(box.size(), 9u) << "box " << unit;
    }
}

TEST_F(PackageTest, DesktopEntryValidatesAndNamesTheInstalledProgramAndIcon)
{
    const fs::path entry = usr / "share" / "applications" / GRIDLARK_APP_ID ".desktop";
    const CommandResult r = run("desktop-file-validate " + quoted(entry));
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out + r.err, "");
    const std::string text = readFile(entry);
    const std::size_t exec = text.find("\nExec=");
    ASSERT_NE(exec, std::string::npos);
    const std::string program = words(text.substr(exec + 6), " \n").at(0);
    EXPECT_TRUE(fs::is_regular_file(usr / "bin" / program)) << program;
    EXPECT_NE(text.find("\nIcon=" GRIDLARK_APP_ID "\n"), std::string::npos);
    EXPECT_NE(text.find("\nCategories=Game;LogicGame;\n"), std::string::npos);
}

TEST_F(PackageTest, MetainfoValidatesAndCarriesTheReleaseAndAScreenshot)
{
    const fs::path metainfo = usr / "share" / "metainfo" / GRIDLARK_APP_ID ".metainfo.xml";
    const CommandResult r = run("appstreamcli validate --no-net " + quoted(metainfo));
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::string text = readFile(metainfo);
    EXPECT_NE(text.find("<release version=\"" PROJECT_VERSION "\""), std::string::npos);
    EXPECT_NE(text.find("<screenshot type=\"default\">"), std::string::npos);
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">" GRIDLARK_APP_ID ".desktop<"), std::string::npos);
}

TEST_F(PackageTest, IconIsInTheHicolorThemeAtEverySizeAndScalable)
{
    const fs::path theme = usr / "share" / "icons" / "hicolor";
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string side = std::to_string(size);
        const std::string png = readFile(theme / (side + "x" + side) / "apps" / GRIDLARK_APP_ID ".png");
        ASSERT_GE(png.size(), 24u) << size;
        EXPECT_EQ(png.substr(1, 3), "PNG") << size;
        const auto be32 = [&](std::size_t at) {
            return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
                   (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
        };
        EXPECT_EQ(be32(16), size) << "width of the " << size << " px icon";
        EXPECT_EQ(be32(20), size) << "height of the " << size << " px icon";
    }
    const std::string svg = readFile(theme / "scalable" / "apps" / GRIDLARK_APP_ID ".svg");
    EXPECT_NE(svg.find("<svg "), std::string::npos);
    EXPECT_NE(svg.find("<path d=\"M"), std::string::npos);
}

TEST_F(PackageTest, ManualPagesRenderCleanlyWithTheProjectVersion)
{
    for (const char* page : {"gridlark.6", "gridlark-cli.6"}) {
        const CommandResult r = run("LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l " +
                          quoted(manPage(page)));
        EXPECT_EQ(r.exitCode, 0) << page;
        EXPECT_EQ(r.err, "") << page;
        EXPECT_NE(r.out.find("Gridlark " PROJECT_VERSION), std::string::npos) << page;
    }
}

// The sections of a man page source, each as its tagged paragraphs' tags (the line
// after .TP), with escapes for the minus sign and fonts taken out.
std::map<std::string, std::vector<std::string>> manTags(const std::string& source)
{
    std::map<std::string, std::vector<std::string>> tags;
    std::string section;
    const std::vector<std::string> all = lines(source);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].rfind(".SH ", 0) == 0) {
            section = all[i].substr(4);
            std::erase(section, '"');
        } else if (all[i] == ".TP" && i + 1 < all.size()) {
            std::string tag;
            const std::string& line = all[i + 1];
            for (std::size_t at = 0; at < line.size(); ++at) {
                if (line.compare(at, 2, "\\-") == 0) {
                    tag += '-';
                    ++at;
                } else if (line.compare(at, 2, "\\f") == 0 && at + 2 < line.size()) {
                    at += 2;
                } else {
                    tag += line[at];
                }
            }
            tags[section].push_back(tag);
        }
    }
    return tags;
}

// The option names on a line of the help's option table, where the descriptions
// start in column 30.
std::vector<std::string> optionNames(const std::string& line)
{
    std::vector<std::string> names;
    for (const std::string& word : words(line.substr(0, 30), " ,"))
        if (word.size() > 1 && word[0] == '-')
            names.push_back(word);
    return names;
}

// The lines of a help text under the heading, up to the next blank line.
std::vector<std::string> helpBlock(const std::string& help, const std::string& heading)
{
    std::vector<std::string> block;
    bool inside = false;
    for (const std::string& line : lines(help)) {
        if (line == heading)
            inside = true;
        else if (inside && line.empty())
            break;
        else if (inside)
            block.push_back(line);
    }
    return block;
}

TEST_F(PackageTest, CliManualPageCoversEveryCommandOptionAndExitCodeOfTheProgram)
{
    const auto tags = manTags(readFile(manPage("gridlark-cli.6")));
    const std::string help = run(quoted(cli()) + " --help").out;

    std::set<std::string> commands;
    for (const std::string& line : helpBlock(help, "Subcommands:"))
        commands.insert(line.substr(2, line.find(' ', 2) - 2));
    ASSERT_FALSE(commands.empty()) << help;
    std::set<std::string> documented;
    for (const std::string& tag : tags.at("COMMANDS"))
        documented.insert(tag.substr(tag.find(' ') + 1, tag.find(' ', tag.find(' ') + 1) - tag.find(' ') - 1));
    EXPECT_EQ(documented, commands);

    std::set<std::string> codes;
    for (const std::string& line : helpBlock(help, "Exit codes:"))
        codes.insert(line.substr(2, line.find(' ', 2) - 2));
    ASSERT_FALSE(codes.empty()) << help;
    documented.clear();
    for (const std::string& tag : tags.at("EXIT STATUS"))
        documented.insert(tag.substr(tag.find(' ') + 1));
    EXPECT_EQ(documented, codes);

    // Every option of every command has an entry naming it and its command; the
    // options of the program itself have one without a command.
    const auto hasEntry = [&](const std::string& name, const std::string& command) {
        for (const std::string& tag : tags.at("OPTIONS")) {
            const bool named = contains(words(tag, " ,\""), name);
            const bool forCommand = command.empty() ? tag.find('(') == std::string::npos
                                                    : tag.find("(" + command + ")") != std::string::npos;
            if (named && forCommand)
                return true;
        }
        return false;
    };
    std::vector<std::pair<std::string, std::string>> options;
    for (const std::string& line : helpBlock(help, "Options:"))
        for (const std::string& name : optionNames(line))
            options.emplace_back(name, "");
    for (const std::string& command : commands) {
        const std::string commandHelp = run(quoted(cli()) + " " + command + " --help").out;
        for (const std::string& line : helpBlock(commandHelp, "Options:")) {
            for (const std::string& name : optionNames(line))
                if (name != "-h" && name != "--help")
                    options.emplace_back(name, command);
        }
    }
    EXPECT_GE(options.size(), 6u);
    for (const auto& [name, command] : options)
        EXPECT_TRUE(hasEntry(name, command)) << name << (command.empty() ? "" : " of " + command);
}

TEST_F(PackageTest, VersionIsWrittenOnlyInTheProjectDeclaration)
{
    const fs::path source = GRIDLARK_SOURCE_DIR;
    if (!fs::exists(source / ".git"))
        GTEST_SKIP() << "not a git checkout";
    const CommandResult files = run("git -C " + quoted(source) + " ls-files");
    ASSERT_EQ(files.exitCode, 0) << files.err;
    std::vector<std::string> holders;
    for (const std::string& file : lines(files.out)) {
        // What the programs and the installed files are made from; the tests may
        // state what the user must see.
        const std::string top = file.substr(0, file.find('/') + 1);
        const bool feedsTheProduct = contains({"app/", "cli/", "model/", "solver/", "packaging/", "cmake/"}, top) ||
                                     fs::path(file).filename() == "CMakeLists.txt";
        if (!feedsTheProduct || file.rfind("tests/", 0) == 0 || !fs::is_regular_file(source / file))
            continue;
        const std::string text = readFile(source / file);
        if (text.find('\0') == std::string::npos && text.find(PROJECT_VERSION) != std::string::npos)
            holders.push_back(file);
    }
    EXPECT_EQ(holders, std::vector<std::string>{"CMakeLists.txt"});
}

} // namespace
