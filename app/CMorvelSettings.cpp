#include "app/CMorvelSettings.h"

#include "app/CShellState.h"

#include "platform/base/Cp932.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

const char kPathSection[] = "Path Setting";
const char kInputSection[] = "Input Setting";
const char kColorSection[] = "Color Setting";
const char kPrintSection[] = "Print Setting";

const char* const kFontSections[CMorvelSettings::ROW_FONT_COUNT] = {
    "Kind Font Setting",     "Large Font Setting", "Small Font Setting", "Middle Font Setting",
    "Detail Font Setting",   "Sort Font Setting",  "Step Font Setting",  "Sum Font Setting",
    "Discount Font Setting", "Tax Font Setting",   "Part Font Setting",  "NonCalc Font Setting",
};

const char* const kFontKeys[CMorvelSettings::FONT_KEY_COUNT] = {
    "Height",    "Width",   "Escapement",   "Orientation",   "Weight",  "Italic",         "Underline",
    "StrikeOut", "CharSet", "OutPrecision", "ClipPrecision", "Quality", "PitchAndFamily", "FaceName",
};

// Colours for keys that are missing or unreadable. The environment sheet writes every
// colour whenever it is applied, so this only matters for a fresh or hand-edited settings
// file; there the print should come out as plain black on white rather than in colours
// left to chance: text and border black, paper white, and shading black on white, as the
// shading dialog starts, so that a pattern given to a new object shows (a white pattern on
// white would look like no shading at all).
constexpr COLORREF kDefaultPrintFontColor = RGB(0, 0, 0);
constexpr COLORREF kDefaultPaperColor = RGB(255, 255, 255);
constexpr COLORREF kDefaultFillColor = RGB(0, 0, 0);
constexpr COLORREF kDefaultFillBackgroundColor = RGB(255, 255, 255);
constexpr COLORREF kDefaultBorderColor = RGB(0, 0, 0);

// Reads an integer as "%d" does: blanks, an optional sign, digits. Returns false when no
// digit is found.
bool ReadDecimal(const char*& p, long& value)
{
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    const char* start = p;
    if (*p == '+' || *p == '-')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    char* end = nullptr;
    value = std::strtol(start, &end, 10);
    p = end;
    return true;
}

} // namespace

CMorvelSettings::CMorvelSettings(CProfileFile& profile)
    : m_nTax(0), m_nRoundOff(0), m_nBackupFile(0), m_nRoundMode(0),
      m_nDirection(1), m_lfRowFont{}, m_lfPrintFont{}, m_clrPrintFont(kDefaultPrintFontColor),
      m_clrPaper(kDefaultPaperColor), m_clrFill(kDefaultFillColor),
      m_clrFillBackground(kDefaultFillBackgroundColor), m_clrBorder(kDefaultBorderColor), m_nIsFill(0),
      m_nBorderStyle(0), m_nFillMode(0), m_nDataAlign(0), m_nDataFont(0), m_nDataColor(0), m_nMinus(0),
      m_nPrintColor(0), m_nSpaceSetting(0), m_nNonPrintZeroSuryo(0), m_nPrintFormSelect(1),
      m_strPrintFontSection("Print Font Setting"), m_strDefaultFaceName("System"),
      m_strFormFileNameSection("Form File Name Setting"), m_strEstimationFormKey("Estimation Form Name"),
      m_strInformationFormKey("Information Form Name"), m_strPartFormKey("Part Form Name"), m_profile(profile)
{
    for (int i = 0; i < ROW_FONT_COUNT; ++i)
        m_strFontSection[i] = kFontSections[i];
    for (int i = 0; i < FONT_KEY_COUNT; ++i)
        m_strFontKey[i] = kFontKeys[i];
}

CMorvelSettings::~CMorvelSettings()
{
    // Settings that go away stop being current, so that nobody reads through a dangling
    // pointer.
    CShellState& state = CShellState::Get();
    if (state.pCurrentSettings == this)
        state.pCurrentSettings = nullptr;
}

CMorvelSettings* CMorvelSettings::GetCurrent()
{
    return CShellState::Get().pCurrentSettings;
}

void CMorvelSettings::SetCurrent(CMorvelSettings* pSettings)
{
    CShellState::Get().pCurrentSettings = pSettings;
}

CString CMorvelSettings::GetMasterFilePath(MasterKind kind)
{
    const CString strFolder =
        GetCurrent() != nullptr ? GetCurrent()->GetPathSetting("Other Form") : CString("\\");
    return strFolder + GetMasterFileName(kind);
}

int CMorvelSettings::CurrentProfileInt(const char* lpszSection, const char* lpszKey, int nDefault)
{
    const CMorvelSettings* pSettings = GetCurrent();
    return pSettings != nullptr ? static_cast<int>(pSettings->GetProfileInt(lpszSection, lpszKey, nDefault))
                                : nDefault;
}

int CMorvelSettings::ReadRowsPerPage()
{
    const int nRows = CurrentProfileInt("Input Setting", "Rows in a page", DEFAULT_ROWS_PER_PAGE);
    return nRows < 1 ? 25 : nRows;
}

void CMorvelSettings::SetWorkFolderAsCurrent(const CMorvelSettings* pSettings)
{
    if (pSettings != nullptr)
        SetCurrentDirectory(pSettings->GetPathSetting("Work Field"));
}

UINT CMorvelSettings::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) const
{
    return m_profile.GetProfileInt(lpszSection, lpszEntry, nDefault);
}

CString CMorvelSettings::GetProfileString(const char* lpszSection, const char* lpszEntry,
                                          const char* lpszDefault) const
{
    return m_profile.GetProfileString(lpszSection, lpszEntry, lpszDefault);
}

BOOL CMorvelSettings::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue)
{
    return m_profile.WriteProfileInt(lpszSection, lpszEntry, nValue);
}

BOOL CMorvelSettings::WriteProfileString(const char* lpszSection, const char* lpszEntry,
                                         const char* lpszValue)
{
    return m_profile.WriteProfileString(lpszSection, lpszEntry, lpszValue);
}

CString CMorvelSettings::GetPathSetting(const char* lpszKey) const
{
    return GetProfileString(kPathSection, lpszKey, "") + "\\";
}

void CMorvelSettings::WritePathSetting(const char* lpszKey, const char* lpszValue)
{
    WriteProfileString(kPathSection, lpszKey, lpszValue);
}

void CMorvelSettings::MakePathFolders() const
{
    static const char* const kFolderKeys[] = {"Estimation Form", "Parts Form", "Other Form",
                                              "Information Form", "Work Field"};
    for (const char* key : kFolderKeys) {
        CString strFolder = GetProfileValue(kPathSection, key);
        strFolder.Trim();
        if (!strFolder.IsEmpty())
            CreateFolderPath(strFolder);
    }
}

CString CMorvelSettings::FolderNotMadeText(const char* lpszFolder)
{
    return "ﾌｫﾙﾀﾞ \""_sj + DisplayPath(lpszFolder) + "\" を作成できません。"_sj;
}

CString CMorvelSettings::GetProfileValue(const char* lpszSection, const char* lpszKey) const
{
    return GetProfileString(lpszSection, lpszKey, "");
}

BOOL CMorvelSettings::IsRemoveBackSlash() const
{
    const CString strValue = GetProfileValue("Dialog", "FileDialog");
    return strValue.CompareNoCase("RemoveBackSlash") >= 0 ? TRUE : FALSE;
}

void CMorvelSettings::ReadFontSetting(const char* lpszSection, LOGFONT& lf) const
{
    auto readInt = [&](int key, int nDefault) {
        return static_cast<LONG>(static_cast<int>(GetProfileInt(lpszSection, m_strFontKey[key], nDefault)));
    };
    auto readByte = [&](int key, int nDefault) { return static_cast<BYTE>(readInt(key, nDefault) & 0xFF); };

    lf.lfHeight = readInt(keyHeight, 0);
    if (lf.lfHeight == 0)
        return;
    lf.lfWeight = readInt(keyWeight, 0);
    lf.lfWidth = readInt(keyWidth, 0);
    lf.lfEscapement = readInt(keyEscapement, 0);
    lf.lfOrientation = readInt(keyOrientation, 0);
    lf.lfItalic = readByte(keyItalic, 0);
    lf.lfUnderline = readByte(keyUnderline, 0);
    lf.lfStrikeOut = readByte(keyStrikeOut, 0);
    lf.lfCharSet = readByte(keyCharSet, 1);
    lf.lfOutPrecision = readByte(keyOutPrecision, 0);
    lf.lfClipPrecision = readByte(keyClipPrecision, 0);
    lf.lfQuality = readByte(keyQuality, 0);
    lf.lfPitchAndFamily = readByte(keyPitchAndFamily, 0);

    // The face name field holds 31 bytes and a zero. A longer name is cut there, one byte
    // earlier when the cut would split a double-byte character.
    const CString strFace = GetProfileString(lpszSection, m_strFontKey[keyFaceName], m_strDefaultFaceName);
    const char* face = strFace.c_str();
    int nLength = 0;
    while (face[nLength] != '\0') {
        const int nChar = Cp932CharLength(face + nLength);
        if (nLength + nChar > LF_FACESIZE - 1)
            break;
        nLength += nChar;
    }
    std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
    std::memcpy(lf.lfFaceName, face, static_cast<size_t>(nLength));
}

void CMorvelSettings::WriteFontSetting(const char* lpszSection, const LOGFONT& lf)
{
    if (lf.lfHeight == 0)
        return;
    auto writeInt = [&](int key, int nValue) { WriteProfileInt(lpszSection, m_strFontKey[key], nValue); };
    writeInt(keyHeight, lf.lfHeight);
    writeInt(keyWidth, lf.lfWidth);
    writeInt(keyEscapement, lf.lfEscapement);
    writeInt(keyOrientation, lf.lfOrientation);
    writeInt(keyWeight, lf.lfWeight);
    writeInt(keyItalic, lf.lfItalic);
    writeInt(keyUnderline, lf.lfUnderline);
    writeInt(keyStrikeOut, lf.lfStrikeOut);
    writeInt(keyOutPrecision, lf.lfOutPrecision);
    writeInt(keyClipPrecision, lf.lfClipPrecision);
    writeInt(keyQuality, lf.lfQuality);
    writeInt(keyPitchAndFamily, lf.lfPitchAndFamily);
    writeInt(keyCharSet, lf.lfCharSet);
    // The field may lack its zero when filled by hand; never read past it.
    const CString strFace(lf.lfFaceName, static_cast<int>(strnlen(lf.lfFaceName, LF_FACESIZE)));
    WriteProfileString(lpszSection, m_strFontKey[keyFaceName], strFace);
}

void CMorvelSettings::ReadRowFonts()
{
    static constexpr RowFont kStartupOrder[ROW_FONT_COUNT] = {
        fontTax,  fontKind,     fontLarge,  fontMiddle, fontSmall, fontSum,
        fontSort, fontDiscount, fontDetail, fontStep,   fontPart,  fontNonCalc,
    };
    for (RowFont font : kStartupOrder)
        ReadFontSetting(m_strFontSection[font], m_lfRowFont[font]);
    // Non-calculated rows look like detail rows unless they have a font of their own.
    if (m_lfRowFont[fontNonCalc].lfHeight == 0)
        m_lfRowFont[fontNonCalc] = m_lfRowFont[fontDetail];
}

CString CMorvelSettings::FormatColor(COLORREF color)
{
    CString strText;
    strText.Format("%d,%d,%d", GetRValue(color), GetGValue(color), GetBValue(color));
    return strText;
}

BOOL CMorvelSettings::ParseColor(const char* lpszText, COLORREF& color)
{
    if (lpszText == nullptr)
        return FALSE;
    const char* p = lpszText;
    long rgb[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (*p != ',')
                return FALSE;
            ++p;
        }
        if (!ReadDecimal(p, rgb[i]))
            return FALSE;
    }
    color = RGB(static_cast<int>(rgb[0] & 0xFF), static_cast<int>(rgb[1] & 0xFF),
                static_cast<int>(rgb[2] & 0xFF));
    return TRUE;
}

COLORREF CMorvelSettings::ReadColor(const char* lpszKey, COLORREF defaultColor) const
{
    COLORREF color = defaultColor;
    if (!ParseColor(GetProfileValue(kColorSection, lpszKey), color))
        color = defaultColor;
    return color;
}

void CMorvelSettings::WriteColor(const char* lpszKey, COLORREF color)
{
    WriteProfileString(kColorSection, lpszKey, FormatColor(color));
}

void CMorvelSettings::ReadColorSettings()
{
    auto readInt = [&](const char* key, int nDefault) {
        return static_cast<int>(GetProfileInt(kPrintSection, key, nDefault));
    };
    ReadFontSetting(m_strPrintFontSection, m_lfPrintFont);
    m_clrPrintFont = ReadColor("Print Font Color", kDefaultPrintFontColor);
    m_clrPaper = ReadColor("Paper Color", kDefaultPaperColor);
    m_clrFill = ReadColor("Fill Color", kDefaultFillColor);
    m_clrFillBackground = ReadColor("Fill Background Color", kDefaultFillBackgroundColor);
    m_nIsFill = readInt("Is Fill", 1);
    m_clrBorder = ReadColor("Border Color", kDefaultBorderColor);
    m_nBorderStyle = readInt("Border Style", 1);
    m_nFillMode = readInt("Fill Mode", 0);
    m_nDataAlign = readInt("Data Align", 1);
    m_nDataFont = readInt("Data Font", 1);
    m_nDataColor = readInt("Data Color", 1);
    m_nMinus = readInt("Minus", 2);
    m_nPrintColor = readInt("Print Color", 1);
    m_nSpaceSetting = readInt("Space Setting", 1);
    m_nNonPrintZeroSuryo = readInt("NonPrint ZeroSuryo Mitumori", 0);
}

void CMorvelSettings::WriteColorSettings()
{
    auto writeInt = [&](const char* key, int nValue) { WriteProfileInt(kPrintSection, key, nValue); };
    WriteFontSetting(m_strPrintFontSection, m_lfPrintFont);
    WriteColor("Print Font Color", m_clrPrintFont);
    WriteColor("Paper Color", m_clrPaper);
    WriteColor("Fill Color", m_clrFill);
    WriteColor("Fill Background Color", m_clrFillBackground);
    writeInt("Is Fill", m_nIsFill);
    writeInt("Fill Mode", m_nFillMode);
    WriteColor("Border Color", m_clrBorder);
    writeInt("Border Style", m_nBorderStyle);
    writeInt("Data Align", m_nDataAlign);
    writeInt("Data Font", m_nDataFont);
    writeInt("Data Color", m_nDataColor);
    writeInt("Minus", m_nMinus);
    writeInt("Print Color", m_nPrintColor);
    writeInt("Space Setting", m_nSpaceSetting);
    writeInt("NonPrint ZeroSuryo Mitumori", m_nNonPrintZeroSuryo);
}

void CMorvelSettings::ReadInputSettings()
{
    auto readInt = [&](const char* key, int nDefault) {
        return static_cast<int>(GetProfileInt(kInputSection, key, nDefault));
    };
    m_nTax = readInt("Tax", 8);
    m_nDirection = readInt("Direction", 1);
    m_nRoundOff = readInt("Round-off", 0);
    m_nBackupFile = readInt("Backup File", 0);
    m_nRoundMode = readInt("Round Mode", 3);
}

void CMorvelSettings::WriteInputSettings()
{
    WriteProfileInt(kInputSection, "Tax", m_nTax);
    WriteProfileInt(kInputSection, "Direction", m_nDirection);
    WriteProfileInt(kInputSection, "Round-off", m_nRoundOff);
    WriteProfileInt(kInputSection, "Backup File", m_nBackupFile);
    WriteProfileInt(kInputSection, "Round Mode", m_nRoundMode);
}

void CMorvelSettings::ReadFormFileNames()
{
    m_strEstimationFormFile = GetProfileValue(m_strFormFileNameSection, m_strEstimationFormKey);
    m_strInformationFormFile = GetProfileValue(m_strFormFileNameSection, m_strInformationFormKey);
    m_strPartFormFile = GetProfileValue(m_strFormFileNameSection, m_strPartFormKey);
}

void CMorvelSettings::WriteFormFileNames()
{
    WriteProfileString(m_strFormFileNameSection, m_strEstimationFormKey, m_strEstimationFormFile);
    WriteProfileString(m_strFormFileNameSection, m_strInformationFormKey, m_strInformationFormFile);
    WriteProfileString(m_strFormFileNameSection, m_strPartFormKey, m_strPartFormFile);
}
