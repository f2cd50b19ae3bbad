#include "MosConfig.h"

#include "AfxDDX.h"
#include "AfxDlgs.h"
#include "ConfigurationValues.h"
#include "DlgTexts.h"
#include "LangText.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

namespace {

void FillList(CWnd* pDlg, int nIDC, const UINT* pTextIds, int nCount)
{
    HWND hList = ::GetDlgItem(pDlg->GetSafeHwnd(), nIDC);
    ::SendMessageW(hList, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < nCount; i++)
        ::SendMessageW(hList, CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)GetLangText(pTextIds[i]));
}

// The system colour dialog on the colour; its custom list holds that colour alone.
void ChooseCustomColour(CWnd* pOwner, COLORREF& colour)
{
    COLORREF customColours[16];
    for (COLORREF& c : customColours)
        c = RGB(255, 255, 255);
    customColours[0] = colour;
    CColorDialog dlg(colour, CC_RGBINIT, pOwner);
    dlg.m_cc.lpCustColors = customColours;
    if (dlg.DoModal() == IDOK)
        colour = dlg.GetColor();
}

} // namespace

BEGIN_MESSAGE_MAP(CMosConfig, CDialog)
    ON_CBN_SELCHANGE(IDC_CONFIG_JOINT_COLOUR, OnJointColourChange)
    ON_CBN_SELCHANGE(IDC_CONFIG_BACK_COLOUR, OnBackgroundColourChange)
END_MESSAGE_MAP()

CMosConfig::CMosConfig(CWnd* pParent)
    : CDialog(IDD_CONFIGURATION, pParent), m_tileSize(0), m_jointSize(0), m_plateTilesAcross(0),
      m_plateTilesDown(0), m_jointColour(0), m_backgroundColour(0), m_customJointColour(0),
      m_customBackgroundColour(0), m_plateGrids(0), m_showPlateNumbers(0), m_staggerPlates(0),
      m_layingMethod(0), m_plateNumbering(0), m_plateLabels(0), m_printColours(0), m_units(0),
      m_minPlateTilesDown(1)
{
}

void CMosConfig::SetValues(const ConfigurationValues& values)
{
    m_tileSize = values.tileSize;
    m_jointSize = values.jointSize;
    m_plateTilesAcross = values.plateTilesAcross;
    m_plateTilesDown = values.plateTilesDown;
    m_minPlateTilesDown = values.minPlateTilesDown;
    m_jointColour = values.jointColour;
    m_backgroundColour = values.backgroundColour;
    m_customJointColour = values.customJointColour;
    m_customBackgroundColour = values.customBackgroundColour;
    m_layingMethod = values.layingMethod;
    m_plateNumbering = values.plateNumbering;
    m_staggerPlates = values.staggerPlates;
    m_plateLabels = values.plateLabels;
    m_plateGrids = values.plateGrids;
    m_showPlateNumbers = values.showPlateNumbers;
    m_printColours = values.printColours;
    m_units = values.units;
    m_tileSizeUnit = values.unitText;
    m_jointSizeUnit = values.unitText;
}

void CMosConfig::GetValues(ConfigurationValues& values) const
{
    values.tileSize = m_tileSize;
    values.jointSize = m_jointSize;
    values.plateTilesAcross = m_plateTilesAcross;
    values.plateTilesDown = m_plateTilesDown;
    values.jointColour = m_jointColour;
    values.backgroundColour = m_backgroundColour;
    values.customJointColour = m_customJointColour;
    values.customBackgroundColour = m_customBackgroundColour;
    values.layingMethod = m_layingMethod;
    values.plateNumbering = m_plateNumbering;
    values.staggerPlates = m_staggerPlates;
    values.plateLabels = m_plateLabels;
    values.plateGrids = m_plateGrids;
    values.showPlateNumbers = m_showPlateNumbers;
    values.printColours = m_printColours;
}

void CMosConfig::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // The document keeps lengths in whole 1/100 mm or 1/1000 inch: a tile must keep at least
    // one of them, as the plates and the plan's pages divide by the tile pitch.
    const double dUnit = m_units == 1 ? 0.001 : 0.01;
    DDX_Text(pDX, IDC_CONFIG_TILE_SIZE, m_tileSize);
    DDV_MinMaxDouble(pDX, m_tileSize, dUnit, MaxLength * dUnit);
    DDX_Text(pDX, IDC_CONFIG_JOINT_SIZE, m_jointSize);
    DDV_MinMaxDouble(pDX, m_jointSize, 0.0, MaxLength * dUnit);
    // Plates are cut from these sizes: a size the document cannot cut with is refused here.
    DDX_Text(pDX, IDC_CONFIG_PLATE_X, m_plateTilesAcross);
    DDV_MinMaxInt(pDX, m_plateTilesAcross, 1, MaxPlateTiles);
    DDX_Text(pDX, IDC_CONFIG_PLATE_Y, m_plateTilesDown);
    DDV_MinMaxInt(pDX, m_plateTilesDown, m_minPlateTilesDown, MaxPlateTiles);
    DDX_CBIndex(pDX, IDC_CONFIG_JOINT_COLOUR, m_jointColour);
    DDX_CBIndex(pDX, IDC_CONFIG_BACK_COLOUR, m_backgroundColour);
    DDX_Radio(pDX, IDC_CONFIG_GRID_COLOUR, m_plateGrids);
    DDX_Check(pDX, IDC_CONFIG_PLATE_NUMBERS, m_showPlateNumbers);
    DDX_Check(pDX, IDC_CONFIG_STAGGER, m_staggerPlates);
    DDX_Radio(pDX, IDC_CONFIG_DIRECT, m_layingMethod);
    DDX_Radio(pDX, IDC_CONFIG_DOWNWARDS, m_plateNumbering);
    DDX_Radio(pDX, IDC_CONFIG_LABEL_IMAGE, m_plateLabels);
    DDX_Check(pDX, IDC_CONFIG_PRINT_COLOURS, m_printColours);
}

BOOL CMosConfig::OnInitDialog()
{
    static const DlgText texts[] = {
        {IDOK, TXT_OK},
        {IDCANCEL, TXT_CANCEL},
        {IDC_CONFIG_SIZE_LABEL, TXT_CONFIG_PLATE_SIZE},
        {IDC_CONFIG_WIDTH_LABEL, TXT_CONFIG_PLATE_WIDTH},
        {IDC_CONFIG_HEIGHT_LABEL, TXT_CONFIG_PLATE_HEIGHT},
        {IDC_CONFIG_JOINT_LABEL, TXT_CONFIG_JOINT_COLOUR},
        {IDC_CONFIG_BACK_LABEL, TXT_CONFIG_BACKGROUND_COLOUR},
        {IDC_CONFIG_GRIDS_LABEL, TXT_CONFIG_PLATES},
        {IDC_CONFIG_GRID_COLOUR, TXT_CONFIG_PLATES_IN_COLOUR},
        {IDC_CONFIG_GRID_BLACK, TXT_CONFIG_PLATES_IN_BLACK},
        {IDC_CONFIG_PLATE_NUMBERS, TXT_CONFIG_SHOW_PLATE_NUMBERS},
        {IDC_CONFIG_STAGGER, TXT_CONFIG_STAGGER_PLATES},
        {IDC_CONFIG_LAYING_LABEL, TXT_CONFIG_LAYING_METHOD},
        {IDC_CONFIG_DIRECT, TXT_CONFIG_LAYING_DIRECT},
        {IDC_CONFIG_INDIRECT, TXT_CONFIG_LAYING_INDIRECT},
        {IDC_CONFIG_NUMBER_LABEL, TXT_CONFIG_PLATE_NUMBERING},
        {IDC_CONFIG_DOWNWARDS, TXT_CONFIG_NUMBER_DOWNWARDS},
        {IDC_CONFIG_UPWARDS, TXT_CONFIG_NUMBER_UPWARDS},
        {IDC_CONFIG_MARKS_LABEL, TXT_CONFIG_LABELS},
        {IDC_CONFIG_LABEL_IMAGE, TXT_CONFIG_LABEL_IMAGE_NUMBERS},
        {IDC_CONFIG_LABEL_TILE, TXT_CONFIG_LABEL_TILE_NUMBERS},
        {IDC_CONFIG_LABEL_SYMBOL, TXT_CONFIG_LABEL_SYMBOLS},
        {IDC_CONFIG_PRINT_COLOURS, TXT_CONFIG_PRINT_COLOURS},
        {IDC_CONFIG_TILE_LABEL, TXT_CONFIG_TILE_SIZE},
        {IDC_CONFIG_JOINTW_LABEL, TXT_CONFIG_JOINT_SIZE},
    };
    SetDlgTexts(this, texts);
    static const UINT jointColours[] = {TXT_COLOUR_WHITE, TXT_COLOUR_GREY, TXT_COLOUR_BLACK,
                                        TXT_COLOUR_CUSTOM};
    static const UINT backgroundColours[] = {TXT_COLOUR_WHITE, TXT_COLOUR_GREY, TXT_COLOUR_CUSTOM};
    FillList(this, IDC_CONFIG_JOINT_COLOUR, jointColours, 4);
    FillList(this, IDC_CONFIG_BACK_COLOUR, backgroundColours, 3);
    CString strUnit = GetShortUnitText(m_units);
    SetDlgItemText(IDC_CONFIG_TILE_UNIT, strUnit);
    SetDlgItemText(IDC_CONFIG_JOINT_UNIT, strUnit);
    // Last, so that the exchange finds the lists filled and selects the current entries.
    return CDialog::OnInitDialog();
}

void CMosConfig::OnJointColourChange()
{
    if (::SendDlgItemMessageW(m_hWnd, IDC_CONFIG_JOINT_COLOUR, CB_GETCURSEL, 0, 0) == JOINT_CUSTOM)
        ChooseCustomColour(this, m_customJointColour);
}

void CMosConfig::OnBackgroundColourChange()
{
    if (::SendDlgItemMessageW(m_hWnd, IDC_CONFIG_BACK_COLOUR, CB_GETCURSEL, 0, 0) ==
        BACKGROUND_CUSTOM)
        ChooseCustomColour(this, m_customBackgroundColour);
}
