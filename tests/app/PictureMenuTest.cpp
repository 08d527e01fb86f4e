#include "DialogFixture.h"

#include "CandidatesWnd.h"
#include "GridPainter.h"

#include <QFile>
#include <QImage>
#include <QTest>

namespace {

class PictureMenuTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        putRows(kPuzzle);
        before = screen();
    }

    void exportTo(const std::string& file)
    {
        host.fileAnswers.push_back({IDOK, file});
        dlg->OnSysCommand(IDM_EXPORT, 0);
    }

    QByteArray contents(const std::string& file)
    {
        QFile in(QString::fromStdString(file));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    Screen before;
};

TEST_F(PictureMenuTest, ItemsComeBeforeThePuzzleItemsWithTheirKeys)
{
    const auto& items = dlg->GetSystemMenu(false)->GetItems();
    std::vector<std::pair<UINT, std::string>> found;
    for (const CMenu::Item& item : items)
        if (item.id == IDM_CANDIDATES || item.id == IDM_PRINT || item.id == IDM_EXPORT)
            found.push_back({item.id, item.text});
    EXPECT_EQ(found, (std::vector<std::pair<UINT, std::string>>{{IDM_CANDIDATES, "Can&didates...\tCtrl+Shift+D"},
                                                                {IDM_PRINT, "P&rint...\tCtrl+Shift+P"},
                                                                {IDM_EXPORT, "&Export Picture...\tCtrl+Shift+E"}}));
    QTest::keyClick(box(4, 4), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(dlg->GetCandidatesWnd(), nullptr);
    EXPECT_TRUE(dlg->GetCandidatesWnd()->isVisible());
    host.printAnswers.push_back(IDCANCEL);
    QTest::keyClick(box(4, 4), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(host.printDialogs, 1);
    QTest::keyClick(box(4, 4), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(host.fileDialogs.size(), 1u);
}

TEST_F(PictureMenuTest, ExportWritesThePictureInTheKindItsNameSaysAndChangesNothing)
{
    exportTo(path("grid.png"));
    const QImage png(QString::fromStdString(path("grid.png")));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.width(), png.height());
    // r1c1 holds the given 5: dark pixels in its cell, none in the blank r1c3.
    const CGridPainter painter(GridPicture{3, std::vector<int>(81, 0), {}, {}, std::nullopt});
    const auto darkIn = [&](int cell) {
        const QRect r = painter.GetCellRect(QRectF(png.rect()), cell).toAlignedRect().adjusted(8, 8, -8, -8);
        int dark = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                dark += png.pixelColor(x, y).lightness() < 100;
        return dark;
    };
    EXPECT_GT(darkIn(0), 50);
    EXPECT_EQ(darkIn(2), 0);

    exportTo(path("grid.SVG"));
    EXPECT_TRUE(contents(path("grid.SVG")).contains("<svg"));
    exportTo(path("grid.pdf"));
    EXPECT_TRUE(contents(path("grid.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(host.messageBoxes.empty());
    ASSERT_EQ(host.fileDialogs.size(), 3u);
    EXPECT_FALSE(host.fileDialogs[0].open);
    EXPECT_EQ(host.fileDialogs[0].title, "Export Picture");
    EXPECT_EQ(screen(), before);
}

TEST_F(PictureMenuTest, ExportRefusesAnUnknownKindAndAPlaceItCannotWrite)
{
    exportTo(path("grid.txt"));
    exportTo(path("no-such-folder/grid.png"));
    dlg->OnSysCommand(IDM_EXPORT, 0);  // cancelled: no word
    ASSERT_EQ(host.messageBoxes.size(), 2u);
    EXPECT_NE(host.messageBoxes[0].text.find(".pdf, .svg or .png"), std::string::npos);
    EXPECT_NE(host.messageBoxes[1].text.find("no-such-folder/grid.png"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("grid.txt"))));
    EXPECT_EQ(screen(), before);
}

TEST_F(PictureMenuTest, PrintShowsTheGridOnThePrinterAndACancelPrintsNothing)
{
    host.printFile = QString::fromStdString(path("printed.pdf"));
    dlg->OnSysCommand(IDM_PRINT, 0);
    EXPECT_FALSE(QFile::exists(host.printFile));
    host.printAnswers.push_back(IDOK);
    dlg->OnSysCommand(IDM_PRINT, 0);
    EXPECT_EQ(host.printDialogs, 2);
    EXPECT_TRUE(contents(path("printed.pdf")).startsWith("%PDF"));
    EXPECT_EQ(screen(), before);
}

TEST_F(PictureMenuTest, WithTheCandidatesWindowOpenThePictureShowsItsCandidatesAndStep)
{
    dlg->OnSysCommand(IDM_CANDIDATES, 0);
    CCandidatesWnd* wnd = dlg->GetCandidatesWnd();
    wnd->OnNextStep();
    ASSERT_TRUE(wnd->GetStep());
    const Candidate placed = wnd->GetStep()->placements.front();
    exportTo(path("step.png"));
    const QImage png(QString::fromStdString(path("step.png")));
    ASSERT_FALSE(png.isNull());
    const CGridPainter painter(wnd->GetPicture());
    const QRectF cell = painter.GetCellRect(QRectF(png.rect()), placed.cell);
    const QColor corner = png.pixelColor(QPointF(cell.left() + cell.width() * 0.15, cell.top() + cell.height() * 0.15).toPoint());
    EXPECT_EQ(corner.rgb(), CGridPainter::kPlacement.rgb());
}

} // namespace
