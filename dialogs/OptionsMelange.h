// The options of the colour mixes (template 194): the rules grid, the number of steps and
// their direction.
#pragma once

#include "AfxDialog.h"
#include "GridCtrl.h"

class CVitrolanDoc;

class COptionsMelange : public CDialog
{
public:
    explicit COptionsMelange(CWnd* pParent = NULL);

    // The mixes have room for this many steps.
    static const int MAX_STEPS = 50;

    // The grid the caller owns; bound to control 1088 when set.
    CGridCtrl* m_pGrid;
    int m_stepCount;    // 1 to MAX_STEPS
    int m_direction;    // 0 vertical, 1 horizontal

    // Fills the grid with the rule, start and step of each colour the document allows, and
    // the steps and direction with the document's.
    void FillGrid(const CVitrolanDoc& doc);
    // After OK: the document takes the steps, the direction and the rules (starts and steps
    // kept within 0 to 100; a rule not recognised stays as it was).
    void ApplyTo(CVitrolanDoc& doc) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
