// CPaintedMiniDockFrameWnd: the floating frame of a control bar dragged off a painted frame.
#pragma once

#include "PaintedFrame.h"

class CPaintedMiniDockFrameWnd : public CPaintedFrame<CMiniDockFrameWnd>
{
    DECLARE_DYNCREATE(CPaintedMiniDockFrameWnd)
public:
    CPaintedMiniDockFrameWnd() {}
};
