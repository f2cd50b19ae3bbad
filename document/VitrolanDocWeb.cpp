// Commands that lead out of the program: the maker's web site, the users' forum and the
// help page of the mosaic commands.
#include "VitrolanDoc.h"

#include "LangText.h"
#include "ShellOpen.h"

namespace
{

// String-table entries of the addresses.
const UINT kWebSiteId = 32975;
const UINT kForumFrenchId = 32976;
const UINT kForumEnglishId = 32977;
const UINT kForumItalianId = 32978;
const UINT kForumGermanId = 32979;
const UINT kForumSpanishId = 32980;

const int kFrench = 1036;
const int kSpanish = 1034;
const int kItalian = 1040;
const int kGerman = 1031;

CString LoadAddress(UINT nId)
{
    CString strAddress;
    if (!strAddress.LoadString(nId))
        strAddress.Empty();
    return strAddress;
}

}   // namespace

UINT CVitrolanDoc::ForumAddressId(int nLanguageId)
{
    switch (nLanguageId)
    {
    case kFrench: return kForumFrenchId;
    case kSpanish: return kForumSpanishId;
    case kItalian: return kForumItalianId;
    case kGerman: return kForumGermanId;
    default: return kForumEnglishId;
    }
}

CString CVitrolanDoc::HelpCommandsPath(int nLanguageId) const
{
    CString strPath;
    strPath.Format(nLanguageId == kFrench ? L"%sHelp\\40C\\MenuVitrolan\\CommandeVitrolan.htm"
                                          : L"%sHelp\\409\\MenuVitrolan\\CommandeVitrolan.htm",
                   (LPCTSTR)m_programFolder);
    return strPath;
}

void CVitrolanDoc::OnWebSite()
{
    ShellOpenAddress(LoadAddress(kWebSiteId));
}

void CVitrolanDoc::OnUsersGroup()
{
    CString strAddress = LoadAddress(ForumAddressId(ReadLanguageId()));
    // A language without a forum of its own is served by the English one.
    if (strAddress.IsEmpty())
        strAddress = LoadAddress(kForumEnglishId);
    ShellOpenAddress(strAddress);
}

void CVitrolanDoc::OnHelpCommands()
{
    ShellOpenFile(HelpCommandsPath(ReadLanguageId()));
}
