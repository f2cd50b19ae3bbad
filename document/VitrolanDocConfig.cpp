// The configuration and preferences commands: the physical and plan settings in their
// dialogs, and the lengths that follow a change of units.
#include "VitrolanDoc.h"

#include "ConfigurationValues.h"
#include "LangText.h"
#include "Paving.h"
#include "TextIds.h"

namespace
{

const double kHundredthsPerMillimetre = 100.0;
const double kThousandthsPerInch = 1000.0;

double LengthScale(int nUnits)
{
    return nUnits == 1 ? kThousandthsPerInch : kHundredthsPerMillimetre;
}

COLORREF TripleColour(const BYTE* triple)
{
    return RGB(triple[0], triple[1], triple[2]);
}

void SetTripleColour(BYTE* triple, COLORREF colour)
{
    triple[0] = GetRValue(colour);
    triple[1] = GetGValue(colour);
    triple[2] = GetBValue(colour);
}

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGrey = RGB(192, 192, 192);
const COLORREF kBlack = RGB(0, 0, 0);

}   // namespace

int CVitrolanDoc::ConvertLength(int nLength, int nFromUnits, int nToUnits)
{
    if (nFromUnits == nToUnits)
        return nLength;
    return RoundHalfAway(nToUnits == 1 ? nLength / 2.54 : nLength * 2.54);
}

void CVitrolanDoc::GetConfiguration(ConfigurationValues& values) const
{
    const double dScale = LengthScale(unites);
    values.tileSize = taillecar / dScale;
    values.jointSize = intercar / dScale;
    values.plateTilesAcross = carplaquex;
    values.plateTilesDown = carplaquey;
    values.minPlateTilesDown = m_pavingType == PavingTriangles ? 2 : 1;
    values.jointColour = coljoint;
    values.backgroundColour = colfond;
    values.customJointColour = TripleColour(m_colourTable[1]);
    values.customBackgroundColour = TripleColour(m_colourTable[0]);
    values.layingMethod = filet;
    values.plateNumbering = direction;
    values.staggerPlates = decalage;
    values.plateLabels = impression;
    values.plateGrids = grillescouleur;
    values.showPlateNumbers = numerosgrille;
    values.printColours = imprCouleurs;
    values.units = unites;
    values.unitText = m_unitText;
}

void CVitrolanDoc::ApplyConfiguration(const ConfigurationValues& values)
{
    const double dScale = LengthScale(unites);
    intercar = RoundHalfAway(values.jointSize * dScale);
    taillecar = RoundHalfAway(values.tileSize * dScale);
    carplaquex = values.plateTilesAcross;
    carplaquey = values.plateTilesDown;
    // A setting the dialog has no button or entry for comes back as none chosen (-1): it
    // stays as it was, like labels off (3), which the dialog does not offer.
    auto takeChoice = [](int& nSetting, int nChoice) {
        if (nChoice >= 0)
            nSetting = nChoice;
    };
    takeChoice(coljoint, values.jointColour);
    takeChoice(colfond, values.backgroundColour);
    takeChoice(filet, values.layingMethod);
    takeChoice(direction, values.plateNumbering);
    decalage = values.staggerPlates;
    takeChoice(impression, values.plateLabels);
    takeChoice(grillescouleur, values.plateGrids);
    numerosgrille = values.showPlateNumbers;
    imprCouleurs = values.printColours;
    m_dirty = 1;
    m_rebuildTileImages = 1;

    // A choice outside the lists, or none, keeps the colour in use.
    const COLORREF jointColours[] = {kWhite, kGrey, kBlack, values.customJointColour};
    if (values.jointColour >= 0 && values.jointColour < (int)ARRAYSIZE(jointColours))
        SetTripleColour(m_colourTable[1], jointColours[values.jointColour]);
    const COLORREF backgroundColours[] = {kWhite, kGrey, values.customBackgroundColour};
    if (values.backgroundColour >= 0 && values.backgroundColour < (int)ARRAYSIZE(backgroundColours))
        SetTripleColour(m_colourTable[0], backgroundColours[values.backgroundColour]);

    // Triangles pair up in rows of two; the dialog lets no triangle plate be lower than 2.
    if (m_pavingType == PavingTriangles && carplaquey % 2 != 0 && carplaquey > 1)
    {
        if (s_uiHooks.pfnMessageBox != NULL)
            s_uiHooks.pfnMessageBox(GetLangText(TXT_MSG_TRIANGLES_EVEN_ROWS));
        carplaquey--;
    }

    m_plaquesValid = 0;
    if (m_loaded)
    {
        if (s_uiHooks.pfnRefreshImageBar != NULL)
            s_uiHooks.pfnRefreshImageBar();
        if (s_uiHooks.pfnRefreshTileBar != NULL)
            s_uiHooks.pfnRefreshTileBar();
        UpdateAllViews(NULL);
    }
}

void CVitrolanDoc::OnConfiguration()
{
    if (s_uiHooks.pfnAskConfiguration == NULL)
        return;
    ConfigurationValues values;
    GetConfiguration(values);
    if (s_uiHooks.pfnAskConfiguration(&values) == IDOK)
        ApplyConfiguration(values);
}

void CVitrolanDoc::OnPreferences()
{
    const int nOldUnits = unites;
    int nUnits = unites;
    int nFormat = format;
    if (s_uiHooks.pfnAskPreferences != NULL && s_uiHooks.pfnAskPreferences(&nUnits, &nFormat) == IDOK)
    {
        // A choice outside the lists keeps the setting.
        if (nUnits == 0 || nUnits == 1)
            unites = nUnits;
        if (nFormat >= 0 && nFormat < PaperFormatCount)
            format = nFormat;
        m_dirty = 1;
    }
    FollowUnits(nOldUnits);
    UpdateAllViews(NULL);
}

void CVitrolanDoc::FollowUnits(int nOldUnits)
{
    m_plaquesValid = 0;
    SetUnitTexts();
    if (unites == nOldUnits)
        return;
    // A tile keeps some size, as a pitch of nothing would divide the plan's pages by zero,
    // and no length outgrows what the documents and the settings can be read back with.
    auto clamp = [](int nLength, int nMin) {
        return nLength < nMin ? nMin : nLength > MaxLength ? (int)MaxLength : nLength;
    };
    taillecar = clamp(ConvertLength(taillecar, nOldUnits, unites), 1);
    intercar = clamp(ConvertLength(intercar, nOldUnits, unites), 0);
    cresol = ConvertLength(cresol, nOldUnits, unites);
}
