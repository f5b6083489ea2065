#include "engine/own/cpu_features.h"

#include <atomic>

#if defined(__x86_64__) || defined(_M_X64)
#include <cpuid.h>
#endif

namespace velk {
namespace {

unsigned probe() {
    unsigned found = 0;
#if defined(__x86_64__) || defined(_M_X64)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0)
        return 0;
    if (ecx & (1u << 9))
        found |= kCpuSsse3;
    if (ecx & (1u << 19))
        found |= kCpuSse41;
    if (ecx & (1u << 1))
        found |= kCpuPclmul;
    // Leaf 7 exists only when the highest standard leaf reaches it.
    if (__get_cpuid_max(0, nullptr) >= 7) {
        __cpuid_count(7, 0, eax, ebx, ecx, edx);
        if (ebx & (1u << 29))
            found |= kCpuSha;
        if ((ebx & (1u << 3)) && (ebx & (1u << 8)))
            found |= kCpuBmi;
    }
#endif
    return found;
}

std::atomic<Acceleration> gMode{Acceleration::Automatic};

} // namespace

unsigned detectedCpuFeatures() {
    static const unsigned features = probe();
    return features;
}

void setAcceleration(Acceleration mode) {
    gMode.store(mode, std::memory_order_relaxed);
}

Acceleration acceleration() {
    return gMode.load(std::memory_order_relaxed);
}

unsigned usableCpuFeatures() {
    return acceleration() == Acceleration::Automatic ? detectedCpuFeatures() : 0u;
}

} // namespace velk
