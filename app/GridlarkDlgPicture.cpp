// The window menu's picture items: the candidates window beside the dialog, Print
// and Export Picture. Like the puzzle items they change at most the cell boxes.

#include "GridlarkDlg.h"

#include "CandidatesWnd.h"
#include "GridPainter.h"
#include "Resource.h"
#include "platform/CFileDialog.h"
#include "platform/CModalHost.h"

#include "SudokuBoard.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <cstdio>
#include <string>

namespace {

const char kExportCaption[] = "Export Picture";
const char kExportFilter[] = "PDF Files (*.pdf)|*.pdf|SVG Pictures (*.svg)|*.svg|PNG Pictures (*.png)|*.png||";
constexpr DWORD kExportFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_NOREADONLYRETURN |
                               OFN_EXPLORER;
const char kExportKind[] = "A picture is written as PDF, SVG or PNG: end the file name with .pdf, .svg or .png.";
const char kExportFailed[] = "SORRY, the picture could not be written to this file:\n";
// Big enough for print at 300 dpi over 9 cm.
constexpr int kPngSide = 1080;
constexpr int kSvgSide = 540;

// Draws picture on device, as large as the page or image allows.
bool paintOn(QPaintDevice& device, const GridPicture& picture, const QRectF& area)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    CGridPainter(picture).Paint(painter, area);
    return painter.end();
}

bool writePicture(const QString& path, const QString& kind, const GridPicture& picture)
{
    if (kind == QLatin1String("png")) {
        QImage image(kPngSide, kPngSide, QImage::Format_RGB32);
        image.fill(Qt::white);
        return paintOn(image, picture, QRectF(image.rect())) && image.save(path, "PNG");
    }
    if (kind == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(kSvgSide, kSvgSide));
        svg.setViewBox(QRect(0, 0, kSvgSide, kSvgSide));
        svg.setTitle(QStringLiteral("Gridlark"));
        return paintOn(svg, picture, QRectF(0, 0, kSvgSide, kSvgSide));
    }
    QPdfWriter pdf(path);
    pdf.setTitle(QStringLiteral("Gridlark"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    return paintOn(pdf, picture, QRectF(0, 0, pdf.width(), pdf.height()));
}

} // namespace

void CGridlarkDlg::AppendPictureMenu(CMenu& menu)
{
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, IDM_CANDIDATES, LoadResourceString(IDS_CANDIDATES));
    menu.AppendMenu(MF_STRING, IDM_PRINT, LoadResourceString(IDS_PRINT));
    menu.AppendMenu(MF_STRING, IDM_EXPORT, LoadResourceString(IDS_EXPORT));
}

BOOL CGridlarkDlg::OnPictureCommand(UINT nID)
{
    switch (nID & 0xFFF0) {
    case IDM_CANDIDATES:
        OnCandidates();
        return true;
    case IDM_PRINT:
        OnPrint();
        return true;
    case IDM_EXPORT:
        OnExportPicture();
        return true;
    default:
        return false;
    }
}

std::vector<int> CGridlarkDlg::GetBoxValues()
{
    SudokuBoard board(m_board->getInnerSize());
    ReadGrid(&board);
    std::vector<int> values;
    for (int r = 0; r < board.getSize(); ++r)
        for (int c = 0; c < board.getSize(); ++c)
            values.push_back(board.valueAt(r, c));
    return values;
}

void CGridlarkDlg::OnCandidates()
{
    if (!m_candidates) {
        // A placement applied there goes into the box as if typed.
        m_candidates = new CCandidatesWnd(this, [this](int cell, int value) {
            char text[16] = "";
            if (value != 0)
                std::snprintf(text, sizeof text, "%d", value);
            SetDlgItemText(CellBoxId(cell / kGridSide, cell % kGridSide), text);
        });
        m_candidates->SetValues(GetBoxValues());
        m_candidates->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    m_candidates->show();
    m_candidates->raise();
    m_candidates->activateWindow();
}

void CGridlarkDlg::OnBoxChanged()
{
    if (m_candidates)
        m_candidates->SetValues(GetBoxValues());
}

GridPicture CGridlarkDlg::GetPicture()
{
    if (m_candidates && m_candidates->isVisible())
        return m_candidates->GetPicture();
    GridPicture picture;
    picture.innerSize = m_board->getInnerSize();
    picture.values = GetBoxValues();
    picture.givens.assign(picture.values.size(), true);
    return picture;
}

void CGridlarkDlg::OnPrint()
{
    const GridPicture picture = GetPicture();
    CModalHost::Get().RunPrintDialog(this, [&picture](QPrinter& printer) {
        // The painter starts at the printable area's corner.
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        paintOn(printer, picture, QRectF(0, 0, page.width(), page.height()));
    });
}

void CGridlarkDlg::OnExportPicture()
{
    const GridPicture picture = GetPicture();
    CFileDialog fileDlg(false, "png", nullptr, kExportFlags, kExportFilter, this);
    fileDlg.GetOFN().lpstrTitle = kExportCaption;
    if (fileDlg.DoModal() != IDOK)
        return;
    const QString path = QString::fromLocal8Bit(fileDlg.GetPathName().c_str());
    const QString kind = QFileInfo(path).suffix().toLower();
    if (kind != QLatin1String("pdf") && kind != QLatin1String("svg") && kind != QLatin1String("png")) {
        MessageBox(kExportKind, kExportCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (!writePicture(path, kind, picture))
        MessageBox((kExportFailed + fileDlg.GetPathName()).c_str(), kExportCaption, MB_OK | MB_ICONWARNING);
}
