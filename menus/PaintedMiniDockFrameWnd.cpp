#include "PaintedMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(CPaintedMiniDockFrameWnd, CMiniDockFrameWnd)
