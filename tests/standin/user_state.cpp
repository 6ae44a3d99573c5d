// The window side's state: its reset, the names things go by in the log, the ledger,
// the faults, and the test functions that read windows without sending messages.
#include <algorithm>
#include <cstdio>

#include "user_internal.h"

// After the platform header, which includes <windows.h> as the stand-in needs it.
#include "message_names.h"

namespace standin::win {
namespace {

std::string ColourText(COLORREF colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour));
  return text;
}

std::string ObjectLine(const Object& object) {
  switch (object.kind) {
    case ObjectKind::kFont:
      return "font " + object.name + " \"" + std::string(object.font.lfFaceName) + "\" height " +
             detail::Dec(object.font.lfHeight) + " weight " + detail::Dec(object.font.lfWeight);
    case ObjectKind::kBrush:
      return "brush " + object.name + " " + ColourText(object.colour);
    case ObjectKind::kBitmap:
      return "bitmap " + object.name + " " + detail::Dec(object.width) + "x" +
             detail::Dec(object.height) +
             (object.resource.empty() ? std::string() : " from " + object.resource);
    case ObjectKind::kIcon:
      return "icon " + object.name + " " + detail::Dec(object.width) + "x" +
             detail::Dec(object.height) + " from " + object.resource;
    case ObjectKind::kDc:
      if (object.memory) {
        return "DC " + object.name + " (memory)";
      }
      return "DC " + object.name + " (GetDC of " +
             (object.window == nullptr ? std::string("the screen") : Name(object.window)) + ")";
  }
  return object.name;
}

}  // namespace

State& S() {
  static State state;
  return state;
}

Window* FindAny(HWND window) {
  auto found = S().windows.find(reinterpret_cast<uintptr_t>(window));
  return found == S().windows.end() ? nullptr : found->second.get();
}

Window* Find(HWND window) {
  Window* found = FindAny(window);
  return found != nullptr && found->alive ? found : nullptr;
}

Window* Need(HWND window) {
  Window* found = Find(window);
  if (found == nullptr) {
    detail::SetLastErrorRaw(ERROR_INVALID_WINDOW_HANDLE);
  }
  return found;
}

Window& Known(HWND window, const char* who) {
  Window* found = FindAny(window);
  if (found == nullptr) {
    detail::Fatal(std::string(who) + ": " + Name(window) + " never was a window");
  }
  return *found;
}

HWND Root(HWND window) {
  Window* current = FindAny(window);
  while (current != nullptr && current->parent != nullptr) {
    current = FindAny(current->parent);
  }
  return current == nullptr ? nullptr : current->handle;
}

bool IsChildOf(HWND parent, HWND window) {
  for (Window* current = FindAny(window); current != nullptr && current->parent != nullptr;
       current = FindAny(current->parent)) {
    if (current->parent == parent) {
      return true;
    }
  }
  return false;
}

bool ShownDeep(const Window& window) {
  for (const Window* current = &window; current != nullptr; current = FindAny(current->parent)) {
    if (!current->alive || (current->style & WS_VISIBLE) == 0) {
      return false;
    }
  }
  return true;
}

std::string Name(const void* handle) {
  if (handle == nullptr) {
    return "NULL";
  }
  if (const Window* window = FindAny(static_cast<HWND>(const_cast<void*>(handle)))) {
    return window->name;
  }
  if (const Object* object = FindObject(handle)) {
    return object->name;
  }
  return detail::Hex(reinterpret_cast<uintptr_t>(handle));
}

std::string Param(UINT message, bool lParam, uintptr_t value) {
  const auto* pointer = reinterpret_cast<const char*>(value);
  if (lParam) {
    switch (message) {
      case WM_SETTEXT:
      case CB_ADDSTRING:
      case LB_ADDSTRING:
        return detail::Str(pointer);
      case WM_GETTEXT:
      case CB_GETLBTEXT:
      case LB_GETTEXT:
        return pointer == nullptr ? "NULL" : "buffer";
      case WM_NCCREATE:
      case WM_CREATE:
      case WM_WINDOWPOSCHANGING:
      case WM_WINDOWPOSCHANGED:
      case WM_DRAWITEM:
      case WM_GETDLGCODE:
        return pointer == nullptr ? "0" : "struct";
      default:
        break;
    }
  }
  if (value == 0) {
    return "0";
  }
  if (!lParam && message == WM_SYSCOMMAND) {
    return detail::Hex(value);
  }
  void* handle = reinterpret_cast<void*>(value);
  if (FindAny(static_cast<HWND>(handle)) != nullptr || FindObject(handle) != nullptr) {
    return Name(handle);
  }
  if (value <= 0xFFFF) {
    return detail::Dec(static_cast<long long>(value));
  }
  if (lParam && static_cast<LONG_PTR>(value) < 0 && static_cast<LONG_PTR>(value) > -0x10000) {
    return detail::Dec(static_cast<LONG_PTR>(value));
  }
  return detail::Hex(value);
}

std::string MessageText(const MSG* msg) {
  if (msg == nullptr) {
    return "NULL";
  }
  return "msg{" + Name(msg->hwnd) + ", " + MessageName(msg->message) + ", " +
         Param(msg->message, false, msg->wParam) + ", " +
         Param(msg->message, true, static_cast<uintptr_t>(msg->lParam)) + "}";
}

std::string Rect(const RECT* rect) {
  if (rect == nullptr) {
    return "NULL";
  }
  return "{" + detail::Dec(rect->left) + "," + detail::Dec(rect->top) + "," +
         detail::Dec(rect->right) + "," + detail::Dec(rect->bottom) + "}";
}

void Fault(const std::string& what) {
  S().faults.push_back(what);
}

int MulDivRound(int value, int numerator, int denominator) {
  if (denominator == 0) {
    return -1;
  }
  long long product = static_cast<long long>(value) * numerator;
  bool negative = (product < 0) != (denominator < 0);
  long long magnitude = product < 0 ? -product : product;
  long long divisor = denominator < 0 ? -static_cast<long long>(denominator) : denominator;
  long long quotient = (magnitude + divisor / 2) / divisor;  // halves away from zero
  return static_cast<int>(negative ? -quotient : quotient);
}

}  // namespace standin::win

namespace standin::detail {

void ResetWindowSide() {
  win::S() = win::State{};
  win::RegisterBuiltInClasses();
  win::ResetGdi();
}

void AddWindowSideLiveObjects(std::vector<std::string>* lines) {
  for (HWND handle : win::S().windowOrder) {
    const win::Window* window = win::FindAny(handle);
    if (window == nullptr || !window->alive || window->internal) {
      continue;
    }
    std::string line = "window " + window->name;
    if (window->parent != nullptr) {
      line += " in " + win::Name(window->parent);
    }
    lines->push_back(line + " " + Str(window->text.c_str()));
  }
  win::AddGdiLedger(lines);
}

}  // namespace standin::detail

namespace standin {

using win::Known;
using win::S;

std::string MessageName(UINT message) {
  return messages::MessageName(message);
}

std::string MessageLine(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return win::Name(window) + " " + MessageName(message) + "(" + win::Param(message, false, wParam) +
         ", " + win::Param(message, true, static_cast<uintptr_t>(lParam)) + ")";
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  for (HWND handle : S().windowOrder) {
    const win::Window* window = win::Find(handle);
    if (window != nullptr && window->parent == nullptr && !window->internal) {
      windows.push_back(handle);
    }
  }
  return windows;
}

HWND FindWindowByCaption(const std::string& caption) {
  for (HWND handle : TopLevelWindows()) {
    if (win::Find(handle)->text == caption) {
      return handle;
    }
  }
  return nullptr;
}

HWND FindControl(HWND parent, int id) {
  for (HWND child : win::AliveChildren(parent)) {
    if (win::Find(child)->id == id) {
      return child;
    }
  }
  return nullptr;
}

std::string NameOf(const void* handle) {
  return win::Name(handle);
}

bool IsAlive(HWND window) {
  return Known(window, "IsAlive").alive;
}

std::string ClassOf(HWND window) {
  return Known(window, "ClassOf").className;
}

std::string TextOf(HWND window) {
  return Known(window, "TextOf").text;
}

DWORD StyleOf(HWND window) {
  return Known(window, "StyleOf").style;
}

bool IsEnabled(HWND window) {
  return (Known(window, "IsEnabled").style & WS_DISABLED) == 0;
}

bool IsShown(HWND window) {
  return win::ShownDeep(Known(window, "IsShown"));
}

std::vector<HWND> ChildrenOf(HWND window) {
  Known(window, "ChildrenOf");
  return win::AliveChildren(window);
}

RECT WindowRectOf(HWND window) {
  return win::ScreenRect(Known(window, "WindowRectOf"));
}

RECT ClientRectOf(HWND window) {
  const win::Window& known = Known(window, "ClientRectOf");
  POINT origin = win::ClientOrigin(known);
  RECT client = win::ClientRect(known);
  return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

RECT RectInParent(HWND window) {
  return Known(window, "RectInParent").rect;
}

HFONT FontOf(HWND window) {
  const win::Window& known = Known(window, "FontOf");
  return known.dialog && known.font == nullptr ? known.dialogFont : known.font;
}

HANDLE ImageOf(HWND window) {
  return Known(window, "ImageOf").image;
}

std::vector<std::string> ItemsOf(HWND window) {
  return Known(window, "ItemsOf").items;
}

std::vector<std::string> DeliveryLines(HWND onlyTo) {
  std::vector<std::string> lines;
  for (const MSG& delivery : S().deliveries) {
    if (onlyTo == nullptr || delivery.hwnd == onlyTo) {
      lines.push_back(
          MessageLine(delivery.hwnd, delivery.message, delivery.wParam, delivery.lParam));
    }
  }
  return lines;
}

void ClearDeliveries() {
  S().deliveries.clear();
}

void FailDestroyWindow(HWND window, bool fail) {
  Known(window, "FailDestroyWindow").failDestroy = fail;
}

std::vector<std::string> LiveObjectsOf(const std::string& kind) {
  std::vector<std::string> lines;
  detail::AddWindowSideLiveObjects(&lines);
  std::vector<std::string> kept;
  for (const std::string& line : lines) {
    if (line.compare(0, kind.size() + 1, kind + " ") == 0) {
      kept.push_back(line);
    }
  }
  return kept;
}

const std::vector<std::string>& Faults() {
  return S().faults;
}

}  // namespace standin

// The ledger's object lines live with the GDI side, which knows the objects.
namespace standin::win {
void AddGdiLedger(std::vector<std::string>* lines) {
  for (const auto& [value, object] : S().objects) {
    if (object.alive && !object.stock && !object.platform) {
      lines->push_back(ObjectLine(object));
    }
  }
}
}  // namespace standin::win
