// The services the document reaches through its hooks (message box, grid-size dialog, mix
// confirmation, palette bars, palette table, printer paper, and through the view layer the
// selection shapes and the scroll origin), installed once at start-up.
#pragma once

void InstallShellHooks();
