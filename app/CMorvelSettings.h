// The settings the application object reads and writes for everybody: the folders of
// "Path Setting", the input settings, the twelve row-kind fonts, the print font, colours
// and switches, and the three form file names. The application object derives from the
// framework's application class and from this class; it owns the CProfileFile that is
// handed to the constructor.
//
// Nothing is cached beyond these members: folders are read from the settings file at
// every use, so a folder changed in the environment sheet applies at once.
#pragma once

#include "app/MasterBackup.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

class CProfileFile;

class CMorvelSettings {
public:
    // The row-kind fonts, by the fixed index every estimate window uses. Small comes
    // before middle.
    enum RowFont {
        fontKind = 0,
        fontLarge = 1,
        fontSmall = 2,
        fontMiddle = 3,
        fontDetail = 4,
        fontSort = 5,
        fontStep = 6,
        fontSum = 7,
        fontDiscount = 8,
        fontTax = 9,
        fontPart = 10,
        fontNonCalc = 11,
        ROW_FONT_COUNT = 12
    };
    // The keys of a font section, by their index in m_strFontKey.
    enum FontKey {
        keyHeight = 0,
        keyWidth,
        keyEscapement,
        keyOrientation,
        keyWeight,
        keyItalic,
        keyUnderline,
        keyStrikeOut,
        keyCharSet,
        keyOutPrecision,
        keyClipPrecision,
        keyQuality,
        keyPitchAndFamily,
        keyFaceName,
        FONT_KEY_COUNT
    };

    explicit CMorvelSettings(CProfileFile& profile);
    virtual ~CMorvelSettings();
    CMorvelSettings(const CMorvelSettings&) = delete;
    CMorvelSettings& operator=(const CMorvelSettings&) = delete;

    // The settings of the running program, which the code that has no application object
    // at hand (the estimate engine, the master edit operations) reads. They are whatever
    // was last made current with SetCurrent and is still alive: the application object
    // makes its own settings current when it is built; a tool or a test without an
    // application object sets its settings object explicitly. Constructing settings does
    // not make them current; destroying the current ones leaves none. Null when there is
    // none. (Kept in CShellState.)
    static CMorvelSettings* GetCurrent();
    static void SetCurrent(CMorvelSettings* pSettings);
    // The current settings' "Other Form" folder followed by the master's file name
    // ("tanni.MTD", ...). Without settings the folder is "\", as for an empty value.
    static CString GetMasterFilePath(MasterKind kind);
    // An integer of the current settings, or nDefault when there are none (a tool that
    // makes documents, a test of the estimate without an application).
    static int CurrentProfileInt(const char* lpszSection, const char* lpszKey, int nDefault);
    // The rows of an estimate's page: "Input Setting"/"Rows in a page" of the current
    // settings (DEFAULT_ROWS_PER_PAGE without them or the key); a value below 1 counts as 25.
    enum { DEFAULT_ROWS_PER_PAGE = 18 };
    static int ReadRowsPerPage();
    // Makes the work folder ("Work Field") of the settings, the current ones unless others
    // are named, the process's current folder, as the commands that begin in it expect.
    // Without settings there is no work folder to go to and nothing changes.
    static void SetWorkFolderAsCurrent(const CMorvelSettings* pSettings = GetCurrent());

    // The profile functions, as the framework's application class offers them. (The
    // application class has its own of the same names; the derived application object
    // picks these with using-declarations.)
    UINT GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) const;
    CString GetProfileString(const char* lpszSection, const char* lpszEntry,
                             const char* lpszDefault = nullptr) const;
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue);
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue);

    // The folder of a "Path Setting" key followed by one backslash, always: a value
    // ending in a backslash gives two, a missing value "\" alone.
    CString GetPathSetting(const char* lpszKey) const;
    void WritePathSetting(const char* lpszKey, const char* lpszValue);
    // Makes every folder the "Path Setting" keys name that is missing, each with all its
    // missing levels, as the path page does when it is applied (keys without a value are
    // left alone). A folder that cannot be made is left as it is: whoever needs it finds
    // it missing and says so.
    void MakePathFolders() const;
    // The message for a folder that cannot be made, naming it as the user's system writes
    // it: "ﾌｫﾙﾀﾞ "/home/..." を作成できません。".
    static CString FolderNotMadeText(const char* lpszFolder);
    // The text of a key, empty when missing.
    CString GetProfileValue(const char* lpszSection, const char* lpszKey) const;
    // TRUE when "Dialog"/"FileDialog" does not sort before "RemoveBackSlash" (compared
    // without regard to case): equal to it, or any word after it. Missing or empty is
    // FALSE. The file dialogs then drop the start folder's trailing backslash.
    BOOL IsRemoveBackSlash() const;

    // Reads "Height" into the font; when it is 0 nothing else is read and the font keeps
    // its other fields. Otherwise the other keys (CharSet default 1, FaceName "System"
    // cut to at most 31 bytes, the rest 0).
    void ReadFontSetting(const char* lpszSection, LOGFONT& lf) const;
    void ReadFontSetting(const char* lpszSection, LOGFONT* pLogFont) const
    {
        ReadFontSetting(lpszSection, *pLogFont);
    }
    // Writes every key of the font; a font of height 0 writes nothing.
    void WriteFontSetting(const char* lpszSection, const LOGFONT& lf);
    void WriteFontSetting(const char* lpszSection, const LOGFONT* pLogFont)
    {
        WriteFontSetting(lpszSection, *pLogFont);
    }

    // The twelve row-kind fonts, read in the start-up order (tax, kind, large, middle,
    // small, sum, sort, discount, detail, step, part, non-calculated). A non-calculated
    // font without a height becomes a copy of the detail font.
    void ReadRowFonts();

    // The print font, the five print colours and the print switches.
    void ReadColorSettings();
    void WriteColorSettings();
    // "Tax", "Direction", "Round-off", "Backup File", "Round Mode" of "Input Setting".
    void ReadInputSettings();
    void WriteInputSettings();
    // The three names of "Form File Name Setting" (estimation, information, parts).
    void ReadFormFileNames();
    void WriteFormFileNames();

    // Colours as the settings file keeps them, "%d,%d,%d" (red, green, blue). Parsing
    // keeps the low 8 bits of each number; FALSE when the text does not hold three.
    static CString FormatColor(COLORREF color);
    static BOOL ParseColor(const char* lpszText, COLORREF& color);

    // Input settings.
    int m_nTax;        // tax rate in percent
    int m_nRoundOff;   // round-off
    int m_nBackupFile; // 0: make backup copies before rewriting masters and forms
    int m_nRoundMode;  // tax rounding: 0 up, 1 down, 2 half up, 3 as the estimation form
    int m_nDirection;  // cursor move after input: 0 stay, 1 right, 2 down

    // The row-kind fonts, indexed by RowFont.
    LOGFONT m_lfRowFont[ROW_FONT_COUNT];

    // Print font, colours and switches.
    LOGFONT m_lfPrintFont;
    COLORREF m_clrPrintFont;
    COLORREF m_clrPaper;
    COLORREF m_clrFill;
    COLORREF m_clrFillBackground;
    COLORREF m_clrBorder;
    int m_nIsFill;
    int m_nBorderStyle;
    int m_nFillMode;
    int m_nDataAlign;
    int m_nDataFont;
    int m_nDataColor;
    int m_nMinus;
    int m_nPrintColor;
    int m_nSpaceSetting;
    int m_nNonPrintZeroSuryo; // drop zero-quantity rows from printed estimates
    // Remembered by the print-layout selection pages while the program runs; never
    // stored in the settings file.
    int m_nPrintFormSelect;

    // Section and key names.
    CString m_strPrintFontSection;            // "Print Font Setting"
    CString m_strFontSection[ROW_FONT_COUNT]; // "Kind Font Setting", ... by RowFont
    CString m_strFontKey[FONT_KEY_COUNT];     // "Height", ... by FontKey
    CString m_strDefaultFaceName;             // "System"
    CString m_strFormFileNameSection;         // "Form File Name Setting"
    CString m_strEstimationFormKey;           // "Estimation Form Name"
    CString m_strInformationFormKey;          // "Information Form Name"
    CString m_strPartFormKey;                 // "Part Form Name"

    // The three form file names (bare names after start-up; the folder comes from the
    // path keys).
    CString m_strPartFormFile;
    CString m_strEstimationFormFile;
    CString m_strInformationFormFile;

protected:
    CProfileFile& m_profile;

private:
    COLORREF ReadColor(const char* lpszKey, COLORREF defaultColor) const;
    void WriteColor(const char* lpszKey, COLORREF color);
};
