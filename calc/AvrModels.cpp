#include "calc/AvrModels.h"

#include <algorithm>
#include <iterator>

namespace {

using F = TBaudFamily;

// The captions, the second group's headers and keys are the ones its
// datasheet names them by; "\x96" is the en dash of code page 1252.
constexpr TBaudFamilyInfo kFamilies[kBaudFamilyCount] = {
    {F::kClassic, "classic", {"U2X = 0", "U2X = 1"}, {"UBBR", "UBBR"}, {"u2x0", "u2x1"},
     "Frequenz [Hz]", "U2X", true, 8},
    {F::kUart8, "uart8", {"U2X = 0", "kein U2X"}, {"UBBR", "UBBR"}, {"u2x0", "u2x1"},
     "Frequenz [Hz]", "U2X", false, 16},
    {F::kUart12, "uart12", {"U2X = 0", "kein U2X"}, {"UBBR", "UBBR"}, {"u2x0", "u2x1"},
     "Frequenz [Hz]", "U2X", false, 16},
    {F::kLin, "lin", {"LBT = 32", "LBT 8\x96" "63"}, {"LDIV", "LDIV/LBT"}, {"lbt32", "lbtbest"},
     "Frequenz [Hz]", nullptr, true, 8},
    {F::kFractional, "fractional", {"CLK2X = 0", "CLK2X = 1"}, {"BAUD", "BAUD"},
     {"clk2x0", "clk2x1"}, "CLK_PER [Hz]", "CLK2X", true, 8},
    {F::kXmega, "xmega", {"CLK2X = 0", "CLK2X = 1"}, {"BSEL/BSCALE", "BSEL/BSCALE"},
     {"clk2x0", "clk2x1"}, "fPER [Hz]", "CLK2X", true, 8},
};

constexpr TAvrModel kModels[] = {
    {"AT90CAN128", F::kClassic}, {"AT90S2313", F::kUart8}, {"AT90S2333", F::kUart12},
    {"AT90S4414", F::kUart8}, {"AT90S4433", F::kUart12}, {"AT90S8515", F::kUart8},
    {"AT90S8535", F::kUart8}, {"AT90USB1286", F::kClassic}, {"ATmega103", F::kUart8},
    {"ATmega128", F::kClassic}, {"ATmega1280", F::kClassic}, {"ATmega1284P", F::kClassic},
    {"ATmega16", F::kClassic}, {"ATmega1608", F::kFractional}, {"ATmega161", F::kClassic},
    {"ATmega162", F::kClassic}, {"ATmega163", F::kClassic}, {"ATmega164P", F::kClassic},
    {"ATmega168", F::kClassic}, {"ATmega169P", F::kClassic}, {"ATmega16M1", F::kLin},
    {"ATmega16U2", F::kClassic}, {"ATmega2560", F::kClassic}, {"ATmega256RFR2", F::kClassic},
    {"ATmega32", F::kClassic}, {"ATmega3208", F::kFractional}, {"ATmega324P", F::kClassic},
    {"ATmega328P", F::kClassic}, {"ATmega328PB", F::kClassic}, {"ATmega32C1", F::kLin},
    {"ATmega32M1", F::kLin}, {"ATmega32U4", F::kClassic}, {"ATmega48", F::kClassic},
    {"ATmega4808", F::kFractional}, {"ATmega4809", F::kFractional}, {"ATmega64", F::kClassic},
    {"ATmega640", F::kClassic}, {"ATmega644P", F::kClassic}, {"ATmega64C1", F::kLin},
    {"ATmega64M1", F::kLin}, {"ATmega8", F::kClassic}, {"ATmega808", F::kFractional},
    {"ATmega8515", F::kClassic}, {"ATmega8535", F::kClassic}, {"ATmega88", F::kClassic},
    {"ATtiny1604", F::kFractional}, {"ATtiny1614", F::kFractional}, {"ATtiny1624", F::kFractional},
    {"ATtiny1634", F::kClassic}, {"ATtiny167", F::kLin}, {"ATtiny202", F::kFractional},
    {"ATtiny2313", F::kClassic}, {"ATtiny3216", F::kFractional}, {"ATtiny3217", F::kFractional},
    {"ATtiny3224", F::kFractional}, {"ATtiny402", F::kFractional}, {"ATtiny412", F::kFractional},
    {"ATtiny424", F::kFractional}, {"ATtiny4313", F::kClassic}, {"ATtiny441", F::kClassic},
    {"ATtiny814", F::kFractional}, {"ATtiny841", F::kClassic}, {"ATtiny87", F::kLin},
    {"ATxmega128A1U", F::kXmega}, {"ATxmega128A3U", F::kXmega}, {"ATxmega128A4U", F::kXmega},
    {"ATxmega128B3", F::kXmega}, {"ATxmega128C3", F::kXmega}, {"ATxmega256A3BU", F::kXmega},
    {"ATxmega32A4U", F::kXmega}, {"ATxmega32E5", F::kXmega}, {"ATxmega64A1U", F::kXmega},
    {"ATxmega64B1", F::kXmega}, {"ATxmega64D4", F::kXmega}, {"ATxmega8E5", F::kXmega},
    {"AVR128DA48", F::kFractional}, {"AVR128DB48", F::kFractional}, {"AVR16DD14", F::kFractional},
    {"AVR16EA28", F::kFractional}, {"AVR16EB32", F::kFractional}, {"AVR32DA28", F::kFractional},
    {"AVR64DB32", F::kFractional}, {"AVR64DD32", F::kFractional}, {"AVR64DU32", F::kFractional},
    {"AVR64EA48", F::kFractional},
};

constexpr char kDefaultModelName[] = "ATmega128";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

const TBaudFamilyInfo& FamilyInfo(TBaudFamily family) {
  return kFamilies[static_cast<int>(family)];
}

std::span<const TAvrModel> AvrModels() { return kModels; }

const TAvrModel& DefaultAvrModel() {
  static const TAvrModel& model = *FindAvrModel(kDefaultModelName);
  return model;
}

const TAvrModel* FindAvrModel(std::string_view name) {
  const auto found = std::find_if(std::begin(kModels), std::end(kModels),
                                  [name](const TAvrModel& m) { return SameIgnoringCase(m.name, name); });
  return found == std::end(kModels) ? nullptr : found;
}
