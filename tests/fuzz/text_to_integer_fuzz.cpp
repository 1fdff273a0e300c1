// TextToInteger on arbitrary bytes against an independent reading of the
// integer syntax: the same value for every text it accepts, and for every
// other text EConvertError with the whole text in its message.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "calc/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> expected = ExpectedInteger(text);
  try {
    const int32_t value = TextToInteger(text);
    Expect(expected.has_value(), Quoted(text), " accepted as ", value);
    Expect(*expected == value, Quoted(text), " gave ", value, ", expected ", *expected);
  } catch (const EConvertError& e) {
    Expect(!expected.has_value(), Quoted(text), " rejected, expected ", expected.value_or(0));
    Expect(e.Message() == InvalidIntegerMessage(text), Quoted(text), " rejected with ",
           Quoted(e.Message()));
  } catch (...) {
    EscapedError(Quoted(text));
  }
  return 0;
}
