// The storage of an embedded picture: what an item made from a bitmap (inserted from a
// file, pasted or dropped from another program) keeps in its "Embedding n" storage.
#pragma once

#include "platform/base/Types.h"
#include "platform/ole/CCompoundFile.h"

#include <vector>

// The storage of an embedded picture made from a DIB: the object's class and type name
// ("\1CompObj"), an embedded object's flags ("\1Ole"), the picture as its cached
// presentation ("\2OlePres000", content aspect, the given extent) and as the object's own
// data ("CONTENTS").
CCompoundStorage MakePictureItemStorage(const std::vector<BYTE>& dib, SIZE extentHimetric);

// The extent in HIMETRIC of a DIB from its width, height and the resolution in its 40-byte
// header (96 dpi when it gives none or an absurd one); (0, 0) for fewer than 40 bytes or
// a width or height that is not positive.
SIZE DibHeaderExtentHimetric(const std::vector<BYTE>& dib);
