// Constant tables of the PDF417 encoder: codeword bar patterns and Reed-Solomon generator
// coefficients (ISO/IEC 15438).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace pdf417 {

// Bar patterns of codeword values 0-928 for clusters 0, 3 and 6, in that order. Each entry holds
// the 17 modules in its low 17 bits, first module in bit 16, 1 = bar.
extern const std::array<std::array<uint32_t, 929>, 3> CLUSTERS;

// Reed-Solomon generator coefficients a0 ... a(k-1) of error levels 0-8, k = 2^(level + 1).
extern const std::array<std::span<const uint16_t>, 9> ERROR_LEVEL;

} // namespace pdf417
