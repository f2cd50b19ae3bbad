// The PDF page layer: the page renderers draw plan pages through it with the calls they
// would make on a device context, in hundredths of a millimetre from the paper's top-left
// corner (y negative downwards), and it writes them as PDF pages. It also runs the life of
// the document: paper, start with font and images, pages with logo and link, end and show.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "AfxGdi.h"
#include "AfxObject.h"
#include "AfxString.h"
#include "PdfHummus.h"

// What CPdf::StartPdf achieved; anything but PdfStartOk is worth telling the user.
enum PdfStartResult
{
    PdfStartOk = 0,
    PdfStartNoFont = 1,    // the document is open, but its pages will carry no text
    PdfStartFailed = 2     // the file could not be written: the layer stays closed
};

class CPdf : public CObject
{
    DECLARE_DYNAMIC(CPdf)

public:
    CPdf();
    virtual ~CPdf();

    virtual void Serialize(CArchive& ar);

    // Document and page life. SetPaperSize gives the page index for StartPage; EndPage
    // gives the library's status of writing the page (0 success); EndPdf gives TRUE when
    // the file was finished, and only then shows it.
    int SetPaperSize(int nPaperFormat);
    PdfStartResult StartPdf(CString strProgramFolder, CString strOutputPath,
                            CString strPicturePath, CString strThumbnailPath);
    void StartPage(int nPageIndex);
    int EndPage();
    BOOL EndPdf();
    BOOL IsOpen() const { return m_bOpen; }

    // The window may repaint several times while a page is open; the page is drawn by the
    // first paint only. TRUE once for each open page, FALSE after that or without a page.
    BOOL IsPageOpen() const { return m_pContext != NULL; }
    BOOL BeginPageDrawing();

    // Device-context counterparts
    int GetDeviceCaps(int nIndex) const;
    CPoint GetViewportOrg() const { return CPoint(0, 0); }
    int ToPageX(int x) const;
    int ToPageY(int y) const;
    int FromPageX(int v) const;
    int FromPageY(int v) const;

    // LineTo strokes one black segment, 2 points wide, from the point of the last MoveTo
    // or the end of the last line. Arcs are stroked likewise and switch filling off.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Rectangle(const RECT& rect);
    BOOL Ellipse(const RECT& rect);
    BOOL Polygon(const POINT* pPoints, int nCount);
    BOOL ArcTo(const RECT& rect, POINT ptStart, POINT ptEnd);
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void BezierArc(int nLeft, int nTop, int nRight, int nBottom,
                   int xStart, int yStart, int xEnd, int yEnd);
    void BezierArcInQuarters(int nLeft, int nTop, int nRight, int nBottom,
                             int xStart, int yStart, int xEnd, int yEnd);

    CBrush* SelectBrush(CBrush* pBrush);
    CPen* SelectPen(CPen* pPen);
    // The size of a text comes with each text call; of the selected font only its face
    // counts: a text is drawn in that face when the face has a glyph for each of its
    // characters, else in the text font, else in the font of widest coverage. A text that
    // none of them shows whole is drawn in the first and noted once.
    CFont* SelectFont(CFont* pFont);
    COLORREF SetTextColor(COLORREF crColor);
    BOOL DrawText(int nSize, CString strText, const RECT& rect, int nHorzAlign, int nVertAlign);
    BOOL TextOut(int x, int y, CString strText);
    // The texts of this document that no installed font could show whole, each once.
    const std::vector<CString>& GetUnshownTexts() const { return m_unshownTexts; }

    static UnicodeString ToPdfString(CString strText);

    // Draws a form (the logo, the picture, the thumbnail) on the open page with its
    // lower-left corner at (x, y) in points, each pixel dScale points wide; nothing when
    // there is no page or no form.
    void PlaceForm(PDFFormXObject* pForm, double dScale, int x, int y);

    // State the page renderers use directly.
    int m_nPageWidthPt;          // page size in points, set by StartPage
    int m_nPageHeightPt;
    bool m_bOpen;
    PDFWriter m_writer;
    PDFPage* m_pPage;            // the open page, until EndPage hands it to the writer
    CString m_strOutputPath;
    OutputStringBufferStream m_output;   // the document being made, until it is written
    int m_nPaperWidth;           // paper size in hundredths of a millimetre, set by SetPaperSize
    int m_nPaperHeight;
    bool m_bFill;                // shapes are filled with the brush colour before they are stroked
    COLORREF m_crCurrent;        // colour of the pen and of every text
    AbstractContentContext::GraphicOptions* m_pFillOptions;
    AbstractContentContext::GraphicOptions* m_pStrokeOptions;
    PageContentContext* m_pContext;      // NULL while no page is open
    PDFUsedFont* m_pFont;                // NULL when no text font could be loaded
    PDFFormXObject* m_pLogoForm;         // the forms are NULL when their picture is missing
    PDFFormXObject* m_pPictureForm;
    PDFFormXObject* m_pThumbnailForm;

    // The text font's file under the Windows fonts folder; its free equivalent stands in
    // when Windows' own is not installed.
    CString m_strFontFile;

protected:
    // A running process as the system lists it.
    struct ProcessEntry
    {
        DWORD dwId;
        CString strExeName;
    };

    // Ends every Adobe reader among the running processes, since they lock the files they
    // show, and then gives them time to let go of them: TRUE when one was asked to close,
    // which alone makes it wait.
    BOOL CloseAcrobatProcesses();
    // The running processes; FALSE, with none, when they cannot be listed.
    virtual BOOL ListProcesses(std::vector<ProcessEntry>& processes) const;
    PDFFormXObject* LoadJpegForm(const CString& strPath);
    // The font of a Windows font file, loaded once per document; NULL when not installed.
    PDFUsedFont* FontOfFile(const CString& strFile);
    PDFUsedFont* FontForText(const CString& strText);
    void BeginBlackStroke();
    void EndStroke();
    void FreeForms();

    CString m_strFace;                               // of the selected font
    std::map<CString, PDFUsedFont*> m_fontsByFile;   // by Windows file name, lower case
    std::vector<CString> m_unshownTexts;
    POINT m_ptMove;              // start of the next LineTo
    bool m_bHasMove;
    bool m_bPageDrawn;
};
