// The platform's message box.
#pragma once

#include "platform.h"

// Shows a message box without an owner window and returns the button that closed it
// (IDYES, IDNO, ...), or 0 when the platform cannot show it. An empty caption is
// replaced by the toolkit's default caption.
int ShowMessageBox(const char* text, DWORD style, const char* caption);

// The same, owned by a window, which the platform disables while the box is open. The
// text may be UTF-16, for a text that names a path (the box is then a UTF-16 one); the
// caption is the program's own ANSI text, of at most 63 characters.
int ShowOwnedMessageBox(HWND owner, const char* text, DWORD style, const char* caption);
int ShowOwnedMessageBox(HWND owner, const WCHAR* text, DWORD style, const char* caption);
