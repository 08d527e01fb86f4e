#include "DialogFixture.h"

#include "SudokuBoard.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace {

// The cell-box ids by row and column, as the dialog template numbers them.
const int kIds[9][9] = {
    {1000, 1001, 1002, 1004, 1005, 1006, 1007, 1008, 1009}, {1003, 1010, 1011, 1012, 1013, 1014, 1015, 1016, 1017},
    {1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026}, {1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035},
    {1036, 1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044}, {1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053},
    {1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062}, {1063, 1064, 1065, 1066, 1067, 1068, 1069, 1070, 1071},
    {1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080},
};

using GridBindingTest = DialogFixture;

TEST_F(GridBindingTest, ShowBoardAndReadGridUseTheBoxOfEachPositionsId)
{
    const auto idBox = [&](int r, int c) { return static_cast<QLineEdit*>(item(kIds[r][c])); };
    SudokuBoard shown(3);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            shown.cellAt(r, c)->setValue((r * 9 + c) % 10);
    dlg->ShowBoard(&shown);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            const int v = (r * 9 + c) % 10;
            EXPECT_EQ(idBox(r, c)->text().toStdString(), v == 0 ? "" : std::to_string(v)) << r << ", " << c;
            idBox(r, c)->setText(QString::number((r + 2 * c) % 10));
        }
    SudokuBoard read(3);
    dlg->ReadGrid(&read);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(read.valueAt(r, c), (r + 2 * c) % 10) << r << ", " << c;
}

TEST_F(GridBindingTest, ReadingRulesIntoBlankAndFilledBoards)
{
    struct Case {
        const char* text;
        int intoBlank;  // value read into a blank cell
        int intoFour;   // value read into a cell holding 4
    };
    const Case cases[] = {
        {"", 0, 0},      {"0", 0, 0},      {"7", 7, 7},     {"007", 7, 7},     {" 5", 5, 5},
        {"x", 0, 0},     {"5x", 5, 5},     {"12", 0, 4},    {"10", 0, 4},      {"-3", 0, 4},
        {"1234567", 0, 4}, {"0000009", 0, 0}, {"0000003", 0, 0}, {"000003", 3, 3},
    };
    for (const Case& k : cases) {
        put(4, 5, k.text);
        SudokuBoard blank(3);
        dlg->ReadGrid(&blank);
        EXPECT_EQ(blank.valueAt(4, 5), k.intoBlank) << '"' << k.text << '"';
        SudokuBoard four(3);
        four.cellAt(4, 5)->setValue(4);
        dlg->ReadGrid(&four);
        EXPECT_EQ(four.valueAt(4, 5), k.intoFour) << '"' << k.text << '"';
        EXPECT_EQ(box(4, 5)->text().toStdString(), k.text) << "reading leaves the box as it was";
    }
}

TEST_F(GridBindingTest, TypingTakesDigitsOnlyButPasteTakesAnything)
{
    QLineEdit* cell = box(2, 2);
    cell->setFocus();
    QTest::keyClicks(cell, "a1 b-2.");
    EXPECT_EQ(cell->text(), QStringLiteral("12"));
    QTest::keyClicks(cell, "345678");
    EXPECT_EQ(cell->text(), QStringLiteral("12345678")) << "no length limit";
    QTest::keyClick(cell, Qt::Key_Backspace);
    EXPECT_EQ(cell->text(), QStringLiteral("1234567"));

    cell->clear();
    QApplication::clipboard()->setText(QStringLiteral(" x5"));
    QTest::keyClick(cell, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell->text(), QStringLiteral(" x5"));
    EXPECT_EQ(cell->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

} // namespace
