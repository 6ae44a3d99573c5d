// Operations on the controls of a built dialog, and their colours.
#pragma once

#include "platform.h"

#include "dialogs/registry.h"

// The identifier that stands for the dialog itself in EnableControl and SetControlColor.
constexpr LONG kDialogItself = static_cast<LONG>(0x80000000u);

// A colour from red, green and blue, each clamped to 0..255.
Colour MakeColour(LONG red, LONG green, LONG blue);

// The colours SetControlColor stores: a text colour of 0 or more keeps its low 24 bits,
// any negative one becomes the default (-1); a background of -2 stays transparent, 0 or
// more keeps its low 24 bits, any other negative value becomes the default.
Colour NormaliseTextColour(Colour text);
Colour NormaliseBackgroundColour(Colour background);

// The control's window (GetDlgItem); 0 when the dialog has no such control.
HWND ControlHandle(HWND dialog, LONG id);

// The same, except that kDialogItself gives the dialog.
HWND ControlOrDialog(HWND dialog, LONG id);

// SendMessageA with the arguments unchanged.
LRESULT SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Enables (on nonzero) or disables a control, or the dialog for kDialogItself.
void EnableControl(HWND dialog, LONG id, LONG on);

// Replaces a control's text; the control repaints itself.
void SetControlText(HWND dialog, LONG id, const char* text);

// Gives a control (or the dialog, for kDialogItself) a text and a background colour. A
// negative text colour means the default; a background of -2 is transparent, other
// negative values the default. Background brushes are shared by colour. Takes effect at
// the next painting.
void SetControlColor(HWND dialog, LONG id, Colour text, Colour background);

// Repaints a window and its children at once, and, for a transparent window, the part
// of each transparent ancestor behind it.
void RedrawControl(HWND window);

// The colouring of the dialog procedure for WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC: the
// brush to paint with, or 0 to leave the window to the platform.
INT_PTR ColourControl(UINT message, HDC dc, HWND window);

// The dialog procedure tells the colouring which combo box has its list dropped down.
void NoteComboNotification(WPARAM wParam, LPARAM lParam);
