// Identifiers shared by the resource scripts and the program.
#pragma once

#define IDR_MAINFRAME 128
