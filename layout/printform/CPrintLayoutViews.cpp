#include "layout/printform/CPrintLayoutViews.h"

#include "layout/printform/CDrawTool.h"
#include "layout/printform/TextPropRunner.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ChildFrameIds.h"
#include "resources/LayoutCommandIds.h"
#include "resources/PrintFormEditorResources.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNCREATE(CPrintEMFormView, CPrintFormView)
IMPLEMENT_DYNCREATE(CPrintPMFormView, CPrintFormView)

// The editing, formatting and text commands, the same in both views.
#define LAYOUT_EDITING_ENTRIES()                                                                             \
    ON_COMMAND(ID_DRAW_TEXT, OnDrawText)                                                                     \
    ON_UPDATE_COMMAND_UI(ID_DRAW_TEXT, OnUpdateDrawText)                                                     \
    ON_WM_KILLFOCUS()                                                                                        \
    ON_WM_MBUTTONDOWN()                                                                                      \
    ON_COMMAND(ID_OBJECT_BACK, OnObjectMoveBack)                                                             \
    ON_COMMAND(ID_OBJECT_FORWARD, OnObjectMoveForward)                                                       \
    ON_COMMAND(ID_OBJECT_TO_BACK, OnObjectMoveToBack)                                                        \
    ON_COMMAND(ID_OBJECT_TO_FRONT, OnObjectMoveToFront)                                                      \
    ON_UPDATE_COMMAND_UI(ID_OBJECT_BACK, OnUpdateSelectionCommand)                                           \
    ON_UPDATE_COMMAND_UI(ID_OBJECT_FORWARD, OnUpdateSelectionCommand)                                        \
    ON_UPDATE_COMMAND_UI(ID_OBJECT_TO_BACK, OnUpdateSelectionCommand)                                        \
    ON_UPDATE_COMMAND_UI(ID_OBJECT_TO_FRONT, OnUpdateSelectionCommand)                                       \
    ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)                                                                   \
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateEditClear)                                                   \
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)                                                                     \
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)                                                     \
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)                                                                       \
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCopy)                                                      \
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)                                                                   \
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)                                                   \
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)                                                          \
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)                                          \
    ON_COMMAND(ID_EDIT_PROPERTIES, OnEditProperties)                                                         \
    ON_UPDATE_COMMAND_UI(ID_EDIT_PROPERTIES, OnUpdateEditProperties)                                         \
    ON_COMMAND(ID_INSERT_OBJECT, OnInsertObject)                                                             \
    ON_COMMAND(ID_OBJECT_FRAMES, OnObjectFrames)                                                             \
    ON_UPDATE_COMMAND_UI(ID_OBJECT_FRAMES, OnUpdateObjectFrames)                                             \
    ON_COMMAND(ID_FIT_TO_TEXT, OnFitToText)                                                                  \
    ON_UPDATE_COMMAND_UI(ID_FIT_TO_TEXT, OnUpdateSelectionCommand)                                           \
    ON_COMMAND(ID_PAPER_ALIGN_LEFT, OnPaperAlignLeft)                                                        \
    ON_COMMAND(ID_PAPER_ALIGN_CENTER, OnPaperAlignCenter)                                                    \
    ON_COMMAND(ID_PAPER_ALIGN_RIGHT, OnPaperAlignRight)                                                      \
    ON_UPDATE_COMMAND_UI(ID_PAPER_ALIGN_LEFT, OnUpdateSelectionCommand)                                      \
    ON_UPDATE_COMMAND_UI(ID_PAPER_ALIGN_CENTER, OnUpdateSelectionCommand)                                    \
    ON_UPDATE_COMMAND_UI(ID_PAPER_ALIGN_RIGHT, OnUpdateSelectionCommand)                                     \
    ON_COMMAND(ID_ALIGN_LEFT, OnAlignObjectsLeft)                                                            \
    ON_COMMAND(ID_ALIGN_RIGHT, OnAlignObjectsRight)                                                          \
    ON_COMMAND(ID_ALIGN_TOP, OnAlignObjectsTop)                                                              \
    ON_COMMAND(ID_ALIGN_BOTTOM, OnAlignObjectsBottom)                                                        \
    ON_UPDATE_COMMAND_UI(ID_ALIGN_LEFT, OnUpdateSelectionCommand)                                            \
    ON_UPDATE_COMMAND_UI(ID_ALIGN_RIGHT, OnUpdateSelectionCommand)                                           \
    ON_UPDATE_COMMAND_UI(ID_ALIGN_TOP, OnUpdateSelectionCommand)                                             \
    ON_UPDATE_COMMAND_UI(ID_ALIGN_BOTTOM, OnUpdateSelectionCommand)                                          \
    ON_CBN_SELCHANGE(IDC_FONT_SIZE, OnFontSizeChange)                                                        \
    ON_CBN_SELCHANGE(IDC_FILL_PATTERN, OnPatternChange)                                                      \
    ON_CBN_SELCHANGE(IDC_LINE_STYLE, OnLineStyleChange)                                                      \
    ON_CBN_SELCHANGE(IDC_FONT_NAME, OnFontNameChange)                                                        \
    ON_COMMAND(ID_DRAW_BORDER, OnRuledLine)                                                                  \
    ON_COMMAND(ID_DRAW_FILL, OnShading)                                                                      \
    ON_COMMAND(ID_TABLE_ITEM_WIDTH, OnElementWidth)                                                          \
    ON_COMMAND(ID_TABLE_ROW_HEIGHT, OnRowHeight)                                                             \
    ON_COMMAND(ID_LINE_SPACING, OnLineSpacing)                                                               \
    ON_UPDATE_COMMAND_UI(ID_DRAW_BORDER, OnUpdateRuledLine)                                                  \
    ON_UPDATE_COMMAND_UI(ID_DRAW_FILL, OnUpdateShading)                                                      \
    ON_UPDATE_COMMAND_UI(ID_TABLE_ITEM_WIDTH, OnUpdateElementWidth)                                          \
    ON_UPDATE_COMMAND_UI(ID_TABLE_ROW_HEIGHT, OnUpdateRowHeight)                                             \
    ON_UPDATE_COMMAND_UI(ID_LINE_SPACING, OnUpdateLineSpacing)                                               \
    ON_UPDATE_COMMAND_UI(IDC_FILL_PATTERN, OnUpdatePatternCombo)                                             \
    ON_UPDATE_COMMAND_UI(IDC_LINE_STYLE, OnUpdateLineStyleCombo)                                             \
    ON_COMMAND(ID_GRID_WIDTH, OnGridWidth)                                                                   \
    ON_UPDATE_COMMAND_UI(ID_GRID_WIDTH, OnUpdateGridWidth)                                                   \
    ON_COMMAND(ID_REDISPLAY, OnRefresh)                                                                      \
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrintDisabled)                                               \
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdatePrintDisabled)                                       \
    ON_COMMAND(ID_TEXT_UNDERLINE, OnUnderline)                                                               \
    ON_COMMAND(ID_TEXT_BOLD, OnBold)                                                                         \
    ON_COMMAND(ID_TEXT_ITALIC, OnItalic)                                                                     \
    ON_COMMAND(ID_TEXT_COLOR, OnTextColor)                                                                   \
    ON_COMMAND(ID_TEXT_ALIGN_RIGHT, OnAlignRight)                                                            \
    ON_COMMAND(ID_TEXT_ALIGN_LEFT, OnAlignLeft)                                                              \
    ON_COMMAND(ID_TEXT_ALIGN_CENTER, OnAlignCenter)                                                          \
    ON_UPDATE_COMMAND_UI(ID_TEXT_UNDERLINE, OnUpdateUnderline)                                               \
    ON_UPDATE_COMMAND_UI(ID_TEXT_BOLD, OnUpdateBold)                                                         \
    ON_UPDATE_COMMAND_UI(ID_TEXT_ITALIC, OnUpdateItalic)                                                     \
    ON_UPDATE_COMMAND_UI(ID_TEXT_COLOR, OnUpdateTextColor)                                                   \
    ON_UPDATE_COMMAND_UI(ID_TEXT_ALIGN_RIGHT, OnUpdateAlignRight)                                            \
    ON_UPDATE_COMMAND_UI(ID_TEXT_ALIGN_LEFT, OnUpdateAlignLeft)                                              \
    ON_UPDATE_COMMAND_UI(ID_TEXT_ALIGN_CENTER, OnUpdateAlignCenter)                                          \
    ON_UPDATE_COMMAND_UI(IDC_FONT_NAME, OnUpdateFontName)                                                    \
    ON_UPDATE_COMMAND_UI(IDC_FONT_SIZE, OnUpdateFontSize)

BEGIN_MESSAGE_MAP(CPrintEMFormView, CPrintFormView)
LAYOUT_EDITING_ENTRIES()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CPrintPMFormView, CPrintFormView)
LAYOUT_EDITING_ENTRIES()
END_MESSAGE_MAP()

namespace {

// The text tool asks for the next text first; Cancel goes back to the selection tool.
void RunTextTool(CPrintFormView* pView)
{
    CDrawTool::s_nCurrentShape = ShapeText;
    if (RunTextToolDialog(pView->GetDocument(), pView->GetPendingText()) != IDOK)
        CDrawTool::s_nCurrentShape = ShapeSelect;
}

} // namespace

CPrintEMFormView::CPrintEMFormView() = default;
CPrintEMFormView::~CPrintEMFormView() = default;

void CPrintEMFormView::OnInitialUpdate()
{
    CPrintFormView::OnInitialUpdate();
}

void CPrintEMFormView::OnDraw(CDC* pDC)
{
    CPrintFormView::OnDraw(pDC);
}

void CPrintEMFormView::OnDrawText()
{
    RunTextTool(this);
}

CPrintPMFormView::CPrintPMFormView() = default;
CPrintPMFormView::~CPrintPMFormView() = default;

void CPrintPMFormView::OnInitialUpdate()
{
    CPrintFormView::OnInitialUpdate();
}

void CPrintPMFormView::OnDraw(CDC* pDC)
{
    CPrintFormView::OnDraw(pDC);
}

void CPrintPMFormView::OnDrawText()
{
    RunTextTool(this);
}
