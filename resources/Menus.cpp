// The menu bars: 121 while no document is open, 123 for estimates and 124 for parts lists.
//
// Each document menu carries every command its windows handle, so that later windows only
// add handlers. Commands that are not handled yet by the active window show disabled, as the
// command update pass leaves an item without a handler.
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"

#include "platform/base/CString.h"
#include "platform/ui/core/Resources.h"

namespace {

using Items = std::vector<CMenuResourceItem>;

// The items every menu's File menu ends with: the recent files and the exit command.
Items RecentFilesAndExit()
{
    return {
        MenuItem("最近使ったﾌｧｲﾙ"_sj, ID_FILE_MRU_FILE1, MF_GRAYED),
        MenuSeparator(),
        MenuItem("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"_sj, ID_APP_EXIT),
    };
}

// Conversion of other programs' data: the DOS edition and the outside estimating packages.
CMenuResourceItem DataConversionPopup()
{
    return MenuPopup("ﾃﾞｰﾀ変換(&D)"_sj, {
                                            MenuItem("DOS版MORVEL(&D)"_sj, ID_DOS_CONVERT),
                                            MenuItem("その他(&V)"_sj, ID_IMPORT_OTHER),
                                        });
}

// The environment sheet and the import (introduction) sheet.
Items SettingsItems()
{
    return {
        MenuItem("環境設定(&E)..."_sj, ID_ENVIRONMENT),
        MenuItem("導入処理(&I)..."_sj, ID_INTRODUCTION),
    };
}

CMenuResourceItem SettingsPopup()
{
    return MenuPopup("設定(&S)"_sj, SettingsItems());
}

CMenuResourceItem ZoomPopup()
{
    return MenuPopup("ｽﾞｰﾑ(&Z)"_sj, {
                                        MenuItem("25%(&1)"_sj, ID_ZOOM_25),
                                        MenuItem("50%(&2)"_sj, ID_ZOOM_50),
                                        MenuItem("75%(&3)"_sj, ID_ZOOM_75),
                                        MenuItem("100%(&4)"_sj, ID_ZOOM_100),
                                        MenuItem("150%(&5)"_sj, ID_ZOOM_150),
                                        MenuItem("200%(&6)"_sj, ID_ZOOM_200),
                                        MenuItem("ﾕｰｻﾞ ｰ指定(&7)..."_sj, ID_ZOOM_USER),
                                    });
}

CMenuResourceItem WindowPopup()
{
    return MenuPopup("ｳｨﾝﾄﾞｳ(&W)"_sj, {
                                          MenuItem("重ねて表示(&C)"_sj, ID_WINDOW_CASCADE),
                                          MenuItem("並べて表示(&T)"_sj, ID_WINDOW_TILE_HORZ),
                                          MenuItem("ｱｲｺﾝの整列(&A)"_sj, ID_WINDOW_ARRANGE),
                                      });
}

CMenuResourceItem HelpPopup()
{
    return MenuPopup("ﾍﾙﾌﾟ(&H)"_sj, {
                                        MenuItem("ﾄﾋﾟｯｸの検索(&H)"_sj, ID_HELP_FINDER),
                                        MenuSeparator(),
                                        MenuItem("ﾊﾞｰｼﾞｮﾝ情報((&A)..."_sj, ID_APP_ABOUT),
                                    });
}

// The print commands of a document window.
Items PrintItems()
{
    return {
        MenuItem("印刷形式選択(&P)"_sj, ID_PRINT_FORM_SELECT),
        MenuItem("印刷(&P)...\tCtrl+P"_sj, ID_FILE_PRINT),
        MenuItem("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"_sj, ID_FILE_PRINT_PREVIEW),
        MenuItem("ﾌﾟﾘﾝﾀの設定(&R)..."_sj, ID_FILE_PRINT_SETUP),
    };
}

Items Concat(std::initializer_list<Items> parts)
{
    Items all;
    for (const Items& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The file commands of a document window, up to its own additions.
Items DocumentFileItems()
{
    return {
        MenuItem("新規作成(&N)\tCtrl+N"_sj, ID_FILE_NEW),
        MenuItem("開く(&O)...\tCtrl+O"_sj, ID_FILE_OPEN),
        MenuItem("閉じる(&C)"_sj, ID_FILE_CLOSE),
        MenuItem("上書き保存(&S)\tCtrl+S"_sj, ID_FILE_SAVE),
        MenuItem("名前を付けて保存(&A)..."_sj, ID_FILE_SAVE_AS),
        MenuSeparator(),
        MenuItem("他形式ﾌｧｲﾙ読込"_sj, ID_READ_OTHER_FORM),
        MenuPopup("ﾃｷｽﾄ入出力(&T)"_sj,
                  {
                      MenuItem("出力(&O)"_sj, ID_TEXT_OUTPUT),
                      MenuItem("入力(&I)"_sj, ID_TEXT_INPUT),
                  }),
    };
}

// The undo, clipboard and find commands of a document window's Edit menu.
Items EditItems()
{
    return {
        MenuItem("元に戻す(&U)\tCtrl+Z"_sj, ID_EDIT_UNDO),
        MenuItem("やり直し(&R)\tCtrl+Y"_sj, ID_EDIT_REDO),
        MenuSeparator(),
        MenuItem("切り取り(&T)\tCtrl+X"_sj, ID_EDIT_CUT),
        MenuItem("ｺﾋﾟｰ(&C)\tCtrl+C"_sj, ID_EDIT_COPY),
        MenuItem("貼り付け(&P)\tCtrl+V"_sj, ID_EDIT_PASTE),
        MenuSeparator(),
        MenuItem("検索(&F) ...\tCtrl+F"_sj, ID_EDIT_FIND_DLG),
        MenuItem("置換(&E)...\tCtrl+H"_sj, ID_EDIT_REPLACE_DLG),
    };
}

// The range calculations, the fixed-rate change, the row memory and sorting, which both
// grids offer on their Tools menu.
Items RowToolItems()
{
    return {
        MenuPopup("範囲計算(&A)"_sj,
                  {
                      MenuItem("加算(&P)"_sj, ID_RANGE_ADD),
                      MenuItem("ｾｯﾄ(&S)"_sj, ID_RANGE_SET),
                      MenuItem("ｸﾘｱ(&C)"_sj, ID_RANGE_CLEAR),
                  }),
        MenuItem("定率変更(&H)"_sj, ID_RATE_CHANGE),
        MenuPopup("行記憶.．ｼﾞｬﾝﾌﾟ(&L)"_sj,
                  {
                      MenuItem("記憶(&M)"_sj, ID_ROW_REMEMBER),
                      MenuItem("ｼﾞｬﾝﾌﾟ(&J)"_sj, ID_ROW_JUMP),
                      MenuItem("解除(&U)"_sj, ID_ROW_RELEASE),
                  }),
        MenuItem("並べ替え"_sj, ID_SORT),
    };
}

// 121: the main frame's menu while no document is open.
Items MakeFrameMenu()
{
    return {
        MenuPopup("ﾌｧｲﾙ(&F)"_sj, Concat({{
                                             MenuItem("新規作成(&N)\tCtrl+N"_sj, ID_FILE_NEW),
                                             MenuItem("開く(&O)...\tCtrl+O"_sj, ID_FILE_OPEN),
                                             MenuSeparator(),
                                             DataConversionPopup(),
                                             MenuSeparator(),
                                             MenuItem("ﾌﾟﾘﾝﾀの設定(&R)..."_sj, ID_FILE_PRINT_SETUP),
                                             MenuSeparator(),
                                         },
                                         RecentFilesAndExit()})),
        MenuPopup("表示(&V)"_sj,
                  {
                      MenuItem("ﾂｰﾙﾊﾞｰ(&T)"_sj, ID_VIEW_TOOLBAR),
                      MenuItem("ﾓﾙﾍﾞﾙﾊﾞｰ(&F)"_sj, ID_VIEW_MORVELBAR),
                  }),
        SettingsPopup(),
        HelpPopup(),
    };
}

// 123: the estimate window's menu.
Items MakeEstimateMenu()
{
    return {
        MenuPopup("ﾌｧｲﾙ(&F)"_sj,
                  Concat({DocumentFileItems(),
                          {
                              MenuPopup("連携ﾃﾞｰﾀ出力(&E)"_sj,
                                        {
                                            MenuItem("築匠録連携データ(&T)"_sj, ID_EXPORT_M2K),
                                            MenuItem("ノルン工事帳連携データ(&L)"_sj, ID_EXPORT_M2N),
                                        }),
                              DataConversionPopup(),
                              MenuSeparator(),
                          },
                          PrintItems(),
                          {MenuSeparator()},
                          RecentFilesAndExit()})),
        MenuPopup("編集(&E)"_sj, Concat({EditItems(),
                                         {
                                             MenuSeparator(),
                                             MenuItem("行挿入"_sj, ID_ROW_INSERT),
                                             MenuItem("行削除"_sj, ID_ROW_DELETE),
                                             MenuItem("行ｸﾘｱ"_sj, ID_ROW_CLEAR),
                                             MenuItem("項目ｸﾘｱ(&K)"_sj, ID_ITEM_CLEAR),
                                             MenuSeparator(),
                                             MenuItem("見積書ｸﾘｱ(&C)"_sj, ID_ESTIMATE_CLEAR),
                                         }})),
        MenuPopup("入力(&N)"_sj,
                  {
                      MenuItem("情報入力(&I)"_sj, ID_INFORMATION_INPUT),
                      MenuSeparator(),
                      MenuItem("種目入力(&Y)"_sj, ID_KIND_INPUT),
                      MenuItem("大科目選択"_sj, ID_PICK_LARGE),
                      MenuItem("中科目選択"_sj, ID_PICK_MIDDLE),
                      MenuItem("小科目選択"_sj, ID_PICK_SMALL),
                      MenuItem("単位"_sj, ID_UNIT),
                      MenuSeparator(),
                      MenuItem("値引入力(&D)"_sj, ID_DISCOUNT_INPUT),
                      MenuItem("歩掛設定(&I)"_sj, ID_STEP_SETTING),
                      MenuItem("分類合計設定(&C)"_sj, ID_CLASSIFY_TOTAL),
                      MenuItem("科目No.設定(&N)"_sj, ID_SUBJECT_NO),
                      MenuSeparator(),
                      MenuItem("ｲﾝﾃﾞﾝﾄ"_sj, ID_INDENT),
                      MenuItem("直接入力"_sj, ID_DIRECT_INPUT),
                  }),
        MenuPopup("合計(&T)"_sj,
                  {
                      MenuItem("小科目合計(&S)"_sj, ID_TOTAL_SMALL),
                      MenuItem("中科目合計(&M)"_sj, ID_TOTAL_MIDDLE),
                      MenuItem("大科目合計(&L)"_sj, ID_TOTAL_LARGE),
                      MenuItem("種目合計(&K)"_sj, ID_TOTAL_KIND),
                      MenuItem("値引合計(&D)"_sj, ID_TOTAL_DISCOUNT),
                      MenuItem("消費税(&E)"_sj, ID_TAX_ROW),
                      MenuItem("総合計(&T)"_sj, ID_TOTAL_GRAND),
                      MenuSeparator(),
                      MenuPopup("非計算行(&N)"_sj,
                                {
                                    MenuItem("設定(&S)"_sj, ID_NONCALC_SET),
                                    MenuItem("解除(&C)"_sj, ID_NONCALC_RELEASE),
                                }),
                      MenuSeparator(),
                      MenuItem("再計算\tF7"_sj, ID_RECALCULATE),
                  }),
        MenuPopup("ﾂｰﾙ(&O)"_sj,
                  Concat({{MenuItem("集計表(&B)"_sj, ID_SUMMARY_TABLE),
                           MenuItem("不要行削除(&L)"_sj, ID_UNNECESSARY_ROWS), MenuSeparator()},
                          RowToolItems(),
                          {MenuSeparator(), MenuItem("表示固定"_sj, ID_DISPLAY_FIX),
                           MenuItem("入力固定"_sj, ID_INPUT_FIX), MenuSeparator(),
                           MenuItem("部材登録"_sj, ID_PARTS_REGISTER),
                           MenuItem("部材ﾌｧｲﾙ切替(&B)"_sj, ID_PARTS_FILE_SWITCH), MenuSeparator()},
                          SettingsItems()})),
        MenuPopup("ﾍﾟｰｼﾞ(&P)"_sj,
                  {
                      MenuItem("前ﾍﾟｰｼﾞ"_sj, ID_PAGE_PREV),
                      MenuItem("次ﾍﾟｰｼﾞ"_sj, ID_PAGE_NEXT),
                      MenuItem("ﾍﾟｰｼﾞ指定"_sj, ID_PAGE_SELECT),
                      MenuSeparator(),
                      MenuItem("ﾍﾟｰｼﾞ挿入"_sj, ID_PAGE_INSERT),
                      MenuItem("ﾍﾟｰｼﾞ削除"_sj, ID_PAGE_DELETE),
                      MenuItem("ﾍﾟｰｼﾞ送り"_sj, ID_PAGE_FEED),
                      MenuSeparator(),
                      MenuItem("ページ揃え"_sj, ID_PAGE_ALIGN),
                  }),
        MenuPopup("表示(&V)"_sj,
                  {
                      MenuItem("ﾂｰﾙﾊﾞｰ(&T)"_sj, ID_VIEW_TOOLBAR),
                      MenuItem("ﾓﾙﾍﾞﾙﾊﾞｰ(&F)"_sj, ID_VIEW_MORVELBAR),
                      MenuItem("見積ﾊﾞｰ(&E)"_sj, ID_VIEW_ESTIMATEBAR),
                      MenuItem("見積ﾍﾟｰｼﾞﾊﾞｰ(&P)"_sj, ID_VIEW_ESTIMATE_PAGEBAR),
                      MenuItem("科目ﾘｽﾄｳｨﾝﾄﾞｳ非表示(&H)"_sj, ID_VIEW_SUBJECT_LIST),
                      MenuSeparator(),
                      ZoomPopup(),
                      MenuItem("再表示(&R)"_sj, ID_REDISPLAY),
                  }),
        WindowPopup(),
        HelpPopup(),
    };
}

// 124: the parts window's menu.
Items MakePartsMenu()
{
    return {
        MenuPopup("ﾌｧｲﾙ(&F)"_sj, Concat({DocumentFileItems(),
                                         {
                                             DataConversionPopup(),
                                             MenuSeparator(),
                                         },
                                         PrintItems(),
                                         {MenuSeparator()},
                                         RecentFilesAndExit()})),
        MenuPopup("編集(&E)"_sj, EditItems()),
        MenuPopup("挿入(&I)"_sj,
                  {
                      MenuItem("行挿入(&L) \tCtrl+Ins"_sj, ID_ROW_INSERT),
                      MenuItem("行削除(&R)\tCtrl+Del"_sj, ID_ROW_DELETE),
                      MenuItem("行ｸﾘｱ(&C)"_sj, ID_ROW_CLEAR_CTX),
                      MenuSeparator(),
                      MenuItem("単位"_sj, ID_UNIT),
                  }),
        MenuPopup("ﾂｰﾙ(&T)"_sj, Concat({RowToolItems(), {MenuSeparator()}, SettingsItems()})),
        MenuPopup("表示(&V)"_sj,
                  {
                      MenuItem("ﾂｰﾙﾊﾞｰ(&T)"_sj, ID_VIEW_TOOLBAR),
                      MenuItem("ﾓﾙﾍﾞﾙﾊﾞｰ(&F)"_sj, ID_VIEW_MORVELBAR),
                      MenuItem("部材ﾊﾞｰ(&P)"_sj, ID_VIEW_PARTSBAR),
                      MenuSeparator(),
                      ZoomPopup(),
                      MenuItem("再表示(&R)"_sj, ID_REDISPLAY),
                  }),
        WindowPopup(),
        HelpPopup(),
    };
}

} // namespace

void RegisterMorvelMenus()
{
    RegisterMenuResource(IDR_MAINFRAME, MakeFrameMenu);
    RegisterMenuResource(IDR_MORVELTYPE, MakeEstimateMenu);
    RegisterMenuResource(IDR_PARTSTYPE, MakePartsMenu);
}
