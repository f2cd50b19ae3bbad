// Paving pattern and tile display size.
#include "VitrolanDoc.h"

#include "AfxWin.h"

void CVitrolanDoc::SetPavingPattern(int) {}

void CVitrolanDoc::OnPaving(UINT) {}

void CVitrolanDoc::OnUpdatePaving(CCmdUI*) {}

void CVitrolanDoc::OnZoomOut() {}

void CVitrolanDoc::OnZoomIn() {}

void CVitrolanDoc::FitZoomToWindow() {}
