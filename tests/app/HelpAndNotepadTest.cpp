#include "DialogFixture.h"

#include "platform/CTextEditor.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const char* const kPrompt = "\n\nPress YES to view next help dialog or NO to exit help";

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class HelpTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        put(0, 0, "7");
        dlg->SendCommand(IDC_SOLVE);
        put(3, 3, "12");  // typed text that no board holds
        ASSERT_FALSE(figures().empty());
        shown = grid();
        shownMessage = message();
    }

    // After any walk through the pages: figures gone, everything else kept, dialog back.
    void expectDialogBack()
    {
        EXPECT_EQ(figures(), "");
        EXPECT_EQ(grid(), shown);
        EXPECT_EQ(message(), shownMessage);
        EXPECT_TRUE(enabled(IDC_REVERT));
        EXPECT_TRUE(dlg->isVisible());
        for (const auto& page : host.messageBoxes)
            EXPECT_FALSE(page.ownerVisible) << "pages are shown while the dialog is hidden";
    }

    GridText shown;
    std::string shownMessage;
};

TEST_F(HelpTest, NoOnTheFirstPageBringsTheDialogBack)
{
    host.messageAnswers = {IDNO};
    dlg->SendCommand(IDC_HELP_BUTTON);
    ASSERT_EQ(host.messageBoxes.size(), 1u);
    const auto& page = host.messageBoxes[0];
    EXPECT_EQ(page.caption, "Help 1 - Tolvane's Sudoku Puzzle Solver");
    EXPECT_EQ(page.type, 0x44u);
    EXPECT_EQ(page.text.rfind("\tSudoku Puzzle Solver - General\n", 0), 0u);
    EXPECT_NE(page.text.find("\n\nRevert Button:"), std::string::npos);
    EXPECT_NE(page.text.find("\n\nFile Operations:"), std::string::npos);
    EXPECT_TRUE(endsWith(page.text, kPrompt));
    expectDialogBack();
}

TEST_F(HelpTest, YesThreeTimesLeadsToTheDetailsPage)
{
    host.messageAnswers = {IDYES, IDYES, IDYES, IDOK};
    dlg->SendCommand(IDC_HELP_BUTTON);
    ASSERT_EQ(host.messageBoxes.size(), 4u);
    const char* const firstLines[3] = {"\tSudoku Puzzle Solver - General\n",
                                       "\tSudoku Puzzle Solver - Grid File Format\n",
                                       "\tSudoku Puzzle Solver - Usage and Notes\n"};
    for (int i = 0; i < 3; ++i) {
        const auto& page = host.messageBoxes[i];
        EXPECT_EQ(page.caption, "Help " + std::to_string(i + 1) + " - Tolvane's Sudoku Puzzle Solver");
        EXPECT_EQ(page.type, 0x44u);
        EXPECT_EQ(page.text.rfind(firstLines[i], 0), 0u) << i;
        EXPECT_TRUE(endsWith(page.text, kPrompt)) << i;
    }
    EXPECT_NE(host.messageBoxes[1].text.find("\n3\n1  0  3  0  5  0  0  8  9\n0  0  0  4  3  6  5  0  0\n...\n"
                                             "... etc rows 3 through 9\n...\n"
                                             "Textual comments      As many comments as you wish\n"),
              std::string::npos);
    for (const char* paragraph : {"Entering numbers on the grid:", "Deleting values in cells:", "Solution Complexity:"})
        EXPECT_NE(host.messageBoxes[2].text.find(std::string("\n\n") + paragraph), std::string::npos) << paragraph;
    const auto& details = host.messageBoxes[3];
    EXPECT_EQ(details.caption, "Help 4 - Tolvane's Sudoku Puzzle Solver");
    EXPECT_EQ(details.type, 0x40u);
    EXPECT_NE(details.text.find("Gridlark"), std::string::npos);
    EXPECT_NE(details.text.find("3.1.1"), std::string::npos);
    EXPECT_EQ(details.text.find("Press YES"), std::string::npos);
    expectDialogBack();
}

TEST_F(HelpTest, NoOnALaterPageStopsThere)
{
    host.messageAnswers = {IDYES, IDCANCEL};
    dlg->SendCommand(IDC_HELP_BUTTON);
    EXPECT_EQ(host.messageBoxes.size(), 2u);
    expectDialogBack();
    host.messageBoxes.clear();
    host.messageAnswers = {IDYES, IDYES, IDNO};
    dlg->SendCommand(IDC_HELP_BUTTON);
    EXPECT_EQ(host.messageBoxes.size(), 3u) << "every Help starts at page 1";
    EXPECT_EQ(host.messageBoxes[0].caption, "Help 1 - Tolvane's Sudoku Puzzle Solver");
}

// A directory of fake editors put first on the search path for one test.
class NotepadTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(bin.isValid() && work.isValid());
        oldPath = qgetenv("PATH");
        oldDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        log = bin.path() + QStringLiteral("/log");
    }

    void TearDown() override
    {
        qputenv("PATH", oldPath);
        QDir::setCurrent(oldDir);
        DialogFixture::TearDown();
    }

    // An editor that writes its argument count, arguments and working directory to the log.
    void addEditor(const char* name)
    {
        QFile script(bin.path() + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$*\" \"$PWD\" > '%1'\n").arg(log).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The search path holds only the fake editors (and /bin for their shell).
    void onlyFakesOnPath() { qputenv("PATH", (bin.path() + QStringLiteral(":/bin:/usr/bin")).toLocal8Bit()); }

    QStringList logged()
    {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    }

    QTemporaryDir bin;
    QTemporaryDir work;
    QByteArray oldPath;
    QString oldDir;
    QString log;
};

TEST_F(NotepadTest, RunsNotepadExeFromThePathHiddenAndChangesNothing)
{
    addEditor("notepad.exe");
    addEditor("gedit");
    qputenv("PATH", (bin.path() + QLatin1Char(':') + QString::fromLocal8Bit(oldPath)).toLocal8Bit());
    put(0, 0, "7");
    dlg->SendCommand(IDC_SOLVE);
    put(1, 1, "x");
    const GridText shown = grid();
    const std::string msg = message();
    const std::string figs = figures();

    dlg->SendCommand(IDC_NOTEPAD);
    ASSERT_EQ(host.spawns.size(), 1u);
    EXPECT_TRUE(host.spawns[0].program.endsWith(QStringLiteral("/notepad.exe")));
    EXPECT_FALSE(host.spawns[0].ownerVisible) << "the dialog is hidden while the editor runs";
    const QStringList record = logged();
    ASSERT_GE(record.size(), 3);
    EXPECT_EQ(record[0], QStringLiteral("0")) << "no file argument";
    EXPECT_EQ(QDir(record[2]).canonicalPath(), QDir(work.path()).canonicalPath());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(grid(), shown);
    EXPECT_EQ(message(), msg);
    EXPECT_EQ(figures(), figs);
    EXPECT_TRUE(enabled(IDC_REVERT));
}

TEST_F(NotepadTest, FallsBackToADesktopEditorThatWaits)
{
    addEditor("mousepad");
    addEditor("gedit");
    onlyFakesOnPath();
    dlg->SendCommand(IDC_NOTEPAD);
    ASSERT_EQ(host.spawns.size(), 1u);
    EXPECT_TRUE(host.spawns[0].program.endsWith(QStringLiteral("/gedit"))) << "gedit comes before mousepad";
    const QStringList record = logged();
    ASSERT_GE(record.size(), 2);
    EXPECT_EQ(record[1], QStringLiteral("--standalone"));
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(NotepadTest, WithoutAnyEditorTheDialogComesStraightBack)
{
    onlyFakesOnPath();
    for (const QString& name : CTextEditor::FallbackNames())
        if (!QStandardPaths::findExecutable(name).isEmpty())
            GTEST_SKIP() << name.toStdString() << " is installed here";
    const std::string msg = message();
    dlg->SendCommand(IDC_NOTEPAD);
    EXPECT_TRUE(host.spawns.empty());
    EXPECT_TRUE(host.messageBoxes.empty());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(message(), msg);
}

} // namespace
