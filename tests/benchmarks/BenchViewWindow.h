// A document with a generated mosaic and a real view window of 1920 x 1080 pixels on it,
// painting into a memory bitmap: what the view benchmarks measure is the program's work, not
// the X server's. Without a display the window system of the prefix does not start, and the
// fixture has no window.
#pragma once

#include "MosaicBenchmark.h"

#include <memory>
#include <stdlib.h>

#include "DocSettings.h"
#include "LangText.h"
#include "Paving.h"
#include "ViewHooks.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"

const char* const kPatternNames[PavingTypeCount] = {
    "squares", "diamonds", "circles", "triangles", "hexagons", "scales 1", "scales 2",
    "crossed joints"};

// The look of the generated mosaic: how many colours, and whether one tile in eight is cut.
struct BenchMosaic
{
    int cols;
    int rows;
    int colours;
    bool bCutTiles;
};

class CBenchViewWindow
{
public:
    static const int kWidth = 1920;
    static const int kHeight = 1080;

    // The document is made and filled before the window; prepare runs on it in between, so
    // a benchmark can set its tools before the view first sees the document.
    template <typename Prepare>
    CBenchViewWindow(int type, int zoom, const BenchMosaic& mosaic, DWORD dwStyle,
                     Prepare prepare)
    {
        if (getenv("DISPLAY") == NULL)
            return;
        SetDocProfileRoot(L"Software\\MosaicBenchmarks");
        SetLangTextFolder(BenchmarkDataFolder());
        InstallViewHooks();
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        LoadMosaic(type, zoom, mosaic);
        prepare(*m_doc);
        m_pView = new CVitrolanView;   // deletes itself with its window
        m_doc->AddView(m_pView);
        m_bWindow = m_pView->CreateEx(0, NULL, L"", dwStyle, 0, 0, kWidth, kHeight, NULL, NULL);
        if (!m_bWindow)
            return;
        m_pView->OnInitialUpdate();

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pBits = NULL;
        m_hBitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
        m_dc.CreateCompatibleDC(NULL);
        m_hOldBitmap = (HBITMAP)SelectObject(m_dc.m_hDC, m_hBitmap);
    }
    ~CBenchViewWindow()
    {
        if (m_bWindow)
        {
            SelectObject(m_dc.m_hDC, m_hOldBitmap);
            m_dc.DeleteDC();
            DeleteObject(m_hBitmap);
            m_pView->DestroyWindow();
        }
        else
        {
            delete m_pView;   // NULL without a display
        }
        m_doc.reset();
    }

    BOOL HasWindow() const { return m_bWindow; }
    CVitrolanView& View() { return *m_pView; }

    void Paint()
    {
        m_pView->OnDraw(&m_dc);
        GdiFlush();
    }

    // What WM_PAINT would draw: the update area, or the whole client area.
    void PaintUpdate(BOOL bAll)
    {
        CRect rect(0, 0, kWidth, kHeight);
        if (!bAll && !::GetUpdateRect(m_pView->m_hWnd, &rect, FALSE))
            return;
        HRGN hClip = CreateRectRgnIndirect(&rect);
        SelectClipRgn(m_dc.m_hDC, hClip);
        m_pView->OnDraw(&m_dc);
        SelectClipRgn(m_dc.m_hDC, NULL);
        DeleteObject(hClip);
        ::ValidateRect(m_pView->m_hWnd, NULL);
        GdiFlush();
    }

private:
    void LoadMosaic(int type, int zoom, const BenchMosaic& mosaic)
    {
        CVitrolanDoc& d = *m_doc;
        const int cols = mosaic.cols, rows = mosaic.rows, colours = mosaic.colours;
        d.m_cols = cols;
        d.m_rows = rows;
        d.m_pavingType = type;
        d.m_tileSize = zoom;
        d.m_workingMap.Create(0, 4 * cols, 4 * rows);
        unsigned state = 12345;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
            {
                state = state * 1103515245u + 12345u;
                const int colour = (int)((state >> 16) % (unsigned)colours);
                int kind = 0;
                if (mosaic.bCutTiles && ((state >> 8) & 7) == 0)
                    kind = 1 + (int)((state >> 4) % 6);
                if (mosaic.bCutTiles)
                    d.m_workingMap.SetCell(c, r, 0, kind, colour, (colour + 1) % colours,
                                           (colour + 2) % colours, (colour + 3) % colours, 0, 0,
                                           0, 0);
                else
                    d.m_workingMap.SetCell(c, r, 0, 0, colour, colour, colour, colour, 0, 0, 0, 0);
            }
        if (type != PavingSquares)
            CRasterImage::SetBorderCodes(&d.m_workingMap, type, cols, rows, -1, -1);
        d.m_committedMap.Create(0, 4 * cols, 4 * rows);
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * cols, 4 * rows);
        for (int i = 0; i < colours; ++i)
        {
            d.m_imagePalette.m_colours[i].peRed = (BYTE)i;
            d.m_imagePalette.m_colours[i].peGreen = (BYTE)(255 - i);
            d.m_imagePalette.m_colours[i].peBlue = (BYTE)(i * 7);
        }
        d.m_colourCount = colours;
        d.m_showJoints = 1;
        d.intercar = 160;
        d.taillecar = 2500;
        d.affichage = 0;
        d.m_texturedTiles = 0;
        d.m_showPlaques = 0;
        d.m_loaded = 1;
        d.m_dirty = 0;
    }

    std::unique_ptr<CVitrolanDoc> m_doc;
    CVitrolanView* m_pView = NULL;
    BOOL m_bWindow = FALSE;
    CDC m_dc;
    HBITMAP m_hBitmap = NULL;
    HBITMAP m_hOldBitmap = NULL;
};
