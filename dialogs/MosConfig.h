// The mosaic configuration (template 141): tile and joint size, plate size, joint and
// background colours, laying method, plate numbering, labels and printing options.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

struct ConfigurationValues;

class CMosConfig : public CDialog
{
public:
    explicit CMosConfig(CWnd* pParent = NULL);

    // Entries of the colour lists that open the system colour dialog.
    static const int JOINT_CUSTOM = 3;        // white, grey, black, custom
    static const int BACKGROUND_CUSTOM = 2;   // white, grey, custom

    double m_tileSize;          // in millimetres or inches, by m_units
    double m_jointSize;
    int m_plateTilesAcross;
    int m_plateTilesDown;
    int m_jointColour;          // list index
    int m_backgroundColour;     // list index
    COLORREF m_customJointColour;
    COLORREF m_customBackgroundColour;
    int m_plateGrids;           // 0 in colour, 1 in black
    int m_showPlateNumbers;
    int m_staggerPlates;
    int m_layingMethod;         // 0 direct, 1 indirect
    int m_plateNumbering;       // 0 top to bottom, 1 bottom to top
    int m_plateLabels;          // 0 picture numbers, 1 tile numbers, 2 symbols
    int m_printColours;
    int m_units;                // 0 metric, 1 imperial: the unit labels
    int m_minPlateTilesDown;    // the fewest tiles down a plate may have
    CString m_tileSizeUnit;
    CString m_jointSizeUnit;

    // The members from the values and back; the unit texts take the values' unit text.
    void SetValues(const ConfigurationValues& values);
    void GetValues(ConfigurationValues& values) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnJointColourChange();
    afx_msg void OnBackgroundColourChange();

    DECLARE_MESSAGE_MAP()
};
