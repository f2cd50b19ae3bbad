#include "PaletteBarState.h"

CPaletteBarState::CPaletteBarState() : m_nPage(0)
{
    ClearPressed();
}

void CPaletteBarState::ClearPressed()
{
    for (int& pressed : m_pressed)
        pressed = 0;
}
