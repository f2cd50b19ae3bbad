// The menus' test program starts the library as the program does: before any test runs, and
// it lives until exit.
#include <stdlib.h>

#include "PaintedMenuLibrary.h"

namespace
{

struct PaintedMenuStart
{
    PaintedMenuStart()
    {
        InitPaintedMenuLibrary();
        atexit(ExitPaintedMenuLibrary);
    }
} s_paintedMenuStart;

}   // namespace
