// The developers' sample outputs: the gradient tables and the sample PDF page. No menu item
// leads to them.
#include "VitrolanDoc.h"

#include <string>

#include "AfxFile.h"
#include "AfxFileReplacement.h"
#include "GradientTables.h"

BOOL CVitrolanDoc::WriteGradientTables()
{
    for (int n = GradientMinColours; n <= GradientMaxColours; ++n)
    {
        const CString strPath = m_gradientFolder + GradientTableFileName(n);
        // Each run adds to what earlier runs wrote; the file is written again whole, so that
        // a failure leaves it as it was.
        CFile file;
        CFileException error;
        std::string bytes;
        if (file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite, &error))
        {
            try
            {
                bytes.resize((size_t)file.GetLength());
                if (!bytes.empty())
                    bytes.resize(file.Read(&bytes[0], (UINT)bytes.size()));
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
        else if (error.m_cause != CFileException::fileNotFound)
        {
            ReportFileNotWritten(strPath, (DWORD)error.m_lOsError);
            return FALSE;
        }
        const CStringA strTable = GradientTableText(n);
        bytes.append(strTable.GetString(), (size_t)strTable.GetLength());
        const DWORD dwError = AfxWriteWholeFile(strPath, bytes.data(), bytes.size());
        if (dwError != NO_ERROR)
        {
            ReportFileNotWritten(strPath, dwError);
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
