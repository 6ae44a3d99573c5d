// The floor for the start-up and idle measurements: the least a Win32 program can do to
// show a dialog of the wizard's size. One empty dialog from an in-memory template with
// the wizard window's template style, extended style, size and font, shown and run by a
// plain GetMessageA loop. No C runtime, like setup.exe, so that both start alike; it
// imports only KERNEL32 and USER32.
#include <windows.h>

#include <cstddef>

#include "bench/floor_caption.h"

namespace {

// A DLGTEMPLATE with its variable part: no menu, the dialog class, the caption, and the
// font (DS_SETFONT). Every field is 16-bit aligned, so the layout needs no packing.
struct FloorTemplate {
  DWORD style;
  DWORD extendedStyle;
  WORD itemCount;
  short x;
  short y;
  short cx;
  short cy;
  WORD menu;
  WORD windowClass;
  wchar_t caption[sizeof(FLOOR_CAPTION)];
  WORD pointSize;
  wchar_t face[sizeof("MS Sans Serif")];
};
static_assert(sizeof(wchar_t) == 2, "templates hold UTF-16 text");
static_assert(offsetof(FloorTemplate, caption) == 22, "no padding inside the template");

#define WIDEN2(text) L##text
#define WIDEN(text) WIDEN2(text)

// The wizard window's template: WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
// DS_CENTER | DS_SETFOREGROUND | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE |
// DS_3DLOOK, hidden until shown; WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE; 418 by 240
// dialog units of MS Sans Serif 8.
alignas(4) constexpr FloorTemplate kTemplate = {
    0x84C80AD4, 0x00010100, 0, 84, 53, 418, 240, 0, 0, WIDEN(FLOOR_CAPTION), 8, L"MS Sans Serif"};

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

UINT RunFloor() {
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                           reinterpret_cast<LPCDLGTEMPLATEA>(&kTemplate), nullptr,
                                           FloorDialogProc, 0);
  if (dialog == nullptr) {
    return 1;
  }
  ShowWindow(dialog, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(dialog, &message) == FALSE) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return 0;
}

}  // namespace

// The process entry: Windows may enter with the stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer)) void FloorMain() {
  ExitProcess(RunFloor());
}
