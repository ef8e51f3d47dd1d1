#include "app/processor_requirement.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// CPUID leaf 1 EDX bits, as Intel's manual numbers them.
constexpr std::uint32_t kFpu = 1u << 0, kTsc = 1u << 4, kCx8 = 1u << 8, kPge = 1u << 13,
                        kCmov = 1u << 15, kMmx = 1u << 23, kSse = 1u << 25;

TEST(ProcessorRequirement, OnlyProcessorsWithCmovAndTheFpuRunTheProgram) {
  struct Row {
    const char* processor;
    app::ProcessorId id;
    bool runs;
  } const rows[] = {
      {"486 without CPUID", {0, 0}, false},
      {"CPUID without leaf 1 (its bits are not read)", {0, kFpu | kCmov}, false},
      {"Pentium MMX", {1, kFpu | kTsc | kCx8 | kMmx}, false},
      {"AMD K6-2", {1, kFpu | kTsc | kCx8 | kPge | kMmx}, false},
      {"CMOV without an FPU, so no FCOMI", {1, kTsc | kCx8 | kCmov}, false},
      {"Pentium Pro", {2, kFpu | kTsc | kCx8 | kPge | kCmov}, true},
      {"Pentium III", {3, kFpu | kTsc | kCx8 | kPge | kCmov | kMmx | kSse}, true},
  };
  for (const Row& row : rows) EXPECT_EQ(app::RunsTheProgram(row.id), row.runs) << row.processor;
}

}  // namespace
