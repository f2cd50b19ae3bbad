// CPaintedFrameWnd: a frame window whose menu bar and system menu are owner-drawn; the main
// frame derives from it.
#pragma once

#include "PaintedFrame.h"

class CPaintedFrameWnd : public CPaintedFrame<CFrameWnd>
{
    DECLARE_DYNCREATE(CPaintedFrameWnd)
public:
    CPaintedFrameWnd() {}

    // The menu resource goes into the owner-drawn menu bar, which becomes the window's menu.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL, DWORD dwExStyle = 0,
                CCreateContext* pContext = NULL) override;
};
