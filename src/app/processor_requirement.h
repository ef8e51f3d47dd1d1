#pragma once
// Whether a processor can run the 32-bit program, from what CPUID tells of it. The program's
// runtime libraries and its compiler's default target use CMOV and FCOMI, which came with the
// Pentium Pro; the AMD K6 family, the IDT WinChip, early VIA C3 and the Pentium MMX lack them.

#include <cstdint>

namespace app {

struct ProcessorId {
  std::uint32_t highestLeaf;  // CPUID leaf 0's EAX; 0 where the processor has no CPUID
  std::uint32_t features;     // CPUID leaf 1's EDX, read only where highestLeaf is 1 or more
};

// FCOMI is an x87 instruction of the same generation as CMOV: a processor has it where both the
// floating-point unit (bit 0) and CMOV (bit 15) are there.
constexpr bool RunsTheProgram(ProcessorId processor) {
  constexpr std::uint32_t kFpuAndCmov = (1u << 0) | (1u << 15);
  return processor.highestLeaf >= 1 && (processor.features & kFpuAndCmov) == kFpuAndCmov;
}

}  // namespace app
