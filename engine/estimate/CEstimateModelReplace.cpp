// Replace on the edit page: the matches of a find replaced as one command. The window finds
// the match the user chose (or asks for all of them), hands them here and repaints; the
// cells are written as input is written, so a replaced number reads and rounds as a typed
// one.
#include "engine/estimate/CEstimateModel.h"

#include "engine/estimate/UndoCommands.h"

CCellSearch::CCellText CEstimateModel::CellForSearch(int nRow, int nCol) const
{
    CCellSearch::CCellText cell;
    cell.strText = CellText(EPage::edit, nRow, nCol);
    if (m_engine.IsValidColumn(nCol))
        cell.bNumber =
            CEstimateEngine::ShownNumberText(cell.strText, m_engine.Columns().Get(nCol), cell.strShown);
    return cell;
}

CCellSearch CEstimateModel::EditPageSearch() const
{
    return CCellSearch([this](int nRow, int nCol) { return CellForSearch(nRow, nCol); }, m_nUsedRows,
                       m_nRowLimit, m_engine.Columns().GetLimit());
}

std::vector<CCellSearch::CMatch> CEstimateModel::FindAll(const CString& strFind,
                                                         const CCellSearch::COptions& options,
                                                         const CRect& rcBlock) const
{
    std::vector<CCellSearch::CMatch> found;
    // The search starts after a cell, so the first cell of the range is looked at here:
    // every matching cell is found.
    const CPoint ptStart = options.bSelectionOnly ? CPoint(rcBlock.left, rcBlock.top) : CPoint(0, 0);
    const CCellSearch::CMatch first(CCellSearch::MatchCell(CellForSearch(ptStart.y, ptStart.x), strFind,
                                                           options.bWholeWord, options.bMatchCase),
                                    ptStart.x, ptStart.y);
    if (first.IsFound())
        found.push_back(first);
    const CCellSearch search = EditPageSearch();
    for (CCellSearch::CMatch match = search.Search(strFind, options, ptStart.x, ptStart.y, rcBlock);
         match.IsFound(); match = search.Search(strFind, options, match.nCol, match.nRow, rcBlock))
        found.push_back(match);
    return found;
}

void CEstimateModel::WriteReplaced(const CCellSearch::CMatch& match, const CString& strReplacement,
                                   bool bCalcRow)
{
    m_engine.StoreInputText(match.Replaced(strReplacement), match.nRow, match.nCol, true, bCalcRow);
    // Text put into an empty row makes it a detail row.
    if (RowKind(EPage::edit, match.nRow) == kindEmpty &&
        !CellText(EPage::edit, match.nRow, match.nCol).IsEmpty())
        m_engine.SetRowKind(kindDetail, match.nRow);
}

void CEstimateModel::ReplaceMatch(const CCellSearch::CMatch& match, const CString& strReplacement,
                                  bool bCalcRow)
{
    CRowImage before = CRowImage::Take(m_editRows, match.nRow, match.nRow, m_nUsedRows, m_nRowLimit);
    const CString strOld = CellText(EPage::edit, match.nRow, match.nCol);
    WriteReplaced(match, strReplacement, bCalcRow);
    m_undo.Record(CCellsCommand::Edit(match.nCol, match.nRow, strOld,
                                      CellText(EPage::edit, match.nRow, match.nCol), std::move(before)));
}

CEstimateModel::CWrittenRows CEstimateModel::ReplaceAll(const std::vector<CCellSearch::CMatch>& matches,
                                                        const CString& strReplacement)
{
    if (matches.empty())
        return {};
    const int nFirst = matches.front().nRow;
    const int nLast = matches.back().nRow;
    CRowImage before = CRowImage::Take(m_editRows, nFirst, nLast, m_nUsedRows, m_nRowLimit);
    CRowImage every = TakeEveryRow();
    for (const CCellSearch::CMatch& match : matches)
        WriteReplaced(match, strReplacement, false);
    RecordCellsWritten(CCellsCommand::Rewrite(CUndoCommand::undoReplaceAll, std::move(before)), std::move(every));
    return {nFirst, nLast};
}
