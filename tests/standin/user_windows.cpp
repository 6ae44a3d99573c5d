// The stand-in's windows: creation and destruction, geometry, showing, enabling,
// activation and the keyboard focus, window text and window data.
//
// What a window is sent, and in which order, follows what Wine 8 does (the conformance
// checks in tests/conformance hold on both):
// - CreateWindowExA: WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, then WM_PARENTNOTIFY to
//   the parent of a child (unless WS_EX_NOPARENTNOTIFY), then the showing of a window
//   created with WS_VISIBLE. WM_GETMINMAXINFO and WM_NCCALCSIZE are not modelled.
// - ShowWindow: WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, the activation of a top-level
//   window (WM_NCACTIVATE, WM_ACTIVATE to the window that loses and to the one that gains
//   it, then the focus), the erasing of its background, WM_WINDOWPOSCHANGED. The window
//   and its children paint later, when the queue hands out WM_PAINT. WM_ACTIVATEAPP,
//   WM_NCPAINT and WM_QUERYNEWPALETTE are not modelled.
// - DestroyWindow: WM_PARENTNOTIFY for a child, the hiding (WM_SHOWWINDOW only for a
//   child) and deactivation of a visible window, then the windows it owns (newest
//   first), then WM_DESTROY to the window and its descendants parent first, then
//   WM_NCDESTROY children first and the window last.
// - EnableWindow(FALSE): WM_CANCELMODE, the loss of the focus if the window had it
//   (WM_KILLFOCUS), WM_ENABLE; EnableWindow(TRUE): WM_ENABLE. Either returns whether the
//   window was disabled before, and WM_ENABLE comes only when the state changes.
// - The focus: WM_KILLFOCUS to the window losing it, then WM_SETFOCUS to the new one. A
//   window whose top-level window is not active activates that window first (Wine does
//   this even for a hidden dialog). After activation, the focus goes to the activated
//   window itself unless it is already inside it.
// Last errors are Wine's: DestroyWindow of an invalid handle gives ERROR_ACCESS_DENIED,
// GetDlgItem leaves the code alone (an invalid dialog, no such control), an unknown class
// gives ERROR_CLASS_DOES_NOT_EXIST, every other call on an invalid handle
// ERROR_INVALID_WINDOW_HANDLE.
#include <algorithm>
#include <utility>

#include "user_internal.h"

namespace standin::win {
namespace {

using detail::Dec;
using detail::Hex;
using detail::Log;
using detail::Str;

int CaptionHeight() {
  // Wine's caption at 96, 120 and 144 dpi; in between, in proportion.
  for (auto [dpi, height] : {std::pair{96, 19}, std::pair{120, 24}, std::pair{144, 28}}) {
    if (S().dpi == dpi) {
      return height;
    }
  }
  return MulDivRound(19, S().dpi, 96);
}

std::string NewName(const CreateArgs& args, const WindowClass& windowClass) {
  State& s = S();
  if (args.internal) {
    return "messagebox#" + Dec(s.nextMessageBox++);
  }
  if (args.dialog) {
    return "dialog#" + Dec(s.nextDialog++);
  }
  if ((args.style & WS_CHILD) != 0) {
    return windowClass.name + "#" + Dec(args.id);
  }
  return "window#" + Dec(s.nextTopLevel++);
}

// The top-level window that takes over activation from one that goes away: its owner
// when it can be active, else the newest other top-level window that can.
HWND OtherWindowToActivate(HWND leaving) {
  auto canBeActive = [leaving](HWND candidate) {
    const Window* window = Find(candidate);
    return window != nullptr && candidate != leaving && window->parent == nullptr &&
           !window->destroying && ShownDeep(*window) && (window->style & WS_DISABLED) == 0;
  };
  const Window* window = FindAny(leaving);
  if (window != nullptr && canBeActive(window->owner)) {
    return window->owner;
  }
  for (HWND candidate : S().zOrder) {
    if (canBeActive(candidate)) {
      return candidate;
    }
  }
  return nullptr;
}

void RaiseToTop(HWND window) {
  std::vector<HWND>& order = S().zOrder;
  order.erase(std::remove(order.begin(), order.end(), window), order.end());
  order.insert(order.begin(), window);
}

void SendWindowPos(HWND window, UINT message, WINDOWPOS* pos) {
  Send(window, message, 0, reinterpret_cast<LPARAM>(pos));
}

// The position messages' record for a change that leaves the window where it is.
WINDOWPOS InPlace(const Window& window, UINT flags) {
  const RECT& rect = window.rect;
  return WINDOWPOS{window.handle,
                   nullptr,
                   rect.left,
                   rect.top,
                   rect.right - rect.left,
                   rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | flags};
}

// A window going out of sight gives up the activation, and the focus inside it goes to
// its parent.
void GiveUpActivationAndFocus(const Window& window) {
  if (S().active == window.handle) {
    Activate(OtherWindowToActivate(window.handle));
  }
  if (S().focus != nullptr && (S().focus == window.handle || IsChildOf(window.handle, S().focus))) {
    SetFocusTo(window.parent);
  }
}

// Hides a visible window as DestroyWindow does: a child as ShowWindow(SW_HIDE) would, a
// top-level window with the position messages only (no WM_SHOWWINDOW); then the
// activation and the focus move elsewhere.
void HideForDestruction(Window& window) {
  HWND handle = window.handle;
  if ((window.style & WS_VISIBLE) != 0 && window.parent != nullptr) {
    Show(handle, SW_HIDE);
  } else if ((window.style & WS_VISIBLE) != 0) {
    WINDOWPOS pos = InPlace(window, SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SendWindowPos(handle, WM_WINDOWPOSCHANGING, &pos);
    window.style &= ~WS_VISIBLE;
    if (window.parent != nullptr) {
      Invalidate(window.parent, &window.rect, true, false);
    }
    SendWindowPos(handle, WM_WINDOWPOSCHANGED, &pos);
  }
  GiveUpActivationAndFocus(window);
}

void SendDestroy(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return;
  }
  window->destroying = true;
  Send(handle, WM_DESTROY, 0, 0);
  for (HWND child : AliveChildren(handle)) {
    SendDestroy(child);
  }
}

void Free(Window& window) {
  State& s = S();
  window.alive = false;
  if (Window* parent = FindAny(window.parent)) {
    std::vector<HWND>& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window.handle), siblings.end());
  }
  s.zOrder.erase(std::remove(s.zOrder.begin(), s.zOrder.end(), window.handle), s.zOrder.end());
  if (s.focus == window.handle) {
    s.focus = nullptr;
  }
  if (s.active == window.handle) {
    s.active = nullptr;
  }
  if (s.capture == window.handle) {
    s.capture = nullptr;
  }
  DropQueuedFor(window.handle);
}

void SendNcDestroy(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return;
  }
  for (HWND child : AliveChildren(handle)) {
    SendNcDestroy(child);
  }
  Send(handle, WM_NCDESTROY, 0, 0);
  Free(*window);
}

bool ActivatingCommand(int command) {
  return command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
         command != SW_MINIMIZE && command != SW_HIDE;
}

std::string IndexText(int index) {
#define INDEX(name) std::pair<int, const char*>(name, #name)
  for (auto [value, name] :
       {INDEX(GWL_STYLE), INDEX(GWL_EXSTYLE), INDEX(GWLP_ID), INDEX(GWLP_HWNDPARENT),
        INDEX(GWLP_USERDATA), INDEX(GWLP_WNDPROC), INDEX(DWLP_MSGRESULT)}) {
    if (value == index) {
      return name;
    }
  }
#undef INDEX
  return Dec(index);
}

// The window data that the toolkit and the checks read and write; another index is
// refused with ERROR_INVALID_INDEX, as an index that does not exist.
LONG_PTR* DataSlot(Window& window, int index) {
  switch (index) {
    case GWLP_USERDATA:
      return &window.userData;
    case DWLP_MSGRESULT:
      return window.dialog ? &window.messageResult : nullptr;
    default:
      return nullptr;
  }
}

bool GetData(Window& window, int index, LONG_PTR* value) {
  switch (index) {
    case GWL_STYLE:
      *value = static_cast<LONG>(window.style);
      return true;
    case GWL_EXSTYLE:
      *value = static_cast<LONG>(window.exStyle);
      return true;
    case GWLP_ID:
      *value = window.parent != nullptr ? window.id : 0;
      return true;
    case GWLP_HWNDPARENT:
      *value = reinterpret_cast<LONG_PTR>(window.parent != nullptr ? window.parent : window.owner);
      return true;
    case GWLP_WNDPROC:
      *value = reinterpret_cast<LONG_PTR>(window.procedure);
      return true;
    default:
      break;
  }
  if (LONG_PTR* slot = DataSlot(window, index)) {
    *value = *slot;
    return true;
  }
  detail::SetLastErrorRaw(ERROR_INVALID_INDEX);
  return false;
}

bool SetData(Window& window, int index, LONG_PTR value, LONG_PTR* old) {
  if (!GetData(window, index, old)) {
    return false;
  }
  switch (index) {
    case GWL_STYLE:
      window.style = static_cast<DWORD>(value);
      return true;
    case GWL_EXSTYLE:
      window.exStyle = static_cast<DWORD>(value);
      return true;
    case GWLP_ID:
      if (window.parent != nullptr) {
        window.id = value;
      }
      return true;
    case GWLP_HWNDPARENT:
      if (window.parent == nullptr) {
        window.owner = Root(reinterpret_cast<HWND>(value));
      }
      return true;
    case GWLP_WNDPROC:
      window.procedure = reinterpret_cast<WNDPROC>(value);
      return true;
    default:
      *DataSlot(window, index) = value;
      return true;
  }
}

}  // namespace

std::vector<HWND> AliveChildren(HWND window) {
  std::vector<HWND> children;
  if (const Window* found = FindAny(window)) {
    for (HWND child : found->children) {
      if (Find(child) != nullptr) {
        children.push_back(child);
      }
    }
  }
  return children;
}

RECT Insets(DWORD style, DWORD exStyle) {
  int frame = 0;
  if ((style & WS_THICKFRAME) != 0) {
    frame = 4;
  } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
    frame = 3;
  } else if ((style & WS_BORDER) != 0) {
    frame = 1;
  }
  if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
    frame += 2;
  }
  int caption = (style & WS_CAPTION) == WS_CAPTION ? CaptionHeight() : 0;
  return RECT{frame, frame + caption, frame, frame};
}

RECT ScreenRect(const Window& window) {
  RECT rect = window.rect;
  if (const Window* parent = FindAny(window.parent)) {
    POINT origin = ClientOrigin(*parent);
    rect.left += origin.x;
    rect.right += origin.x;
    rect.top += origin.y;
    rect.bottom += origin.y;
  }
  return rect;
}

POINT ClientOrigin(const Window& window) {
  RECT rect = ScreenRect(window);
  RECT insets = Insets(window.style, window.exStyle);
  return POINT{rect.left + insets.left, rect.top + insets.top};
}

LPARAM MovePoint(const Window& window) {
  POINT origin = ClientOrigin(window);
  if (const Window* parent = FindAny(window.parent)) {
    POINT parentOrigin = ClientOrigin(*parent);
    origin.x -= parentOrigin.x;
    origin.y -= parentOrigin.y;
  }
  return MAKELPARAM(origin.x, origin.y);
}

RECT ClientRect(const Window& window) {
  RECT insets = Insets(window.style, window.exStyle);
  LONG width = window.rect.right - window.rect.left - insets.left - insets.right;
  LONG height = window.rect.bottom - window.rect.top - insets.top - insets.bottom;
  return RECT{0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

HWND Create(const CreateArgs& args) {
  State& s = S();
  auto found = s.classes.find(detail::UpperCase(args.className));
  if (found == s.classes.end()) {
    detail::SetLastErrorRaw(ERROR_CLASS_DOES_NOT_EXIST);
    return nullptr;
  }
  const WindowClass& windowClass = found->second;
  bool child = (args.style & WS_CHILD) != 0;
  if (child && args.parent == nullptr) {
    detail::SetLastErrorRaw(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (args.parent != nullptr && Need(args.parent) == nullptr) {
    return nullptr;
  }

  auto window = std::make_unique<Window>();
  window->handle = reinterpret_cast<HWND>(s.nextWindow);
  s.nextWindow += 4;
  window->name = NewName(args, windowClass);
  window->className = windowClass.name;
  window->procedure = windowClass.procedure;
  window->internal = args.internal;
  window->style = args.style & ~WS_VISIBLE;
  window->exStyle = args.exStyle;
  window->id = child ? args.id : 0;
  window->text = args.text != nullptr ? args.text : "";
  window->dialog = args.dialog || windowClass.name == "#32770";
  if (window->dialog) {
    DialogBaseUnits(0, &window->baseX, &window->baseY);
  }
  if (child) {
    window->parent = args.parent;
  } else if (args.parent != nullptr) {
    window->owner = Root(args.parent);
  }
  window->rect =
      RECT{args.x, args.y, args.x + std::max(args.width, 0), args.y + std::max(args.height, 0)};

  HWND handle = window->handle;
  Window* created = window.get();
  s.windows[reinterpret_cast<uintptr_t>(handle)] = std::move(window);
  s.windowOrder.push_back(handle);
  if (child) {
    Find(args.parent)->children.push_back(handle);
  } else {
    s.zOrder.insert(s.zOrder.begin(), handle);
  }

  CREATESTRUCTA create{args.param,
                       ProgramModule(),
                       reinterpret_cast<HMENU>(args.id),
                       args.parent,
                       args.height,
                       args.width,
                       args.y,
                       args.x,
                       static_cast<LONG>(args.style),
                       args.text,
                       created->className.c_str(),
                       args.exStyle};
  if (Send(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0) {
    SendNcDestroy(handle);
    return nullptr;
  }
  if (Find(handle) == nullptr ||
      Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    Destroy(handle);
    return nullptr;
  }
  if (Find(handle) == nullptr) {
    return nullptr;
  }
  RECT client = ClientRect(*created);
  Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  Send(handle, WM_MOVE, 0, MovePoint(*created));
  if (child && (args.exStyle & WS_EX_NOPARENTNOTIFY) == 0 && Find(args.parent) != nullptr) {
    Send(args.parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(args.id)),
         reinterpret_cast<LPARAM>(handle));
  }
  if (Find(handle) != nullptr && (args.style & WS_VISIBLE) != 0) {
    Show(handle, child ? SW_SHOW : SW_SHOWNORMAL);
  }
  return Find(handle) != nullptr ? handle : nullptr;
}

bool Destroy(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) {
    detail::SetLastErrorRaw(ERROR_ACCESS_DENIED);
    return false;
  }
  if (window->failDestroy) {
    detail::SetLastErrorRaw(ERROR_ACCESS_DENIED);
    return false;
  }
  if (window->destroying) {
    return true;  // already on its way
  }
  Activity();
  if (window->parent != nullptr && (window->exStyle & WS_EX_NOPARENTNOTIFY) == 0) {
    Send(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, static_cast<WORD>(window->id)),
         reinterpret_cast<LPARAM>(handle));
  }
  if (Find(handle) == nullptr || window->destroying) {
    return true;
  }
  HideForDestruction(*window);
  // The windows it owns go first, the newest first.
  std::vector<HWND> owned;
  for (HWND other : S().windowOrder) {
    const Window* candidate = Find(other);
    if (candidate != nullptr && candidate->owner == handle && !candidate->destroying) {
      owned.insert(owned.begin(), other);
    }
  }
  for (HWND other : owned) {
    Destroy(other);
  }
  if (Find(handle) == nullptr || window->destroying) {
    return true;
  }
  SendDestroy(handle);
  SendNcDestroy(handle);
  return true;
}

bool Show(HWND handle, int command) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return false;
  }
  bool wasVisible = (window->style & WS_VISIBLE) != 0;
  bool show = command != SW_HIDE;
  DWORD before = window->style;
  DWORD state = window->style & ~(WS_MINIMIZE | WS_MAXIMIZE);
  switch (command) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      state |= WS_MINIMIZE;
      break;
    case SW_SHOWMAXIMIZED:
      state |= WS_MAXIMIZE;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      break;
    default:
      state = window->style;  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE, SW_HIDE keep it
      break;
  }
  if (show == wasVisible && state == before) {
    return wasVisible;
  }
  Activity();
  if (show != wasVisible) {
    Send(handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (Find(handle) == nullptr) {
      return wasVisible;
    }
  }
  WINDOWPOS pos = InPlace(*window, show ? SWP_SHOWWINDOW : static_cast<UINT>(SWP_HIDEWINDOW));
  SendWindowPos(handle, WM_WINDOWPOSCHANGING, &pos);
  if (Find(handle) == nullptr) {
    return wasVisible;
  }
  window->style = (state & ~WS_VISIBLE) | (show ? WS_VISIBLE : 0);
  if (show) {
    Invalidate(handle, nullptr, true, true);
    if (window->parent == nullptr) {
      if (ActivatingCommand(command) && (window->style & WS_DISABLED) == 0) {
        RaiseToTop(handle);
        Activate(handle);
      } else if ((window->style & WS_MINIMIZE) != 0 && S().active == handle) {
        Activate(OtherWindowToActivate(handle));
      }
    }
    if (Find(handle) != nullptr && ShownDeep(*window)) {
      EraseNow(handle);
    }
  } else {
    if (window->parent != nullptr) {
      Invalidate(window->parent, &window->rect, true, false);
    }
    GiveUpActivationAndFocus(*window);
  }
  if (Find(handle) != nullptr) {
    SendWindowPos(handle, WM_WINDOWPOSCHANGED, &pos);
  }
  return wasVisible;
}

bool Enable(HWND handle, bool enable) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return false;
  }
  if (enable) {
    bool wasDisabled = (window->style & WS_DISABLED) != 0;
    window->style &= ~WS_DISABLED;
    if (wasDisabled) {
      Send(handle, WM_ENABLE, TRUE, 0);
    }
    return wasDisabled;
  }
  Send(handle, WM_CANCELMODE, 0, 0);
  if (Find(handle) == nullptr) {
    return false;
  }
  bool wasDisabled = (window->style & WS_DISABLED) != 0;
  window->style |= WS_DISABLED;
  if (!wasDisabled) {
    if (S().focus == handle) {
      SetFocusTo(nullptr);  // a disabled window cannot keep the focus
    }
    Send(handle, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

void Activate(HWND handle) {
  State& s = S();
  if (handle == s.active) {
    return;
  }
  HWND previous = s.active;
  s.active = handle;
  if (Find(previous) != nullptr) {
    Send(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(handle));
    Send(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
  }
  if (handle == nullptr) {
    if (s.focus != nullptr && s.active == nullptr) {
      SetFocusTo(nullptr);
    }
    return;
  }
  if (Find(handle) == nullptr || s.active != handle) {
    return;
  }
  RaiseToTop(handle);
  Window* window = Find(handle);
  WPARAM minimized = (window->style & WS_MINIMIZE) != 0 ? 1 : 0;
  Send(handle, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previous));
  Send(handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimized), reinterpret_cast<LPARAM>(previous));
  if (s.active == handle && Find(handle) != nullptr &&
      (s.focus == nullptr || Root(s.focus) != handle)) {
    SetFocusTo(handle);
  }
}

HWND SetFocusTo(HWND handle) {
  State& s = S();
  if (handle != nullptr) {
    for (Window* current = Find(handle); current != nullptr; current = Find(current->parent)) {
      if ((current->style & (WS_DISABLED | WS_MINIMIZE)) != 0) {
        return nullptr;
      }
    }
    HWND top = Root(handle);
    if (top != s.active) {
      Activate(top);
      if (Find(handle) == nullptr || s.active != top) {
        return nullptr;
      }
    }
  }
  HWND previous = s.focus;
  if (previous == handle) {
    return previous;
  }
  s.focus = handle;
  if (Find(previous) != nullptr) {
    Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
  }
  if (handle != nullptr && s.focus == handle && Find(handle) != nullptr) {
    Send(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

bool Move(HWND handle, HWND after, int x, int y, int width, int height, UINT flags) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return false;
  }
  WINDOWPOS pos{handle, after, x, y, width, height, flags};
  SendWindowPos(handle, WM_WINDOWPOSCHANGING, &pos);
  if (Find(handle) == nullptr) {
    return false;
  }
  RECT before = window->rect;
  if ((pos.flags & SWP_NOMOVE) == 0) {
    window->rect.right += pos.x - window->rect.left;
    window->rect.bottom += pos.y - window->rect.top;
    window->rect.left = pos.x;
    window->rect.top = pos.y;
  }
  if ((pos.flags & SWP_NOSIZE) == 0) {
    window->rect.right = window->rect.left + std::max(pos.cx, 0);
    window->rect.bottom = window->rect.top + std::max(pos.cy, 0);
  }
  bool resized = before.right - before.left != window->rect.right - window->rect.left ||
                 before.bottom - before.top != window->rect.bottom - window->rect.top;
  if (resized && (pos.flags & SWP_NOREDRAW) == 0) {
    Invalidate(handle, nullptr, true, true);
  }
  if (Find(handle) != nullptr) {
    SendWindowPos(handle, WM_WINDOWPOSCHANGED, &pos);
  }
  return true;
}

}  // namespace standin::win

// ---- The test side ----------------------------------------------------------------

namespace standin {

void SetWorkArea(const RECT& area) {
  win::S().workArea = area;
}

void SetScreenDpi(int dpi) {
  win::S().dpi = dpi;
}

void RegisterWindowClass(const std::string& name, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = name.c_str();
  RegisterClassA(&windowClass);
}

}  // namespace standin

// ---- The platform calls -------------------------------------------------------------

using standin::detail::Dec;
using standin::detail::Hex;
using standin::detail::Log;
using standin::detail::Ptr;
using standin::detail::Str;
using standin::win::Find;
using standin::win::Name;
using standin::win::Need;
using standin::win::Window;

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) {
  bool atom = lpClassName != nullptr && IS_INTRESOURCE(lpClassName);
  std::string className =
      atom ? "#" + Dec(static_cast<long long>(reinterpret_cast<uintptr_t>(lpClassName)))
           : (lpClassName != nullptr ? std::string(lpClassName) : std::string());
  bool child = (dwStyle & WS_CHILD) != 0;
  Log("CreateWindowExA",
      {Hex(dwExStyle), atom ? className : Str(lpClassName), Str(lpWindowName), Hex(dwStyle), Dec(X),
       Dec(Y), Dec(nWidth), Dec(nHeight), Name(hWndParent),
       child ? Dec(static_cast<long long>(reinterpret_cast<intptr_t>(hMenu))) : Name(hMenu),
       Ptr(hInstance), Ptr(lpParam)});
  if (lpClassName == nullptr || atom) {
    standin::detail::SetLastErrorRaw(ERROR_CLASS_DOES_NOT_EXIST);
    return nullptr;
  }
  standin::win::CreateArgs args;
  args.exStyle = dwExStyle;
  args.className = className;
  args.text = lpWindowName;
  args.style = dwStyle;
  args.x = X;
  args.y = Y;
  args.width = nWidth;
  args.height = nHeight;
  args.parent = hWndParent;
  args.id = child ? reinterpret_cast<LONG_PTR>(hMenu) : 0;
  args.param = lpParam;
  return standin::win::Create(args);
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  Log("DestroyWindow", {Name(hWnd)});
  return standin::win::Destroy(hWnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
  Log("IsWindow", {Name(hWnd)});
  if (hWnd == nullptr) {
    return FALSE;
  }
  return Need(hWnd) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  Log("IsWindowEnabled", {Name(hWnd)});
  Window* window = Need(hWnd);
  return window != nullptr && (window->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  Log("IsWindowVisible", {Name(hWnd)});
  Window* window = Need(hWnd);
  return window != nullptr && standin::win::ShownDeep(*window) ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  Log("EnableWindow", {Name(hWnd), Dec(bEnable)});
  if (Need(hWnd) == nullptr) {
    return FALSE;
  }
  return standin::win::Enable(hWnd, bEnable != FALSE) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  Log("ShowWindow", {Name(hWnd), Dec(nCmdShow)});
  if (Need(hWnd) == nullptr) {
    return FALSE;
  }
  return standin::win::Show(hWnd, nCmdShow) ? TRUE : FALSE;
}

HWND WINAPI SetFocus(HWND hWnd) {
  Log("SetFocus", {Name(hWnd)});
  if (hWnd != nullptr && Need(hWnd) == nullptr) {
    return nullptr;
  }
  return standin::win::SetFocusTo(hWnd);
}

HWND WINAPI GetFocus() {
  Log("GetFocus", {});
  return standin::win::S().focus;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Log("GetDlgItem", {Name(hDlg), Dec(nIDDlgItem)});
  return standin::FindControl(Find(hDlg) != nullptr ? hDlg : nullptr, nIDDlgItem);
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  Log("GetDlgCtrlID", {Name(hWnd)});
  Window* window = Need(hWnd);
  return window != nullptr ? static_cast<int>(window->id) : 0;
}

HWND WINAPI GetActiveWindow() {
  Log("GetActiveWindow", {});
  return standin::win::S().active;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
  Log("RegisterClassA", {Str(lpWndClass != nullptr ? lpWndClass->lpszClassName : nullptr)});
  if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr) {
    standin::detail::SetLastErrorRaw(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name = lpWndClass->lpszClassName;
  auto& classes = standin::win::S().classes;
  if (classes.count(standin::detail::UpperCase(name)) != 0) {
    standin::detail::SetLastErrorRaw(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  classes[standin::detail::UpperCase(name)] =
      standin::win::WindowClass{name, lpWndClass->lpfnWndProc};
  return static_cast<ATOM>(0xC000 + classes.size());
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  Log("GetClassNameA", {Name(hWnd), "buffer", Dec(nMaxCount)});
  Window* window = Need(hWnd);
  if (window == nullptr || lpClassName == nullptr || nMaxCount <= 0) {
    return 0;
  }
  size_t count = std::min(window->className.size(), static_cast<size_t>(nMaxCount) - 1);
  window->className.copy(lpClassName, count);
  lpClassName[count] = '\0';
  return static_cast<int>(count);
}

// The first child and the next sibling, in z order (which here is creation order).
HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  Log("GetWindow", {Name(hWnd), Dec(uCmd)});
  Window* window = Need(hWnd);
  if (window == nullptr) {
    return nullptr;
  }
  std::vector<HWND> siblings = standin::win::AliveChildren(window->parent);
  switch (uCmd) {
    case GW_CHILD: {
      std::vector<HWND> children = standin::win::AliveChildren(hWnd);
      return children.empty() ? nullptr : children.front();
    }
    case GW_HWNDNEXT: {
      auto at = std::find(siblings.begin(), siblings.end(), hWnd);
      return window->parent == nullptr || at == siblings.end() || at + 1 == siblings.end()
                 ? nullptr
                 : *(at + 1);
    }
    default:
      return nullptr;
  }
}

HWND WINAPI GetParent(HWND hWnd) {
  Log("GetParent", {Name(hWnd)});
  Window* window = Need(hWnd);
  if (window == nullptr) {
    return nullptr;
  }
  if (window->parent != nullptr) {
    return window->parent;
  }
  return (window->style & WS_POPUP) != 0 ? window->owner : nullptr;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  Log("SetWindowTextA", {Name(hWnd), Str(lpString)});
  if (Need(hWnd) == nullptr) {
    return FALSE;
  }
  return standin::win::Send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0 ? TRUE
                                                                                          : FALSE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  Log("GetWindowTextA", {Name(hWnd), lpString == nullptr ? "NULL" : "buffer", Dec(nMaxCount)});
  if (Need(hWnd) == nullptr) {
    if (lpString != nullptr && nMaxCount > 0) {
      lpString[0] = '\0';
    }
    return 0;
  }
  if (lpString == nullptr || nMaxCount <= 0) {
    return 0;
  }
  return static_cast<int>(standin::win::Send(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                             reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
  Log("GetWindowTextLengthA", {Name(hWnd)});
  if (Need(hWnd) == nullptr) {
    return 0;
  }
  return static_cast<int>(standin::win::Send(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

namespace {
LONG_PTR WindowData(const char* call, HWND hWnd, int nIndex) {
  Log(call, {Name(hWnd), standin::win::IndexText(nIndex)});
  Window* window = Need(hWnd);
  LONG_PTR value = 0;
  if (window != nullptr) {
    standin::win::GetData(*window, nIndex, &value);
  }
  return value;
}

LONG_PTR SetWindowData(const char* call, HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  std::string value = nIndex == GWLP_HWNDPARENT ? Name(reinterpret_cast<void*>(dwNewLong))
                      : nIndex == GWLP_WNDPROC  ? std::string("procedure")
                                                : Hex(static_cast<unsigned long long>(dwNewLong));
  Log(call, {Name(hWnd), standin::win::IndexText(nIndex), value});
  Window* window = Need(hWnd);
  LONG_PTR old = 0;
  if (window != nullptr) {
    standin::win::SetData(*window, nIndex, dwNewLong, &old);
  }
  return old;
}
}  // namespace

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
  return static_cast<LONG>(WindowData("GetWindowLongA", hWnd, nIndex));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
  return WindowData("GetWindowLongPtrA", hWnd, nIndex);
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  return static_cast<LONG>(
      SetWindowData("SetWindowLongA", hWnd, nIndex, static_cast<DWORD>(dwNewLong)));
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return SetWindowData("SetWindowLongPtrA", hWnd, nIndex, dwNewLong);
}

namespace {
BOOL ReadRect(const char* call, HWND hWnd, LPRECT lpRect, RECT (*read)(const Window&)) {
  Log(call, {Name(hWnd), lpRect == nullptr ? "NULL" : "rect"});
  Window* window = Need(hWnd);
  if (window == nullptr || lpRect == nullptr) {
    return FALSE;
  }
  *lpRect = read(*window);
  return TRUE;
}

std::string PointText(const POINT* point) {
  return point == nullptr ? "NULL" : "{" + Dec(point->x) + "," + Dec(point->y) + "}";
}

// Moves the point by the window's client origin: +1 to the screen, -1 from it.
BOOL MovePointBy(const char* call, HWND hWnd, LPPOINT lpPoint, int sign) {
  Log(call, {Name(hWnd), PointText(lpPoint)});
  Window* window = Need(hWnd);
  if (window == nullptr || lpPoint == nullptr) {
    return FALSE;
  }
  POINT origin = standin::win::ClientOrigin(*window);
  lpPoint->x += sign * origin.x;
  lpPoint->y += sign * origin.y;
  return TRUE;
}
}  // namespace

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  return ReadRect("GetClientRect", hWnd, lpRect, standin::win::ClientRect);
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  return ReadRect("GetWindowRect", hWnd, lpRect, standin::win::ScreenRect);
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  return MovePointBy("ClientToScreen", hWnd, lpPoint, 1);
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  return MovePointBy("ScreenToClient", hWnd, lpPoint, -1);
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                         UINT uFlags) {
  Log("SetWindowPos",
      {Name(hWnd), Name(hWndInsertAfter), Dec(X), Dec(Y), Dec(cx), Dec(cy), Hex(uFlags)});
  if (Need(hWnd) == nullptr) {
    return FALSE;
  }
  return standin::win::Move(hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags) ? TRUE : FALSE;
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  Log("CheckRadioButton",
      {Name(hDlg), Dec(nIDFirstButton), Dec(nIDLastButton), Dec(nIDCheckButton)});
  if (Need(hDlg) == nullptr) {
    return FALSE;
  }
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
    if (HWND button = standin::FindControl(hDlg, id)) {
      standin::win::Send(button, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED,
                         0);
    }
  }
  return TRUE;
}

HMENU WINAPI GetMenu(HWND hWnd) {
  Log("GetMenu", {Name(hWnd)});
  Need(hWnd);
  return nullptr;  // no window here has a menu
}

BOOL WINAPI GetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPosition, MENUITEMINFOA* lpmii) {
  Log("GetMenuItemInfoA",
      {Name(hmenu), Dec(item), Dec(fByPosition), lpmii == nullptr ? "NULL" : "info"});
  standin::detail::SetLastErrorRaw(ERROR_INVALID_MENU_HANDLE);
  return FALSE;
}

BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni) {
  Log("SystemParametersInfoA",
      {Hex(uiAction), Dec(uiParam), pvParam == nullptr ? "NULL" : "buffer", Dec(fWinIni)});
  if (uiAction == SPI_GETWORKAREA && pvParam != nullptr) {
    *static_cast<RECT*>(pvParam) = standin::win::S().workArea;
    return TRUE;
  }
  standin::detail::SetLastErrorRaw(ERROR_INVALID_PARAMETER);
  return FALSE;
}

int WINAPI GetSystemMetrics(int nIndex) {
  Log("GetSystemMetrics", {Dec(nIndex)});
  // The dialog frame, which the checks read; nothing here asks for anything else.
  return nIndex == SM_CXDLGFRAME || nIndex == SM_CYDLGFRAME ? 3 : 0;
}
