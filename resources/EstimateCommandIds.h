// Resource ids of the estimate view's row and sheet dialogs: the information sheet, the
// kind heading, discount, discount total, step and indent dialogs.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDD_KIND_INPUT = 147;        // "種目入力"
constexpr UINT IDD_DISCOUNT_INPUT = 148;    // "値引入力"
constexpr UINT IDD_DISCOUNT_TOTAL = 149;    // "値引合計"
constexpr UINT IDD_INFORMATION_INPUT = 157; // "情報入力"
constexpr UINT IDD_INDENT = 196;            // "ｲﾝﾃﾞﾝﾄ"
constexpr UINT IDD_STEP_SETTING = 241;      // "歩掛設定"

// Controls of the information sheet.
constexpr UINT IDC_INFO_EDIT = 1031;   // the editor laid over the current value cell
constexpr UINT IDC_INFO_GRID = 1042;   // the grid: "No.", "名称", "内容"
constexpr UINT IDC_INFO_SCROLL = 1051; // the grid's own scroll bar

// Controls of the row dialogs.
constexpr UINT IDC_ROW_ITEM_COMBO = 1000;  // "対象項目(&I)"
constexpr UINT IDC_ROW_TEXT = 1031;        // 種目名, 値引額, 対象ＣＤ, ｲﾝﾃﾞﾝﾄ単位
constexpr UINT IDC_ROW_UNIT = 1032;        // "単  位(&U)"
constexpr UINT IDC_ROW_LEVEL_COMBO = 1153; // 種目, 大科目, 中科目, 小科目 (, 細   目, 全般)
constexpr UINT IDC_ROW_RELEASE = 1210;     // "解除"
constexpr UINT IDC_RADIO_1 = 1071;
constexpr UINT IDC_RADIO_2 = 1073;
constexpr UINT IDC_RADIO_3 = 1077;
constexpr UINT IDC_RADIO_4 = 1082;
constexpr UINT IDC_RADIO_5 = 1087;
constexpr UINT IDC_INDENT_LEFT = 32917;  // "<---"
constexpr UINT IDC_INDENT_RIGHT = 32919; // "--->"

// Registers the dialog templates above (cheap to call again).
void RegisterEstimateCommandDialogs();

// The classification total dialogs, all titled "分類合計設定".
constexpr UINT IDD_CLASS_TOTAL = 247;  // basis, range, target item and code
constexpr UINT IDD_CLASS_RATE = 248;   // the classification and its rate
constexpr UINT IDD_CLASS_UPDATE = 255; // update the row or add a new one
constexpr UINT IDC_CLASS_LIST = 1062;  // the classification table: "分類名", "%"

// The subject numbering sheet "科目No": the page "全般" and one style page per level.
constexpr UINT IDD_NUMBERING_KIND = 117;     // "種目No.種類"
constexpr UINT IDD_NUMBERING_LARGE = 118;    // "大科目No.種類"
constexpr UINT IDD_NUMBERING_MIDDLE = 119;   // "中科目No.種類"
constexpr UINT IDD_NUMBERING_SMALL = 120;    // "小科目No.種類"
constexpr UINT IDD_NUMBERING_GENERAL = 249;  // "全般"
constexpr UINT IDC_NUMBERING_UPPER = 1139;   // "上位科目Noセット(&N)"
constexpr UINT IDC_NUMBERING_RELEASE = 4095; // "解除", added to the sheet's buttons

// The subject and unit pick lists and the name/unit entry they edit the masters with.
constexpr UINT IDD_SUBJECT_PICK = 237; // "大科目選択", "中科目選択", "小科目選択"
constexpr UINT IDD_NAME_UNIT = 240;    // "大科目入力", ..., "単位入力"
constexpr UINT IDD_UNIT_PICK = 259;    // "単位選択"
constexpr UINT IDC_PICK_LIST = 1061;
constexpr UINT IDC_PICK_CLOSE_AFTER = 1139; // "選択後ﾀﾞｲｱﾛｸﾞを閉じる(&S)"
constexpr UINT IDC_PICK_CHANGE = 32917;     // "変更(&C) ..."
constexpr UINT IDC_PICK_ADD = 32919;        // "追加(&A) ...."
constexpr UINT IDC_PICK_DELETE = 32921;     // "削除(&D)"
constexpr UINT IDC_NAME_LABEL = 1156;       // "科目名(&K)" beside the name (edit 1031)
constexpr UINT IDC_UNIT_LABEL = 1183;       // "単   位(&T)" beside the unit (edit 1032)

// The summary table's dialog "集計表".
constexpr UINT IDD_SUMMARY = 254;
constexpr UINT IDC_SUMMARY_KIND = 1139;   // "種     目(&0)"
constexpr UINT IDC_SUMMARY_LARGE = 1140;  // "大 科 目(&1)"
constexpr UINT IDC_SUMMARY_MIDDLE = 1086; // "中 科 目(&2)"
constexpr UINT IDC_SUMMARY_SMALL = 1050;  // "小 科 目(&3)"

// The parts selection list "部材選択".
constexpr UINT IDD_SELECT_LIST = 166;
constexpr UINT IDC_SELECT_LIST = 1061;
constexpr UINT IDC_SELECT_FILE = 1031; // the parts file's path beside "ﾌｧｲﾙ名:"

// Not a menu command: the estimate view asks the estimate tools, through the same road as
// its dialog commands, to pick parts rows for the cell being typed.
constexpr UINT ID_PICK_PARTS_FOR_CELL = 0xE5F0;
// Not a menu command either: the parts of the current parts file for the grid's pop-up
// choice list (F4 on a parts search column).
constexpr UINT ID_POPUP_PARTS_FOR_CELL = 0xE5F1;

// The column choice "設定" (display fixing "表示固定", input fixing "入力固定", CSV output).
constexpr UINT IDD_COLUMN_SELECT = 201;
constexpr UINT IDC_COLUMN_LIST = 1061;
constexpr UINT IDC_COLUMN_SELECT_ALL = 32917;   // "全選択(&A)"
constexpr UINT IDC_COLUMN_DESELECT_ALL = 32919; // "全解除(&D)", "解除(&D)" for input fixing
