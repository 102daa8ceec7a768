// The main frame's two tool bars: 121 (the main tool bar, whose button 17 is the place of the
// zoom box) and 129 ("ﾓﾙﾍﾞﾙﾊﾞｰ"). The pictures are drawn by tools/make_images in the order of
// the buttons, separators left out.
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"

#include "platform/ui/core/Resources.h"

namespace {

CToolBarResource MakeMainToolBar()
{
    CToolBarResource bar;
    bar.cx = 16;
    bar.cy = 15;
    bar.image = GetEmbeddedImage("toolbar_main.png");
    bar.buttons = {
        ID_FILE_NEW,           //  0
        ID_FILE_OPEN,          //  1
        ID_FILE_SAVE,          //  2
        ID_SEPARATOR,          //  3
        ID_EDIT_CUT,           //  4
        ID_EDIT_COPY,          //  5
        ID_EDIT_PASTE,         //  6
        ID_SEPARATOR,          //  7
        ID_EDIT_UNDO,          //  8
        ID_EDIT_REDO,          //  9
        ID_SEPARATOR,          // 10
        ID_FILE_PRINT,         // 11
        ID_FILE_PRINT_PREVIEW, // 12
        ID_SEPARATOR,          // 13
        ID_EDIT_FIND_DLG,      // 14
        ID_EDIT_REPLACE_DLG,   // 15
        ID_SEPARATOR,          // 16
        ID_ZOOM_USER,          // 17: becomes the zoom box
        ID_SEPARATOR,          // 18
        ID_APP_ABOUT,          // 19
    };
    return bar;
}

CToolBarResource MakeMorvelBar()
{
    CToolBarResource bar;
    bar.cx = 16;
    bar.cy = 15;
    bar.image = GetEmbeddedImage("toolbar_morvel.png");
    bar.buttons = {
        ID_ENVIRONMENT,  // 環境設定
        ID_INTRODUCTION, // 導入処理
        ID_SEPARATOR,
        ID_INFORMATION_INPUT, // 情報入力
        ID_SUMMARY_TABLE,     // 集計表
        ID_RECALCULATE,       // 再計算
        ID_SEPARATOR,
        ID_PRINT_FORM_SELECT, // 印刷形式選択
        ID_SEPARATOR,
        ID_IMPORT_OTHER, // その他のデータ読込
        ID_DOS_CONVERT,  // DOS版データ変換
    };
    return bar;
}

} // namespace

void RegisterMorvelToolBars()
{
    RegisterToolBarResource(IDR_MAINFRAME, MakeMainToolBar());
    RegisterToolBarResource(IDR_MORVELBAR, MakeMorvelBar());
}
