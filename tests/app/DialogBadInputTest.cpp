// Load and Save on bad files and paths: each failure gives the dialog's file-error
// text, and the grid on screen, the dialog's board and the Revert offer stay as they
// were. Nothing hangs.
#include "DialogFixture.h"
#include "SudokuBoard.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

class DialogBadInputTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        // A solved grid with a user's entry on top: what a failed command must keep.
        solveAndType("12");
        shown = grid();
        board = dlg->GetBoard()->toText();
    }

    void expectNothingLost(const std::string& what)
    {
        EXPECT_EQ(screen(), (Screen{shown, message(), "", true})) << what;
        EXPECT_EQ(dlg->GetBoard()->toText(), board) << what;
    }

    GridText shown;
    std::string board;
};

TEST_F(DialogBadInputTest, LoadOfBadContentOrOfAPathThatIsNoFileGivesTheOpenError)
{
    // One of each way the check of the inner size can fail; the reading rules
    // themselves are the model's and tested there.
    const std::pair<const char*, QByteArray> contents[] = {
        {"empty.txt", ""},
        {"word.txt", "three 5 3\n"},
        {"inner-size-2.txt", "2\n1 2 3 4\n"},
        {"inner-size-4.txt", "4\n1 2 3 4\n"},
        {"wraps-to-three.txt", "4294967299\n1 2 3\n"},
    };
    std::vector<std::string> files = {dir.path().toStdString(), "/dev/null", "/dev/zero", path("fifo"),
                                      path("missing/grid.txt")};
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    for (const auto& [name, content] : contents)
        files.push_back(write(name, content));
    for (const std::string& file : files) {
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
    // A FIFO that answers "3" to the Load check and then, read again, holds nothing or
    // a 4x4 grid file: the file constructor would end the program on the first, and
    // the 9x9 boxes cannot show the second; the dialog keeps the grid instead. The
    // test writes each part once the one before has been taken, and lets go after the
    // last, so that the second read meets the end of the file.
    for (const char* later : {"", "2\n1 2 3 4\n3 4 1 2\n2 1 4 3\n4 3 2 1\n"}) {
        const std::string fifo = path("changing");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const int writer = open(fifo.c_str(), O_RDWR);
        ASSERT_GE(writer, 0);
        // Bounded, so that a Load that never reads again cannot hang the test.
        const auto taken = [writer] {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            for (int pending = 1; ioctl(writer, FIONREAD, &pending) == 0 && pending > 0 &&
                 std::chrono::steady_clock::now() < giveUp;)
                std::this_thread::yield();
        };
        ASSERT_EQ(::write(writer, "3\n", 2), 2);
        std::thread feeder([&] {
            taken();
            const auto size = static_cast<ssize_t>(std::strlen(later));
            if (::write(writer, later, static_cast<std::size_t>(size)) == size)
                taken();
            close(writer);
        });
        command(IDC_LOAD, fifo);
        feeder.join();
        EXPECT_EQ(message(), kOpenError) << later;
        expectNothingLost(later);
        ASSERT_EQ(std::remove(fifo.c_str()), 0);
    }
}

TEST_F(DialogBadInputTest, SaveThatCannotBeOpenedGivesTheSaveError)
{
    const std::string gone = path("gone");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(gone)));
    ASSERT_TRUE(QDir().rmdir(QString::fromStdString(gone)));
    // A folder cannot be opened for writing; /proc takes no new files even from root.
    for (const std::string& file :
         {gone + "/grid.txt", dir.path().toStdString(), std::string("/proc/gridlark-grid.txt")}) {
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
    // Every round creates and frees boards in Load, Save and Solve; the sanitizer run
    // reports any that is not freed.
    const std::string file = path("round.txt");
    for (int round = 0; round < 20; ++round) {
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
