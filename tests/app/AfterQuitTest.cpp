#include "DialogFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace {

// Commands that arrive once Quit has begun, as events queued behind it would.
class AfterQuitTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        putRows(kPuzzle);
        QApplication::clipboard()->setText(QStringLiteral("untouched"));
        before = grid();
        dlg->OnQuit();
        ASSERT_TRUE(dlg->IsDestroyed());
        ASSERT_EQ(dlg->GetBoard(), nullptr);
    }

    // Nothing ran: no box, clipboard, message box, file dialog or program changed or appeared.
    void ExpectNothingRan(const char* what)
    {
        EXPECT_EQ(grid(), before) << what;
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "untouched") << what;
        EXPECT_TRUE(host.messageBoxes.empty()) << what;
        EXPECT_TRUE(host.fileDialogs.empty()) << what;
        EXPECT_TRUE(host.dialogs.empty()) << what;
        EXPECT_TRUE(host.spawns.empty()) << what;
    }

    GridText before;
};

TEST_F(AfterQuitTest, WindowMenuCommandsAfterQuitAreDropped)
{
    QApplication::clipboard()->setText(QStringLiteral("1"));
    dlg->OnSysCommand(IDM_PASTE, 0);
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    for (const UINT command : {IDM_COPY, IDM_HINT, IDM_NEW_EASY, IDM_ABOUTBOX})
        dlg->OnSysCommand(command, 0);
    ExpectNothingRan("window menu");
}

TEST_F(AfterQuitTest, ButtonsAfterQuitAreDropped)
{
    host.fileAnswers.push_back({IDOK, path("saved.txt")});
    for (const int id : {IDC_SOLVE, IDC_REVERT, IDC_RESET_ALL, IDC_SAVE, IDC_LOAD, IDC_HELP_BUTTON, IDC_NOTEPAD,
                         static_cast<int>(IDCANCEL)})
        dlg->SendCommand(id);
    ExpectNothingRan("buttons");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("saved.txt"))));
}

TEST_F(AfterQuitTest, KeysAfterQuitAreDropped)
{
    QTest::keyClick(box(0, 2), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(item(IDC_SOLVE), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(box(0, 2), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box(0, 2), Qt::Key_Escape);
    ExpectNothingRan("keys");
}

using GenerationAfterQuitTest = DialogFixture;

TEST_F(GenerationAfterQuitTest, APuzzleMadeWhenQuitComesIsDiscardedAndTheQuitButtonStillQuits)
{
    putRows(kPuzzle);
    const GridText before = grid();
    dlg->OnSysCommand(IDM_NEW_EASY, 0);
    ASSERT_TRUE(dlg->IsGenerating());
    dlg->SendCommand(IDCANCEL);
    EXPECT_TRUE(dlg->IsDestroyed());
    EXPECT_FALSE(dlg->IsGenerating());
    host.FinishJob(false);
    EXPECT_EQ(grid(), before);
    EXPECT_TRUE(host.messageBoxes.empty());
}

// The real thing: the puzzle is made on a thread of its own.
TEST_F(GenerationAfterQuitTest, OnItsOwnThreadAPuzzleFillsTheBoxesOnceReadyAndQuitStopsIt)
{
    CModalHost* scripted = CModalHost::Install(nullptr);
    const GridText blank = grid();
    dlg->OnSysCommand(IDM_NEW_EASY, 0);
    while (dlg->IsGenerating())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_NE(grid(), blank);

    const GridText made = grid();
    dlg->OnSysCommand(IDM_NEW_EXTREME, 0);
    dlg->OnQuit();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid(), made);
    CModalHost::Install(scripted);
    EXPECT_TRUE(host.messageBoxes.empty());
}

} // namespace
