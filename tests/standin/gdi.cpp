// The stand-in's GDI: fonts, brushes, bitmaps, device contexts, system colours and
// stock objects, and the painting of windows (invalid regions, WM_PAINT, what a window
// was painted with).
//
// Stock objects and system-colour brushes are never counted in the ledger, and
// DeleteObject ignores them, as the platform does. Deleting an object twice, deleting
// one that is still selected into a DC (which fails, as documented), releasing a DC the
// wrong way or selecting a deleted object is recorded as a fault.
//
// The system colours are those that the default colours of the controls use, as the
// classic Windows scheme ("Windows Standard") has them: button face light grey 0xC0C0C0,
// window white, text black. Only WHITE_BRUSH, NULL_BRUSH, SYSTEM_FONT and
// DEFAULT_GUI_FONT are there of the stock objects.
#include <cstring>

#include "user_internal.h"

namespace standin::win {
namespace {

using detail::Dec;
using detail::Hex;
using detail::Log;

struct ColourEntry {
  int index;
  COLORREF colour;
  const char* name;
};

#define COLOUR(index, colour) \
  ColourEntry {               \
    index, colour, #index     \
  }
// clang-format off
// NOLINTNEXTLINE(cppcoreguidelines-avoid-c-arrays)
const ColourEntry kClassicColours[] = {
    COLOUR(COLOR_SCROLLBAR, 0xC0C0C0), COLOUR(COLOR_MENU, 0xC0C0C0),
    COLOUR(COLOR_WINDOW, 0xFFFFFF), COLOUR(COLOR_MENUTEXT, 0x000000),
    COLOUR(COLOR_WINDOWTEXT, 0x000000), COLOUR(COLOR_BTNFACE, 0xC0C0C0),
    COLOUR(COLOR_BTNTEXT, 0x000000),
};
// clang-format on
#undef COLOUR

struct StockEntry {
  int index;
  ObjectKind kind;
  const char* name;
};

#define STOCK(index, kind)          \
  StockEntry {                      \
    index, ObjectKind::kind, #index \
  }
// clang-format off
// NOLINTNEXTLINE(cppcoreguidelines-avoid-c-arrays)
const StockEntry kStockObjects[] = {
    STOCK(WHITE_BRUSH, kBrush), STOCK(NULL_BRUSH, kBrush), STOCK(SYSTEM_FONT, kFont),
    STOCK(DEFAULT_GUI_FONT, kFont),
};
// clang-format on
#undef STOCK

void StockFont(Object* object, const char* face, LONG height, LONG weight) {
  object->font.lfHeight = height;
  object->font.lfWeight = weight;
  std::strncpy(object->font.lfFaceName, face, LF_FACESIZE - 1);
}

Object* AliveDc(HDC dc) {
  Object* object = FindObject(dc);
  return object != nullptr && object->kind == ObjectKind::kDc && object->alive ? object : nullptr;
}

// The DC that holds the object selected, if any.
Object* HolderOf(HGDIOBJ handle) {
  for (auto& [value, object] : S().objects) {
    if (object.kind == ObjectKind::kDc && object.alive &&
        (object.selectedFont == handle || object.selectedBrush == handle ||
         object.selectedBitmap == handle)) {
      return &object;
    }
  }
  return nullptr;
}

// Sets a text colour, background colour or background mode of a live DC and gives back
// the old one; `failed` for a DC that is not alive.
template <typename T>
T SwapDcState(HDC dc, T Object::*state, T value, T failed) {
  Object* object = AliveDc(dc);
  if (object == nullptr) {
    return failed;
  }
  T old = object->*state;
  object->*state = value;
  return old;
}

bool Intersects(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

HWND NextToPaintUnder(HWND handle, HWND filter) {
  const Window* window = Find(handle);
  if (window == nullptr || (window->style & WS_VISIBLE) == 0 ||
      (window->style & WS_MINIMIZE) != 0) {
    return nullptr;
  }
  bool matches = filter == nullptr || filter == handle || IsChildOf(filter, handle);
  if (window->needsPaint && matches) {
    return handle;
  }
  for (HWND child : AliveChildren(handle)) {
    if (HWND found = NextToPaintUnder(child, filter)) {
      return found;
    }
  }
  return nullptr;
}

}  // namespace

Object* FindObject(const void* handle) {
  auto found = S().objects.find(reinterpret_cast<uintptr_t>(handle));
  return found == S().objects.end() ? nullptr : &found->second;
}

HGDIOBJ NewObject(Object object) {
  State& s = S();
  uintptr_t value = s.nextObject;
  s.nextObject += 4;
  s.objects[value] = std::move(object);
  return reinterpret_cast<HGDIOBJ>(value);
}

HDC NewDc(HWND window, bool memory, bool platform) {
  Object dc;
  dc.kind = ObjectKind::kDc;
  dc.name = "dc#" + Dec(S().nextDc++);
  dc.window = window;
  dc.memory = memory;
  dc.platform = platform;
  dc.fromGetDc = !memory && !platform;
  dc.selectedFont = Stock(SYSTEM_FONT);
  dc.selectedBrush = Stock(WHITE_BRUSH);
  dc.selectedBitmap = memory ? S().defaultBitmap : nullptr;
  return static_cast<HDC>(NewObject(dc));
}

void FreeDc(HDC dc) {
  if (Object* object = FindObject(dc)) {
    object->alive = false;
  }
}

COLORREF SysColour(int index) {
  auto found = S().sysColours.find(index);
  return found == S().sysColours.end() ? 0 : found->second;
}

HBRUSH SysBrush(int index) {
  auto found = S().sysBrushes.find(index);
  return found == S().sysBrushes.end() ? nullptr : static_cast<HBRUSH>(found->second);
}

HGDIOBJ Stock(int index) {
  auto found = S().stock.find(index);
  return found == S().stock.end() ? nullptr : found->second;
}

HBRUSH DefaultColours(UINT message, HDC dc) {
  // As DefWindowProc colours a control: window colours for text boxes and lists, the
  // scroll bar colour for scroll bars, the face colour for everything else.
  int text = COLOR_WINDOWTEXT;
  int background = COLOR_BTNFACE;
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
    background = COLOR_WINDOW;
  } else if (message == WM_CTLCOLORSCROLLBAR) {
    background = COLOR_SCROLLBAR;
  }
  SwapDcState(dc, &Object::textColour, SysColour(text), CLR_INVALID);
  SwapDcState(dc, &Object::backgroundColour, SysColour(background), CLR_INVALID);
  return SysBrush(background);
}

void ResetGdi() {
  State& s = S();
  for (const ColourEntry& entry : kClassicColours) {
    s.sysColours[entry.index] = entry.colour;
    Object brush;
    brush.kind = ObjectKind::kBrush;
    brush.name = "brush(" + std::string(entry.name) + ")";
    brush.stock = true;
    brush.sysColourIndex = entry.index;
    s.sysBrushes[entry.index] = NewObject(brush);
  }
  for (const StockEntry& entry : kStockObjects) {
    Object object;
    object.kind = entry.kind;
    object.name = entry.name;
    object.stock = true;
    switch (entry.index) {
      case WHITE_BRUSH:
        object.colour = 0xFFFFFF;
        break;
      case SYSTEM_FONT:
        StockFont(&object, "System", 16, FW_BOLD);
        break;
      case DEFAULT_GUI_FONT:
        StockFont(&object, "MS Shell Dlg", -11, FW_NORMAL);
        break;
      default:
        break;
    }
    s.stock[entry.index] = NewObject(object);
  }
  Object bitmap;
  bitmap.kind = ObjectKind::kBitmap;
  bitmap.name = "DEFAULT_BITMAP";
  bitmap.stock = true;
  bitmap.width = 1;
  bitmap.height = 1;
  s.defaultBitmap = NewObject(bitmap);
}

void Invalidate(HWND handle, const RECT* rect, bool erase, bool children) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return;
  }
  window->needsPaint = true;
  if (erase) {
    window->needsErase = true;
  }
  if (!children) {
    return;
  }
  for (HWND child : AliveChildren(handle)) {
    if (rect == nullptr || Intersects(*rect, Find(child)->rect)) {
      Invalidate(child, nullptr, erase, true);
    }
  }
}

HDC BeginPainting(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return nullptr;
  }
  window->needsPaint = false;
  window->paintsOffered = 0;
  HDC dc = NewDc(handle, false, true);
  if (window->needsErase) {
    window->needsErase = false;
    Send(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  }
  return dc;
}

void EndPainting(HDC dc) {
  FreeDc(dc);
}

void PaintNow(HWND handle, bool children) {
  Window* window = Find(handle);
  if (window == nullptr || !ShownDeep(*window)) {
    return;
  }
  if (window->needsPaint) {
    Send(handle, WM_PAINT, 0, 0);
  } else if (window->needsErase) {
    EraseNow(handle);
  }
  if (children) {
    for (HWND child : AliveChildren(handle)) {
      PaintNow(child, true);
    }
  }
}

void EraseNow(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr || !window->needsErase || !ShownDeep(*window)) {
    return;
  }
  window->needsErase = false;
  HDC dc = NewDc(handle, false, true);
  Send(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  FreeDc(dc);
}

HWND NextToPaint(HWND filter) {
  for (HWND handle : S().windowOrder) {
    const Window* window = Find(handle);
    if (window == nullptr || window->parent != nullptr) {
      continue;
    }
    if (HWND found = NextToPaintUnder(handle, filter)) {
      return found;
    }
  }
  return nullptr;
}

void RecordPaint(HWND handle, UINT colourMessage, HDC dc, HBRUSH brush) {
  const Window* window = Find(handle);
  const Object* state = FindObject(dc);
  if (window == nullptr || state == nullptr || window->internal) {
    return;
  }
  Paint paint{};
  paint.window = handle;
  paint.colourMessage = colourMessage;
  paint.textColour = state->textColour;
  paint.backgroundColour = state->backgroundColour;
  paint.backgroundMode = state->backgroundMode;
  paint.brush = brush;
  paint.font = window->dialog && window->font == nullptr ? window->dialogFont : window->font;
  paint.text = window->text;
  S().paints.push_back(paint);
}

}  // namespace standin::win

// ---- The test side ----------------------------------------------------------------

namespace standin {

using win::FindObject;
using win::Object;
using win::ObjectKind;

void SetSysColor(int index, COLORREF colour) {
  win::S().sysColours[index] = colour;
}

void FailCreateSolidBrush(bool fail) {
  win::S().failBrush = fail;
}

namespace {
const Object& KnownObject(const void* handle, ObjectKind kind, const char* who) {
  const Object* object = FindObject(handle);
  if (object == nullptr || object->kind != kind) {
    detail::Fatal(std::string(who) + ": " + win::Name(handle) + " is not what it asks about");
  }
  return *object;
}
}  // namespace

LOGFONTA FontInfo(HFONT font) {
  return KnownObject(font, ObjectKind::kFont, "FontInfo").font;
}

bool IsObjectAlive(const void* handle) {
  const Object* object = FindObject(handle);
  return object != nullptr && object->alive;
}

std::optional<Paint> LastPaintOf(HWND window) {
  const std::vector<Paint>& paints = win::S().paints;
  for (auto it = paints.rbegin(); it != paints.rend(); ++it) {
    if (it->window == window) {
      return *it;
    }
  }
  return std::nullopt;
}

void ClearPaints() {
  win::S().paints.clear();
}

}  // namespace standin

// ---- The platform calls -------------------------------------------------------------

using standin::detail::Dec;
using standin::detail::Hex;
using standin::detail::Log;
using standin::win::FindObject;
using standin::win::Name;
using standin::win::Object;
using standin::win::ObjectKind;

DWORD WINAPI GetSysColor(int nIndex) {
  Log("GetSysColor", {Dec(nIndex)});
  return standin::win::SysColour(nIndex);
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
  Log("GetSysColorBrush", {Dec(nIndex)});
  return standin::win::SysBrush(nIndex);
}

HGDIOBJ WINAPI GetStockObject(int i) {
  Log("GetStockObject", {Dec(i)});
  return standin::win::Stock(i);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  Log("CreateSolidBrush", {Hex(color)});
  standin::win::State& s = standin::win::S();
  if (s.failBrush) {
    return nullptr;
  }
  Object brush;
  brush.kind = ObjectKind::kBrush;
  brush.name = "brush#" + Dec(s.nextBrush++);
  brush.colour = color & 0xFFFFFF;
  return static_cast<HBRUSH>(standin::win::NewObject(brush));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
  if (lplf == nullptr) {
    Log("CreateFontIndirectA", {"NULL"});
    standin::detail::SetLastErrorRaw(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTA font = *lplf;
  font.lfFaceName[LF_FACESIZE - 1] = '\0';
  Log("CreateFontIndirectA",
      {"lf{height=" + Dec(font.lfHeight) + ",weight=" + Dec(font.lfWeight) +
       ",charset=" + Dec(font.lfCharSet) + ",face=" + standin::detail::Str(font.lfFaceName) + "}"});
  standin::win::State& s = standin::win::S();
  Object object;
  object.kind = ObjectKind::kFont;
  object.name = "font#" + Dec(s.nextFont++);
  object.font = font;
  return static_cast<HFONT>(standin::win::NewObject(object));
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  Log("DeleteObject", {Name(ho)});
  if (ho == nullptr) {
    return FALSE;
  }
  Object* object = FindObject(ho);
  if (object == nullptr || object->kind == ObjectKind::kDc || object->kind == ObjectKind::kIcon) {
    standin::win::Fault("DeleteObject(" + Name(ho) + "): no GDI object");
    return FALSE;
  }
  if (object->stock) {
    return TRUE;  // stock objects stay
  }
  if (!object->alive) {
    standin::win::Fault("DeleteObject(" + Name(ho) + "): deleted twice");
    return FALSE;
  }
  if (Object* holder = standin::win::HolderOf(ho)) {
    standin::win::Fault("DeleteObject(" + Name(ho) + "): still selected into " + holder->name);
    return FALSE;
  }
  if (object->platform) {
    standin::win::Fault("DeleteObject(" + Name(ho) +
                        "): the dialog's own font, which the platform deletes with the dialog");
  }
  object->alive = false;
  return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
  Log("GetObjectType", {Name(h)});
  const Object* object = FindObject(h);
  if (object == nullptr || !object->alive) {
    standin::detail::SetLastErrorRaw(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (object->kind) {
    case ObjectKind::kFont:
      return OBJ_FONT;
    case ObjectKind::kBrush:
      return OBJ_BRUSH;
    case ObjectKind::kBitmap:
      return OBJ_BITMAP;
    case ObjectKind::kDc:
      return object->memory ? OBJ_MEMDC : OBJ_DC;
    default:
      return 0;  // an icon is no GDI object
  }
}

int WINAPI GetObjectA(HGDIOBJ h, int c, LPVOID pv) {
  Log("GetObjectA", {Name(h), Dec(c), pv == nullptr ? "NULL" : "buffer"});
  const Object* object = FindObject(h);
  DWORD type = GetObjectType(h);
  if (type == OBJ_FONT && pv != nullptr && c >= static_cast<int>(sizeof(LOGFONTA))) {
    *static_cast<LOGFONTA*>(pv) = object->font;
    return sizeof(LOGFONTA);
  }
  if (type == OBJ_BRUSH && pv != nullptr && c >= static_cast<int>(sizeof(LOGBRUSH))) {
    *static_cast<LOGBRUSH*>(pv) =
        LOGBRUSH{BS_SOLID,
                 object->sysColourIndex >= 0 ? standin::win::SysColour(object->sysColourIndex)
                                             : object->colour,
                 0};
    return sizeof(LOGBRUSH);
  }
  if (type == OBJ_BITMAP && pv != nullptr && c >= static_cast<int>(sizeof(BITMAP))) {
    *static_cast<BITMAP*>(pv) =
        BITMAP{0, object->width, object->height, object->width * 4, 1, 32, nullptr};
    return sizeof(BITMAP);
  }
  return 0;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  Log("SelectObject", {Name(hdc), Name(h)});
  Object* dc = standin::win::AliveDc(hdc);
  Object* object = FindObject(h);
  if (dc == nullptr || object == nullptr) {
    standin::detail::SetLastErrorRaw(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!object->alive) {
    standin::win::Fault("SelectObject(" + Name(hdc) + ", " + Name(h) + "): the object was deleted");
    return nullptr;
  }
  HGDIOBJ* slot = nullptr;
  switch (object->kind) {
    case ObjectKind::kFont:
      slot = &dc->selectedFont;
      break;
    case ObjectKind::kBrush:
      slot = &dc->selectedBrush;
      break;
    case ObjectKind::kBitmap: {
      Object* holder = standin::win::HolderOf(h);
      if (!dc->memory || (holder != nullptr && holder != dc && !object->stock)) {
        return nullptr;  // a bitmap goes into one memory DC at a time
      }
      slot = &dc->selectedBitmap;
      break;
    }
    default:
      return nullptr;
  }
  HGDIOBJ old = *slot;
  *slot = h;
  return old;
}

HDC WINAPI GetDC(HWND hWnd) {
  Log("GetDC", {Name(hWnd)});
  if (hWnd != nullptr && standin::win::Need(hWnd) == nullptr) {
    return nullptr;
  }
  return standin::win::NewDc(hWnd, false, false);
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  Log("ReleaseDC", {Name(hWnd), Name(hDC)});
  Object* dc = standin::win::AliveDc(hDC);
  if (dc == nullptr || !dc->fromGetDc || dc->window != hWnd) {
    standin::win::Fault("ReleaseDC(" + Name(hWnd) + ", " + Name(hDC) +
                        "): not a DC that GetDC gave for that window");
    return 0;
  }
  dc->alive = false;
  return 1;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  Log("GetDeviceCaps", {Name(hdc), Dec(index)});
  if (standin::win::AliveDc(hdc) == nullptr) {
    return 0;
  }
  return index == LOGPIXELSX || index == LOGPIXELSY ? standin::win::S().dpi : 0;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  Log("CreateCompatibleDC", {Name(hdc)});
  if (hdc != nullptr && standin::win::AliveDc(hdc) == nullptr) {
    return nullptr;
  }
  return standin::win::NewDc(nullptr, true, false);
}

BOOL WINAPI DeleteDC(HDC hdc) {
  Log("DeleteDC", {Name(hdc)});
  Object* dc = FindObject(hdc);
  if (dc == nullptr || dc->kind != ObjectKind::kDc) {
    return FALSE;
  }
  if (!dc->alive) {
    standin::win::Fault("DeleteDC(" + Name(hdc) + "): deleted twice");
    return FALSE;
  }
  if (dc->fromGetDc) {
    standin::win::Fault("DeleteDC(" + Name(hdc) + "): a DC from GetDC, which ReleaseDC gives back");
    return FALSE;
  }
  dc->alive = false;
  return TRUE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  Log("CreateCompatibleBitmap", {Name(hdc), Dec(cx), Dec(cy)});
  if (standin::win::AliveDc(hdc) == nullptr || cx < 0 || cy < 0) {
    return nullptr;
  }
  if (cx == 0 || cy == 0) {
    return static_cast<HBITMAP>(standin::win::S().defaultBitmap);
  }
  Object bitmap;
  bitmap.kind = ObjectKind::kBitmap;
  bitmap.name = "bitmap#" + Dec(standin::win::S().nextBitmap++);
  bitmap.width = cx;
  bitmap.height = cy;
  return static_cast<HBITMAP>(standin::win::NewObject(bitmap));
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  Log("BitBlt", {Name(hdc), Dec(x), Dec(y), Dec(cx), Dec(cy), Name(hdcSrc), Dec(x1), Dec(y1),
                 rop == SRCCOPY ? "SRCCOPY" : Hex(rop)});
  return standin::win::AliveDc(hdc) != nullptr &&
                 (hdcSrc == nullptr || standin::win::AliveDc(hdcSrc) != nullptr)
             ? TRUE
             : FALSE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  Log("SetTextColor", {Name(hdc), Hex(color)});
  return standin::win::SwapDcState(hdc, &Object::textColour, color, CLR_INVALID);
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  Log("SetBkColor", {Name(hdc), Hex(color)});
  return standin::win::SwapDcState(hdc, &Object::backgroundColour, color, CLR_INVALID);
}

int WINAPI SetBkMode(HDC hdc, int mode) {
  Log("SetBkMode", {Name(hdc), Dec(mode)});
  if (mode != TRANSPARENT && mode != OPAQUE) {
    return 0;
  }
  return standin::win::SwapDcState(hdc, &Object::backgroundMode, mode, 0);
}

int WINAPI GetBkMode(HDC hdc) {
  Log("GetBkMode", {Name(hdc)});
  Object* dc = standin::win::AliveDc(hdc);
  return dc != nullptr ? dc->backgroundMode : 0;
}

BOOL WINAPI RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
  Log("RedrawWindow", {Name(hWnd), standin::win::Rect(lprcUpdate), Name(hrgnUpdate), Hex(flags)});
  if (hWnd == nullptr) {
    return TRUE;  // the desktop
  }
  standin::win::Window* window = standin::win::Need(hWnd);
  if (window == nullptr) {
    return FALSE;
  }
  bool children = (flags & RDW_ALLCHILDREN) != 0 ||
                  ((flags & RDW_NOCHILDREN) == 0 && (window->style & WS_CLIPCHILDREN) == 0);
  if ((flags & RDW_INVALIDATE) != 0) {
    standin::win::Invalidate(hWnd, lprcUpdate, (flags & RDW_ERASE) != 0, children);
  }
  if ((flags & RDW_VALIDATE) != 0) {
    window->needsPaint = false;
    if ((flags & RDW_NOERASE) != 0) {
      window->needsErase = false;
    }
  }
  if ((flags & RDW_UPDATENOW) != 0) {
    standin::win::PaintNow(hWnd, children);
  } else if ((flags & RDW_ERASENOW) != 0) {
    standin::win::EraseNow(hWnd);
  }
  return TRUE;
}
