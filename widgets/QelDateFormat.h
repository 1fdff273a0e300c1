// TQelDateFormat: how an entry field of mask type meDate writes dates. It
// has no effect on the other mask types.
#pragma once

#include <string>

#include "framework/Object.h"

class TQelDateFormat : public TObject {
 public:
  // A picture such as "dd.mm.yyyy".
  std::string ShortDateFormat = "dd.mm.yyyy";
  char DateSeparator = '.';

  void Assign(const TQelDateFormat& source) {
    ShortDateFormat = source.ShortDateFormat;
    DateSeparator = source.DateSeparator;
  }
};
