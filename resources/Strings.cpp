// The string table: the program's title, the document templates' strings, the widths of the
// status-bar panes, the indicator texts, and the prompts shown in the status bar (and, after
// the "\n", as tool tips) for menu items and tool-bar buttons.
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"

#include "platform/base/CString.h"
#include "platform/ui/core/Resources.h"

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<UINT, CString>> MakeStringTable()
{
    std::vector<std::pair<UINT, CString>> table = {
        // The program's title, shown in the main frame's caption and on message boxes.
        {IDR_MAINFRAME, "みつもりﾓﾙﾍﾞﾙ"_sj},
        {AFX_IDS_APP_TITLE, "みつもりﾓﾙﾍﾞﾙ"_sj},
        {AFX_IDS_IDLEMESSAGE, "ﾚﾃﾞｨ"_sj},

        // Document templates: window title, document name, new-file name, filter name,
        // extension, file type id, file type name (and one more field).
        {IDR_MORVELTYPE,
         "\n見積処理\n見積処理\n見積処理ﾌｧｲﾙ (*.MMD)\n.MMD\n見積処理ﾌｧｲﾙ\n見積処理ﾌｧｲﾙ\n見積処理ﾌｧｲﾙ\n"_sj},
        {IDR_PARTSTYPE,
         "\n部材処理\n部材処理\n部材処理ﾌｧｲﾙ (*.MBD)\n.MBD\n部材処理ﾌｧｲﾙ\n部材処理ﾌｧｲﾙ\n部材処理ﾌｧｲﾙ\n"_sj},
        {IDR_EMFORMTYPE,
         "\n見積印刷形式\n見積印刷形式\n見積印刷形式ﾌｧｲﾙ (*.MMP)\n.MMP\n見積印刷形式ﾌｧｲﾙ\n見積印刷形式ﾌｧｲﾙ\n見積印刷形式ﾌｧｲﾙ\n"_sj},
        {IDR_PMFORMTYPE,
         "\n部材印刷形式\n部材印刷形式\n部材印刷形式ﾌｧｲﾙ (*.MBP)\n.MBP\n部材印刷形式ﾌｧｲﾙ\n部材印刷形式ﾌｧｲﾙ\n部材印刷形式ﾌｧｲﾙ\n"_sj},

        // Status-bar panes 1 and 2: their blanks give the panes their widths.
        {ID_INDICATOR_PANE1, CString(' ', 44)},
        {ID_INDICATOR_PANE2, CString(' ', 33)},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {ID_INDICATOR_KANA, "ｶﾅ"_sj},

        // Files.
        {ID_FILE_NEW, "新規にﾌｧｲﾙを作成します\n新規作成"_sj},
        {ID_FILE_OPEN, "既存のﾌｧｲﾙを開きます\n開く"_sj},
        {ID_FILE_CLOSE, "作業中のﾌｧｲﾙを閉じます\n閉じる"_sj},
        {ID_FILE_SAVE, "作業中のﾌｧｲﾙを上書きして保存します\n上書き保存"_sj},
        {ID_FILE_SAVE_AS, "作業中のﾌｧｲﾙを新しい名前で保存します\n名前を付けて保存"_sj},
        {ID_FILE_PRINT_SETUP, "ﾌﾟﾘﾝﾀおよび印刷ｵﾌﾟｼｮﾝを変更します\nﾌﾟﾘﾝﾀの設定"_sj},
        {ID_FILE_PRINT, "印刷形式を使って印刷します\n印刷"_sj},
        {ID_FILE_PRINT_PREVIEW, "印刷ｲﾒｰｼﾞを表示します\n印刷ﾌﾟﾚﾋﾞｭｰ"_sj},
        {ID_PRINT_FORM_SELECT, "印刷に使う印刷形式を選択します\n印刷形式選択"_sj},
        {ID_FILE_MRU_FILE1, "このﾌｧｲﾙを開きます"_sj},
        {ID_FILE_MRU_FILE2, "このﾌｧｲﾙを開きます"_sj},
        {ID_FILE_MRU_FILE3, "このﾌｧｲﾙを開きます"_sj},
        {ID_FILE_MRU_FILE4, "このﾌｧｲﾙを開きます"_sj},
        {ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝを終了します\n終了"_sj},
        {ID_READ_OTHER_FORM, "別の形式で作られたﾌｧｲﾙを読み込みます\n他形式ﾌｧｲﾙ読込"_sj},
        {ID_TEXT_OUTPUT, "CSV形式のﾃｷｽﾄﾌｧｲﾙに出力します\nﾃｷｽﾄ出力"_sj},
        {ID_TEXT_INPUT, "CSV形式のﾃｷｽﾄﾌｧｲﾙから入力します\nﾃｷｽﾄ入力"_sj},
        {ID_EXPORT_M2K, "築匠録連携データを出力します\n築匠録連携データ"_sj},
        {ID_EXPORT_M2N, "ノルン工事帳連携データを出力します\nノルン工事帳連携データ"_sj},
        {ID_IMPORT_OTHER, "他の積算ｿﾌﾄの見積ﾃﾞｰﾀを読み込みます\nその他のﾃﾞｰﾀ読込"_sj},
        {ID_DOS_CONVERT, "DOS版MORVELのﾃﾞｰﾀを変換します\nDOS版ﾃﾞｰﾀ変換"_sj},

        // Editing.
        {ID_EDIT_UNDO, "直前に行った操作を元に戻します\n元に戻す"_sj},
        {ID_EDIT_REDO, "元に戻した操作をやり直します\nやり直し"_sj},
        {ID_EDIT_CUT, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに移動します\n切り取り"_sj},
        {ID_EDIT_COPY, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存します\nｺﾋﾟｰ"_sj},
        {ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付けます\n貼り付け"_sj},
        {ID_EDIT_FIND_DLG, "文字列を検索します\n検索"_sj},
        {ID_EDIT_REPLACE_DLG, "文字列を置換します\n置換"_sj},
        {ID_ROW_INSERT, "現在の行に空の行を挿入します\n行挿入"_sj},
        {ID_ROW_DELETE, "現在の行を削除します\n行削除"_sj},
        {ID_ROW_CLEAR, "現在の行の内容をｸﾘｱします\n行ｸﾘｱ"_sj},
        {ID_ROW_INSERT_CTX, "現在の行に空の行を挿入します\n行挿入"_sj},
        {ID_ROW_DELETE_CTX, "現在の行を削除します\n行削除"_sj},
        {ID_ROW_CLEAR_CTX, "現在の行の内容をｸﾘｱします\n行ｸﾘｱ"_sj},
        {ID_ITEM_CLEAR, "選択した項目の内容をｸﾘｱします\n項目ｸﾘｱ"_sj},
        {ID_ESTIMATE_CLEAR, "見積明細の内容をｸﾘｱします\n見積書ｸﾘｱ"_sj},

        // Estimate input and totals.
        {ID_INFORMATION_INPUT, "見積の情報を入力します\n情報入力"_sj},
        {ID_SUBJECT_MENU, "種目、科目、値引、歩掛、分類を入力します\n科目"_sj},
        {ID_TOTAL_MENU, "合計行を入力します\n合計"_sj},
        {ID_KIND_INPUT, "種目行を入力します\n種目入力"_sj},
        {ID_PICK_LARGE, "大科目を選択します\n大科目選択"_sj},
        {ID_PICK_MIDDLE, "中科目を選択します\n中科目選択"_sj},
        {ID_PICK_SMALL, "小科目を選択します\n小科目選択"_sj},
        {ID_UNIT, "単位を選択します\n単位"_sj},
        {ID_DISCOUNT_INPUT, "値引行を入力します\n値引入力"_sj},
        {ID_STEP_SETTING, "歩掛行を設定します\n歩掛設定"_sj},
        {ID_CLASSIFY_TOTAL, "分類合計行を設定します\n分類合計設定"_sj},
        {ID_SUBJECT_NO, "科目No.を設定します\n科目No.設定"_sj},
        {ID_INDENT, "ｲﾝﾃﾞﾝﾄを設定します\nｲﾝﾃﾞﾝﾄ"_sj},
        {ID_DIRECT_INPUT, "直接入力を切り替えます\n直接入力"_sj},
        {ID_TOTAL_SMALL, "小科目合計行を入力します\n小科目合計"_sj},
        {ID_TOTAL_MIDDLE, "中科目合計行を入力します\n中科目合計"_sj},
        {ID_TOTAL_LARGE, "大科目合計行を入力します\n大科目合計"_sj},
        {ID_TOTAL_KIND, "種目合計行を入力します\n種目合計"_sj},
        {ID_TOTAL_DISCOUNT, "値引合計行を入力します\n値引合計"_sj},
        {ID_TAX_ROW, "消費税行を入力します\n消費税"_sj},
        {ID_TOTAL_GRAND, "総合計行を入力します\n総合計"_sj},
        {ID_NONCALC_SET, "選択した行を非計算行にします\n非計算行設定"_sj},
        {ID_NONCALC_RELEASE, "非計算行を解除します\n非計算行解除"_sj},
        {ID_RECALCULATE, "見積全体を再計算します\n再計算"_sj},

        // Tools.
        {ID_SUMMARY_TABLE, "集計表を作成します\n集計表"_sj},
        {ID_SUMMARY_TABLE_CTX, "集計表を作成します\n集計表"_sj},
        {ID_UNNECESSARY_ROWS, "不要な行を削除します\n不要行削除"_sj},
        {ID_RANGE_ADD, "合計値に加算します。"_sj},
        {ID_RANGE_ADD_BAR, "合計値に加算します。"_sj},
        {ID_RANGE_SET, "合計値を指定ｾﾙにｾｯﾄトします。"_sj},
        {ID_RANGE_SET_BAR, "範囲合計値をセルにセットします。 "_sj},
        {ID_RANGE_CLEAR, "合計値をｸﾘｱします。"_sj},
        {ID_RANGE_CLEAR_BAR, "範囲合計値をクリアします。"_sj},
        {ID_RATE_CHANGE, "定率変更を行います。"_sj},
        {ID_ROW_REMEMBER, "記憶行を指定します。"_sj},
        {ID_ROW_JUMP, "記憶行へ移動します｡"_sj},
        {ID_ROW_RELEASE, "記憶行を解除します。"_sj},
        {ID_SORT, "選択した列で並べ替えます\n並べ替え"_sj},
        {ID_DISPLAY_FIX, "表示する項目を設定します\n表示固定"_sj},
        {ID_INPUT_FIX, "入力できない項目を設定します\n入力固定"_sj},
        {ID_PARTS_REGISTER, "選択した行を部材ﾌｧｲﾙに登録します\n部材登録"_sj},
        {ID_PARTS_FILE_SWITCH, "使用する部材ﾌｧｲﾙを切り替えます\n部材ﾌｧｲﾙ切替"_sj},
        {ID_ENVIRONMENT, "ﾊﾟｽ、入力、印刷、色とﾌｫﾝﾄの設定を変更します\n環境設定"_sj},
        {ID_INTRODUCTION, "単位、科目、分類と各形式を登録します\n導入処理"_sj},

        // Pages.
        {ID_PAGE_PREV, "前のﾍﾟｰｼﾞを表示します\n前ﾍﾟｰｼﾞ"_sj},
        {ID_PAGE_NEXT, "次のﾍﾟｰｼﾞを表示します\n次ﾍﾟｰｼﾞ"_sj},
        {ID_PAGE_SELECT, "指定したﾍﾟｰｼﾞを表示します\nﾍﾟｰｼﾞ指定"_sj},
        {ID_PAGE_INSERT, "ﾍﾟｰｼﾞを挿入します\nﾍﾟｰｼﾞ挿入"_sj},
        {ID_PAGE_DELETE, "ﾍﾟｰｼﾞを削除します\nﾍﾟｰｼﾞ削除"_sj},
        {ID_PAGE_FEED, "現在の行から次のﾍﾟｰｼﾞに送ります\nﾍﾟｰｼﾞ送り"_sj},
        {ID_PAGE_ALIGN, "科目をﾍﾟｰｼﾞの先頭に揃えます\nページ揃え"_sj},
        {ID_PAGE_ALIGN_BAR, "科目をﾍﾟｰｼﾞの先頭に揃えます\nページ揃え"_sj},

        // View.
        {ID_VIEW_TOOLBAR, "ﾂｰﾙﾊﾞｰの表示/非表示を切り替えます\nﾂｰﾙﾊﾞｰ"_sj},
        {ID_VIEW_MORVELBAR, "ﾓﾙﾍﾞﾙﾊﾞｰの表示/非表示を切り替えます\nﾓﾙﾍﾞﾙﾊﾞｰ"_sj},
        {ID_VIEW_ESTIMATEBAR, "見積ﾊﾞｰの表示/非表示を切り替えます\n見積ﾊﾞｰ"_sj},
        {ID_VIEW_ESTIMATE_PAGEBAR, "見積ﾍﾟｰｼﾞﾊﾞｰの表示/非表示を切り替えます\n見積ﾍﾟｰｼﾞﾊﾞｰ"_sj},
        {ID_VIEW_PARTSBAR, "部材ﾊﾞｰの表示/非表示を切り替えます\n部材ﾊﾞｰ"_sj},
        {ID_VIEW_SUBJECT_LIST, "科目ﾘｽﾄｳｨﾝﾄﾞｳの表示/非表示を切り替えます\n科目ﾘｽﾄ"_sj},
        {ID_ZOOM_25, "25%で表示します\n25%"_sj},
        {ID_ZOOM_50, "50%で表示します\n50%"_sj},
        {ID_ZOOM_75, "75%で表示します\n75%"_sj},
        {ID_ZOOM_100, "100%で表示します\n100%"_sj},
        {ID_ZOOM_150, "150%で表示します\n150%"_sj},
        {ID_ZOOM_200, "200%で表示します\n200%"_sj},
        {ID_ZOOM_USER, "表示倍率を指定します\n表示倍率"_sj},
        {ID_REDISPLAY, "画面を再表示します\n再表示"_sj},

        // Windows and help.
        {ID_WINDOW_CASCADE, "ｳｨﾝﾄﾞｳを重ねて表示します\n重ねて表示"_sj},
        {ID_WINDOW_TILE_HORZ, "ｳｨﾝﾄﾞｳを並べて表示します\n並べて表示"_sj},
        {ID_WINDOW_ARRANGE, "ｱｲｺﾝを整列します\nｱｲｺﾝの整列"_sj},
        {ID_HELP_FINDER, "ﾍﾙﾌﾟのﾄﾋﾟｯｸを表示します\nﾍﾙﾌﾟ"_sj},
        {ID_APP_ABOUT, "ﾌﾟﾛｸﾞﾗﾑの情報とﾊﾞｰｼﾞｮﾝを表示します\nﾊﾞｰｼﾞｮﾝ情報"_sj},
    };
    return table;
}

} // namespace

void RegisterMorvelStrings()
{
    RegisterStringTable(MakeStringTable);
}
