#include "DialogFixture.h"

#include "platform/CTextEditor.h"

#include <QStandardPaths>

namespace {

using HelpTest = DialogFixture;

TEST_F(HelpTest, PagesFollowYesUntilNoOrTheDetailsPageAndTheDialogComesBackAsItWas)
{
    solveAndType("12");  // typed text that no board holds
    Screen expected = screen();
    expected.figures.clear();
    const char* const firstLines[3] = {"\tSudoku Puzzle Solver - General\n",
                                       "\tSudoku Puzzle Solver - Grid File Format\n",
                                       "\tSudoku Puzzle Solver - Usage and Notes\n"};
    const std::string prompt = "\n\nPress YES to view next help dialog or NO to exit help";
    // Every Help starts at page 1.
    for (const std::deque<int>& answers : std::vector<std::deque<int>>{
             {IDNO}, {IDYES, IDCANCEL}, {IDYES, IDYES, IDNO}, {IDYES, IDYES, IDYES, IDOK}}) {
        host.messageBoxes.clear();
        host.messageAnswers = answers;
        dlg->SendCommand(IDC_HELP_BUTTON);
        ASSERT_EQ(host.messageBoxes.size(), answers.size());
        for (std::size_t i = 0; i < answers.size(); ++i) {
            const auto& page = host.messageBoxes[i];
            EXPECT_EQ(page.caption, "Help " + std::to_string(i + 1) + " - Tolvane's Sudoku Puzzle Solver");
            EXPECT_FALSE(page.ownerVisible) << "pages are shown while the dialog is hidden";
            if (i < 3) {
                EXPECT_EQ(page.type, 0x44u) << i;
                EXPECT_TRUE(page.text.starts_with(firstLines[i])) << i;
                EXPECT_TRUE(page.text.ends_with(prompt)) << i;
            }
        }
        EXPECT_EQ(screen(), expected);
        EXPECT_TRUE(dlg->isVisible());
    }
    const auto& pages = host.messageBoxes;
    EXPECT_NE(pages[0].text.find("\n\nRevert Button:"), std::string::npos);
    EXPECT_NE(pages[0].text.find("\n\nFile Operations:"), std::string::npos);
    EXPECT_NE(pages[1].text.find("\n3\n1  0  3  0  5  0  0  8  9\n0  0  0  4  3  6  5  0  0\n...\n"
                                 "... etc rows 3 through 9\n...\n"
                                 "Textual comments      As many comments as you wish\n"),
              std::string::npos);
    for (const char* paragraph : {"Entering numbers on the grid:", "Deleting values in cells:", "Solution Complexity:"})
        EXPECT_NE(pages[2].text.find(std::string("\n\n") + paragraph), std::string::npos) << paragraph;
    EXPECT_EQ(pages[3].type, 0x40u);
    EXPECT_NE(pages[3].text.find("Gridlark"), std::string::npos);
    EXPECT_NE(pages[3].text.find("3.1.1"), std::string::npos);
    EXPECT_EQ(pages[3].text.find("Press YES"), std::string::npos);
}

// Fake editors in the scratch folder, first on the search path for one test.
class NotepadTest : public DialogFixture {
protected:
    void TearDown() override
    {
        qputenv("PATH", oldPath);
        DialogFixture::TearDown();
    }

    // An editor that ends at once; the rest of the path is searched after the fakes.
    void useEditors(const QStringList& names, const QString& rest)
    {
        for (const QString& name : names) {
            QFile script(dir.path() + QLatin1Char('/') + name);
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\n");
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", (dir.path() + QLatin1Char(':') + rest).toLocal8Bit());
    }

    const QByteArray oldPath = qgetenv("PATH");
};

TEST_F(NotepadTest, RunsNotepadExeFromThePathWithoutAFileWhileHiddenAndChangesNothing)
{
    useEditors({QStringLiteral("notepad.exe"), QStringLiteral("gedit")}, QString::fromLocal8Bit(oldPath));
    solveAndType("x");
    const Screen shown = screen();
    dlg->SendCommand(IDC_NOTEPAD);
    ASSERT_EQ(host.spawns.size(), 1u);
    EXPECT_EQ(host.spawns[0].program, dir.path() + QStringLiteral("/notepad.exe"));
    EXPECT_EQ(host.spawns[0].arguments, QStringList());
    EXPECT_FALSE(host.spawns[0].ownerVisible) << "the dialog is hidden while the editor runs";
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(screen(), shown);
}

TEST_F(NotepadTest, FallsBackToADesktopEditorThatWaitsAndWithoutAnyComesStraightBack)
{
    useEditors({QStringLiteral("mousepad"), QStringLiteral("gedit")}, QStringLiteral("/bin:/usr/bin"));
    dlg->SendCommand(IDC_NOTEPAD);
    ASSERT_EQ(host.spawns.size(), 1u);
    EXPECT_EQ(host.spawns[0].program, dir.path() + QStringLiteral("/gedit")) << "gedit comes before mousepad";
    EXPECT_EQ(host.spawns[0].arguments, QStringList(QStringLiteral("--standalone")));
    EXPECT_TRUE(dlg->isVisible());

    for (const char* fake : {"/mousepad", "/gedit"})
        ASSERT_TRUE(QFile::remove(dir.path() + QLatin1String(fake)));
    for (const QString& name : CTextEditor::FallbackNames())
        if (!QStandardPaths::findExecutable(name).isEmpty())
            GTEST_SKIP() << name.toStdString() << " is installed here";
    const Screen shown = screen();
    dlg->SendCommand(IDC_NOTEPAD);
    EXPECT_EQ(host.spawns.size(), 1u);
    EXPECT_TRUE(host.messageBoxes.empty());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(screen(), shown);
}

} // namespace
