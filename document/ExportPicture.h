// Sizes and names of the exported mosaic pictures: the picture of the whole mosaic, the plan
// picture and the thumbnail fitted into a square, and the file names they are written to.
#pragma once

#include <windows.h>

#include "AfxString.h"
#include "OpenCv.h"

// Extensions of the picture types (typexp): JPEG, PNG, WebP.
enum { ExportTypeCount = 3 };
// The extension of a picture type, ".jpg" for a type outside the table.
LPCTSTR ExportExtension(int nType);

// The tile size a picture is exported at: even, and at least 4 pixels.
int ExportZoom(int nTileSize);

// Pixel size of the whole mosaic of nCols x nRows tiles of paving nType at zoom z.
SIZE ExportPictureSize(int nType, int z, int nCols, int nRows);

// The export's base name: the document path cut before its first ".ms2" (when that is not
// at its start), followed by "_E", or "_V" for the thumbnail phase (mode 2).
CString ExportBaseName(const CString& strPath, int nExportMode);

// The file part of a path, after its last backslash.
CString FilePartOfPath(const CString& strPath);

// A picture of w x h pixels fitted into a square of nSide: the longer side becomes nSide,
// the other keeps the proportion (truncated, at least one pixel). The margin left on the
// shorter side is in per cent of nSide; bLandscape tells which side it is on (the vertical
// one for a landscape picture). An empty picture fits as 0 x 0.
struct FittedPicture
{
    int width;
    int height;
    int marginPercent;
    BOOL bLandscape;
};
FittedPicture FitPictureInSquare(int w, int h, int nSide);

// Writes a picture (blue, green, red) to a file of the program; its extension chooses the
// format. FALSE when nothing could be written, an empty picture included.
BOOL WriteExportPicture(const CString& strPath, const cv::Mat& picture);
// Reads a picture in colour; empty when it cannot be read.
cv::Mat ReadExportPicture(const CString& strPath);
// Tells the user that the picture could not be written.
void ReportUnwritablePicture(const CString& strPath);
