#include "app/LocaleSettings.h"

#include <windows.h>

#include "calc/LocaleFormats.h"

void LoadThreadLocaleFormats() {
  const LCID locale = GetThreadLocale();
  LoadLocaleFormats([locale](uint32_t item, char* buffer, int size) {
    return GetLocaleInfoA(locale, item, buffer, size);
  });
}
