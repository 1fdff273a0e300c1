// Prints the text of Baudix's status bar, asked from another process through
// the platform (WM_GETTEXT gives the first panel's text), for the end-to-end
// test. Exits with 1 when the window or its bar is not there.
#include <windows.h>
#include <stdio.h>

int main(void) {
  HWND form = FindWindowA(NULL, "Baudix - www.baudix.example");
  HWND bar = form ? FindWindowExA(form, NULL, "TStatusBar", NULL) : NULL;
  char text[64] = "";
  if (!bar) return 1;
  SendMessageA(bar, WM_GETTEXT, sizeof text, (LPARAM)text);
  puts(text);
  return 0;
}
