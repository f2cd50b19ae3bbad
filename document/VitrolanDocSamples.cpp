// The developers' sample outputs: the gradient tables and the sample PDF page. No menu item
// leads to them.
#include "VitrolanDoc.h"

#include "AfxFile.h"
#include "GradientTables.h"

BOOL CVitrolanDoc::WriteGradientTables()
{
    for (int n = GradientMinColours; n <= GradientMaxColours; ++n)
    {
        const CString strPath = m_gradientFolder + GradientTableFileName(n);
        const CStringA strTable = GradientTableText(n);
        // Each run adds to what earlier runs wrote.
        CFile file;
        CFileException error;
        if (!file.Open(strPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite,
                       &error))
        {
            ReportFileNotWritten(strPath, (DWORD)error.m_lOsError);
            return FALSE;
        }
        try
        {
            file.SeekToEnd();
            file.Write(strTable.GetString(), (UINT)strTable.GetLength());
            file.Close();
        }
        catch (CFileException* e)
        {
            file.Abort();
            ReportFileNotWritten(strPath, (DWORD)e->m_lOsError);
            e->Delete();
            return FALSE;
        }
    }
    return TRUE;
}

void CVitrolanDoc::OnExportGradients()
{
    WriteGradientTables();
}

void CVitrolanDoc::OnPdfTest()
{
    if (s_uiHooks.pfnWritePdfSample != NULL)
        s_uiHooks.pfnWritePdfSample(L"SimpleTextUsageCFFNoEmbed.pdf");
}
