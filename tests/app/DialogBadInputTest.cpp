// Load and Save on bad files and paths: each failure gives the dialog's file-error
// text, and the grid on screen, the dialog's board and the Revert offer stay as they
// were. Nothing hangs, and nothing leaks across many commands (the sanitizer run).
#include "DialogFixture.h"
#include "SudokuBoard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const kOpenError =
    "SORRY, File Error - could not open selected file, or the file is not in the correct format.";
const char* const kSaved = "Current Grid Saved to Selected File.  Change values and use buttons as before.";
const char* const kSaveError =
    "SORRY, File Error - could not save selected file. Check file is not set to R/O and try again.";

class DialogBadInputTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        startDir = QDir::currentPath();
        // A solved grid with a user's entry on top: what a failed command must keep.
        put(0, 0, "7");
        dlg->SendCommand(IDC_SOLVE);
        ASSERT_TRUE(enabled(IDC_REVERT));
        put(8, 8, "12");
        shown = grid();
        board = boardValues();
    }

    void TearDown() override
    {
        QDir::setCurrent(startDir);
        DialogFixture::TearDown();
    }

    std::string path(const char* name) { return (dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }

    std::string write(const char* name, const QByteArray& content)
    {
        QFile file(QString::fromStdString(path(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path(name);
    }

    std::vector<int> boardValues()
    {
        std::vector<int> values;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                values.push_back(dlg->GetBoard()->valueAt(r, c));
        return values;
    }

    void command(int id, const std::string& file)
    {
        host.fileAnswers.push_back({IDOK, file});
        dlg->SendCommand(id);
    }

    void expectNothingLost(const std::string& what)
    {
        EXPECT_EQ(grid(), shown) << what;
        EXPECT_EQ(boardValues(), board) << what;
        EXPECT_TRUE(enabled(IDC_REVERT)) << what;
        EXPECT_EQ(figures(), "") << what;
    }

    QTemporaryDir dir;
    QString startDir;
    GridText shown;
    std::vector<int> board;
};

TEST_F(DialogBadInputTest, LoadOfBadContentGivesTheOpenError)
{
    const std::pair<const char*, QByteArray> files[] = {
        {"binary.bin", QByteArray("\0\x01\xfe\xff", 4)},
        {"inner-size-0.txt", "0\n"},
        {"inner-size-1.txt", "1\n1\n"},
        {"inner-size-4.txt", "4\n1 2 3 4\n"},
        {"huge-inner-size.txt", "99999999999999999999\n1 2 3\n"},
        {"wraps-to-three.txt", "4294967299\n1 2 3\n"},
        {"long-line.txt", QByteArray(1 << 20, ' ') + "x 3\n"},
    };
    for (const auto& [name, content] : files) {
        command(IDC_LOAD, write(name, content));
        EXPECT_EQ(message(), kOpenError) << name;
        expectNothingLost(name);
    }
}

TEST_F(DialogBadInputTest, LoadOfPathsThatAreNoFilesGivesTheOpenError)
{
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    for (const std::string& file : {dir.path().toStdString(), std::string("/dev/null"), std::string("/dev/zero"),
                                    path("fifo"), path("missing/grid.txt")}) {
        command(IDC_LOAD, file);
        EXPECT_EQ(message(), kOpenError) << file;
        expectNothingLost(file);
    }
}

TEST_F(DialogBadInputTest, LoadOfAFileUnreadableToTheUserGivesTheOpenError)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their mode; the model's tests check this as nobody";
    const std::string file = write("unreadable.txt", "3\n1 2 3\n");
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    command(IDC_LOAD, file);
    EXPECT_EQ(message(), kOpenError);
    expectNothingLost(file);
}

TEST_F(DialogBadInputTest, LoadOfAFileThatChangesAfterItsCheckGivesTheOpenError)
{
    // A FIFO that answers "3" to the Load check and is empty when read again: the
    // file constructor would end the program here; the dialog keeps the grid instead.
    // The test holds the writing end until the check has taken the "3", then lets go,
    // so the second read meets the end of the file.
    const std::string fifo = path("changing");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int writer = open(fifo.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "3\n", 2), 2);
    std::thread closer([writer] {
        for (int pending = 1; ioctl(writer, FIONREAD, &pending) == 0 && pending > 0;)
            std::this_thread::yield();
        close(writer);
    });
    command(IDC_LOAD, fifo);
    closer.join();
    EXPECT_EQ(message(), kOpenError);
    expectNothingLost(fifo);
}

TEST_F(DialogBadInputTest, SaveThatCannotBeOpenedGivesTheSaveError)
{
    const std::string gone = path("gone");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(gone)));
    ASSERT_TRUE(QDir().rmdir(QString::fromStdString(gone)));
    // /proc takes no new files even from root.
    for (const std::string& file : {gone + "/grid.txt", std::string("/proc/gridlark-grid.txt")}) {
        command(IDC_SAVE, file);
        EXPECT_EQ(message(), kSaveError) << file;
        expectNothingLost(file);
    }
}

TEST_F(DialogBadInputTest, SaveWhoseWritesFailStillSaysSaved)
{
    // /dev/full takes the open and fails every write, as a full disk does; only the
    // open decides the message, and the grid stays in the boxes.
    command(IDC_SAVE, "/dev/full");
    EXPECT_EQ(message(), kSaved);
    expectNothingLost("/dev/full");
}

TEST_F(DialogBadInputTest, ManyLoadsSavesAndSolvesKeepWorking)
{
    // Each round allocates and frees boards in Load, Save and Solve; the sanitizer run
    // reports any that is not freed.
    const std::string file = path("round.txt");
    for (int round = 0; round < 50; ++round) {
        command(IDC_SAVE, file);
        ASSERT_EQ(message(), kSaved) << round;
        command(IDC_LOAD, file);
        ASSERT_EQ(message(), kInstructions) << round;
        command(IDC_LOAD, path("missing.txt"));
        ASSERT_EQ(message(), kOpenError) << round;
        dlg->SendCommand(IDC_SOLVE);
        ASSERT_FALSE(figures().empty()) << round;
    }
}

} // namespace
