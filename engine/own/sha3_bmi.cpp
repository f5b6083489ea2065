// Keccak-f[1600] compiled for BMI1 and BMI2: chi's ~x & y becomes one andn and every rotation a
// non-destructive rorx, which removes most of the register copies of the portable build.

#include "engine/own/x86_kernels.h"

#include "engine/own/keccak_rounds.h"

namespace velk::x86 {

void keccakF1600Bmi(std::uint64_t lanes[25]) {
    keccakRounds(lanes);
}

} // namespace velk::x86
