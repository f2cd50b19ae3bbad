// MFC's standard command ids that the program's menus use besides those of AfxDoc.h.
#pragma once

#ifndef ID_FILE_PRINT_SETUP
#define ID_FILE_PRINT_SETUP 0xE106
#endif
#ifndef ID_FILE_PRINT_PREVIEW
#define ID_FILE_PRINT_PREVIEW 0xE109
#endif
