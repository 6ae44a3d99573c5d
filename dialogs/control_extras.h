// The toolkit's further control operations: text reading, control callbacks, focus,
// list-like controls, check boxes, pictures, removal, sizes and positions, caller
// values and the thread's dialog font. A "window" here is a control, or the dialog
// itself for kDialogItself.
#pragma once

#include "platform.h"

#include "dialogs/registry.h"

BOOL PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Copies a window's text into the buffer (at most size - 1 characters and a NUL) and
// returns the number of characters copied.
DWORD ReadWindowText(HWND dialog, LONG id, char* buffer, DWORD size);

void SetControlCallback(HWND dialog, LONG id, DialogCallback callback);
void FocusControl(HWND dialog, LONG id);

// Combo boxes and list boxes; positions count from 1.
void AddListItem(HWND dialog, LONG id, const char* text);
void DeleteListItem(HWND dialog, LONG id, LONG position);
// The selected entry's text; 0 characters when nothing is selected.
DWORD ReadListSelection(HWND dialog, LONG id, char* buffer, DWORD size);
void EmptyList(HWND dialog, LONG id);
void SelectListItem(HWND dialog, LONG id, LONG position);

LRESULT ReadCheck(HWND dialog, LONG id);
void SetCheck(HWND dialog, LONG id, WPARAM state);
void CheckOption(HWND dialog, LONG firstId, LONG lastId, LONG chosenId);

// Gives an image control (kinds 10 to 13) the picture of a bitmap or icon resource,
// found by name without regard to case ("#" and digits for a number); the old picture
// is destroyed.
void SetControlImage(HWND dialog, LONG id, const char* resourceName);

// Destroys a control and discards its record.
void RemoveControl(HWND dialog, LONG id);

// Sizes and positions in the dialog's own coordinate mode.
void ClientSizeOf(HWND dialog, LONG id, LONG* width, LONG* height);
void WindowSizeOf(HWND dialog, LONG id, LONG* width, LONG* height);
void PositionOf(HWND dialog, LONG id, LONG* x, LONG* y);
void MoveControl(HWND dialog, LONG id, LONG x, LONG y, LONG width, LONG height);

// Dialog units to pixels for a dialog (MapDialogRect).
void DialogUnitsToPixels(HWND dialog, RECT* rect);

// Caller values 1 to 8 of a window's record; 0 for a window without a record.
LONG CallerValue(HWND dialog, LONG id, int number);
void SetCallerValue(HWND dialog, LONG id, int number, LONG value);

// The face (at most 31 characters) and point size of dialogs made later on this thread.
void SetThreadDialogFont(const char* face, LONG pointSize);
