// The cells without a window: what a cell resolves from its default cell, copies, default
// cells and their measured sizes, text and cell extents, check and combo cells, and the
// lifetime of the fonts cells hand out.
#include "MosaicTest.h"

#include "GridCellCheck.h"
#include "GridCellCombo.h"
#include "GridTestSupport.h"

namespace
{

LOGFONT TestFont(int nHeight, int nEscapement = 0)
{
    LOGFONT lf = {};
    lf.lfHeight = nHeight;
    lf.lfEscapement = nEscapement;
    lstrcpyW(lf.lfFaceName, L"DejaVu Sans");
    return lf;
}

// The size of a text in a font, measured on the screen apart from any cell.
CSize MeasureText(const LOGFONT& lf, LPCWSTR szText)
{
    HDC hDC = GetDC(NULL);
    HFONT hFont = CreateFontIndirectW(&lf);
    HGDIOBJ hOld = SelectObject(hDC, hFont);
    SIZE size;
    GetTextExtentPoint32W(hDC, szText, lstrlenW(szText), &size);
    SelectObject(hDC, hOld);
    DeleteObject(hFont);
    ReleaseDC(NULL, hDC);
    return size;
}

TEST(GridCell, ACellResolvesWhatItLeavesUnsetFromItsDefaultCell)
{
    CGridCell loose;
    EXPECT_EQ(0u, loose.GetFormat());
    EXPECT_EQ(0u, loose.GetMargin());
    EXPECT_EQ(nullptr, loose.GetFont());
    EXPECT_EQ(nullptr, loose.GetFontObject());
    ASSERT_NE(nullptr, loose.GetText());
    EXPECT_EQ(0, loose.GetText()[0]);
    loose.SetText(L"x");
    loose.SetText(NULL);
    EXPECT_EQ(CString(), CString(loose.GetText()));

    CTestGrid grid(2, 2, 1, 1);
    CGridDefaultCell* pDefault = grid.GetDefaultCell(FALSE, FALSE);
    CGridCell cell;
    cell.SetGrid(&grid);
    pDefault->SetFormat(DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ((DWORD)(DT_RIGHT | DT_SINGLELINE), cell.GetFormat());
    EXPECT_EQ(pDefault->GetMargin(), cell.GetMargin());
    EXPECT_EQ(pDefault->GetFont(), cell.GetFont());
    EXPECT_EQ(pDefault->GetFontObject(), cell.GetFontObject());
    EXPECT_EQ(CLR_DEFAULT, cell.GetBackColour());
    // The fixed bits choose the default cell.
    cell.SetState(GridCellFixed | GridCellFixedRow);
    EXPECT_EQ(grid.GetDefaultCell(TRUE, FALSE), cell.GetDefaultCell());
    cell.SetState(GridCellFixed | GridCellFixedRow | GridCellFixedCol);
    EXPECT_EQ(grid.GetDefaultCell(TRUE, TRUE), cell.GetDefaultCell());

    cell.SetState(GridCellSelected);
    cell.SetMargin(7);
    cell.SetText(L"Bleu");
    cell.SetData(42);
    cell.SetImage(3);
    const LOGFONT lf = TestFont(-12);
    cell.SetFont(&lf);
    cell.Reset();
    EXPECT_EQ(0u, cell.GetState());
    EXPECT_EQ(CString(), CString(cell.GetText()));
    EXPECT_EQ(-1, cell.GetImage());
    EXPECT_EQ(0, cell.GetData());
    EXPECT_TRUE(cell.IsDefaultFont());
    EXPECT_EQ(nullptr, cell.GetGrid());
}

TEST(GridCell, ACopyOwnsTheFormatAndMarginItsOriginalResolved)
{
    CTestGrid grid(2, 2, 1, 1);
    CGridDefaultCell* pDefault = grid.GetDefaultCell(FALSE, FALSE);
    CGridCell original;
    original.SetGrid(&grid);
    original.SetText(L"Vert");
    original.SetData(9);
    original.SetBackColour(RGB(0, 128, 0));
    CGridCellCheck copy;
    CGridCellBase& target = copy;
    target = original;
    EXPECT_EQ(CString(L"Vert"), CString(copy.GetText()));
    EXPECT_EQ(9, copy.GetData());
    EXPECT_EQ(RGB(0, 128, 0), copy.GetBackColour());
    EXPECT_TRUE(copy.IsDefaultFont());
    const DWORD nFormat = pDefault->GetFormat();
    const UINT nMargin = pDefault->GetMargin();
    pDefault->SetFormat(DT_CENTER);
    pDefault->SetMargin(nMargin + 5);
    EXPECT_EQ(nFormat, copy.GetFormat());
    EXPECT_EQ(nMargin, copy.GetMargin());
    EXPECT_EQ((DWORD)DT_CENTER, original.GetFormat());

    // An own font is copied, not shared.
    LOGFONT lf = TestFont(-14);
    original.SetFont(&lf);
    CGridCell second;
    second = original;
    original.SetFont(NULL);
    ASSERT_FALSE(second.IsDefaultFont());
    EXPECT_EQ(-14, second.GetFont()->lfHeight);
}

TEST(GridCell, DefaultCellsAreReadOnlyAndMeasureTheirSizesInTheirFont)
{
    CGridDefaultCell cell;
    cell.SetData(5);
    cell.SetState(GridCellSelected);
    EXPECT_EQ(0, cell.GetData());
    EXPECT_EQ((DWORD)GridCellReadOnly, cell.GetState());
    EXPECT_TRUE(cell.IsReadOnly());
    EXPECT_EQ((DWORD)(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS),
              cell.GetFormat());
    ASSERT_NE(nullptr, cell.GetFont());   // the system's message font

    const LOGFONT lf = TestFont(-20);
    cell.SetFont(&lf);
    const CSize sizeSample = MeasureText(lf, L" XXXXXXXXXXXX ");
    EXPECT_EQ((UINT)MeasureText(lf, L" ").cx, cell.GetMargin());
    EXPECT_EQ(sizeSample.cx, cell.GetWidth());
    EXPECT_EQ(sizeSample.cy * 3 / 2, cell.GetHeight());
    // NULL keeps the font.
    cell.SetFont(NULL);
    EXPECT_EQ(-20, cell.GetFont()->lfHeight);
}

TEST(GridCell, TextExtentsAddTheMarginsAndFollowLinesAndRotation)
{
    CTestGrid grid(2, 2, 1, 1);
    const LOGFONT lf = TestFont(-16);
    CGridCell cell;
    cell.SetGrid(&grid);
    cell.SetFont(&lf);
    cell.SetMargin(3);
    cell.SetFormat(DT_LEFT | DT_SINGLELINE);
    CClientDC dc(NULL);

    const CSize sizeText = MeasureText(lf, L"Orange");
    EXPECT_EQ(CSize(sizeText.cx + 6, sizeText.cy + 6), cell.GetTextExtent(L"Orange", &dc));
    // No text: the default cell's size.
    const CGridDefaultCell* pDefault = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(CSize(pDefault->GetWidth(), pDefault->GetHeight()), cell.GetTextExtent(L"", &dc));

    // Broken into lines, the widest line sets the width.
    cell.SetFormat(DT_LEFT | DT_WORDBREAK);
    const CSize sizeLong = MeasureText(lf, L"abcdefgh");
    const CSize sizeBroken = cell.GetTextExtent(L"ab\nabcdefgh", &dc);
    EXPECT_EQ(sizeLong.cx + 6, sizeBroken.cx);
    EXPECT_EQ(2 * sizeLong.cy + 6, sizeBroken.cy);

    // Turned a quarter: the height becomes the width.
    const LOGFONT lfUp = TestFont(-16, 900);
    cell.SetFont(&lfUp);
    cell.SetFormat(DT_LEFT | DT_SINGLELINE);
    const CSize sizeUp = cell.GetTextExtent(L"Orange", &dc);
    const CSize sizeFlat = MeasureText(lfUp, L"Orange");
    EXPECT_EQ(sizeFlat.cy + 6, sizeUp.cx);
    EXPECT_EQ(sizeFlat.cx + 6 + 12, sizeUp.cy);

    // The cell's extent is one more, and two for a fixed cell.
    cell.SetFont(&lf);
    cell.SetText(L"Orange");
    EXPECT_EQ(CSize(sizeText.cx + 7, sizeText.cy + 7), cell.GetCellExtent(&dc));
    cell.SetState(GridCellFixed | GridCellFixedCol);
    EXPECT_EQ(CSize(sizeText.cx + 8, sizeText.cy + 8), cell.GetCellExtent(&dc));
}

TEST(GridCell, ACheckCellTogglesOnlyOnItsBoxAndKeepsItsTextBesideIt)
{
    CTestGrid grid(3, 3, 1, 1);
    ASSERT_TRUE(grid.SetCellType(1, 1, RUNTIME_CLASS(CGridCellCheck)));
    CGridCellCheck* pCheck = DYNAMIC_DOWNCAST(CGridCellCheck, grid.GetCell(1, 1));
    ASSERT_NE(nullptr, pCheck);
    pCheck->SetMargin(2);
    EXPECT_FALSE(pCheck->SetCheck(TRUE));
    EXPECT_TRUE(pCheck->SetCheck(FALSE));

    // Drawn at (30, 40): the box is there, past the margin.
    CClientDC screen(NULL);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 200, 200);
    dc.SelectObject(&bitmap);
    const CRect rectCell(30, 40, 129, 74);
    EXPECT_TRUE(pCheck->Draw(&dc, 1, 1, rectCell, TRUE));
    const int nSide = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(CRect(32, 42, 32 + nSide, 42 + nSide), pCheck->GetCheckRect());

    // Points are relative to the cell's origin.
    pCheck->OnClick(CPoint(nSide + 10, 5));
    EXPECT_FALSE(pCheck->GetCheck());
    pCheck->OnClick(CPoint(4, 4));
    EXPECT_TRUE(pCheck->GetCheck());
    pCheck->OnClick(CPoint(2 + nSide - 1, 2 + nSide - 1));
    EXPECT_FALSE(pCheck->GetCheck());

    CRect rectText = rectCell;
    pCheck->GetTextRect(rectText);
    EXPECT_EQ(rectCell.left + nSide + 4, rectText.left);
    CRect rectNarrow(0, 0, 5, 20);
    pCheck->GetTextRect(rectNarrow);
    EXPECT_EQ(5, rectNarrow.left);

    CGridCell plain;
    plain.SetGrid(&grid);
    plain.SetMargin(2);
    EXPECT_EQ(plain.GetCellExtent(&screen) + CSize(nSide + 4, nSide + 4),
              pCheck->GetCellExtent(&screen));
}

TEST(GridCell, AComboCellKeepsACopyOfItsOptionsAndRoomForItsButton)
{
    CTestGrid grid(2, 2, 1, 1);
    CGridCellCombo combo;
    combo.SetGrid(&grid);
    EXPECT_EQ((DWORD)CBS_DROPDOWN, combo.GetStyle());
    CStringArray options;
    options.Add(L"Aléatoire");
    options.Add(L"Dégradé");
    combo.SetOptions(options);
    options.RemoveAll();
    ASSERT_EQ(2, combo.GetOptions().GetSize());
    EXPECT_EQ(CString(L"Dégradé"), combo.GetOptions()[1]);

    CGridCell plain;
    plain.SetGrid(&grid);
    CClientDC dc(NULL);
    EXPECT_EQ(plain.GetCellExtent(&dc) +
                  CSize(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)),
              combo.GetCellExtent(&dc));
}

TEST(GridCell, FontsHandedOutStayValidWhileADeviceContextMayHoldThem)
{
    const LOGFONT lfA = TestFont(-15);
    const LOGFONT lfB = TestFont(-25);
    CGridCell* pFirst = new CGridCell;
    CGridCell second;
    pFirst->SetFont(&lfA);
    second.SetFont(&lfA);
    CFont* pFont = pFirst->GetFontObject();
    ASSERT_NE(nullptr, pFont);
    EXPECT_EQ(pFont, second.GetFontObject());

    // A DC keeps the font while the cell changes its font and goes away.
    CClientDC dc(NULL);
    CFont* pOld = dc.SelectObject(pFont);
    const HGDIOBJ hFont = pFont->GetSafeHandle();
    pFirst->SetFont(&lfB);
    EXPECT_NE(hFont, pFirst->GetFontObject()->GetSafeHandle());
    delete pFirst;
    EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(hFont));
    LOGFONT lfSelected = {};
    GetObjectW(GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT), sizeof(lfSelected), &lfSelected);
    EXPECT_EQ(-15, lfSelected.lfHeight);
    dc.SelectObject(pOld);
}

} // namespace
