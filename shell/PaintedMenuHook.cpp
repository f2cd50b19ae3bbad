#include "PaintedMenuHook.h"

void InstallPaintedMenuHook()
{
}

void UninstallPaintedMenuHook()
{
}
