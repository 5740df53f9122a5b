// Clearing the upper halves of the vector registers that drawing code may leave in use.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/VectorState.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <cpuid.h>

namespace {

// XGETBV with ECX = 1 reports which register states hold data; bit 2 is the AVX upper halves.
constexpr std::uint32_t kUpperHalvesInUse = 1u << 2;

bool CanReadStatesInUse() {
  unsigned a, b, c, d;
  return __get_cpuid_count(0xD, 1, &a, &b, &c, &d) && (a & (1u << 2));
}

std::uint32_t StatesInUse() {
  std::uint32_t lo, hi;
  asm volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
  return lo;
}

// A 256-bit write the compiler does not see, so no clearing of its own follows it.
__attribute__((target("avx"))) void TakeUpperHalves() { asm volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1"); }

TEST(VectorState, ClearingFreesTheUpperHalves) {
  if (!__builtin_cpu_supports("avx") || !CanReadStatesInUse())
    GTEST_SKIP() << "the processor has no AVX registers or cannot report their use";
  TakeUpperHalves();
  ASSERT_TRUE(StatesInUse() & kUpperHalvesInUse);
  ClearUpperVectorHalves();
  EXPECT_FALSE(StatesInUse() & kUpperHalvesInUse);
}

}  // namespace
#endif
