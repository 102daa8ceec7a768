// CCreateContext: what a frame window needs to build its contents when a document is
// opened or created: the view class to create, the document it shows, the template that
// made them, and the frame being built.
#pragma once

#include "platform/base/CObject.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CView;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr; // the view to create in the frame
    CDocument* m_pCurrentDoc = nullptr;       // the document the new view shows
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;         // a view the new frame copies its settings from
    CFrameWnd* m_pCurrentFrame = nullptr; // the frame being built
};
