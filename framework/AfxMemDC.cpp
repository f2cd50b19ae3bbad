#include "AfxMemDC.h"

#include "AfxWin.h"

CMemDC::CMemDC(CDC& dc, CWnd* pWnd) : m_dcTarget(dc), m_hOldBitmap(NULL), m_bMemDC(FALSE)
{
    CRect rect;
    pWnd->GetClientRect(rect);
    Init(rect);
}

CMemDC::CMemDC(CDC& dc, const CRect& rect) : m_dcTarget(dc), m_hOldBitmap(NULL), m_bMemDC(FALSE)
{
    Init(rect);
}

void CMemDC::Init(const CRect& rect)
{
    m_rect = rect;
    if (rect.IsRectEmpty() || !m_dc.CreateCompatibleDC(&m_dcTarget))
        return;
    if (!m_bitmap.CreateCompatibleBitmap(&m_dcTarget, rect.Width(), rect.Height()))
    {
        m_dc.DeleteDC();
        return;
    }
    m_hOldBitmap = m_dc.SelectObject(m_bitmap.GetSafeHandle());
    m_dc.SetViewportOrg(-rect.left, -rect.top);
    m_bMemDC = TRUE;
}

CMemDC::~CMemDC()
{
    if (!m_bMemDC)
        return;
    m_dcTarget.BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), &m_dc,
                      m_rect.left, m_rect.top, SRCCOPY);
    m_dc.SelectObject(m_hOldBitmap);
}
