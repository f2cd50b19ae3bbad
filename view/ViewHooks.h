// What the view layer does for the document: it makes and deletes the selection shapes,
// erases and rescales them on screen, and puts the scroll origin back. The program installs
// these before its document is created.
#pragma once

void InstallViewHooks();
