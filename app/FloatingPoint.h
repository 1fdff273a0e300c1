// The processor's floating-point environment: the x87 control word $1332
// (round to nearest, 64-bit mantissa, invalid operation, division by zero
// and overflow unmasked; underflow, precision and denormals masked), set at
// process start and again after every floating-point fault, and the bridge
// that turns an unmasked x87 fault into a C++ exception (EZeroDivide,
// EInvalidOp, EOverflow) thrown where the fault happened.
//
// The bridge can only unwind through code compiled with
// -fnon-call-exceptions; code without it that holds cleanups ends the
// process instead (std::terminate) when a fault happens in it.
#pragma once

#include <cstdint>

inline constexpr uint16_t kFpuControlWord = 0x1332;

// Clears pending x87 exceptions and loads kFpuControlWord.
void SetFpuControlWord();
// The x87 control word as stored (bit 6 is reserved and reads as 1).
uint16_t FpuControlWord();
// Installs the fault bridge once per process.
void InstallFpuFaultBridge();
