// Dialogs and controls built at run time: the dialog from a template written in memory,
// its controls one at a time from a kind number and a rectangle.
#pragma once

#include "platform.h"

#include "dialogs/registry.h"

// Coordinate modes of NewDialog: bit 1 set means pixels, otherwise dialog units.
constexpr LONG kDialogUnitsMode = 1;
constexpr LONG kPixelsMode = 2;

// An x or y of this value centres the dialog.
constexpr LONG kNoPosition = static_cast<LONG>(0x80000000u);

// One row of the control kind table.
struct ControlKindRow {
  const char* windowClass;
  DWORD defaultStyle;
  DWORD forcedBits;
  DWORD removedBits;
};

// Rows for kinds 1 to 16 (index 0 is unused).
extern const ControlKindRow ControlKindTable[kListBox + 1];

// The dialog template this toolkit writes: the plain DLGTEMPLATE with no menu, the
// platform's dialog class, a one-blank title and the thread's dialog font. Returns the
// number of bytes written (56 for "MS Sans Serif"; at most 92).
constexpr DWORD kTemplateCapacity = 92;
DWORD WriteDialogTemplate(BYTE (&buffer)[kTemplateCapacity], DWORD style, DWORD extendedStyle,
                          LONG x, LONG y, LONG width, LONG height, const WCHAR* face,
                          LONG pointSize);

// The style a dialog is created with, from the style asked for.
DWORD AdjustDialogStyle(DWORD style, LONG x, LONG y, HWND parent);

// Creates a hidden modeless dialog with its caption set and its record registered; 0 on
// failure. Width and height are the client size, in the dialog's coordinate mode.
HWND NewDialog(LONG mode, HWND parent, const char* caption, LONG x, LONG y, LONG width, LONG height,
               DWORD style, DWORD extendedStyle);

// Creates a control of a dialog built by NewDialog; 0 on failure. A style of 0 asks for
// the kind's default style. Items, when given, are added to list-like controls up to the
// first missing or empty text. The class name is used for kind 0 only.
HWND AddControl(int kind, HWND dialog, LONG id, const char* text, const char* const* items,
                DWORD itemCount, LONG x, LONG y, LONG width, LONG height, DWORD style,
                DWORD extendedStyle, DialogCallback callback, const char* className);

// Gives a dialog its big (32 x 32) and small (16 x 16) icon from an icon resource.
void SetDialogIcon(HWND dialog, const char* resourceName);
