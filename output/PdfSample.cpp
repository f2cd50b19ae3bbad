#include "PdfSample.h"

#include <stdio.h>

#include <string>

#include "AfxFileReplacement.h"
#include "PdfFonts.h"
#include "PdfHummus.h"

namespace
{

const WCHAR kFontsFolder[] = L"C:\\Windows\\Fonts\\";
const WCHAR kFontFile[] = L"Arialuni.ttf";

BOOL Fail(const char* pszMessage)
{
    fputs(pszMessage, stdout);
    fflush(stdout);
    return FALSE;
}

}   // namespace

BOOL WritePdfSample(LPCTSTR lpszPath)
{
    // Made in memory and written whole at the end; a file that cannot be written at all is
    // known at the start.
    if (AfxCheckWritable(lpszPath) != NO_ERROR)
        return Fail("failed to start PDF\n");
    OutputStringBufferStream output;
    PDFWriter writer;
    if (writer.StartPDFForStream(&output, ePDFVersion13,
                                 LogConfiguration::DefaultLogConfiguration(),
                                 PDFCreationSettings(true, true)) != PDFHummus::eSuccess)
        return Fail("failed to start PDF\n");

    PDFPage* pPage = new PDFPage();
    pPage->SetMediaBox(PDFRectangle(0, 0, 595, 842));
    PageContentContext* pContext = writer.StartPageContentContext(pPage);
    if (pContext == NULL)
    {
        delete pPage;
        return Fail("failed to create content context for page\n");
    }

    const CStringA strFontPath = FindFontFile(kFontsFolder, kFontFile);
    PDFUsedFont* pFont =
        strFontPath.IsEmpty() ? NULL : writer.GetFontForFile(strFontPath.GetString(), 0);
    if (pFont == NULL)
    {
        writer.EndPageContentContext(pContext);
        delete pPage;
        return Fail("Failed to create font object for Arialuni.ttf\n");
    }

    pContext->BT();
    pContext->k(0, 0, 0, 1);
    pContext->Tf(pFont, 1);
    pContext->Tm(30, 0, 0, 30, 78.4252, 662.8997);
    if (pContext->Tj("abcd") != PDFHummus::eSuccess)
    {
        fputs("Could not find some of the glyphs for this font (Arialuni)", stdout);
        fflush(stdout);
    }
    pContext->ET();
    // A second text object, closed like the first so that the page stays well-formed.
    pContext->BT();
    pContext->k(0, 0, 0, 1);
    pContext->ET();

    if (writer.EndPageContentContext(pContext) != PDFHummus::eSuccess)
    {
        delete pPage;
        return Fail("failed to end page content context\n");
    }
    if (writer.WritePageAndRelease(pPage) != PDFHummus::eSuccess)
        return Fail("failed to write page\n");
    if (writer.EndPDFForStream() != PDFHummus::eSuccess)
        return Fail("failed in end PDF\n");
    const std::string bytes = output.ToString();
    if (AfxWriteWholeFile(lpszPath, bytes.data(), bytes.size()) != NO_ERROR)
        return Fail("failed to write the PDF\n");
    return TRUE;
}
