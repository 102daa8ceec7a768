// Font mapping: the face names the system stores ("ＭＳ 明朝", "ＭＳ Ｐゴシック", "System", ...)
// stand for the installed Japanese families, and a LOGFONT becomes a Qt font sized by the
// height rules the stored heights were written for.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <string>
#include <vector>

class QFont;

class CFontMapper {
public:
    // The installed family (UTF-8) that draws a stored face name (code page 932 bytes):
    // the Windows Japanese faces map to the IPA families, a family the font database has
    // is used as it is, and anything else becomes the proportional gothic.
    static std::string FamilyForFace(const char* faceName);

    // A font for widgets on the 96 dpi screen. lfHeight follows the LOGFONT rules in
    // pixels (negative: character height, positive: cell height, 0: the default size).
    static QFont WidgetFont(const LOGFONT& lf);
    // The same from a face name and a size in points (dialog templates: "ＭＳ Ｐゴシック", 9).
    static QFont WidgetFont(const char* faceName, int pointSize, LONG weight = FW_NORMAL,
                            bool italic = false);

    // Face names (code page 932) of the installed families that cover Japanese text,
    // sorted, each once. The Windows faces that map to an installed family come first,
    // so that layouts made here keep the names the other edition knows.
    static std::vector<CString> JapaneseFaceNames();
};
