// Data compaction of the PDF417 encoder, shared by PDF417.cpp only.
#pragma once

#include "PDF417.h"

#include <string_view>

namespace pdf417 {

// Segments, merges and compacts `text` (1-5420 bytes) into p.codewords, the length descriptor
// first, and sets p.lenCodewords to the count. Returns false when the data codewords would pass
// 926 (error 1); the codewords then hold a partial result.
bool compactText(PDF417Param& p, std::string_view text);

} // namespace pdf417
