#include "tests/estimate/CPlainChildFrame.h"

IMPLEMENT_DYNCREATE(CPlainChildFrame, CMDIChildWnd)

CPlainChildFrame::CPlainChildFrame() = default;

CPlainChildFrame::~CPlainChildFrame() = default;

BOOL CPlainChildFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | WS_MAXIMIZE;
    return CMDIChildWnd::PreCreateWindow(cs);
}
