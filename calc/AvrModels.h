// The AVR models Baudix computes for. Each model has one of six baud-rate
// generator families; the family decides how a register value follows from
// the clock and the rate (BaudGenerators.h) and what the table calls its
// columns. The window's model list and baudix-table's --device read the same
// list, so a model is spelt one way everywhere.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class TBaudFamily { kClassic, kUart8, kUart12, kLin, kFractional, kXmega };

// What a family looks like in the table: texts in code page 1252.
struct TBaudFamilyInfo {
  TBaudFamily family;
  const char* key;                // "classic": baudix-table's and the JSON's name
  const char* captions[2];        // over each column group: "U2X = 0", "U2X = 1"
  const char* registerHeaders[2]; // each group's register column: "UBBR"
  const char* groupKeys[2];       // each group in JSON and CSV: "u2x0", "u2x1"
  const char* frequencyLabel;     // the clock the generator runs from: "Frequenz [Hz]"
  const char* speedDefine;        // the double-speed bit in a C header; nullptr: none
  bool secondGroup;               // false: the second group's cells are all "-"
  int32_t maxRateDivisor;         // row 18 shows f div this
};

inline constexpr int kBaudFamilyCount = 6;
const TBaudFamilyInfo& FamilyInfo(TBaudFamily family);

struct TAvrModel {
  const char* name;  // "ATmega128", as datasheets write it
  TBaudFamily family;
};

// Every model, sorted by name as written (byte order, which here is also the
// order without regard to case).
std::span<const TAvrModel> AvrModels();

// The ATmega128, the model of every start.
const TAvrModel& DefaultAvrModel();

// The model named `name` in any letter case, or nullptr.
const TAvrModel* FindAvrModel(std::string_view name);
