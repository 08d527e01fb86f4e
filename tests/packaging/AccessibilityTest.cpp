// What assistive technology reads from the main dialog through Qt's accessibility
// interfaces, and the arrow keys that move between the cell boxes.

#include "GridlarkDlg.h"
#include "Resource.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class MainDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        dlg = std::make_unique<CGridlarkDlg>();
        dlg->Create();
        dlg->show();
    }
    void TearDown() override { dlg->OnQuit(); }

    QWidget* item(int id) { return dlg->GetDlgItem(id)->GetSafeHwnd(); }
    QLineEdit* box(int row, int col) { return static_cast<QLineEdit*>(item(CellBoxId(row, col))); }
    static QAccessibleInterface* accessible(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }

    std::vector<QString> gridTexts()
    {
        std::vector<QString> texts;
        for (int r = 0; r < kGridSide; ++r)
            for (int c = 0; c < kGridSide; ++c)
                texts.push_back(box(r, c)->text());
        return texts;
    }

    void enterGivens(const char* rows[kGridSide])
    {
        for (int r = 0; r < kGridSide; ++r)
            for (int c = 0; c < kGridSide; ++c)
                box(r, c)->setText(rows[r][c] == '0' ? QString() : QString(QLatin1Char(rows[r][c])));
    }

    std::unique_ptr<CGridlarkDlg> dlg;
};

const char* kPuzzle[kGridSide] = {
    "530070000", "600195000", "098000060", "800060003", "400803001",
    "700020006", "060000280", "000419005", "000080079",
};

TEST_F(MainDialogTest, EveryCellBoxIsAnEditableTextNamedByRowAndColumn)
{
    for (int r = 0; r < kGridSide; ++r) {
        for (int c = 0; c < kGridSide; ++c) {
            QAccessibleInterface* iface = accessible(box(r, c));
            ASSERT_NE(iface, nullptr);
            EXPECT_EQ(iface->role(), QAccessible::EditableText);
            EXPECT_EQ(iface->text(QAccessible::Name),
                      QStringLiteral("Row %1, Column %2").arg(r + 1).arg(c + 1));
        }
    }
}

TEST_F(MainDialogTest, CellBoxesExposeTheirValue)
{
    enterGivens(kPuzzle);
    QAccessibleInterface* iface = accessible(box(0, 1));
    ASSERT_NE(iface->textInterface(), nullptr);
    EXPECT_EQ(iface->textInterface()->text(0, iface->textInterface()->characterCount()), QStringLiteral("3"));
}

TEST_F(MainDialogTest, EveryVisibleButtonIsAPushButtonNamedByItsCaption)
{
    int buttons = 0;
    for (const DlgItemTemplate& control : dlg->GetTemplate().items) {
        if (control.cls != DlgItemClass::Button || (control.style & BS_TYPEMASK) == BS_GROUPBOX ||
            !(control.style & WS_VISIBLE))
            continue;
        QAccessibleInterface* iface = accessible(item(control.id));
        ASSERT_NE(iface, nullptr) << control.text;
        EXPECT_EQ(iface->role(), QAccessible::Button) << control.text;
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromLatin1(control.text));
        ++buttons;
    }
    EXPECT_EQ(buttons, 8);
}

TEST_F(MainDialogTest, MessageAndFiguresLinesReadAsTheirCurrentText)
{
    QAccessibleInterface* messages = accessible(item(IDC_MESSAGES));
    QAccessibleInterface* figures = accessible(item(IDC_FIGURES));
    EXPECT_EQ(messages->text(QAccessible::Name), static_cast<QLabel*>(item(IDC_MESSAGES))->text());
    EXPECT_FALSE(messages->text(QAccessible::Name).isEmpty());
    EXPECT_FALSE(messages->text(QAccessible::Description).isEmpty());
    EXPECT_FALSE(figures->text(QAccessible::Description).isEmpty());

    enterGivens(kPuzzle);
    dlg->OnSolve();
    const QString figuresText = static_cast<QLabel*>(item(IDC_FIGURES))->text();
    ASSERT_FALSE(figuresText.isEmpty());
    EXPECT_EQ(figures->text(QAccessible::Name), figuresText);
    EXPECT_EQ(messages->text(QAccessible::Name), static_cast<QLabel*>(item(IDC_MESSAGES))->text());
}

struct ArrowCase {
    int row, col;
    Qt::Key key;
    int toRow, toCol;
};

TEST_F(MainDialogTest, ArrowKeysMoveTheFocusWithinTheGridAndStopAtItsEdge)
{
    const ArrowCase cases[] = {
        {4, 4, Qt::Key_Up, 3, 4},    {4, 4, Qt::Key_Down, 5, 4},  {4, 4, Qt::Key_Left, 4, 3},
        {4, 4, Qt::Key_Right, 4, 5}, {1, 0, Qt::Key_Up, 0, 0},    {0, 2, Qt::Key_Right, 0, 3},
        {0, 3, Qt::Key_Down, 1, 3},  {0, 0, Qt::Key_Up, 0, 0},    {0, 0, Qt::Key_Left, 0, 0},
        {8, 8, Qt::Key_Down, 8, 8},  {8, 8, Qt::Key_Right, 8, 8}, {2, 8, Qt::Key_Right, 2, 8},
        {8, 0, Qt::Key_Left, 8, 0},
    };
    for (const ArrowCase& step : cases) {
        box(step.row, step.col)->setFocus();
        QTest::keyClick(box(step.row, step.col), step.key);
        EXPECT_EQ(dlg->focusWidget(), box(step.toRow, step.toCol))
            << "from " << step.row << "," << step.col << " key " << step.key;
    }
}

TEST_F(MainDialogTest, ArrowKeysNeverChangeAValue)
{
    enterGivens(kPuzzle);
    const std::vector<QString> before = gridTexts();
    box(0, 0)->setFocus();
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down}) {
        QWidget* focused = dlg->focusWidget();
        QTest::keyClick(focused, key);
    }
    EXPECT_EQ(gridTexts(), before);
    EXPECT_EQ(dlg->focusWidget(), box(1, 1));
    // Entered like Tab enters a box: its value is selected, so a typed digit replaces it.
    EXPECT_EQ(box(1, 1)->selectedText(), box(1, 1)->text());
}

TEST_F(MainDialogTest, ArrowKeysWithAModifierStayWithTheBox)
{
    box(3, 3)->setText(QStringLiteral("12"));
    box(3, 3)->setFocus();
    box(3, 3)->end(false);
    QTest::keyClick(box(3, 3), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(dlg->focusWidget(), box(3, 3));
    EXPECT_EQ(box(3, 3)->selectedText(), QStringLiteral("2"));
}

TEST_F(MainDialogTest, TabStillWalksTheGridInReadingOrderAfterTheArrowKeys)
{
    box(0, 8)->setFocus();
    QTest::keyClick(box(0, 8), Qt::Key_Left);
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Right);
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(dlg->focusWidget(), box(1, 0));
    box(8, 8)->setFocus();
    QTest::keyClick(box(8, 8), Qt::Key_Tab);
    EXPECT_EQ(dlg->focusWidget(), item(IDC_RESET_ALL));
}

} // namespace
