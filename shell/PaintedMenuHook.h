// The hook that gives the popup windows of the owner-drawn menus the current theme's frame.
#pragma once

// Installs the hook for the calling thread once; further calls do nothing.
void InstallPaintedMenuHook();
void UninstallPaintedMenuHook();
