// Plays the user in the dialogs of the thread: each dialog holding the control of the next
// step gets that step, which ends it as the user would.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "DialogAnswerer.h"

class DialogSteps : public DialogAnswerer<DialogSteps>
{
public:
    typedef std::function<void(HWND)> Step;
    explicit DialogSteps(std::vector<std::pair<int, Step>> steps, UINT nElapse = 30)
        : DialogAnswerer(nElapse)
    {
        s_steps = std::move(steps);
        s_nDone = 0;
    }

    static inline std::vector<std::pair<int, Step>> s_steps;
    static inline int s_nDone = 0;

    static BOOL OnDialog(HWND hWnd)
    {
        if (s_steps.empty() || GetDlgItem(hWnd, s_steps.front().first) == NULL)
            return FALSE;
        const Step step = s_steps.front().second;
        s_steps.erase(s_steps.begin());
        s_nDone++;
        step(hWnd);
        return TRUE;
    }
};
