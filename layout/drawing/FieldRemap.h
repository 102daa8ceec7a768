// Rewriting the item names of field tokens after a layout's form was changed: every
// "$見積(", "$部材(" or "$情報(" token that names an item of the replaced form is made to
// name the item of the form now in use that the user mapped to it, and a token whose item
// has no counterpart is removed from the text (both "$" included).
//
// The mapping comes from the item-mapping dialog, which gives one entry per item of the
// form now in use: the index of the replaced form's item chosen for it, or -1. A token
// naming replaced item k therefore goes to the first item j of the form in use whose entry
// is k. Occurrence suffixes are kept meaningful: "金額^1" names the second item called
// 金額 of the replaced form, and the new name carries "^k" again when the item it now names
// is not the first of its name in the form in use.
#pragma once

#include "app/ItemMapping.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"

#include <vector>

struct CFieldRemap {
    enum Family { familyEstimate, familyParts, familyInformation };

    Family family = familyEstimate;
    std::vector<CString> oldNames; // item names of the replaced form, in item order
    std::vector<CString> newNames; // item names of the form in use
    std::vector<int> sourceOfNew;  // per item of the form in use: the replaced item, or -1
};

// The text with its tokens of the family rewritten; everything else byte for byte.
CString RemapFieldTokens(const CString& strText, const CFieldRemap& remap);

// The remap of a family from the form in use, the replaced form (both with GetItemNames and
// GetCount) and the item-mapping dialog's answer, one entry per item of the form in use.
template <class Form>
CFieldRemap MakeFieldRemap(CFieldRemap::Family family, const Form& current, const Form& previous,
                           const CStringArray& map)
{
    CFieldRemap remap;
    remap.family = family;
    remap.oldNames = previous.GetItemNames();
    remap.newNames = current.GetItemNames();
    std::vector<CString> labels;
    for (INT_PTR i = 0; i < map.GetSize(); ++i)
        labels.push_back(map[i]);
    remap.sourceOfNew = ItemMapping::DecodeMapping(labels, previous.GetCount());
    return remap;
}
