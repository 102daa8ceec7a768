// What a grid view that lays a CGridCellEdit over its cells offers the editor: the keys
// that end an edit. The estimate grid view and the parts grid view implement it by passing
// the key to their own key-down handling:
//
//   class CMorvelEMView : public CMorvelView, public IGridCellEditOwner {
//       void OnCellEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override
//       {
//           OnKeyDown(nChar, nRepCnt, nFlags);
//       }
//       ...
//   };
//
// The editor only hands keys to a parent window that implements this; in any other parent
// it is a plain single-line editor.
#pragma once

#include "platform/base/Types.h"

class IGridCellEditOwner {
public:
    // Enter, Down, Up or Esc was pressed in the editor. The editor has hidden itself and
    // given the view the focus; nChar, nRepCnt and nFlags are those of the key-down message.
    virtual void OnCellEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) = 0;

protected:
    IGridCellEditOwner() = default;
    ~IGridCellEditOwner() = default;
    IGridCellEditOwner(const IGridCellEditOwner&) = default;
    IGridCellEditOwner& operator=(const IGridCellEditOwner&) = default;
};
