// Loading the x87 control word, for running the recalculation as the
// application does: with the control word $1332, under which an invalid
// operation, a division by zero or an overflow faults.
#pragma once

#include <cstdint>

inline constexpr uint16_t kApplicationControlWord = 0x1332;

// Loads the x87 control word and returns the previous one.
inline uint16_t LoadX87ControlWord(uint16_t word) {
  uint16_t previous = 0;
  asm volatile("fnstcw %0" : "=m"(previous));
  asm volatile("fclex\n\tfldcw %0" : : "m"(word));
  return previous;
}
