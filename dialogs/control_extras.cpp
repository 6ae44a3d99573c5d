#include "dialogs/control_extras.h"

#include "dialogs/controls.h"
#include "dialogs/geometry.h"
#include "runtime/startup.h"
#include "runtime/thread_record.h"

namespace {

constexpr int kCallerValueCount = 8;

bool IsCombo(HWND control) {
  const WindowRecord* record = FindRecord(control);
  return record != nullptr && record->controlKind == kComboBox;
}

bool InUnits(HWND dialog) {
  const WindowRecord* record = FindRecord(dialog);
  return record != nullptr && (record->kindFlags & kDialogUnitsFlag) != 0;
}

// Pixels of one horizontal and one vertical dialog unit, times 4 and 8.
POINT BaseUnits(HWND dialog) {
  RECT base{0, 0, 4, 8};
  MapDialogRect(dialog, &base);
  return POINT{base.right > 0 ? base.right : 1, base.bottom > 0 ? base.bottom : 1};
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* wanted, LPCSTR found) {
  if (IS_INTRESOURCE(found)) {
    if (wanted[0] != '#') {
      return false;
    }
    DWORD number = 0;
    for (const char* p = wanted + 1; *p != '\0'; ++p) {
      if (*p < '0' || *p > '9') {
        return false;
      }
      number = number * 10 + static_cast<DWORD>(*p - '0');
    }
    return number == static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(found));
  }
  for (; *wanted != '\0' && *found != '\0'; ++wanted, ++found) {
    if (Lower(*wanted) != Lower(*found)) {
      return false;
    }
  }
  return *wanted == *found;
}

struct NameSearch {
  const char* wanted;
  bool found;
};

BOOL CALLBACK MatchResourceName(HMODULE /*module*/, LPCSTR /*type*/, LPSTR name, LONG_PTR data) {
  auto* search = reinterpret_cast<NameSearch*>(data);
  if (SameName(search->wanted, name)) {
    search->found = true;
    return FALSE;  // stop enumerating
  }
  return TRUE;
}

bool HasResource(const char* name, LPCSTR type) {
  NameSearch search{name, false};
  EnumResourceNamesA(ProgramInstance(), type, MatchResourceName,
                     reinterpret_cast<LONG_PTR>(&search));
  return search.found;
}

// A picture of either type, released by its own call.
void ReleaseImage(HANDLE image, bool bitmap) {
  if (image == nullptr) {
    return;
  }
  if (bitmap) {
    DeleteObject(image);
  } else {
    DestroyIcon(static_cast<HICON>(image));
  }
}

}  // namespace

BOOL PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(window, message, wParam, lParam);
}

DWORD ReadWindowText(HWND dialog, LONG id, char* buffer, DWORD size) {
  if (buffer == nullptr || size == 0) {
    return 0;
  }
  buffer[0] = '\0';
  HWND window = ControlOrDialog(dialog, id);
  int length = GetWindowTextLengthA(window);
  if (length <= 0) {
    return 0;
  }
  DWORD room = static_cast<DWORD>(length) + 1 < size ? static_cast<DWORD>(length) + 1 : size;
  int copied = GetWindowTextA(window, buffer, static_cast<int>(room));
  return copied > 0 ? static_cast<DWORD>(copied) : 0;
}

void SetControlCallback(HWND dialog, LONG id, DialogCallback callback) {
  WindowRecord* record = FindRecord(ControlHandle(dialog, id));
  if (IsControlRecord(record)) {
    record->callback = callback;
  }
}

void FocusControl(HWND dialog, LONG id) {
  SetFocus(ControlHandle(dialog, id));
}

void AddListItem(HWND dialog, LONG id, const char* text) {
  HWND control = ControlHandle(dialog, id);
  SendMessageA(control, IsCombo(control) ? CB_ADDSTRING : LB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(text != nullptr ? text : ""));
}

void DeleteListItem(HWND dialog, LONG id, LONG position) {
  HWND control = ControlHandle(dialog, id);
  SendMessageA(control, IsCombo(control) ? CB_DELETESTRING : LB_DELETESTRING,
               static_cast<WPARAM>(position - 1), 0);
}

DWORD ReadListSelection(HWND dialog, LONG id, char* buffer, DWORD size) {
  if (buffer == nullptr || size == 0) {
    return 0;
  }
  buffer[0] = '\0';
  HWND control = ControlHandle(dialog, id);
  bool combo = IsCombo(control);
  LRESULT selected = SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
  if (selected < 0) {
    return 0;
  }
  LRESULT length = SendMessageA(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN,
                                static_cast<WPARAM>(selected), 0);
  // The platform copies the whole entry, so it must fit.
  if (length < 0 || static_cast<DWORD>(length) >= size) {
    return 0;
  }
  LRESULT copied = SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT,
                                static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(buffer));
  return copied > 0 ? static_cast<DWORD>(copied) : 0;
}

void EmptyList(HWND dialog, LONG id) {
  HWND control = ControlHandle(dialog, id);
  SendMessageA(control, IsCombo(control) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

void SelectListItem(HWND dialog, LONG id, LONG position) {
  HWND control = ControlHandle(dialog, id);
  SendMessageA(control, IsCombo(control) ? CB_SETCURSEL : LB_SETCURSEL,
               static_cast<WPARAM>(position - 1), 0);
}

LRESULT ReadCheck(HWND dialog, LONG id) {
  return SendMessageA(ControlHandle(dialog, id), BM_GETCHECK, 0, 0);
}

void SetCheck(HWND dialog, LONG id, WPARAM state) {
  SendMessageA(ControlHandle(dialog, id), BM_SETCHECK, state, 0);
}

void CheckOption(HWND dialog, LONG firstId, LONG lastId, LONG chosenId) {
  CheckRadioButton(dialog, static_cast<int>(firstId), static_cast<int>(lastId),
                   static_cast<int>(chosenId));
}

void SetControlImage(HWND dialog, LONG id, const char* resourceName) {
  HWND control = ControlHandle(dialog, id);
  const WindowRecord* record = FindRecord(control);
  if (!IsControlRecord(record) || (record->kindFlags & (kImageIconFlag | kImageBitmapFlag)) == 0 ||
      resourceName == nullptr) {
    return;
  }
  bool bitmap = HasResource(resourceName, RT_BITMAP);
  if (!bitmap && !HasResource(resourceName, RT_GROUP_ICON)) {
    return;
  }
  UINT type = bitmap ? IMAGE_BITMAP : IMAGE_ICON;
  int width = 0;
  int height = 0;
  if (record->controlKind == kStretchedImage || record->controlKind == kStretchedImageButton) {
    RECT client{0, 0, 0, 0};
    GetClientRect(control, &client);
    width = client.right;
    height = client.bottom;
  }
  bool button = IsButtonImageKind(record->controlKind);
  HANDLE image = LoadImageA(ProgramInstance(), resourceName, type, width, height, 0);
  if (image == nullptr) {
    return;
  }
  // The platform's controls show only a picture of the type that their type bits name
  // and refuse one of the other type, so the bits change with the picture's type.
  auto style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
  DWORD typed = button ? (style & ~(BS_ICON | BS_BITMAP)) | (bitmap ? BS_BITMAP : BS_ICON)
                       : (style & ~SS_TYPEMASK) | (bitmap ? SS_BITMAP : SS_ICON);
  SetWindowLongA(control, GWL_STYLE, static_cast<LONG>(typed));
  SendMessageA(control, button ? BM_SETIMAGE : STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image));
  // The control may still have refused it; and painting the new picture may reach the
  // dialog's callback, which may have destroyed the dialog with the record. Either way
  // the old picture stays where it is (released with the record, if that is gone).
  WindowRecord* owner = FindRecord(control);
  if (owner == nullptr || SendMessageA(control, button ? BM_GETIMAGE : STM_GETIMAGE, type, 0) !=
                              reinterpret_cast<LPARAM>(image)) {
    SetWindowLongA(control, GWL_STYLE, static_cast<LONG>(style));
    ReleaseImage(image, bitmap);
    return;
  }
  ReleaseImage(owner->image, (owner->kindFlags & kImageBitmapFlag) != 0);
  owner->image = image;
  owner->kindFlags = (owner->kindFlags & ~(kImageIconFlag | kImageBitmapFlag)) |
                     (bitmap ? kImageBitmapFlag : kImageIconFlag);
}

void RemoveControl(HWND dialog, LONG id) {
  HWND control = ControlHandle(dialog, id);
  DestroyWindow(control);
  DiscardRecord(control);
}

void ClientSizeOf(HWND dialog, LONG id, LONG* width, LONG* height) {
  RECT client{0, 0, 0, 0};
  GetClientRect(ControlOrDialog(dialog, id), &client);
  *width = WidthOf(client);
  *height = HeightOf(client);
  if (InUnits(dialog)) {
    POINT base = BaseUnits(dialog);
    *width = PixelsToUnits(*width, base.x, 4);
    *height = PixelsToUnits(*height, base.y, 8);
  }
}

void WindowSizeOf(HWND dialog, LONG id, LONG* width, LONG* height) {
  RECT area{0, 0, 0, 0};
  GetWindowRect(ControlOrDialog(dialog, id), &area);
  *width = WidthOf(area);
  *height = HeightOf(area);
  if (InUnits(dialog)) {
    POINT base = BaseUnits(dialog);
    *width = PixelsToUnits(*width, base.x, 4);
    *height = PixelsToUnits(*height, base.y, 8);
  }
}

void PositionOf(HWND dialog, LONG id, LONG* x, LONG* y) {
  HWND window = ControlOrDialog(dialog, id);
  RECT area{0, 0, 0, 0};
  GetWindowRect(window, &area);
  POINT corner{area.left, area.top};
  if (window != dialog) {
    ScreenToClient(dialog, &corner);
  }
  *x = corner.x;
  *y = corner.y;
  if (InUnits(dialog) && window != dialog) {
    POINT base = BaseUnits(dialog);
    *x = PixelsToUnits(*x, base.x, 4);
    *y = PixelsToUnits(*y, base.y, 8);
  }
}

void MoveControl(HWND dialog, LONG id, LONG x, LONG y, LONG width, LONG height) {
  HWND window = ControlOrDialog(dialog, id);
  RECT edges = EdgesOf(x, y, width, height);
  if (InUnits(dialog) && window != dialog) {
    MapDialogRect(dialog, &edges);
  }
  SetWindowPos(window, nullptr, edges.left, edges.top, WidthOf(edges), HeightOf(edges),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogUnitsToPixels(HWND dialog, RECT* rect) {
  MapDialogRect(dialog, rect);
}

LONG CallerValue(HWND dialog, LONG id, int number) {
  const WindowRecord* record = FindRecord(ControlOrDialog(dialog, id));
  if (record == nullptr || number < 1 || number > kCallerValueCount) {
    return 0;
  }
  return record->callerValues[number - 1];
}

void SetCallerValue(HWND dialog, LONG id, int number, LONG value) {
  WindowRecord* record = FindRecord(ControlOrDialog(dialog, id));
  if (record != nullptr && number >= 1 && number <= kCallerValueCount) {
    record->callerValues[number - 1] = value;
  }
}

void SetThreadDialogFont(const char* face, LONG pointSize) {
  ThreadRecord* thread = CurrentThreadRecord();
  if (thread == nullptr || face == nullptr) {
    return;
  }
  DWORD i = 0;
  for (; i < kFontFaceUnits - 1 && face[i] != '\0'; ++i) {
    thread->defaultFontFace[i] = static_cast<WCHAR>(static_cast<unsigned char>(face[i]));
  }
  thread->defaultFontFace[i] = 0;
  thread->defaultFontSize = pointSize;
}
