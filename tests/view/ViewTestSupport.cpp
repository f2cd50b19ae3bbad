#include "MosaicTest.h"

#include <vector>

#include "DocSettings.h"
#include "LangText.h"
#include "ViewHooks.h"
#include "ViewTestSupport.h"
#include "output/PdfChecks.h"

namespace
{

const WCHAR kPrinter[] = L"Mosaic Test Printer";

// Every document of these tests gets real shapes from the view layer, reads the program's
// own language texts, and keeps its settings away from the program's.
class ViewEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        SetDocProfileRoot(L"Software\\MosaicTests\\View");
        SetLangTextFolder(DosFolder(MOSAIC_DATA_DIR));
        InstallViewHooks();
    }
};

testing::Environment* const g_pEnvironment =
    testing::AddGlobalTestEnvironment(new ViewEnvironment);

}   // namespace

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

BOOL CViewTestApp::SelectTestPrinter()
{
    HANDLE hPrinter = NULL;
    if (!OpenPrinterW((LPWSTR)kPrinter, &hPrinter, NULL))
        return FALSE;
    DWORD cbNeeded = 0;
    GetPrinterW(hPrinter, 2, NULL, 0, &cbNeeded);
    std::vector<BYTE> info(cbNeeded);
    BOOL bInfo = cbNeeded > 0 && GetPrinterW(hPrinter, 2, info.data(), cbNeeded, &cbNeeded);
    LONG cbDevMode = DocumentPropertiesW(NULL, hPrinter, (LPWSTR)kPrinter, NULL, NULL, 0);
    if (!bInfo || cbDevMode <= 0)
    {
        ClosePrinter(hPrinter);
        return FALSE;
    }
    HGLOBAL hDevMode = GlobalAlloc(GHND, cbDevMode);
    DEVMODEW* pDevMode = (DEVMODEW*)GlobalLock(hDevMode);
    DocumentPropertiesW(NULL, hPrinter, (LPWSTR)kPrinter, pDevMode, NULL, DM_OUT_BUFFER);
    pDevMode->dmFields = DM_PAPERSIZE;
    pDevMode->dmPaperSize = DMPAPER_A4;
    DocumentPropertiesW(NULL, hPrinter, (LPWSTR)kPrinter, pDevMode, pDevMode,
                        DM_IN_BUFFER | DM_OUT_BUFFER);
    GlobalUnlock(hDevMode);
    ClosePrinter(hPrinter);

    // DEVNAMES: the driver, the printer and the port, one after the other.
    LPCWSTR strings[] = {L"winspool", kPrinter, ((PRINTER_INFO_2W*)info.data())->pPortName};
    SIZE_T cchAll = 0;
    for (LPCWSTR psz : strings)
        cchAll += lstrlenW(psz) + 1;
    HGLOBAL hDevNames = GlobalAlloc(GHND, sizeof(DEVNAMES) + cchAll * sizeof(WCHAR));
    DEVNAMES* pDevNames = (DEVNAMES*)GlobalLock(hDevNames);
    WORD* pOffsets[] = {&pDevNames->wDriverOffset, &pDevNames->wDeviceOffset,
                        &pDevNames->wOutputOffset};
    WORD nOffset = sizeof(DEVNAMES) / sizeof(WCHAR);
    for (int i = 0; i < 3; i++)
    {
        *pOffsets[i] = nOffset;
        lstrcpyW((LPWSTR)pDevNames + nOffset, strings[i]);
        nOffset = (WORD)(nOffset + lstrlenW(strings[i]) + 1);
    }
    GlobalUnlock(hDevNames);
    SelectPrinter(hDevNames, hDevMode);
    return TRUE;
}

CString ShippedDataFolder()
{
    return DosFolder(MOSAIC_DATA_DIR);
}
