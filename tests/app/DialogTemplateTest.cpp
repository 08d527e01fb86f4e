#include "DialogFixture.h"

#include "GridlarkApp.h"
#include "SudokuBoard.h"
#include "platform/CStaticControls.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <set>

namespace {

using DialogTemplateTest = DialogFixture;

TEST_F(DialogTemplateTest, StartsAndResetsBlankWithSolveOnlyAndInstructions)
{
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Sudoko"));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    for (const char* when : {"at start", "after Reset All"}) {
        EXPECT_EQ(screen(), (Screen{{}, kInstructions, "", false})) << when;
        EXPECT_TRUE(enabled(IDC_SOLVE)) << when;
        EXPECT_EQ(dlg->focusWidget(), box(0, 0)) << when;
        ASSERT_EQ(dlg->GetBoard()->getInnerSize(), 3) << when;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                EXPECT_EQ(std::pair(dlg->GetBoard()->valueAt(r, c), dlg->GetBoard()->cellAt(r, c)->numPossibles()),
                          std::pair(0, 9)) << when;
        putRows(kPuzzle);
        dlg->SendCommand(IDC_SOLVE);
        box(5, 5)->setFocus();
        dlg->SendCommand(IDC_RESET_ALL);
    }
}

TEST_F(DialogTemplateTest, DialogIsSizedInDialogUnitsOfItsFontAndNotResizable)
{
    EXPECT_EQ(dlg->size(), dlg->MapDialogRect(0, 0, 307, 275).size());
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize()) << "the dialog is not resizable";
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinimizeButtonHint);
    // The base units follow the dialog font.
    const QFontMetrics metrics(dlg->font());
    EXPECT_EQ(dlg->font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_NEAR(dlg->GetBaseUnitX(), metrics.averageCharWidth(), 1);
    EXPECT_GE(dlg->GetBaseUnitY(), metrics.height());
    EXPECT_LE(dlg->GetBaseUnitY(), metrics.height() + 1);
}

TEST_F(DialogTemplateTest, EachGroupBoxFramesTheNineCellsOfOneSubSquare)
{
    std::set<int> squares;
    for (const auto group : dlg->findChildren<CGroupBox*>()) {
        std::vector<int> held;  // the sub-square of each cell inside the frame, with a margin
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                if (group->FrameGeometry().adjusted(2, 2, -2, -2).contains(box(r, c)->geometry()))
                    held.push_back(r / 3 * 3 + c / 3);
        ASSERT_EQ(held.size(), 9u);
        EXPECT_EQ(held, std::vector<int>(9, held[0]));
        squares.insert(held[0]);
    }
    EXPECT_EQ(squares.size(), 9u);
}

TEST_F(DialogTemplateTest, LongFiguresWidenTheirLineAboutItsCentreInsteadOfBeingClipped)
{
    QWidget* line = item(IDC_FIGURES);
    const QRect placed = line->geometry();
    const QString longest = QStringLiteral("2147483647; 2147483647; 2147483647");
    dlg->SetDlgItemText(IDC_FIGURES, longest.toLatin1().constData());
    EXPECT_LE(line->fontMetrics().horizontalAdvance(longest), line->width());
    EXPECT_LE(std::abs(line->geometry().center().x() - placed.center().x()), 1);
    EXPECT_EQ(line->geometry().top(), placed.top());
    dlg->SetDlgItemText(IDC_FIGURES, "0; 0; 0");
    EXPECT_EQ(line->geometry(), placed);
}

TEST_F(DialogTemplateTest, TabWalksTheGridInReadingOrderThenTheButtonsAndEnterDoesNothing)
{
    dlg->SendCommand(IDC_SOLVE);  // so that Revert is enabled and takes its turn
    ASSERT_TRUE(enabled(IDC_REVERT));
    QApplication::setActiveWindow(dlg.get());
    box(0, 0)->setFocus();
    std::vector<QWidget*> expected;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            expected.push_back(box(r, c));
    for (const char* caption : {"Reset All", "Solve", "Revert", "Help", "Save", "Load", "Notepad", "Quit"})
        for (auto button : dlg->findChildren<QPushButton*>())
            if (button->text() == QLatin1String(caption))
                expected.push_back(button);
    ASSERT_EQ(expected.size(), 89u);
    expected.push_back(box(0, 0));
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), expected[i]) << "step " << i;
    }

    put(4, 4, "12");
    const Screen before = screen();
    for (QLineEdit* cell : {box(0, 0), box(4, 4), box(8, 8)}) {
        cell->setFocus();
        QTest::keyClick(cell, Qt::Key_Return);
        QTest::keyClick(cell, Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(screen(), before);
    EXPECT_TRUE(host.messageBoxes.empty() && host.fileDialogs.empty() && host.dialogs.empty() && host.spawns.empty());
}

TEST(QuitTest, InitInstanceRunsTheDialogUntilEscCloseBoxMenuCloseOrQuitReleasesBoardAndSolver)
{
    const std::pair<const char*, std::function<void(CGridlarkDlg&)>> ways[] = {
        {"Esc", [](CGridlarkDlg& d) { QTest::keyClick(d.GetDlgItem(CellBoxId(3, 3))->GetSafeHwnd(), Qt::Key_Escape); }},
        {"close box", [](CGridlarkDlg& d) { d.close(); }},
        {"menu Close", [](CGridlarkDlg& d) { d.OnSysCommand(SC_CLOSE, 0); }},
        {"Quit", [](CGridlarkDlg& d) { QTest::mouseClick(d.GetDlgItem(IDCANCEL)->GetSafeHwnd(), Qt::LeftButton); }},
    };
    for (const auto& [name, quit] : ways) {
        CScriptedHost host;
        host.onDialog = [&, quit = quit](CDialog& dialog) -> INT_PTR {
            auto& main = static_cast<CGridlarkDlg&>(dialog);
            main.show();
            EXPECT_TRUE(main.GetBoard() && main.GetSolver()) << name;
            quit(main);
            EXPECT_TRUE(main.IsDestroyed()) << name;
            EXPECT_FALSE(main.isVisible()) << name;
            EXPECT_FALSE(main.GetBoard() || main.GetSolver()) << name;
            return IDCANCEL;
        };
        CGridlarkApp app;
        EXPECT_FALSE(app.InitInstance()) << name;
        EXPECT_EQ(host.dialogs, std::vector<int>{IDD_GRIDLARK_DIALOG}) << name;
    }
}

TEST_F(DialogTemplateTest, MenuEndsWithTheAboutItemWhichShowsTheAboutBox)
{
    const auto& items = dlg->GetSystemMenu(false)->GetItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_TRUE(items[items.size() - 2].flags & MF_SEPARATOR);
    EXPECT_EQ(items.back().text, "&About Gridlark...");
    EXPECT_EQ(items.back().id, IDM_ABOUTBOX);

    put(2, 2, "7");
    const GridText before = grid();
    std::vector<std::string> aboutTexts;
    host.onDialog = [&](CDialog& about) -> INT_PTR {
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Gridlark"));
        for (const QLabel* label : about.findChildren<QLabel*>())
            aboutTexts.push_back(label->text().toStdString());
        return IDOK;
    };
    dlg->OnSysCommand(IDM_ABOUTBOX, 0);
    EXPECT_EQ(host.dialogs, std::vector<int>{IDD_ABOUTBOX});
    EXPECT_NE(std::find(aboutTexts.begin(), aboutTexts.end(), "Gridlark Version 3.1.1"), aboutTexts.end());
    EXPECT_NE(std::find(aboutTexts.begin(), aboutTexts.end(), "July 2005"), aboutTexts.end());
    EXPECT_EQ(grid(), before);
    EXPECT_FALSE(dlg->IsDestroyed());
}

} // namespace
