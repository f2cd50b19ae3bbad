#include "Pdf.h"

#include <algorithm>
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <tlhelp32.h>

#include "AfxApp.h"
#include "AfxFileReplacement.h"
#include "AfxFrame.h"
#include "AfxPath.h"
#include "AfxView.h"
#include "Paving.h"
#include "PdfFonts.h"
#include "ShellOpen.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CPdf, CObject)

namespace
{

const WCHAR kFontsFolder[] = L"C:\\Windows\\Fonts\\";
const char kLogFile[] = "MosaicPdf.log";

// Paper by PaperFormat (A4, Letter, A3, A2, A1, A0), in hundredths of a millimetre, and the
// page index that StartPage takes for it.
struct Paper
{
    int nWidth;
    int nHeight;
    int nPageIndex;
};
const Paper kPapers[] = {
    {21000, 29700, 0}, {21600, 27900, 5}, {29700, 42000, 1},
    {42000, 59400, 2}, {59400, 84100, 3}, {84100, 118900, 4},
};

// Media boxes in points by page index: A4, A3, A2, A1, A0, Letter.
const int kMediaBoxes[][2] = {
    {595, 842}, {842, 1191}, {1191, 1684}, {1684, 2384}, {2384, 3370}, {612, 792},
};

// Both Adobe readers lock the files they show, so that a plan could not be written again.
const WCHAR* const kReaderNames[] = {L"AcroRd32.exe", L"Acrobat.exe"};
const DWORD kReaderExitWaitMs = 1500;

// Integers beyond the range saturate; NaN, from degenerate geometry, gives 0.
int Saturate(double x)
{
    if (x != x)
        return 0;
    if (x >= (double)INT_MAX)
        return INT_MAX;
    if (x <= (double)INT_MIN)
        return INT_MIN;
    return (int)x;
}

int RoundHalfAwayFromZero(double x)
{
    return Saturate(x >= 0 ? floor(x + 0.5) : -floor(-x + 0.5));
}

std::string ToUtf8(const CString& strText)
{
    return CPdf::ToPdfString(strText).ToUTF8().second;
}

std::string ToStdString(const CStringA& str)
{
    return std::string(str.GetString(), str.GetLength());
}

// Fills the shape when a brush is selected, then strokes its closed outline.
template <typename DrawFn>
void PaintShape(bool bFill, const AbstractContentContext::GraphicOptions& fill,
                const AbstractContentContext::GraphicOptions& stroke, DrawFn draw)
{
    if (bFill)
        draw(fill);
    AbstractContentContext::GraphicOptions outline = stroke;
    outline.close = true;
    draw(outline);
}

unsigned long ToPdfColour(COLORREF cr)
{
    return ((unsigned long)GetRValue(cr) << 16) | ((unsigned long)GetGValue(cr) << 8) |
           GetBValue(cr);
}

}   // namespace

CPdf::CPdf()
    : m_nPageWidthPt(0), m_nPageHeightPt(0), m_bOpen(false), m_pPage(NULL), m_nPaperWidth(0),
      m_nPaperHeight(0), m_bFill(false), m_crCurrent(0),
      m_pFillOptions(new AbstractContentContext::GraphicOptions(
          AbstractContentContext::eFill, AbstractContentContext::eRGB, 0, 1.0, false)),
      m_pStrokeOptions(new AbstractContentContext::GraphicOptions(
          AbstractContentContext::eStroke, AbstractContentContext::eRGB, 0, 2.0, false)),
      m_pContext(NULL), m_pFont(NULL), m_pLogoForm(NULL), m_pPictureForm(NULL),
      m_pThumbnailForm(NULL), m_strFontFile(L"Calibri.ttf"), m_bHasMove(false),
      m_bPageDrawn(false)
{
    m_ptMove.x = m_ptMove.y = 0;
}

CPdf::~CPdf()
{
    // A document still open is finished to free what the library holds; being incomplete,
    // it is not written.
    if (m_bOpen)
    {
        if (m_pPage != NULL)
            EndPage();
        FreeForms();
        m_writer.EndPDFForStream();
    }
    delete m_pFillOptions;
    delete m_pStrokeOptions;
}

void CPdf::Serialize(CArchive&)
{
}

// ---- Document and page life -------------------------------------------------------------

int CPdf::SetPaperSize(int nPaperFormat)
{
    const Paper& paper =
        nPaperFormat >= 0 && nPaperFormat < (int)ARRAYSIZE(kPapers) ? kPapers[nPaperFormat]
                                                                   : kPapers[0];
    m_nPaperWidth = paper.nWidth;
    m_nPaperHeight = paper.nHeight;
    return paper.nPageIndex;
}

PdfStartResult CPdf::StartPdf(CString strProgramFolder, CString strOutputPath,
                              CString strPicturePath, CString strThumbnailPath)
{
    if (m_bOpen)
        return PdfStartFailed;
    m_bFill = false;
    CloseAcrobatProcesses();
    m_strOutputPath = strOutputPath;

    // Made in memory and written whole when finished: a plan that fails leaves the file
    // written before as it was. A file that could not be written at all is known now,
    // before the pages are drawn.
    if (AfxCheckWritable(strOutputPath) != NO_ERROR)
    {
        fputs("failed to start PDF\n", stdout);
        fflush(stdout);
        return PdfStartFailed;
    }
    m_output.Reset();
    if (m_writer.StartPDFForStream(&m_output, ePDFVersion13,
                                   LogConfiguration(true, true, kLogFile),
                                   PDFCreationSettings(true, true)) != PDFHummus::eSuccess)
    {
        fputs("failed to start PDF\n", stdout);
        fflush(stdout);
        return PdfStartFailed;
    }
    m_bOpen = true;

    m_pPictureForm = LoadJpegForm(strPicturePath);
    m_pThumbnailForm = LoadJpegForm(strThumbnailPath);

    PdfStartResult result = PdfStartOk;
    m_fontsByFile.clear();
    m_unshownTexts.clear();
    m_strFace.Empty();
    m_pFont = FontOfFile(m_strFontFile);
    if (m_pFont == NULL)
    {
        printf("Failed to create font object for %s\n", ToUtf8(m_strFontFile).c_str());
        fflush(stdout);
        result = PdfStartNoFont;
    }

    CString strLogoPath;
    strLogoPath.Format(L"%sLogoMosaic.jpg", (LPCTSTR)strProgramFolder);
    m_pLogoForm = LoadJpegForm(strLogoPath);

    if (CWinApp* pApp = AfxGetApp())
        pApp->BeginWaitCursor();
    return result;
}

void CPdf::StartPage(int nPageIndex)
{
    if (!m_bOpen)
        return;
    if (m_pPage != NULL)
        EndPage();
    if (nPageIndex < 1 || nPageIndex >= (int)ARRAYSIZE(kMediaBoxes))
        nPageIndex = 0;
    m_nPageWidthPt = kMediaBoxes[nPageIndex][0];
    m_nPageHeightPt = kMediaBoxes[nPageIndex][1];
    m_pPage = new PDFPage();
    m_pPage->SetMediaBox(PDFRectangle(0, 0, m_nPageWidthPt, m_nPageHeightPt));
    m_pContext = m_writer.StartPageContentContext(m_pPage);
    if (m_pContext == NULL)
    {
        delete m_pPage;
        m_pPage = NULL;
    }
    m_bHasMove = false;
    m_bPageDrawn = false;
}

int CPdf::EndPage()
{
    if (m_pPage == NULL || m_pContext == NULL)
        return PDFHummus::eFailure;
    PlaceForm(m_pLogoForm, 0.1, ToPageX(m_nPaperWidth - 5400), ToPageY(650 - m_nPaperHeight));
    m_writer.EndPageContentContext(m_pContext);
    m_pContext = NULL;

    // The link covers 20 to 40 mm left of the right edge, 2 to 8 mm above the bottom edge.
    CString strSite;
    if (strSite.LoadString(IDS_MAKER_WEB_SITE) && !strSite.IsEmpty())
    {
        m_writer.AttachURLLinktoCurrentPage(
            ToUtf8(strSite),
            PDFRectangle(ToPageX(m_nPaperWidth - 4000), ToPageY(200 - m_nPaperHeight),
                         ToPageX(m_nPaperWidth - 2000), ToPageY(800 - m_nPaperHeight)));
    }

    const int nStatus = m_writer.WritePageAndRelease(m_pPage);
    m_pPage = NULL;
    return nStatus;
}

BOOL CPdf::EndPdf()
{
    if (!m_bOpen)
        return FALSE;
    if (m_pPage != NULL)
        EndPage();
    FreeForms();
    bool bWritten = m_writer.EndPDFForStream() == PDFHummus::eSuccess;
    if (bWritten)
    {
        const std::string bytes = m_output.ToString();
        bWritten = AfxWriteWholeFile(m_strOutputPath, bytes.data(), bytes.size()) == NO_ERROR;
    }
    m_output.Reset();
    m_pFont = NULL;
    m_fontsByFile.clear();
    if (!bWritten)
    {
        fputs("failed in end PDF\n", stdout);
        fflush(stdout);
    }

    if (CWinApp* pApp = AfxGetApp())
        pApp->EndWaitCursor();
    m_bOpen = false;

    if (bWritten)
        ShellOpenFile(m_strOutputPath);
    if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd()))
    {
        if (CView* pView = pFrame->GetActiveView())
            pView->Invalidate(TRUE);
    }
    return bWritten;
}

BOOL CPdf::BeginPageDrawing()
{
    if (m_pContext == NULL || m_bPageDrawn)
        return FALSE;
    m_bPageDrawn = true;
    return TRUE;
}

PDFFormXObject* CPdf::LoadJpegForm(const CString& strPath)
{
    if (strPath.IsEmpty() || GetFileAttributesW(strPath) == INVALID_FILE_ATTRIBUTES)
        return NULL;
    const CStringA strUnixPath = AfxGetUnixPath(strPath);
    if (strUnixPath.IsEmpty())
        return NULL;
    // The library reserves the form's object before it reads the picture; a file it then
    // cannot read would leave that object unwritten and the whole document unreadable.
    const std::string path = ToStdString(strUnixPath);
    if (m_writer.GetImageType(path, 0) != PDFHummus::eJPG)
        return NULL;
    const DoubleAndDoublePair size = m_writer.GetImageDimensions(path);
    if (size.first <= 0 || size.second <= 0)
        return NULL;
    return m_writer.CreateFormXObjectFromJPGFile(path);
}

PDFUsedFont* CPdf::FontOfFile(const CString& strFile)
{
    CString strKey = strFile;
    strKey.MakeLower();
    auto found = m_fontsByFile.find(strKey);
    if (found != m_fontsByFile.end())
        return found->second;
    const CStringA strPath = FindFontFile(kFontsFolder, strFile);
    PDFUsedFont* pFont =
        strPath.IsEmpty() ? NULL : m_writer.GetFontForFile(ToStdString(strPath), 0);
    m_fontsByFile[strKey] = pFont;
    return pFont;
}

PDFUsedFont* CPdf::FontForText(const CString& strText)
{
    const CString strFaceFile = FontFileOfFace(m_strFace);
    PDFUsedFont* candidates[] = {strFaceFile.IsEmpty() ? NULL : FontOfFile(strFaceFile),
                                 m_pFont, FontOfFile(WideCoverageFontFile())};
    PDFUsedFont* pFirst = NULL;
    for (PDFUsedFont* pFont : candidates)
    {
        if (pFont == NULL)
            continue;
        if (CharactersWithoutGlyph(pFont, strText).IsEmpty())
            return pFont;
        if (pFirst == NULL)
            pFirst = pFont;
    }
    if (pFirst != NULL &&
        std::find(m_unshownTexts.begin(), m_unshownTexts.end(), strText) == m_unshownTexts.end())
        m_unshownTexts.push_back(strText);
    return pFirst;
}

void CPdf::FreeForms()
{
    delete m_pLogoForm;
    delete m_pThumbnailForm;
    delete m_pPictureForm;
    m_pLogoForm = m_pThumbnailForm = m_pPictureForm = NULL;
}

void CPdf::PlaceForm(PDFFormXObject* pForm, double dScale, int x, int y)
{
    if (m_pContext == NULL || pForm == NULL)
        return;
    const std::string strName =
        m_pPage->GetResourcesDictionary().AddFormXObjectMapping(pForm->GetObjectID());
    m_pContext->q();
    m_pContext->cm(dScale, 0, 0, dScale, x, y);
    m_pContext->Do(strName);
    m_pContext->Q();
}

BOOL CPdf::ListProcesses(std::vector<ProcessEntry>& processes) const
{
    processes.clear();
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return FALSE;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    const BOOL bListed = Process32FirstW(hSnapshot, &entry);
    if (bListed)
    {
        do
        {
            processes.push_back({entry.th32ProcessID, entry.szExeFile});
        } while (Process32NextW(hSnapshot, &entry));
    }
    CloseHandle(hSnapshot);
    return bListed;
}

// Adobe's readers are ended by their exact file names; others do not lock the files.
BOOL CPdf::CloseAcrobatProcesses()
{
    std::vector<ProcessEntry> processes;
    ListProcesses(processes);
    BOOL bClosed = FALSE;
    for (const ProcessEntry& process : processes)
    {
        for (LPCWSTR lpszName : kReaderNames)
        {
            if (lstrcmpW(process.strExeName, lpszName) != 0)
                continue;
            HANDLE hProcess = OpenProcess(PROCESS_TERMINATE, FALSE, process.dwId);
            if (hProcess != NULL)
            {
                bClosed = TerminateProcess(hProcess, 0) || bClosed;
                CloseHandle(hProcess);
            }
        }
    }
    // Without a reader to let go of a file, waiting would only hold the user up.
    if (bClosed)
        Sleep(kReaderExitWaitMs);
    return bClosed;
}

// ---- Coordinates ------------------------------------------------------------------------

int CPdf::GetDeviceCaps(int nIndex) const
{
    switch (nIndex)
    {
    case HORZSIZE:
        return m_nPaperWidth - 600;
    case VERTSIZE:
        return m_nPaperHeight - 600;
    default:
        return 0;
    }
}

int CPdf::ToPageX(int x) const
{
    if (m_nPaperWidth == 0)
        return 0;
    return RoundHalfAwayFromZero((double)x / m_nPaperWidth * m_nPageWidthPt);
}

int CPdf::ToPageY(int y) const
{
    if (m_nPaperHeight == 0)
        return 0;
    return RoundHalfAwayFromZero(((double)m_nPaperHeight + y) / m_nPaperHeight *
                                 m_nPageHeightPt);
}

int CPdf::FromPageX(int v) const
{
    if (m_nPageWidthPt == 0)
        return 0;
    return RoundHalfAwayFromZero((double)v / m_nPageWidthPt * m_nPaperWidth);
}

int CPdf::FromPageY(int v) const
{
    if (m_nPageHeightPt == 0)
        return 0;
    return RoundHalfAwayFromZero((double)v / m_nPageHeightPt * m_nPaperHeight);
}

// ---- Lines and shapes -------------------------------------------------------------------

void CPdf::BeginBlackStroke()
{
    m_pContext->q();
    m_pContext->w(2);
    m_pContext->RG(0, 0, 0);
}

void CPdf::EndStroke()
{
    m_pContext->S();
    m_pContext->Q();
}

// The point is kept rather than written: PDF allows no state change between a path's start
// and its painting, so each segment is written whole by LineTo.
CPoint CPdf::MoveTo(int x, int y)
{
    m_ptMove.x = x;
    m_ptMove.y = y;
    m_bHasMove = true;
    return CPoint(x, y);
}

BOOL CPdf::LineTo(int x, int y)
{
    if (m_bHasMove && m_pContext != NULL)
    {
        BeginBlackStroke();
        m_pContext->m(ToPageX(m_ptMove.x), ToPageY(m_ptMove.y));
        m_pContext->l(ToPageX(x), ToPageY(y));
        EndStroke();
    }
    MoveTo(x, y);
    return TRUE;
}

BOOL CPdf::Rectangle(const RECT& rect)
{
    if (m_pContext == NULL)
        return TRUE;
    const int x1 = ToPageX(rect.left), x2 = ToPageX(rect.right);
    const int y1 = ToPageY(rect.bottom), y2 = ToPageY(rect.top);
    const int nLeft = std::min(x1, x2), nBottom = std::min(y1, y2);
    const int nWidth = abs(x2 - x1), nHeight = abs(y2 - y1);
    PaintShape(m_bFill, *m_pFillOptions, *m_pStrokeOptions,
               [&](const AbstractContentContext::GraphicOptions& options) {
                   m_pContext->DrawRectangle(nLeft, nBottom, nWidth, nHeight, options);
               });
    return TRUE;
}

// Always a circle, as wide as the rectangle.
BOOL CPdf::Ellipse(const RECT& rect)
{
    if (m_pContext == NULL)
        return TRUE;
    const int nLeft = ToPageX(rect.left), nRight = ToPageX(rect.right);
    const int cx = (nRight + nLeft) / 2;
    const int cy = (ToPageY(rect.bottom) + ToPageY(rect.top)) / 2;
    const int nRadius = (nRight - nLeft) / 2;
    PaintShape(m_bFill, *m_pFillOptions, *m_pStrokeOptions,
               [&](const AbstractContentContext::GraphicOptions& options) {
                   m_pContext->DrawCircle(cx, cy, nRadius, options);
               });
    return TRUE;
}

BOOL CPdf::Polygon(const POINT* pPoints, int nCount)
{
    if (m_pContext == NULL || pPoints == NULL || nCount <= 0)
        return TRUE;
    DoubleAndDoublePairList points;
    for (int i = 0; i < nCount; i++)
        points.push_back(DoubleAndDoublePair(ToPageX(pPoints[i].x), ToPageY(pPoints[i].y)));
    PaintShape(m_bFill, *m_pFillOptions, *m_pStrokeOptions,
               [&](const AbstractContentContext::GraphicOptions& options) {
                   m_pContext->DrawPath(points, options);
               });
    return TRUE;
}

// The arc with both radii, as a pie's outline.
BOOL CPdf::ArcTo(const RECT& rect, POINT ptStart, POINT ptEnd)
{
    const int cx = rect.left + (rect.right - rect.left) / 2;
    const int cy = rect.top + (rect.bottom - rect.top) / 2;
    MoveTo(cx, cy);
    LineTo(ptStart);
    MoveTo(cx, cy);
    LineTo(ptEnd);
    return Arc(rect.left, rect.top, rect.right, rect.bottom, ptStart.x, ptStart.y, ptEnd.x,
               ptEnd.y);
}

// A half circle between opposite edges is split at the edge it passes, so that no Bezier
// segment spans more than a quarter of the circle.
BOOL CPdf::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const int L = x1, T = y1, R = x2, B = y2;
    bool bSplit = true;
    POINT ptSplit = {0, 0};
    if (x3 == R && x4 == L)
        ptSplit = {(x3 + x4) / 2, T};
    else if (x3 == L && x4 == R)
        ptSplit = {(x3 + x4) / 2, B};
    else if (y3 == B && y4 == T)
        ptSplit = {R, (T + B) / 2};
    else if (y3 == T && y4 == B)
        ptSplit = {L, (T + B) / 2};
    else
        bSplit = false;

    if (bSplit)
    {
        BezierArc(L, T, R, B, x3, y3, ptSplit.x, ptSplit.y);
        BezierArc(L, T, R, B, ptSplit.x, ptSplit.y, x4, y4);
    }
    else
    {
        BezierArcInQuarters(L, T, R, B, x3, y3, x4, y4);
    }
    return TRUE;
}

// One Bezier segment bends towards the shorter way round, and collapses onto the diameter for
// a half circle: an arc of half a circle or more, anticlockwise on the page, goes in pieces of
// at most a quarter circle each.
void CPdf::BezierArcInQuarters(int nLeft, int nTop, int nRight, int nBottom,
                               int xStart, int yStart, int xEnd, int yEnd)
{
    const double pi = 3.14159265358979323846;
    const double cx = nLeft + (nRight - nLeft) / 2, cy = nTop + (nBottom - nTop) / 2;
    const double dRadius = (nRight - nLeft) * 0.5;
    const double dStart = atan2(yStart - cy, xStart - cx);
    double dSweep = atan2(yEnd - cy, xEnd - cx) - dStart;
    while (dSweep <= 0)
        dSweep += 2 * pi;
    if (dSweep < pi - 1e-9 || dRadius == 0)
    {
        BezierArc(nLeft, nTop, nRight, nBottom, xStart, yStart, xEnd, yEnd);
        return;
    }
    const int nPieces = (int)ceil(dSweep / (pi / 2) - 1e-9);
    POINT ptFrom = {xStart, yStart};
    for (int i = 1; i <= nPieces; i++)
    {
        const double dAngle = dStart + dSweep * i / nPieces;
        POINT ptTo = {xEnd, yEnd};
        if (i < nPieces)
            ptTo = {RoundHalfAwayFromZero(cx + dRadius * cos(dAngle)),
                    RoundHalfAwayFromZero(cy + dRadius * sin(dAngle))};
        BezierArc(nLeft, nTop, nRight, nBottom, ptFrom.x, ptFrom.y, ptTo.x, ptTo.y);
        ptFrom = ptTo;
    }
}

// One Bezier segment approximating the circle arc from the start to the end point. Its
// control points lie on rays from the centre through the chord's thirds.
void CPdf::BezierArc(int nLeft, int nTop, int nRight, int nBottom,
                     int xStart, int yStart, int xEnd, int yEnd)
{
    m_bFill = false;
    const DPoint ptLeftTop = {(double)nLeft, (double)nTop};
    const DPoint ptRightTop = {(double)nRight, (double)nTop};
    const double dRadius = PointDistance(ptLeftTop, ptRightTop) * 0.5;
    const DPoint ptCentre = {(double)(nLeft + (nRight - nLeft) / 2),
                             (double)(nTop + (nBottom - nTop) / 2)};
    const double dControl = dRadius * 1.103568;

    const DPoint ptStart = {(double)xStart, (double)yStart};
    const DPoint ptEnd = {(double)xEnd, (double)yEnd};
    const double dChord = PointDistance(ptStart, ptEnd);
    if (dChord == 0 || m_pContext == NULL)
        return;

    DPoint a, b, ptThird1, ptThird2, ptControl1, ptControl2;
    IntersectCircleLine(ptStart, dChord / 3, ptStart, ptEnd, a, b);
    NearerPoint(ptThird1, ptEnd, a, b);
    IntersectCircleLine(ptStart, 2 * dChord / 3, ptStart, ptEnd, a, b);
    NearerPoint(ptThird2, ptEnd, a, b);
    IntersectCircleLine(ptCentre, dControl, ptCentre, ptThird1, a, b);
    NearerPoint(ptControl1, ptStart, a, b);
    IntersectCircleLine(ptCentre, dControl, ptCentre, ptThird2, a, b);
    NearerPoint(ptControl2, ptEnd, a, b);

    BeginBlackStroke();
    m_pContext->m(ToPageX(xStart), ToPageY(yStart));
    m_pContext->c(ToPageX(Saturate(ptControl1.x)), ToPageY(Saturate(ptControl1.y)),
                  ToPageX(Saturate(ptControl2.x)), ToPageY(Saturate(ptControl2.y)),
                  ToPageX(xEnd), ToPageY(yEnd));
    EndStroke();
}

// ---- Brushes, pens and colours ----------------------------------------------------------

CBrush* CPdf::SelectBrush(CBrush* pBrush)
{
    LOGBRUSH logBrush;
    if (pBrush != NULL && pBrush->GetLogBrush(&logBrush))
    {
        m_pFillOptions->colorSpace = AbstractContentContext::eRGB;
        m_pFillOptions->colorValue = ToPdfColour(logBrush.lbColor);
        m_bFill = true;
    }
    return pBrush;
}

CPen* CPdf::SelectPen(CPen* pPen)
{
    LOGPEN logPen;
    if (pPen != NULL && pPen->GetLogPen(&logPen))
    {
        m_pStrokeOptions->colorSpace = AbstractContentContext::eRGB;
        m_pStrokeOptions->colorValue = ToPdfColour(logPen.lopnColor);
        m_crCurrent = logPen.lopnColor;
    }
    return pPen;
}

CFont* CPdf::SelectFont(CFont* pFont)
{
    LOGFONTW logFont;
    if (pFont != NULL && pFont->GetSafeHandle() != NULL && pFont->GetLogFont(&logFont))
        m_strFace = logFont.lfFaceName;
    return pFont;
}

COLORREF CPdf::SetTextColor(COLORREF crColor)
{
    m_crCurrent = crColor;
    return crColor;
}

// ---- Text -------------------------------------------------------------------------------

BOOL CPdf::DrawText(int nSize, CString strText, const RECT& rect, int nHorzAlign,
                    int nVertAlign)
{
    if (m_pContext == NULL)
        return TRUE;
    PDFUsedFont* pFont = FontForText(strText);
    if (pFont == NULL)
        return TRUE;
    const std::string strShown = ToUtf8(strText + L" ");
    const PDFUsedFont::TextMeasures measures = pFont->CalculateTextDimensions(strShown, nSize);

    const int nLeft = ToPageX(rect.left), nRight = ToPageX(rect.right);
    double x = 0;
    switch (nHorzAlign)
    {
    case 0:
        x = nLeft;
        break;
    case 1:
        x = nLeft + ((nRight - nLeft) - measures.width) * 0.5;
        break;
    case 2:
        x = nRight - measures.width;
        break;
    }
    const int nTop = ToPageY(rect.top), nBottom = ToPageY(rect.bottom);
    double y = 0;
    switch (nVertAlign)
    {
    case 0:
        y = nTop;
        break;
    case 4:
        y = nBottom + (abs(nBottom - nTop) - measures.height) * 0.5;
        break;
    case 8:
        y = nBottom;
        break;
    }

    m_pContext->BT();
    m_pContext->rg(GetRValue(m_crCurrent) / 255.0, GetGValue(m_crCurrent) / 255.0,
                   GetBValue(m_crCurrent) / 255.0);
    m_pContext->Tf(pFont, nSize);
    m_pContext->TD(Saturate(x), Saturate(y));
    m_pContext->Tj(strShown);
    m_pContext->ET();
    return TRUE;
}

BOOL CPdf::TextOut(int x, int y, CString strText)
{
    const RECT rect = {x, y, x, y};
    return DrawText(14, strText, rect, 0, 0);
}

UnicodeString CPdf::ToPdfString(CString strText)
{
    UnicodeString result;
    const int nBytes =
        WideCharToMultiByte(CP_UTF8, 0, strText, strText.GetLength(), NULL, 0, NULL, NULL);
    if (nBytes <= 0)
        return result;
    std::string strUtf8(nBytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText, strText.GetLength(), &strUtf8[0], nBytes, NULL,
                        NULL);
    result.FromUTF8(strUtf8);
    return result;
}
