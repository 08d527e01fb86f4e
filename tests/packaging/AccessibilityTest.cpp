// What assistive technology reads from the main dialog through Qt's accessibility
// interfaces, and the arrow keys that move between the cell boxes.

#include "DialogFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <algorithm>
#include <tuple>

namespace {

QAccessibleInterface* accessible(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }

using AccessibilityTest = DialogFixture;

TEST_F(AccessibilityTest, CellBoxesAreEditableTextsNamedByRowAndColumnThatExposeTheirValue)
{
    putRows(kPuzzle);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            QAccessibleInterface* iface = accessible(box(r, c));
            ASSERT_TRUE(iface && iface->textInterface());
            EXPECT_EQ(iface->role(), QAccessible::EditableText);
            EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Row %1, Column %2").arg(r + 1).arg(c + 1));
            EXPECT_EQ(iface->textInterface()->text(0, iface->textInterface()->characterCount()), box(r, c)->text());
        }
}

TEST_F(AccessibilityTest, EveryVisibleButtonIsAPushButtonNamedByItsCaption)
{
    int buttons = 0;
    for (const DlgItemTemplate& control : dlg->GetTemplate().items)
        if (control.cls == DlgItemClass::Button && (control.style & BS_TYPEMASK) != BS_GROUPBOX &&
            (control.style & WS_VISIBLE)) {
            QAccessibleInterface* iface = accessible(item(control.id));
            ASSERT_NE(iface, nullptr) << control.text;
            EXPECT_EQ(iface->role(), QAccessible::Button) << control.text;
            EXPECT_EQ(iface->text(QAccessible::Name), QString::fromLatin1(control.text));
            ++buttons;
        }
    EXPECT_EQ(buttons, 8);
}

TEST_F(AccessibilityTest, MessageAndFiguresLinesReadAsTheirCurrentText)
{
    QAccessibleInterface* messages = accessible(item(IDC_MESSAGES));
    QAccessibleInterface* figureLine = accessible(item(IDC_FIGURES));
    EXPECT_EQ(messages->text(QAccessible::Name).toStdString(), kInstructions);
    EXPECT_FALSE(messages->text(QAccessible::Description).isEmpty());
    EXPECT_FALSE(figureLine->text(QAccessible::Description).isEmpty());
    putRows(kPuzzle);
    dlg->OnSolve();
    ASSERT_FALSE(figures().empty());
    EXPECT_EQ(figureLine->text(QAccessible::Name).toStdString(), figures());
    EXPECT_EQ(messages->text(QAccessible::Name).toStdString(), message());
}

TEST_F(AccessibilityTest, ArrowKeysMoveTheFocusWithinTheGridStopAtItsEdgeAndChangeNoValue)
{
    const std::tuple<Qt::Key, int, int> moves[] = {
        {Qt::Key_Up, -1, 0}, {Qt::Key_Down, 1, 0}, {Qt::Key_Left, 0, -1}, {Qt::Key_Right, 0, 1}};
    putRows(kPuzzle);
    const GridText before = grid();
    QApplication::setActiveWindow(dlg.get());
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            for (const auto& [key, down, right] : moves) {
                box(r, c)->setFocus();
                QTest::keyClick(box(r, c), key);
                EXPECT_EQ(dlg->focusWidget(), box(std::clamp(r + down, 0, 8), std::clamp(c + right, 0, 8)))
                    << "from " << r << "," << c << " key " << key;
            }
    EXPECT_EQ(grid(), before);
    // Entered like Tab enters a box: its value is selected, so a typed digit replaces it.
    QTest::keyClick(box(0, 0), Qt::Key_Right);
    EXPECT_EQ(box(0, 1)->selectedText(), QStringLiteral("3"));
    // Tab still walks the grid in reading order.
    QTest::keyClick(box(0, 1), Qt::Key_Tab);
    EXPECT_EQ(dlg->focusWidget(), box(0, 2));
    // With a modifier the arrow keys stay with the box.
    put(3, 3, "12");
    box(3, 3)->setFocus();
    box(3, 3)->end(false);
    QTest::keyClick(box(3, 3), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(dlg->focusWidget(), box(3, 3));
    EXPECT_EQ(box(3, 3)->selectedText(), QStringLiteral("2"));
}

} // namespace
