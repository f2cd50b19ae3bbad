// What the view's tools read and set of a palette bar: the page of colours it shows and which
// colour buttons of that page are pressed. The main frame's palette bars are built on it and
// reach the tools through ViewFrameHooks; the tools repaint them through it.
#pragma once

class CPaletteBarState
{
public:
    enum
    {
        ColoursPerPage = 30
    };

    CPaletteBarState();
    virtual ~CPaletteBarState() {}

    // Page shown: colours m_nPage x 30 to m_nPage x 30 + 29. Set by the owner.
    int m_nPage;
    // Per colour button of the page: non-zero draws the selection frame. Set by the owner.
    int m_pressed[ColoursPerPage];

    void ClearPressed();

    // Repaints the bar when it has a window; a state without a bar has nothing to repaint.
    virtual void Repaint() {}
    // The bar's picture and label fonts are rebuilt at its next paint; the bar is repainted.
    virtual void Refresh() {}
};
