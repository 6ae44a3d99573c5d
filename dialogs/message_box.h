// The platform's message box.
#pragma once

#include "platform.h"

// Shows a message box without an owner window and returns the button that closed it
// (IDYES, IDNO, ...), or 0 when the platform cannot show it. An empty caption is
// replaced by the toolkit's default caption.
int ShowMessageBox(const char* text, DWORD style, const char* caption);

// The same, owned by a window, which the platform disables while the box is open.
int ShowOwnedMessageBox(HWND owner, const char* text, DWORD style, const char* caption);
