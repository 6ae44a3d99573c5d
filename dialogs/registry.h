// The toolkit's bookkeeping: one record for each dialog and each control that it built,
// found by window handle. Dialog and control records share one layout; the kind flags
// tell them apart.
#pragma once

#include "platform.h"

// The application's function for a dialog or a control: (window, message, wParam,
// lParam); a result of 0 leaves the message to the toolkit.
typedef INT_PTR (*DialogCallback)(HWND, UINT, WPARAM, LPARAM);  // NOLINT(modernize-use-using)

// A colour: 0 to 0xFFFFFF is 0x00BBGGRR; below 0 the special values.
typedef LONG Colour;  // NOLINT(modernize-use-using)
constexpr Colour kDefaultColour = -1;
constexpr Colour kTransparentColour = -2;
constexpr Colour kUnsetColour = -3;

// Kind flags.
constexpr DWORD kDialogUnitsFlag = 0x1;
constexpr DWORD kPixelsFlag = 0x2;
constexpr DWORD kUnitBitsMask = 0x7;
constexpr DWORD kImageIconFlag = 0x100;
constexpr DWORD kImageBitmapFlag = 0x200;
constexpr DWORD kRunFlag = 0x400;  // shown to run, with the toolkit's loop or the caller's
constexpr DWORD kControlRecordFlag = 0x2000;
constexpr DWORD kDialogRecordFlag = 0x4000;

// Control kinds of AddControl, kept in a control's record (0 takes its window class from
// the caller).
enum ControlKind : int {
  kCustomControl = 0,
  kPushButton = 1,
  kThreeStateCheckBox = 2,
  kCheckBox = 3,
  kGroupFrame = 4,
  kLabel = 5,
  kLine = 6,
  kOptionButton = 7,
  kScrollBar = 8,
  kTextBox = 9,
  kImage = 10,
  kStretchedImage = 11,
  kImageButton = 12,
  kStretchedImageButton = 13,
  kDrawingSurface = 14,
  kComboBox = 15,
  kListBox = 16,
};

// The picture kinds, and those of them that are buttons.
inline bool IsImageKind(int kind) {
  return kind >= kImage && kind <= kStretchedImageButton;
}
inline bool IsButtonImageKind(int kind) {
  return kind == kImageButton || kind == kStretchedImageButton;
}

// The off-screen surface of a drawing-surface control.
struct DrawingSurface {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ displacedBitmap;  // what the bitmap pushed out of the context
  HFONT font;
  HGDIOBJ displacedFont;  // what the font pushed out of the context
  LONG width;
  LONG height;
};

struct WindowRecord {
  WindowRecord* next;  // the next older record
  HWND window;         // the key
  HWND parent;         // control: its dialog; dialog: the owner given to NewDialog
  DWORD kindFlags;
  int showCommand;   // dialog: how ShowDialogModal shows it
  HFONT dialogFont;  // dialog: the platform's font for it; never deleted here
  DialogCallback callback;
  LONG* resultLocation;  // dialog: where EndDialogWith stores the result
  HBRUSH brush;          // the background brush, shared by colour
  Colour background;
  Colour foreground;
  DrawingSurface surface;
  COLORREF defaultTextColour;
  COLORREF defaultBackgroundColour;
  int controlKind;  // control: the kind given to AddControl; 0 for a dialog
  DWORD style;      // dialog: the adjusted style
  HANDLE image;     // image kinds 10 to 13
  HICON bigIcon;
  HICON smallIcon;
  LONG callerValues[8];
};

inline bool IsDialogRecord(const WindowRecord* record) {
  return record != nullptr && (record->kindFlags & kDialogRecordFlag) != 0;
}
inline bool IsControlRecord(const WindowRecord* record) {
  return record != nullptr && (record->kindFlags & kControlRecordFlag) != 0;
}

// A new zeroed record at the head of the registry, or nullptr when the window has a
// record already or memory runs out.
WindowRecord* RegisterRecord(HWND window, HWND parent, DWORD kindFlags, int controlKind);

// The window's record, or nullptr.
WindowRecord* FindRecord(HWND window);

// Releases the records of the window's controls (each with its own controls first), then
// the window's own record with its brush, image, icons and drawing surface.
void DiscardRecord(HWND window);

// The record of the first registered window whose background colour is the given one,
// newest first; nullptr when there is none.
WindowRecord* FindRecordWithBackground(Colour background);

// The newest record of a control whose parent is the window; nullptr when there is none.
WindowRecord* FindChildRecord(HWND parent);

// Start-up: the registry is empty and its lock free.
void ResetWindowRegistry();
