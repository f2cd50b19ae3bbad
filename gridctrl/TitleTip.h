// CTitleTip: the popup that shows the whole text of a cell that cuts it, over the cell,
// while the mouse rests there. A click on it reaches the cell under it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "AfxGdi.h"
#include "AfxString.h"
#include "AfxWin.h"

#define TITLETIP_CLASSNAME L"GridTitleTip"

class CTitleTip : public CWnd
{
public:
    // Registers the window class once per process; throws CResourceException when the
    // system refuses.
    CTitleTip();
    ~CTitleTip() override;

    // Creates the popup once; pParentWnd is the grid the tip serves.
    BOOL Create(CWnd* pParentWnd);
    // The grid clicks and keys are passed on to.
    void SetParentWnd(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }
    // Shows the text when it does not fit into rectTitle (in the grid's client coordinates),
    // where the cell draws it with the DrawText format nFormat, and only while the program
    // has the keyboard focus. The tip's text lies on the cell's: the same place, line and
    // alignment. The tip stays while the mouse is inside lpHoverRect (rectTitle when NULL).
    // CLR_DEFAULT keeps the tool-tip colours; a NULL font takes the grid's.
    void Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset = 0, LPRECT lpHoverRect = NULL,
              const LOGFONT* lpLogFont = NULL, COLORREF crTextClr = CLR_DEFAULT,
              COLORREF crBackClr = CLR_DEFAULT, UINT nFormat = DT_LEFT | DT_TOP);
    void Hide();
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The text shown, " text ".
    const CString& GetShownText() const { return m_strText; }

protected:
    // The tip's font: the one given to Show, else the grid's.
    HFONT TipFont() const;
    // The screen's rectangle the point lies on.
    static CRect ScreenAround(CPoint point);

    // The grid when the window under the screen point is the tip itself.
    CWnd* WindowBelow(CPoint pointScreen);

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnPaint();

    CWnd* m_pParentWnd;
    CRect m_rectHover;           // in screen coordinates
    DWORD m_dwLastLButtonDown;   // tick count of the last press, for double clicks
    DWORD m_dwDblClickMsecs;
    BOOL m_bCreated;
    CString m_strText;
    CFont m_font;                // the font shown in
    CRect m_rectText;            // the cell's text rectangle, in the tip's client coordinates
    UINT m_nFormat;              // how the text is drawn in it
    COLORREF m_crText;
    COLORREF m_crBack;

    DECLARE_MESSAGE_MAP()
};
