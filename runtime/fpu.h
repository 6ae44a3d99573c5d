// The x87 floating-point unit, as the run time handles it around operating-system calls
// and at start-up. The same instructions exist on both builds' processors.
#pragma once

#include "platform.h"

// The whole unit state as FNSAVE writes it (108 bytes in 32-bit protected mode).
struct FpuState {
  BYTE bytes[108];
};

// Saves the complete unit state; FNSAVE leaves the unit initialised, so whatever runs
// next starts from the default state.
inline void SaveFpuState(FpuState* state) {
  __asm__ __volatile__("fnsave %0" : "=m"(*state));
}

inline void RestoreFpuState(const FpuState* state) {
  __asm__ __volatile__("frstor %0" : : "m"(*state));
}

inline void SetFpuControlWord(WORD word) {
  __asm__ __volatile__("fldcw %0" : : "m"(word));
}

inline WORD FpuControlWord() {
  WORD word = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(word));
  return word;
}

// All six exceptions masked, 64-bit significand, rounding to nearest, infinity control
// set: the word the program runs with.
constexpr WORD kProgramFpuControlWord = 0x133F;
