// The pixel size a picture file declares in its header, read without decoding the picture:
// a file far larger once decoded than on the disk can be refused before it takes the memory.
#pragma once

#include <windows.h>

// TRUE with the width and height for a JPEG, PNG, BMP, WebP, TIFF or PNM (PBM, PGM, PPM)
// file whose header gives them; FALSE for another format or a damaged header.
BOOL ReadPictureSize(LPCTSTR lpszPath, int& nWidth, int& nHeight);
