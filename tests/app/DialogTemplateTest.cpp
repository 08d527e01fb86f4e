#include "DialogFixture.h"

#include "AboutDlg.h"
#include "GridlarkApp.h"
#include "SudokuBoard.h"
#include "platform/CStaticControls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>

#include <functional>

namespace {

struct Placement {
    int id;
    int x, y, cx, cy;
};

// The main dialog's controls other than the cell boxes, as the template places them.
const Placement kControls[] = {
    {IDCANCEL, 219, 7, 50, 14},       {IDC_MESSAGES, 13, 239, 195, 29}, {IDC_RESET_ALL, 30, 221, 50, 14},
    {IDC_SOLVE, 156, 221, 50, 14},    {IDC_REVERT, 93, 221, 50, 14},    {IDC_HELP_BUTTON, 29, 7, 50, 14},
    {IDC_SAVE, 219, 221, 50, 14},     {IDC_LOAD, 219, 238, 50, 14},     {IDC_FIGURES, 125, 24, 47, 10},
    {IDC_NOTEPAD, 219, 255, 50, 14},  {IDC_ABSORB_RETURN, 7, 210, 281, 14},
};

// Top-left corners of the cell boxes in dialog units.
const int kCellX[9][9] = {
    {37, 63, 89, 114, 140, 166, 195, 221, 245}, {37, 63, 89, 114, 140, 166, 195, 221, 245},
    {37, 63, 89, 114, 140, 166, 195, 221, 245}, {36, 62, 88, 114, 140, 166, 195, 221, 247},
    {36, 62, 88, 114, 140, 166, 195, 221, 247}, {36, 62, 88, 114, 140, 166, 195, 221, 247},
    {37, 63, 89, 116, 142, 168, 199, 223, 247}, {37, 63, 89, 116, 142, 168, 199, 223, 247},
    {37, 63, 89, 116, 142, 168, 199, 223, 247},
};
const int kCellY[9] = {42, 60, 77, 101, 118, 136, 163, 182, 200};
int cellY(int row, int col)
{
    if ((row == 1 && col >= 3) || (row == 4 && col >= 6) || (row == 7 && col >= 7))
        return kCellY[row] - 1;
    return kCellY[row];
}

const char* const kTabAfterCells[] = {"Reset All", "Solve", "Revert", "Help", "Save", "Load", "Notepad", "Quit"};

using DialogTemplateTest = DialogFixture;

TEST_F(DialogTemplateTest, StartsBlankWithSolveOnlyAndInstructions)
{
    for (const auto& row : grid())
        for (const auto& cell : row)
            EXPECT_EQ(cell, "");
    EXPECT_TRUE(enabled(IDC_SOLVE));
    EXPECT_FALSE(enabled(IDC_REVERT));
    EXPECT_EQ(message(), kInstructions);
    EXPECT_EQ(figures(), "");
    EXPECT_EQ(dlg->focusWidget(), box(0, 0));
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Sudoko"));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    ASSERT_NE(dlg->GetBoard(), nullptr);
    EXPECT_EQ(dlg->GetBoard()->getInnerSize(), 3);
    EXPECT_NE(dlg->GetSolver(), nullptr);
}

TEST_F(DialogTemplateTest, ControlsSitWhereTheTemplatePutsThemInDialogUnits)
{
    EXPECT_EQ(dlg->size(), dlg->MapDialogRect(0, 0, 307, 275).size());
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize()) << "the dialog is not resizable";
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinimizeButtonHint);
    for (const Placement& p : kControls)
        EXPECT_EQ(item(p.id)->geometry(), dlg->MapDialogRect(p.x, p.y, p.cx, p.cy)) << "control " << p.id;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(box(r, c)->geometry(), dlg->MapDialogRect(kCellX[r][c], cellY(r, c), 14, 12))
                << "cell " << r << ", " << c;
}

TEST_F(DialogTemplateTest, BaseUnitsFollowTheDialogFont)
{
    const QFontMetrics metrics(dlg->font());
    EXPECT_EQ(dlg->font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_NEAR(dlg->GetBaseUnitX(), metrics.averageCharWidth(), 1);
    EXPECT_GE(dlg->GetBaseUnitY(), metrics.height());
    EXPECT_LE(dlg->GetBaseUnitY(), metrics.height() + 1);
}

TEST_F(DialogTemplateTest, EachSubSquareLiesInsideItsOwnGroupBoxAndNothingOverlaps)
{
    std::vector<QRect> frames;
    for (const auto group : dlg->findChildren<CGroupBox*>())
        frames.push_back(group->FrameGeometry());
    ASSERT_EQ(frames.size(), 9u);
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            const QRect cell = box(r, c)->geometry();
            const auto holder = std::find_if(frames.begin(), frames.end(), [&](const QRect& f) {
                return f.adjusted(2, 2, -2, -2).contains(cell);
            });
            ASSERT_NE(holder, frames.end()) << "cell " << r << ", " << c;
            // The cells of one sub-square share a frame.
            const QRect corner = box(r / 3 * 3, c / 3 * 3)->geometry();
            EXPECT_TRUE(holder->contains(corner)) << "cell " << r << ", " << c;
        }
    }
    for (std::size_t i = 0; i < frames.size(); ++i)
        for (std::size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_FALSE(frames[i].intersects(frames[j])) << "frames " << i << " and " << j;
    std::vector<QWidget*> visible;
    for (const Placement& p : kControls)
        if (item(p.id)->isVisible())
            visible.push_back(item(p.id));
    for (std::size_t i = 0; i < visible.size(); ++i)
        for (std::size_t j = i + 1; j < visible.size(); ++j)
            EXPECT_FALSE(visible[i]->geometry().intersects(visible[j]->geometry()))
                << visible[i]->property("dlgCtrlId").toInt() << " and " << visible[j]->property("dlgCtrlId").toInt();
}

TEST_F(DialogTemplateTest, ButtonCaptionsAndMessagesFitTheirControls)
{
    for (int id : {IDCANCEL, IDC_RESET_ALL, IDC_SOLVE, IDC_REVERT, IDC_HELP_BUTTON, IDC_SAVE, IDC_LOAD, IDC_NOTEPAD}) {
        auto button = static_cast<QPushButton*>(item(id));
        EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 8) << id;
    }
    // The longest message, wrapped, fits the message line.
    auto messages = static_cast<QLabel*>(item(IDC_MESSAGES));
    messages->setText(QStringLiteral("SORRY, the current grid is invalid - there are one or more values duplicated "
                                     "in a row, column or subsquare; or a value greater than 9. Attempt to solve "
                                     "abandoned."));
    EXPECT_LE(messages->heightForWidth(messages->width()), messages->height());
    // Long figures widen their line about its centre instead of being clipped.
    QWidget* figures = item(IDC_FIGURES);
    const QRect placed = figures->geometry();
    const QString longest = QStringLiteral("2147483647; 2147483647; 2147483647");
    dlg->SetDlgItemText(IDC_FIGURES, longest.toLatin1().constData());
    EXPECT_LE(figures->fontMetrics().horizontalAdvance(longest), figures->width());
    EXPECT_LE(std::abs(figures->geometry().center().x() - placed.center().x()), 1);
    EXPECT_EQ(figures->geometry().top(), placed.top());
    dlg->SetDlgItemText(IDC_FIGURES, "0; 0; 0");
    EXPECT_EQ(figures->geometry(), placed);
}

TEST_F(DialogTemplateTest, TabWalksTheGridInReadingOrderThenTheButtons)
{
    dlg->SendCommand(IDC_SOLVE);  // so that Revert is enabled and takes its turn
    ASSERT_TRUE(enabled(IDC_REVERT));
    QApplication::setActiveWindow(dlg.get());
    box(0, 0)->setFocus();
    std::vector<QWidget*> expected;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            expected.push_back(box(r, c));
    for (const char* caption : kTabAfterCells) {
        for (auto button : dlg->findChildren<QPushButton*>())
            if (button->text() == QLatin1String(caption))
                expected.push_back(button);
    }
    ASSERT_EQ(expected.size(), 89u);
    expected.push_back(box(0, 0));
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), expected[i]) << "step " << i;
    }
}

TEST_F(DialogTemplateTest, EnterInACellBoxDoesNothing)
{
    put(0, 0, "5");
    put(4, 4, "12");
    const GridText before = grid();
    QApplication::setActiveWindow(dlg.get());
    for (QLineEdit* cell : {box(0, 0), box(4, 4), box(8, 8)}) {
        cell->setFocus();
        QTest::keyClick(cell, Qt::Key_Return);
        QTest::keyClick(cell, Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_FALSE(dlg->IsDestroyed());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(grid(), before);
    EXPECT_EQ(message(), kInstructions);
    EXPECT_FALSE(enabled(IDC_REVERT));
    EXPECT_TRUE(host.messageBoxes.empty() && host.fileDialogs.empty() && host.dialogs.empty());
}

TEST(QuitTest, EscapeCloseBoxMenuCloseAndQuitButtonAllQuitReleasingBoardAndSolver)
{
    const std::vector<std::pair<const char*, std::function<void(CGridlarkDlg&)>>> ways = {
        {"Esc", [](CGridlarkDlg& d) { QTest::keyClick(d.GetDlgItem(CellBoxId(3, 3))->GetSafeHwnd(), Qt::Key_Escape); }},
        {"close box", [](CGridlarkDlg& d) { d.close(); }},
        {"menu Close", [](CGridlarkDlg& d) { d.OnSysCommand(SC_CLOSE, 0); }},
        {"Quit", [](CGridlarkDlg& d) { QTest::mouseClick(d.GetDlgItem(IDCANCEL)->GetSafeHwnd(), Qt::LeftButton); }},
    };
    for (const auto& [name, quit] : ways) {
        CScriptedHost host;
        CGridlarkDlg dlg;
        dlg.Create();
        dlg.show();
        quit(dlg);
        EXPECT_TRUE(dlg.IsDestroyed()) << name;
        EXPECT_FALSE(dlg.isVisible()) << name;
        EXPECT_EQ(dlg.GetBoard(), nullptr) << name;
        EXPECT_EQ(dlg.GetSolver(), nullptr) << name;
    }
}

TEST_F(DialogTemplateTest, MenuEndsWithTheAboutItemWhichShowsTheAboutBox)
{
    const auto& items = dlg->GetSystemMenu(FALSE)->GetItems();
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

TEST_F(DialogTemplateTest, AboutBoxClosesWithOkAndEscape)
{
    CAboutDlg about;
    about.Create();
    about.SendCommand(IDOK);
    EXPECT_FALSE(about.isVisible());
    CAboutDlg again;
    again.Create();
    again.show();
    QTest::keyClick(&again, Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
}

TEST_F(DialogTemplateTest, CellBoxesCarryAccessibleNames)
{
    EXPECT_EQ(box(0, 0)->accessibleName(), QStringLiteral("Row 1, Column 1"));
    EXPECT_EQ(box(1, 0)->accessibleName(), QStringLiteral("Row 2, Column 1"));
    EXPECT_EQ(box(0, 3)->accessibleName(), QStringLiteral("Row 1, Column 4"));
    EXPECT_EQ(box(8, 8)->accessibleName(), QStringLiteral("Row 9, Column 9"));
}

TEST(GridlarkAppTest, InitInstanceRunsTheDialogUntilItQuitsAndReturnsFalse)
{
    CScriptedHost host;
    bool ranBlank = false;
    host.onDialog = [&](CDialog& dialog) -> INT_PTR {
        auto& main = static_cast<CGridlarkDlg&>(dialog);
        ranBlank = main.GetBoard() != nullptr && main.windowTitle() == QStringLiteral("Sudoko");
        main.SendCommand(IDCANCEL);
        EXPECT_TRUE(main.IsDestroyed());
        return IDCANCEL;
    };
    CGridlarkApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_EQ(host.dialogs, std::vector<int>{IDD_GRIDLARK_DIALOG});
    EXPECT_TRUE(ranBlank);
}

} // namespace
