// What the program's dialogs with a table share: the grid the caller owns takes the
// dialog's "MosaicGridCtrl" control, with the scroll bars the table needs.
#pragma once

#include "AfxDDX.h"
#include "GridCtrl.h"

// When the dialog's controls are set up: binds pGrid (when there is one) to control nIDC,
// then shows nBar (SB_VERT or SB_BOTH) and fits the bars to the table.
void DDX_Grid(CDataExchange* pDX, int nIDC, CGridCtrl* pGrid, int nBar);
