#include "MosaicTest.h"

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "LangText.h"
#include "ResourceLanguage.h"
#include "TextTestFiles.h"
#include "StdioFileEx.h"
#include "TextIds.h"

namespace
{
const char* const kSourceFolders[] = {"framework", "text",  "model",  "gridctrl", "document",
                                      "view",      "output", "menus",  "dialogs",  "shell"};

// The Windows path of a Linux path, through Wine's own mapping.
CString DosPath(const std::string& unixPath)
{
    typedef LPWSTR(CDECL * DosNameProc)(LPCSTR);
    DosNameProc pDosName = (DosNameProc)(void*)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    if (pDosName != NULL)
    {
        LPWSTR lpszDos = pDosName(unixPath.c_str());
        if (lpszDos != NULL)
        {
            CString strDos(lpszDos);
            HeapFree(GetProcessHeap(), 0, lpszDos);
            return strDos;
        }
    }
    CString strPath = CString(L"Z:") + CString(CA2W(unixPath.c_str(), CP_UTF8));
    strPath.Replace(L'/', L'\\');
    return strPath;
}

struct LangFile
{
    std::map<UINT, CString> texts;
    std::vector<std::string> faults;
};

// Every line of a shipped language file must be an entry, in ascending order.
LangFile ReadLangFile(const char* lpszName)
{
    LangFile file;
    CStdioFileEx stream(DosPath(std::string(MOSAIC_DATA_DIR) + "/" + lpszName),
                        CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
    if (!stream.IsFileUnicodeText())
        file.faults.push_back("not UTF-16 with a byte-order sign");
    CString strLine;
    UINT nPrevious = 0;
    for (int nLine = 1; stream.ReadString(strLine); ++nLine)
    {
        int nSeparator = strLine.Find(L';');
        CString strNumber = nSeparator > 0 ? strLine.Left(nSeparator) : CString();
        bool bDigits = !strNumber.IsEmpty();
        for (int i = 0; i < strNumber.GetLength(); ++i)
            bDigits = bDigits && strNumber[i] >= L'0' && strNumber[i] <= L'9';
        UINT nId = bDigits ? (UINT)atoi(CW2A(strNumber)) : 0;
        CString strText = nSeparator > 0 ? strLine.Mid(nSeparator + 1) : CString();
        if (nId == 0 || nId > LANG_TEXT_MAX_ID || nId <= nPrevious || strText.IsEmpty())
            file.faults.push_back("line " + std::to_string(nLine) + ": " +
                                  std::string(CW2A(strLine, CP_UTF8)));
        else
            file.texts[nId] = strText;
        nPrevious = nId > nPrevious ? nId : nPrevious;
    }
    stream.Close();
    return file;
}

std::string ReadSource(const CString& strPath)
{
    std::string text;
    HANDLE hFile = CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return text;
    char buffer[8192];
    DWORD dwRead = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &dwRead, NULL) && dwRead > 0)
        text.append(buffer, dwRead);
    CloseHandle(hFile);
    return text;
}

void CollectSources(const CString& strFolder, std::vector<CString>& files)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFolder + L"\\*", &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        CString strName(data.cFileName);
        if (strName == L"." || strName == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectSources(strFolder + L"\\" + strName, files);
        else if (strName.Right(4).CompareNoCase(L".cpp") == 0 ||
                 strName.Right(2).CompareNoCase(L".h") == 0)
            files.push_back(strFolder + L"\\" + strName);
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
}

// The named text numbers, read from the header that declares them.
std::map<std::string, UINT> ReadTextIdNames()
{
    std::map<std::string, UINT> names;
    std::string header = ReadSource(DosPath(std::string(MOSAIC_SOURCE_DIR) + "/text/TextIds.h"));
    std::regex entry(R"(\b(TXT_\w+)\s*=\s*(\d+)\s*,)");
    for (std::sregex_iterator it(header.begin(), header.end(), entry), end; it != end; ++it)
        names[(*it)[1]] = (UINT)std::stoul((*it)[2]);
    return names;
}

class TextsTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_french = new LangFile(ReadLangFile("Text_Mosaic-40C.fil"));
        s_english = new LangFile(ReadLangFile("Text_Mosaic-409.fil"));
    }
    static void TearDownTestSuite()
    {
        delete s_french;
        delete s_english;
    }

    static void ExpectInBothFiles(UINT nId, const std::string& where)
    {
        EXPECT_EQ(1u, s_french->texts.count(nId)) << nId << " (" << where << ") lacks French";
        EXPECT_EQ(1u, s_english->texts.count(nId)) << nId << " (" << where << ") lacks English";
    }

    static inline LangFile* s_french = NULL;
    static inline LangFile* s_english = NULL;
};
}

TEST_F(TextsTest, LanguageFilesAreWellFormedAndHoldTheSameNumbers)
{
    EXPECT_TRUE(s_french->faults.empty()) << s_french->faults.front();
    EXPECT_TRUE(s_english->faults.empty()) << s_english->faults.front();
    ASSERT_FALSE(s_french->texts.empty());
    std::set<UINT> french, english;
    for (const auto& entry : s_french->texts)
        french.insert(entry.first);
    for (const auto& entry : s_english->texts)
        english.insert(entry.first);
    EXPECT_EQ(french, english);
}

TEST_F(TextsTest, EveryNamedNumberIsInBothFilesAndEveryFileNumberIsNamed)
{
    std::map<std::string, UINT> names = ReadTextIdNames();
    ASSERT_GT(names.size(), 200u);
    std::set<UINT> named;
    for (const auto& name : names)
    {
        ExpectInBothFiles(name.second, name.first);
        named.insert(name.second);
    }
    for (const auto& entry : s_french->texts)
        EXPECT_EQ(1u, named.count(entry.first)) << entry.first << " has no name in TextIds.h";
    EXPECT_EQ(TXT_MENU_MOSAIC, names["TXT_MENU_MOSAIC"]);
}

TEST_F(TextsTest, EveryNumberLookedUpInTheSourcesIsInBothFiles)
{
    std::map<std::string, UINT> names = ReadTextIdNames();
    std::regex call(R"(\bGetLangText\s*\(\s*(\d+|TXT_\w+)\s*\))");
    std::vector<CString> files;
    for (const char* lpszFolder : kSourceFolders)
        CollectSources(DosPath(std::string(MOSAIC_SOURCE_DIR) + "/" + lpszFolder), files);
    bool bFoundLoader = false;
    for (const CString& strFile : files)
        bFoundLoader = bFoundLoader || strFile.Right(13).CompareNoCase(L"\\LangText.cpp") == 0;
    ASSERT_TRUE(bFoundLoader);
    for (const CString& strFile : files)
    {
        std::string source = ReadSource(strFile);
        std::string where(CW2A(strFile, CP_UTF8));
        for (std::sregex_iterator it(source.begin(), source.end(), call), end; it != end; ++it)
        {
            std::string argument = (*it)[1];
            if (argument.compare(0, 4, "TXT_") == 0)
            {
                EXPECT_EQ(1u, names.count(argument)) << argument << " in " << where;
                if (names.count(argument))
                    ExpectInBothFiles(names[argument], where);
            }
            else
            {
                ExpectInBothFiles((UINT)std::stoul(argument), where);
            }
        }
    }
}

TEST_F(TextsTest, ShippedFilesAreReadByTheLoader)
{
    CSavedLanguageValue savedNew(L"Software\\Orbalith");
    CSavedLanguageValue savedOld(L"Software\\Mosaic");
    SetLangTextFolder(DosPath(std::string(MOSAIC_DATA_DIR) + "/"));
    ASSERT_TRUE(WriteLanguageId(0x40C));
    ClearLangTexts();
    EXPECT_EQ(CString(L"&Mosa\x00EFque"), GetLangText(TXT_MENU_MOSAIC));
    EXPECT_EQ(CString(L"&Nouveau...\tCtrl+N"), GetLangText(TXT_FILE_NEW));
    ASSERT_TRUE(WriteLanguageId(0x409));
    ClearLangTexts();
    EXPECT_EQ(CString(L"&Mosaic"), GetLangText(TXT_MENU_MOSAIC));
    SetLangTextFolder(L"");
}

TEST_F(TextsTest, StringTableKeepsItsAccents)
{
    CResourceLanguage french(kFrenchResources);
    CString strText;
    ASSERT_TRUE(strText.LoadString(0xF102));
    EXPECT_EQ(CString(L"L'enregistrement du document a \x00E9" L"chou\x00E9."), strText);
    ASSERT_TRUE(strText.LoadString(32844));
    EXPECT_EQ(CString(L"Orbalith\\Mosaic"), strText);
}
