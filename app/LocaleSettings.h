// The Windows side of the locale conventions: LocaleFormats (calc/) read
// through GetLocaleInfoA for the thread's locale.
#pragma once

// Loads LocaleFormats for the thread's current locale (GetThreadLocale).
void LoadThreadLocaleFormats();
