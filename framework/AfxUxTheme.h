// Wine's uxtheme.h declares its functions without extern "C"; included from C++ as it is,
// IsThemeActive, OpenThemeData, GetThemeColor, CloseThemeData... would not link. Include this
// header instead. The part, state and property numbers come with it (vssym32.h).
#pragma once

#include <windows.h>
#include <commctrl.h>

extern "C" {
#include <uxtheme.h>
}
#include <vssym32.h>
