#include "resources/PrintFormEditorResources.h"

#include "platform/base/CString.h"
#include "platform/ui/core/Resources.h"
#include "resources/ChildFrameIds.h"
#include "resources/LayoutCommandIds.h"
#include "resources/PrintFormIds.h"
#include "resources/ResourceIds.h"

#include <list>
#include <string>
#include <utility>
#include <vector>

namespace {

using Items = std::vector<CMenuResourceItem>;

// 125 and 126: the layout windows' menu.
Items MakeLayoutMenu()
{
    return {
        MenuPopup("ﾌｧｲﾙ(&F)"_sj,
                  {
                      MenuItem("新規作成(&N)\tCtrl+N"_sj, ID_FILE_NEW),
                      MenuItem("開く(&O)...\tCtrl+O"_sj, ID_FILE_OPEN),
                      MenuItem("閉じる(&C)"_sj, ID_FILE_CLOSE),
                      MenuItem("上書き保存(&S)\tCtrl+S"_sj, ID_FILE_SAVE),
                      MenuItem("名前を付けて保存(&A)..."_sj, ID_FILE_SAVE_AS),
                      MenuSeparator(),
                      MenuItem("ﾌﾟﾘﾝﾀの設定(&R)..."_sj, ID_FILE_PRINT_SETUP),
                      MenuSeparator(),
                      MenuItem("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"_sj, ID_APP_EXIT),
                  }),
        MenuPopup("編集(&E)"_sj,
                  {
                      MenuItem("元に戻す(&U)\tCtrl+Z"_sj, ID_EDIT_UNDO),
                      MenuItem("やり直し(&R)\tCtrl+Y"_sj, ID_EDIT_REDO),
                      MenuSeparator(),
                      MenuItem("切り取り(&T)\tCtrl+X"_sj, ID_EDIT_CUT),
                      MenuItem("ｺﾋﾟｰ(&C)\tCtrl+C"_sj, ID_EDIT_COPY),
                      MenuItem("貼り付け(&P)\tCtrl+V"_sj, ID_EDIT_PASTE),
                      MenuItem("ｸﾘｱ(&A)\tDel"_sj, ID_EDIT_CLEAR),
                      MenuItem("すべてを選択(&L)\tCtrl+A"_sj, ID_EDIT_SELECT_ALL),
                      MenuSeparator(),
                      MenuItem("ｵﾌﾞｼﾞｪｸﾄ(&N).."_sj, ID_INSERT_OBJECT),
                      MenuItem("ﾌﾟﾛﾊﾟﾃｨ(&I)...\tAlt+Enter"_sj, ID_EDIT_PROPERTIES),
                      MenuSeparator(),
                      MenuItem("使用形式変更(&K)"_sj, ID_CHANGE_FORM),
                  }),
        MenuPopup("表示(&V)"_sj,
                  {
                      MenuItem("ﾂｰﾙﾊﾞｰ(&T)"_sj, ID_VIEW_TOOLBAR),
                      MenuItem("印刷ﾂｰﾙﾊﾞｰ(&N)"_sj, ID_VIEW_PRINT_TOOLBAR),
                      MenuItem("印刷編集ﾊﾞｰ(&E)"_sj, ID_VIEW_PRINT_EDITBAR),
                      MenuSeparator(),
                      MenuPopup("ｽﾞｰﾑ(&Z)"_sj,
                                {
                                    MenuItem("25%(&1)"_sj, ID_ZOOM_25),
                                    MenuItem("50%(&2)"_sj, ID_ZOOM_50),
                                    MenuItem("75%(&3)"_sj, ID_ZOOM_75),
                                    MenuItem("100%(&4)"_sj, ID_ZOOM_100),
                                    MenuItem("150%(&5)"_sj, ID_ZOOM_150),
                                    MenuItem("200%(&6)"_sj, ID_ZOOM_200),
                                    MenuItem("ﾕｰｻﾞ ｰ指定(&7)..."_sj, ID_ZOOM_USER),
                                }),
                      MenuItem("ｸﾞﾘｯﾄﾞの表示"_sj, ID_VIEW_GRID),
                      MenuItem("印字限界線表示"_sj, ID_VIEW_PRINT_LIMIT),
                      MenuItem("ｸﾞﾘｯﾄﾞ幅指定(&G)..."_sj, ID_GRID_WIDTH),
                      MenuItem("ｵﾌﾞｼﾞｪｸﾄ枠表示(&O)"_sj, ID_OBJECT_FRAMES),
                      MenuSeparator(),
                      MenuItem("再表示(&R)"_sj, ID_REDISPLAY),
                  }),
        MenuPopup("描画(&D)"_sj,
                  {
                      MenuItem("要素選択(&S)"_sj, ID_DRAW_SELECT),
                      MenuItem("文字(&T)"_sj, ID_DRAW_TEXT),
                      MenuItem("矩形(&R)"_sj, ID_DRAW_RECT),
                      MenuItem("表(&A)"_sj, ID_DRAW_TABLE),
                      MenuItem("直線(&L)"_sj, ID_DRAW_LINE),
                      MenuSeparator(),
                      MenuItem("線追加"_sj, ID_TABLE_LINE_ADD),
                      MenuItem("線削除"_sj, ID_TABLE_LINE_DELETE),
                  }),
        MenuPopup("書式(&O)"_sj,
                  {
                      MenuItem("最前面へ移動(&O)"_sj, ID_OBJECT_TO_FRONT),
                      MenuItem("最背面へ移動(&K)"_sj, ID_OBJECT_TO_BACK),
                      MenuItem("前面へ移動(&F)\t+"_sj, ID_OBJECT_FORWARD),
                      MenuItem("背面へ移動(&C)\t-"_sj, ID_OBJECT_BACK),
                      MenuSeparator(),
                      MenuItem("左揃え（&L）"_sj, ID_ALIGN_LEFT),
                      MenuItem("右揃え（&R）"_sj, ID_ALIGN_RIGHT),
                      MenuItem("上揃え（&T）"_sj, ID_ALIGN_TOP),
                      MenuItem("下揃え（&B）"_sj, ID_ALIGN_BOTTOM),
                      MenuItem("行間指定(&I)"_sj, ID_LINE_SPACING),
                      MenuItem("自動表示枠調整(&S)\tF7"_sj, ID_FIT_TO_TEXT),
                      MenuSeparator(),
                      MenuItem("罫線(&L)..."_sj, ID_DRAW_BORDER),
                      MenuItem("網かけ(&F)..."_sj, ID_DRAW_FILL),
                      MenuItem("要素幅調整"_sj, ID_TABLE_ITEM_WIDTH),
                      MenuItem("行高さ調整"_sj, ID_TABLE_ROW_HEIGHT),
                      MenuSeparator(),
                      MenuItem("左詰め(&L)"_sj, ID_TEXT_ALIGN_LEFT),
                      MenuItem("中央揃え(&C)"_sj, ID_TEXT_ALIGN_CENTER),
                      MenuItem("右詰め(&R)"_sj, ID_TEXT_ALIGN_RIGHT),
                      MenuItem("太字"_sj, ID_TEXT_BOLD),
                      MenuItem("斜体"_sj, ID_TEXT_ITALIC),
                      MenuItem("下線"_sj, ID_TEXT_UNDERLINE),
                      MenuItem("文字色"_sj, ID_TEXT_COLOR),
                      MenuSeparator(),
                      MenuItem("ﾍﾟｰｼﾞのｶﾗｰ(&P)..."_sj, ID_PAGE_COLOR),
                  }),
        MenuPopup("ｳｨﾝﾄﾞｳ(&W)"_sj,
                  {
                      MenuItem("重ねて表示(&C)"_sj, ID_WINDOW_CASCADE),
                      MenuItem("並べて表示(&T)"_sj, ID_WINDOW_TILE_HORZ),
                      MenuItem("ｱｲｺﾝの整列(&A)"_sj, ID_WINDOW_ARRANGE),
                  }),
        MenuPopup("ﾍﾙﾌﾟ(&H)"_sj,
                  {
                      MenuItem("ﾄﾋﾟｯｸの検索(&H)"_sj, ID_HELP_FINDER),
                      MenuSeparator(),
                      MenuItem("ﾊﾞｰｼﾞｮﾝ情報((&A)..."_sj, ID_APP_ABOUT),
                  }),
    };
}

// 198: the context menu of the layout view.
Items MakeContextMenu()
{
    return {
        MenuPopup("ｺﾝﾃｷｽﾄ"_sj,
                  {
                      MenuItem("切り取り"_sj, ID_EDIT_CUT),
                      MenuItem("ｺﾋﾟｰ"_sj, ID_EDIT_COPY),
                      MenuItem("貼り付け"_sj, ID_EDIT_PASTE),
                      MenuItem("ｸﾘｱ"_sj, ID_EDIT_CLEAR),
                      MenuSeparator(),
                      MenuPopup("要素調整"_sj,
                                {
                                    MenuItem("左揃え"_sj, ID_ALIGN_LEFT),
                                    MenuItem("右揃え"_sj, ID_ALIGN_RIGHT),
                                    MenuItem("上揃え"_sj, ID_ALIGN_TOP),
                                    MenuItem("下揃え"_sj, ID_ALIGN_BOTTOM),
                                    MenuSeparator(),
                                    MenuItem("最前面へ移動"_sj, ID_OBJECT_TO_FRONT),
                                    MenuItem("最背面へ移動"_sj, ID_OBJECT_TO_BACK),
                                    MenuItem("前面へ移動"_sj, ID_OBJECT_FORWARD),
                                    MenuItem("背面へ移動"_sj, ID_OBJECT_BACK),
                                    MenuSeparator(),
                                    MenuItem("行間指定"_sj, ID_LINE_SPACING),
                                }),
                      MenuPopup("文字調整"_sj,
                                {
                                    MenuItem("左詰め"_sj, ID_TEXT_ALIGN_LEFT),
                                    MenuItem("中央揃え"_sj, ID_TEXT_ALIGN_CENTER),
                                    MenuItem("右詰め"_sj, ID_TEXT_ALIGN_RIGHT),
                                    MenuSeparator(),
                                    MenuItem("自動表示枠調整"_sj, ID_FIT_TO_TEXT),
                                }),
                      MenuSeparator(),
                      MenuItem("罫線..."_sj, ID_DRAW_BORDER),
                      MenuItem("網かけ..."_sj, ID_DRAW_FILL),
                      MenuSeparator(),
                      MenuItem("ﾌﾟﾛﾊﾟﾃｨ"_sj, ID_EDIT_PROPERTIES),
                  }),
    };
}

// The prompts of the print bars' buttons; after the "\n" their tool tips.
std::vector<std::pair<UINT, CString>> MakeStrings()
{
    return {
        {ID_DRAW_SELECT, "要素を選択、移動、大きさ変更します\n要素選択"_sj},
        {ID_DRAW_TEXT, "文字を配置します\n文字"_sj},
        {ID_DRAW_TABLE, "表を作成します\n表"_sj},
        {ID_DRAW_RECT, "矩形を描きます\n矩形"_sj},
        {ID_DRAW_LINE, "直線を描きます\n直線"_sj},
        {ID_TABLE_LINE_ADD, "表に罫線を追加してセルを分割します\n線追加"_sj},
        {ID_TABLE_LINE_DELETE, "表の罫線を削除してセルを結合します\n線削除"_sj},
        {ID_VIEW_PRINT_LIMIT, "印字できる範囲の枠を表示します\n印字限界線表示"_sj},
        {ID_VIEW_GRID, "グリッドを表示します\nｸﾞﾘｯﾄﾞの表示"_sj},
        {ID_TABLE_ROW_HEIGHT, "選択したセルの行の高さを揃えます\n行高さ調整"_sj},
        {ID_TABLE_ITEM_WIDTH, "選択した要素の幅を揃えます\n要素幅調整"_sj},
        {ID_DRAW_BORDER, "罫線を設定します\n罫線"_sj},
        {ID_DRAW_FILL, "網かけを設定します\n網かけ"_sj},
        {IDC_LINE_STYLE, "追加する罫線の線種を選びます\n罫線種類"_sj},
        {IDC_FILL_PATTERN, "網かけの模様を選びます\n網かけ種類"_sj},
        {IDC_FONT_NAME, "文字のﾌｫﾝﾄを選びます\nﾌｫﾝﾄ名"_sj},
        {IDC_FONT_SIZE, "文字の大きさを選びます\nﾌｫﾝﾄｻｲｽﾞ"_sj},
        {ID_TEXT_BOLD, "文字を太字にします\n太字"_sj},
        {ID_TEXT_ITALIC, "文字を斜体にします\n斜体"_sj},
        {ID_TEXT_UNDERLINE, "文字に下線を引きます\n下線"_sj},
        {ID_TEXT_COLOR, "文字の色を設定します\n文字色"_sj},
        {ID_PAPER_ALIGN_LEFT, "要素を用紙の左端に揃えます\n用紙左端揃え"_sj},
        {ID_PAPER_ALIGN_CENTER, "要素を用紙の中央に揃えます\n用紙中央揃え"_sj},
        {ID_PAPER_ALIGN_RIGHT, "要素を用紙の右端に揃えます\n用紙右端揃え"_sj},
        {ID_TEXT_ALIGN_LEFT, "文字を左詰めにします\n左詰め"_sj},
        {ID_TEXT_ALIGN_CENTER, "文字を中央に揃えます\n中央揃え"_sj},
        {ID_TEXT_ALIGN_RIGHT, "文字を右詰めにします\n右詰め"_sj},
        {ID_ALIGN_LEFT, "要素の左端を揃えます\n左揃え"_sj},
        {ID_ALIGN_RIGHT, "要素の右端を揃えます\n右揃え"_sj},
        {ID_ALIGN_TOP, "要素の上端を揃えます\n上揃え"_sj},
        {ID_ALIGN_BOTTOM, "要素の下端を揃えます\n下揃え"_sj},
        {ID_LINE_SPACING, "要素の行間を指定します\n行間指定"_sj},
        {ID_VIEW_PRINT_TOOLBAR, "印刷ﾂｰﾙﾊﾞｰの表示/非表示を切り替えます\n印刷ﾂｰﾙﾊﾞｰ"_sj},
        {ID_VIEW_PRINT_EDITBAR, "印刷編集ﾊﾞｰの表示/非表示を切り替えます\n印刷編集ﾊﾞｰ"_sj},
    };
}

// A 32 x 32 cursor drawn by a function of the pixel: '.' black, '+' white, ' ' clear.
template <class Pixel>
CImageResource MakeCursor(Pixel pixel)
{
    // The picture is read when the cursor is first loaded: its lines live for the program.
    static std::list<std::vector<std::string>> s_pictures;
    static std::list<std::vector<const char*>> s_lines;
    std::vector<std::string>& rows = s_pictures.emplace_back();
    rows.push_back("32 32 3 1");
    rows.push_back("  c None");
    rows.push_back(". c #000000");
    rows.push_back("+ c #FFFFFF");
    for (int y = 0; y < 32; ++y) {
        std::string row;
        for (int x = 0; x < 32; ++x)
            row += pixel(x, y);
        rows.push_back(row);
    }
    std::vector<const char*>& lines = s_lines.emplace_back();
    for (const std::string& r : rows)
        lines.push_back(r.c_str());
    return ImageFromXpm(lines.data());
}

int Abs(int v)
{
    return v < 0 ? -v : v;
}

// A double bar across the centre with an arrow each side (vertical bar when bVertical).
char DoubleBar(int x, int y, bool bVertical)
{
    const int a = bVertical ? x : y; // across the bar
    const int b = bVertical ? y : x; // along the bar
    if ((a == 14 || a == 17) && b >= 8 && b <= 23)
        return '.';
    if ((a == 13 || a == 18 || a == 15 || a == 16) && b >= 8 && b <= 23)
        return '+';
    if (b == 16 && (a < 13 || a > 18) && a >= 4 && a <= 27)
        return '.';
    if (Abs(b - 16) <= 4 - Abs(a < 16 ? a - 4 : a - 27) && (a <= 8 || a >= 23))
        return '.';
    return ' ';
}

char Arrow(int x, int y, bool bDown)
{
    const int a = bDown ? x : y; // across
    const int b = bDown ? y : x; // along
    if (b >= 6 && b <= 18 && Abs(a - 16) <= 2)
        return '.';
    if (b > 18 && b <= 26 && Abs(a - 16) <= 26 - b)
        return '.';
    return ' ';
}

char FourWay(int x, int y)
{
    if ((Abs(x - 16) <= 0 && y >= 4 && y <= 28) || (Abs(y - 16) <= 0 && x >= 4 && x <= 28))
        return '.';
    if ((y < 9 || y > 23) && Abs(x - 16) <= (y < 9 ? y - 4 : 28 - y))
        return '.';
    if ((x < 9 || x > 23) && Abs(y - 16) <= (x < 9 ? x - 4 : 28 - x))
        return '.';
    return ' ';
}

char Cross(int x, int y, char mark)
{
    if ((x == 16 && y >= 6 && y <= 26) || (y == 16 && x >= 6 && x <= 26))
        return '.';
    // A small sign at the lower right: '+' adds, 'x' deletes.
    const int cx = 25, cy = 25;
    if (mark == '+' && ((x == cx && Abs(y - cy) <= 3) || (y == cy && Abs(x - cx) <= 3)))
        return '.';
    if (mark == 'x' && Abs(x - cx) <= 3 && (x - cx == y - cy || x - cx == cy - y))
        return '.';
    return ' ';
}

ACCEL Accel(BYTE fVirt, UINT key, UINT cmd)
{
    return ACCEL{fVirt, static_cast<WORD>(key), static_cast<WORD>(cmd)};
}

// Tried first while a layout window is active.
std::vector<ACCEL> LayoutAccelerators()
{
    constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
    constexpr BYTE kPlain = FVIRTKEY;
    return {
        Accel(kCtrl, 'Z', ID_EDIT_UNDO),
        Accel(kCtrl, 'Y', ID_EDIT_REDO),
        Accel(kPlain, VK_ESCAPE, ID_EDITOR_CANCEL),
        Accel(kCtrl, 'X', ID_EDIT_CUT),
        Accel(kCtrl, 'C', ID_EDIT_COPY),
        Accel(kCtrl, 'V', ID_EDIT_PASTE),
        Accel(kCtrl, 'A', ID_EDIT_SELECT_ALL),
        Accel(kPlain, VK_DELETE, ID_EDIT_CLEAR),
        Accel(FVIRTKEY | FALT, VK_RETURN, ID_EDIT_PROPERTIES),
        Accel(kPlain, VK_F7, ID_FIT_TO_TEXT),
        Accel(kPlain, VK_ADD, ID_OBJECT_FORWARD),
        Accel(kPlain, VK_SUBTRACT, ID_OBJECT_BACK),
    };
}

} // namespace

void RegisterPrintFormEditorResources()
{
    static const bool s_registered = [] {
        RegisterMenuResource(125, MakeLayoutMenu);
        RegisterMenuResource(126, MakeLayoutMenu);
        RegisterMenuResource(IDR_EDITOR_CONTEXT_MENU, MakeContextMenu);
        RegisterStringTable(MakeStrings);
        RegisterAcceleratorResource(125, LayoutAccelerators());
        RegisterAcceleratorResource(126, LayoutAccelerators());
        RegisterCursorResource(173, MakeCursor([](int x, int y) { return DoubleBar(x, y, true); }), 16, 16);
        RegisterCursorResource(174, MakeCursor([](int x, int y) { return DoubleBar(x, y, false); }), 16, 16);
        RegisterCursorResource(267, MakeCursor([](int x, int y) { return Arrow(x, y, true); }), 16, 16);
        RegisterCursorResource(269, MakeCursor([](int x, int y) { return Arrow(x, y, false); }), 16, 16);
        RegisterCursorResource(273, MakeCursor([](int x, int y) { return FourWay(x, y); }), 16, 16);
        RegisterCursorResource(192, MakeCursor([](int x, int y) { return Cross(x, y, '+'); }), 16, 16);
        RegisterCursorResource(193, MakeCursor([](int x, int y) { return Cross(x, y, 'x'); }), 16, 16);
        return true;
    }();
    (void)s_registered;
}
