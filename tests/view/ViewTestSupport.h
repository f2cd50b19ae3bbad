// What the view's tests share: a mosaic laid into a document, and an application whose
// single-document template puts a mosaic view into a real frame.
#pragma once

#include <windows.h>

#include <math.h>

#include "AfxApp.h"
#include "AfxDocTempl.h"
#include "AfxFrame.h"
#include "Paving.h"
#include "TileOutlines.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"

// The frame's menu and title in the tests' resources.
const UINT IDR_VIEWTEST = 32560;

// Colour index of cell (col, row) in the test mosaics: every cell of a small mosaic has a
// colour of its own.
inline int TestCellColour(int cols, int col, int row)
{
    return 1 + (row * cols + col) % 250;
}

// An RGB of its own for each index 1 to 250, none of them grey or white like the joints,
// the background and the area outside the mosaic.
inline void TestColour(int c, BYTE rgb[3])
{
    rgb[0] = (BYTE)c;
    rgb[1] = (BYTE)(255 - c);
    rgb[2] = (BYTE)((c * 7) & 255);
}

// A settled mosaic of whole tiles, laid for the paving type as opening one would lay it,
// with joints shown one pixel wide and no labels or textures.
inline void LoadTestMosaic(CVitrolanDoc& d, int cols, int rows, int type, int zoom)
{
    d.m_cols = cols;
    d.m_rows = rows;
    d.m_pavingType = type;
    d.m_tileSize = zoom;
    d.m_workingMap.Create(0, 4 * cols, 4 * rows);
    for (int row = 0; row < rows; row++)
        for (int col = 0; col < cols; col++)
        {
            const int c = TestCellColour(cols, col, row);
            d.m_workingMap.SetCell(col, row, 0, 0, c, c, c, c, 0, 0, 0, 0);
        }
    if (type != PavingSquares)
        CRasterImage::SetBorderCodes(&d.m_workingMap, type, cols, rows, -1, -1);
    d.m_committedMap.Create(0, 4 * cols, 4 * rows);
    d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * cols, 4 * rows);
    for (int c = 1; c <= 250; c++)
    {
        BYTE rgb[3];
        TestColour(c, rgb);
        d.m_imagePalette.m_colours[c].peRed = rgb[0];
        d.m_imagePalette.m_colours[c].peGreen = rgb[1];
        d.m_imagePalette.m_colours[c].peBlue = rgb[2];
        d.m_imagePalette.m_colours[c].peFlags = 1;
    }
    d.m_colourCount = 251;
    d.m_showJoints = 1;
    d.intercar = 160;
    d.taillecar = 2500;
    d.affichage = 0;
    d.m_texturedTiles = 0;
    d.m_showPlaques = 0;
    d.m_plaquesValid = 0;
    d.m_loaded = 1;
    d.m_dirty = 0;
}

// How far below row r of a laying-plan page the next row lies, tile pitch P, a mosaic of
// the given rows: squares a pitch; half a pitch for diamonds and scales; circles and
// hexagons as close as their shapes let them; two rows of triangles share a band.
inline int TestPlanRowStep(int type, int P, int rows, int r)
{
    switch (type)
    {
    case PavingDiamonds:
    case PavingScales1:
    case PavingScales2:
        return P / 2;
    case PavingCircles:
        return RoundHalfAway(sqrt((double)P * P - (double)(P / 2) * (P / 2)));
    case PavingTriangles:
        return CTileOutlines::PointsDown(rows, r) ? P : 0;
    case PavingHexagons:
        return RoundHalfAway(P * 0.75);
    default:
        return P;
    }
}

// The height of nCount plan rows from row r0, from the top of the first tile box to the
// bottom of the last.
inline int TestPlanRowsHeight(int type, int P, int rows, int r0, int nCount)
{
    int h = P;
    for (int r = r0; r < r0 + nCount - 1; r++)
        h += TestPlanRowStep(type, P, rows, r);
    return h;
}

// The program's own data files (language texts, palettes, logo), as shipped.
CString ShippedDataFolder();

inline COLORREF TableColour(const CVitrolanDoc& d, int entry)
{
    return RGB(d.m_colourTable[entry][0], d.m_colourTable[entry][1], d.m_colourTable[entry][2]);
}

inline COLORREF ScreenImagePixel(const CVitrolanDoc& d, int x, int y)
{
    const BYTE* p = d.m_screenImage.data + 3 * ((size_t)y * d.m_screenImage.width + x);
    return RGB(p[0], p[1], p[2]);
}

// The program's document, frame and view, made by New as at start-up.
class CViewTestApp : public CWinApp
{
public:
    CViewTestApp() : CWinApp(L"MosaicViewTest")
    {
        SetRegistryKey(L"MosaicTests");
        AddDocTemplate(new CSingleDocTemplate(IDR_VIEWTEST, RUNTIME_CLASS(CVitrolanDoc),
                                              RUNTIME_CLASS(CFrameWnd),
                                              RUNTIME_CLASS(CVitrolanView)));
    }
    ~CViewTestApp() override
    {
        if (CVitrolanView* pView = View())
            pView->GetDocument()->m_dirty = 0;   // closing would save it
        if (m_pMainWnd != NULL)
            m_pMainWnd->DestroyWindow();
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
    }

    CFrameWnd* Frame() const { return (CFrameWnd*)m_pMainWnd; }
    CVitrolanView* View() const
    {
        return Frame() != NULL ? (CVitrolanView*)Frame()->GetActiveView() : NULL;
    }
    CVitrolanDoc* Doc() const { return View()->GetDocument(); }

    // The virtual printer of the test prefix, by name, becomes the application's printer.
    BOOL SelectTestPrinter();
};

// Lets the window system deliver what is pending (paints, bar changes).
void PumpMessages();
