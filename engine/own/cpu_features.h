#pragma once
// Which CPU-specific kernels the own digests may use. The portable code is always there; a
// kernel runs only when the processor reports its instructions at run time and the process
// has not switched acceleration off (tests run every path that way on every build).

namespace velk {

enum CpuFeature : unsigned {
    kCpuSsse3 = 1u << 0,
    kCpuSse41 = 1u << 1,
    kCpuPclmul = 1u << 2,
    kCpuSha = 1u << 3, // the SHA extensions (SHA-1 and SHA-256 rounds)
    kCpuBmi = 1u << 4, // BMI1 and BMI2 together (andn, rorx)
};

// What the processor offers, detected once; 0 on processors other than x86-64.
unsigned detectedCpuFeatures();

enum class Acceleration {
    Automatic,    // every kernel the processor supports
    PortableOnly, // the plain C++ paths alone
};

// Process-wide. Every digest path gives the same bytes, so switching between updates of one
// state changes nothing but the speed.
void setAcceleration(Acceleration mode);
Acceleration acceleration();

// The features the digests use now: the detected ones under Automatic, none otherwise.
unsigned usableCpuFeatures();

inline bool cpuCanUse(unsigned features) {
    return (usableCpuFeatures() & features) == features;
}

} // namespace velk
