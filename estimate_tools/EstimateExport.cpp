#include "estimate_tools/EstimateExport.h"

#include "app/CEstimationFormFile.h"
#include "engine/estimate/CEstimateModel.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/Cp932Text.h"

#include <algorithm>

namespace EstimateExport {

std::vector<CString> ParseConverterItems(std::string_view data)
{
    const size_t end = data.find('\n');
    if (end != std::string_view::npos)
        data = data.substr(0, end);
    if (!data.empty() && data.back() == '\r')
        data.remove_suffix(1);
    std::vector<CString> items;
    size_t p = 0;
    while (p <= data.size()) {
        size_t comma = data.find(',', p);
        if (comma == std::string_view::npos)
            comma = data.size();
        if (comma > p) {
            CString name(std::string(data.substr(p, comma - p)));
            name.Trim(' ');
            name.MakeUpper();
            items.push_back(name);
        }
        p = comma + 1;
    }
    return items;
}

std::vector<CString> LetterItems(int nColumns)
{
    std::vector<CString> items;
    for (int i = 0; i < nColumns; ++i)
        items.emplace_back(static_cast<char>('A' + i));
    return items;
}

CRowMarkers GetRowMarkers(ERowKind nKind)
{
    CRowMarkers result;
    // Non-calculated discount totals are left out (86, of a kind 36 no command makes, too).
    const bool bSkippedNonCalc = nKind == NonCalculatedKindOf(kindLargeDiscountTotal) ||
                                 nKind == NonCalculatedKindOf(kindMiddleDiscountTotal) ||
                                 nKind == NonCalculatedKindOf(kindSmallDiscountTotal) ||
                                 nKind == NonCalculatedKindOf(kindGrandDiscountTotal) ||
                                 nKind == NonCalculatedKindOf(KindFromNumber(kindGrandDiscountTotal + 1)) ||
                                 nKind == NonCalculatedKindOf(kindKindDiscountTotal);
    if (bSkippedNonCalc)
        return result;
    const bool bNonCalc = IsNonCalculatedKind(nKind);
    if (bNonCalc)
        result.markers.push_back("@X");
    const ERowKind nBase = bNonCalc ? CalculatedKindOf(nKind) : nKind;
    const char* marker = nullptr;
    switch (nBase) {
    case kindLarge:
        marker = "@2";
        break;
    case kindMiddle:
        marker = "@3";
        break;
    case kindSmall:
        marker = "@4";
        break;
    case kindDiscount:
        marker = "@N";
        break;
    case kindKind:
        marker = "@1";
        break;
    case kindLargeTotal:
        marker = "@G2";
        break;
    case kindMiddleTotal:
        marker = "@G3";
        break;
    case kindSmallTotal:
        marker = "@G4";
        break;
    case kindGrandTotal:
        marker = "@G0";
        break;
    case kindKindTotal:
        marker = "@G1";
        break;
    default:
        break;
    }
    if (marker != nullptr) {
        result.markers.push_back(marker);
        result.bWritten = true;
        return result;
    }
    switch (KindNumber(nKind)) {
    case kindDetail:
    case kindFree:
    case kindStep:
    case kindKindTotal + 2: // 19, which no command makes
    case kindClassify:
    case kindClassify2:
    case kindClassify3:
    case kindClassify4:
    case SummaryKindOf(kindLarge):
    case SummaryKindOf(kindMiddle):
    case SummaryKindOf(kindSmall):
    case SummaryKindOf(kindKind):
    case SummaryKindOf(kindFree):
    case SummaryKindOf(kindLargeTotal):
    case SummaryKindOf(kindMiddleTotal):
    case SummaryKindOf(kindSmallTotal):
    case SummaryKindOf(kindGrandTotal):
    case SummaryKindOf(kindKindTotal):
        result.bWritten = true;
        break;
    default:
        // Any other non-calculated row is written all the same.
        result.bWritten = bNonCalc;
        break;
    }
    return result;
}

std::string WriteExport(const CEstimateModel& model, const CEstimationFormFile& form,
                        const std::vector<CString>& items)
{
    const int nColumns = std::min(form.GetCount(), model.Engine().Columns().GetLimit());

    // Position of each column (-1: not exported); the line has one field per converter
    // item once any column is placed.
    std::vector<int> columnAt(items.size(), -1);
    bool bPlaced = false;
    for (int c = 0; c < nColumns; ++c) {
        CString code = form.GetItem(c, CEstimationFormFile::colC);
        code.Trim(' ');
        code.MakeUpper();
        if (code.IsEmpty())
            continue; // a column without a code is not exported
        const int nPos = CMorvelEMView::FindInfItem(code, items);
        if (nPos >= 0) {
            columnAt[static_cast<size_t>(nPos)] = c;
            bPlaced = true;
        }
    }
    struct CColumnWay {
        bool bNumeric = false;
        CNumberRules::CPicture picture;
    };
    std::vector<CColumnWay> ways(static_cast<size_t>(std::max(nColumns, 0)));
    for (int c = 0; c < nColumns; ++c) {
        const CString& attribute = form.GetItem(c, CEstimationFormFile::colAttribute);
        CColumnWay& way = ways[static_cast<size_t>(c)];
        way.bNumeric = attribute == "数値"_sj || attribute.Find("計"_sj) >= 0;
        CString picture = form.GetItem(c, CEstimationFormFile::colPicture);
        picture.Remove(',');
        way.picture = CNumberRules::ParsePicture(picture);
    }

    std::string text = "@M\r\n\"";
    text += model.GetInformation(0).str();
    text += "\"\r\n@H\r\n";
    if (bPlaced) {
        for (size_t p = 0; p < columnAt.size(); ++p) {
            if (p > 0)
                text += ',';
            if (columnAt[p] >= 0) {
                text += '"';
                text += form.GetItem(columnAt[p], CEstimationFormFile::colName).str();
                text += '"';
            }
        }
        text += "\r\n";
    }

    constexpr CEstimateModel::EPage eEdit = CEstimateModel::EPage::edit;
    const int nUsedRows = model.GetUsedRows();
    for (int r = 0; r < nUsedRows; ++r) {
        if (model.IsEditRowEmpty(r, form.GetCount()))
            continue;
        const CRowMarkers markers = GetRowMarkers(model.RowKind(eEdit, r));
        for (const char* marker : markers.markers) {
            text += marker;
            text += "\r\n";
        }
        if (!markers.bWritten)
            continue;
        if (bPlaced) {
            for (size_t p = 0; p < columnAt.size(); ++p) {
                if (p > 0)
                    text += ',';
                const int c = columnAt[p];
                if (c < 0)
                    continue;
                const CString cell = RemoveLineBreaks(model.CellText(eEdit, r, c));
                const CColumnWay& way = ways[static_cast<size_t>(c)];
                if (way.bNumeric) {
                    CString field = cell;
                    if (CNumberRules::IsNumberText(cell))
                        field = CNumberRules::FormatByPicture(CNumberRules::ReadNumberText(cell), way.picture,
                                                              FALSE);
                    text += field.IsEmpty() ? std::string("0") : field.str();
                } else {
                    text += '"';
                    text += cell.str();
                    text += '"';
                }
            }
            // Without a placed column there is no data line at all, only the markers.
            text += "\r\n";
        }
    }
    return text;
}

} // namespace EstimateExport
