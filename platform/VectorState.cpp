#include "platform/VectorState.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>

namespace {
__attribute__((target("avx"))) void ZeroUpperHalves() { _mm256_zeroupper(); }
}  // namespace

void ClearUpperVectorHalves() {
  // Also false where the system does not save the AVX registers.
  static const bool avx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
  if (avx) ZeroUpperHalves();
}
#else
void ClearUpperVectorHalves() {}
#endif
