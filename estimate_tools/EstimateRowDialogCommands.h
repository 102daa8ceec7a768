// The estimate view's row and sheet commands that ask in a dialog first: 32824 "情報入力",
// 32798 "種目入力", 32814 "値引入力", 32816 "歩掛設定", 32820 "値引合計", 32797
// "分類合計設定", 32799 "科目No.設定", 33129/33141 "集計表", 32878 "表示固定", 33103 "入力固定", 32914
// "ｲﾝﾃﾞﾝﾄ", the subject and unit picks, and the parts pick of a typed cell.
// RunEstimateDialogCommand hands them here.
#pragma once

#include "platform/base/Types.h"

class CMorvelEMView;

// FALSE when the id is not one of these commands.
bool RunEstimateRowDialogCommand(CMorvelEMView& view, UINT nID);
