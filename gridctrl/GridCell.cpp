#include "GridCell.h"

#include <map>
#include <memory>
#include <string>

#include "GridCtrl.h"
#include "GridDefaultCell.h"
#include "InPlaceEdit.h"

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)

CGridCell::CGridCell() : m_plfFont(NULL)
{
    Reset();
}

CGridCell::~CGridCell()
{
    delete m_plfFont;
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.Empty();
    m_nImage = -1;
    m_nFormat = GRID_FORMAT_DEFAULT;
    m_lParam = 0;
    m_pGrid = NULL;
    m_bEditing = FALSE;
    m_pEditWnd = NULL;
    m_hEditWnd = NULL;
    m_crText = CLR_DEFAULT;
    m_crBack = CLR_DEFAULT;
    m_nMargin = GRID_MARGIN_DEFAULT;
    delete m_plfFont;
    m_plfFont = NULL;
    m_pFont = NULL;
}

void CGridCell::SetText(LPCTSTR szText)
{
    if (szText == NULL)
        m_strText.Empty();
    else
        m_strText = szText;
}

void CGridCell::SetFont(const LOGFONT* plf)
{
    m_pFont = NULL;
    if (plf == NULL)
    {
        delete m_plfFont;
        m_plfFont = NULL;
        return;
    }
    if (m_plfFont == NULL)
        m_plfFont = new (std::nothrow) LOGFONT;
    if (m_plfFont != NULL)
        *m_plfFont = *plf;
}

void CGridCell::OnEndEdit()
{
    m_bEditing = FALSE;
    m_pEditWnd = NULL;
    m_hEditWnd = NULL;
}

CWnd* CGridCell::GetEditWnd() const
{
    if (m_pEditWnd == NULL || !::IsWindow(m_hEditWnd) ||
        CWnd::FromHandlePermanent(m_hEditWnd) != m_pEditWnd)
        return NULL;
    return m_pEditWnd;
}

BOOL CGridCell::TakeEditor(CWnd* pEditor)
{
    if (pEditor->GetSafeHwnd() == NULL)
    {
        delete pEditor;
        OnEndEdit();
        return FALSE;
    }
    m_pEditWnd = pEditor;
    m_hEditWnd = pEditor->m_hWnd;
    return TRUE;
}

BOOL CGridCell::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    if (m_bEditing)
    {
        if (CWnd* pEditor = GetEditWnd())
        {
            pEditor->SendMessage(WM_CHAR, nChar, 0);
            return TRUE;
        }
        // The editor went without a word: the cell edits anew.
        OnEndEdit();
    }
    const DWORD nFormat = GetFormat();
    const DWORD dwStyle = (nFormat & DT_RIGHT) != 0    ? ES_RIGHT
                          : (nFormat & DT_CENTER) != 0 ? ES_CENTER
                                                       : ES_LEFT;
    m_bEditing = TRUE;
    return TakeEditor(
        new CInPlaceEdit(GetGrid(), rect, dwStyle, nID, nRow, nCol, GetText(), nChar));
}

void CGridCell::EndEdit()
{
    if (CInPlaceEdit* pEditor = dynamic_cast<CInPlaceEdit*>(GetEditWnd()))
        pEditor->EndEdit();
}

// A default cell resolves nothing from itself: the normal default cell is its own default.

DWORD CGridCell::GetFormat() const
{
    if (m_nFormat != GRID_FORMAT_DEFAULT)
        return m_nFormat;
    const CGridDefaultCell* pDefaultCell = GetDefaultCell();
    return pDefaultCell == NULL || pDefaultCell == this ? 0 : pDefaultCell->GetFormat();
}

UINT CGridCell::GetMargin() const
{
    if (m_nMargin != GRID_MARGIN_DEFAULT)
        return m_nMargin;
    const CGridDefaultCell* pDefaultCell = GetDefaultCell();
    return pDefaultCell == NULL || pDefaultCell == this ? 0 : pDefaultCell->GetMargin();
}

const LOGFONT* CGridCell::GetFont() const
{
    if (m_plfFont != NULL)
        return m_plfFont;
    const CGridDefaultCell* pDefaultCell = GetDefaultCell();
    return pDefaultCell == NULL || pDefaultCell == this ? NULL : pDefaultCell->GetFont();
}

CFont* CGridCell::GetFontObject() const
{
    if (m_plfFont != NULL)
    {
        if (m_pFont == NULL)
            m_pFont = SharedFontFor(*m_plfFont);
        return m_pFont;
    }
    const CGridDefaultCell* pDefaultCell = GetDefaultCell();
    return pDefaultCell == NULL || pDefaultCell == this ? NULL : pDefaultCell->GetFontObject();
}

CFont* CGridCell::SharedFontFor(const LOGFONT& lf)
{
    // What follows the face name's terminator is not part of the font.
    LOGFONT key = lf;
    int nName = 0;
    while (nName < LF_FACESIZE && key.lfFaceName[nName] != 0)
        nName++;
    for (int i = nName; i < LF_FACESIZE; i++)
        key.lfFaceName[i] = 0;
    static std::map<std::string, std::unique_ptr<CFont>> fonts;
    std::unique_ptr<CFont>& pFont = fonts[std::string((const char*)&key, sizeof(key))];
    if (pFont == NULL)
    {
        pFont.reset(new CFont);
        pFont->CreateFontIndirect(&key);
    }
    return pFont->GetSafeHandle() != NULL ? pFont.get() : NULL;
}
