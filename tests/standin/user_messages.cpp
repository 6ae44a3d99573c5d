// The stand-in's messages: sending, the thread's queue (posted messages, hardware input
// and paint requests), DefWindowProcA, scripted user input and the idle script.
//
// The queue hands out, as the platform does: posted messages first, then input, then
// WM_PAINT for a window that needs painting (parents before children), and returns
// FALSE when none of these is waiting. WM_QUIT is a posted message like any other.
// Messages sent from other threads are delivered first, by any peek that asks for them.
// Input is hit-tested when it is taken from the queue: the window under a click and the
// focus window for a key are those of that moment.
//
// DefWindowProcA, as Wine's: WM_CLOSE destroys the window; WM_SYSCOMMAND with SC_CLOSE
// sends WM_CLOSE; Alt+F4 (WM_SYSKEYDOWN with VK_F4 and the Alt bit) posts WM_SYSCOMMAND
// SC_CLOSE to the top-level window; a press on the close box (WM_NCLBUTTONDOWN with
// HTCLOSE) takes the release out of the queue, as the platform's tracking loop does, and
// sends WM_SYSCOMMAND SC_CLOSE with the point; WM_ACTIVATE gives the window the focus.
#include <algorithm>

#include "user_internal.h"

namespace standin::win {
namespace {

using detail::Dec;

constexpr int kPaintLoopLimit = 1000;

LRESULT CallProcedure(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window.internal) {
    S().deliveries.push_back(MSG{window.handle, message, wParam, lParam, 0, {0, 0}});
  }
  return window.procedure == nullptr ? 0 : window.procedure(window.handle, message, wParam, lParam);
}

bool InRange(UINT message, UINT first, UINT last) {
  return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool ForFilter(HWND filter, HWND window) {
  if (filter == reinterpret_cast<HWND>(-1)) {
    return window == nullptr;
  }
  return filter == nullptr || window == filter || IsChildOf(filter, window);
}

bool Contains(const RECT& rect, POINT point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
         point.y < rect.bottom;
}

bool Transparent(const Window& window) {
  // A static control without SS_NOTIFY answers WM_NCHITTEST with HTTRANSPARENT.
  return window.className == "STATIC" && (window.style & SS_NOTIFY) == 0;
}

// The first of the windows that is shown (not minimized) under the point and does not let
// the mouse through.
HWND Under(const std::vector<HWND>& windows, POINT point) {
  for (HWND candidate : windows) {
    const Window* window = Find(candidate);
    if (window != nullptr && (window->style & WS_VISIBLE) != 0 &&
        (window->style & WS_MINIMIZE) == 0 && Contains(ScreenRect(*window), point) &&
        !Transparent(*window)) {
      return candidate;
    }
  }
  return nullptr;
}

// The window a mouse press at the point goes to: the topmost visible top-level window
// under it, then the deepest visible child under it; a disabled child passes it to its
// parent. Sets *inClient when the point is in that window's client area. nullptr when the
// point hits no window or a disabled top-level window.
HWND HitTest(POINT point, bool* inClient) {
  HWND hit = Under(S().zOrder, point);
  if (hit == nullptr || (Find(hit)->style & WS_DISABLED) != 0) {
    return nullptr;
  }
  for (;;) {
    const Window* window = Find(hit);
    POINT origin = ClientOrigin(*window);
    RECT client = ClientRect(*window);
    RECT clientOnScreen{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    *inClient = Contains(clientOnScreen, point);
    if (!*inClient) {
      return hit;
    }
    HWND next = Under(AliveChildren(hit), point);
    if (next == nullptr || (Find(next)->style & WS_DISABLED) != 0) {
      return hit;
    }
    hit = next;
  }
}

// What a queued input entry becomes when it is taken now; false when it reaches no
// window and is dropped.
bool Resolve(const Queued& entry, MSG* msg) {
  State& s = S();
  *msg = MSG{};
  msg->time = detail::Now();
  msg->pt = entry.point;
  switch (entry.input) {
    case InputKind::kMouseDown:
    case InputKind::kMouseUp: {
      bool down = entry.input == InputKind::kMouseDown;
      bool client = true;
      HWND target = !down && Find(s.capture) != nullptr ? s.capture : HitTest(entry.point, &client);
      if (target == nullptr) {
        return false;
      }
      msg->hwnd = target;
      POINT origin = client ? ClientOrigin(*Find(target)) : POINT{0, 0};
      msg->lParam = MAKELPARAM(entry.point.x - origin.x, entry.point.y - origin.y);
      if (client) {
        msg->message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        msg->wParam = down ? MK_LBUTTON : 0;
      } else {
        msg->message = down ? WM_NCLBUTTONDOWN : WM_NCLBUTTONUP;
        msg->wParam = HTCAPTION;
      }
      return true;
    }
    case InputKind::kCloseBox: {
      const Window* window = Find(entry.aim);
      if (window == nullptr || !ShownDeep(*window) || (window->style & WS_DISABLED) != 0) {
        return false;
      }
      msg->hwnd = entry.aim;
      msg->message = WM_NCLBUTTONDOWN;
      msg->wParam = HTCLOSE;
      msg->lParam = MAKELPARAM(entry.point.x, entry.point.y);
      return true;
    }
    case InputKind::kKeyDown:
    case InputKind::kKeyUp: {
      bool down = entry.input == InputKind::kKeyDown;
      // Alt itself comes up as a plain key, its own state already let go.
      bool alt = entry.key == VK_MENU ? down : (s.keyState[VK_MENU] & 0x80) != 0;
      bool system = alt || entry.key == VK_F10;
      HWND target = Find(s.focus) != nullptr ? s.focus : nullptr;
      if (target == nullptr) {
        // No focus: the active window gets the keys, as system keys.
        target = Find(s.active) != nullptr ? s.active : nullptr;
        system = true;
      }
      if (target == nullptr) {
        return false;
      }
      msg->hwnd = target;
      msg->wParam = entry.key;
      // A repeat count of 1, no scan codes; the Alt bit, and the up bits of a release.
      msg->lParam = static_cast<LPARAM>(1u | (alt ? 1u << 29 : 0u) | (down ? 0u : 3u << 30));
      msg->message =
          down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
      return true;
    }
    case InputKind::kNone:
      break;
  }
  return false;
}

// What happens as input is taken: the cursor moves, a press activates its window, the
// keyboard state changes.
void Consume(const Queued& entry, const MSG& msg) {
  State& s = S();
  if (entry.input == InputKind::kKeyDown || entry.input == InputKind::kKeyUp) {
    s.keyState[entry.key] = entry.input == InputKind::kKeyDown ? 0x80 : 0;
    return;
  }
  s.cursor = entry.point;
  HWND top = Root(msg.hwnd);
  if (entry.input != InputKind::kMouseUp && top != s.active && Find(top) != nullptr &&
      (Find(top)->style & WS_DISABLED) == 0) {
    Activate(top);
  }
}

// The platform's tracking loop after a press on the close box or the system menu takes
// the release out of the queue.
void TakeRelease() {
  std::vector<Queued>& input = S().input;
  for (auto it = input.begin(); it != input.end(); ++it) {
    if (it->input == InputKind::kMouseUp) {
      S().cursor = it->point;
      input.erase(it);
      return;
    }
  }
}

// The system menu's own loop: it takes the keys queued up to the first letter pressed,
// and "C" chooses Close, which the menu posts as WM_SYSCOMMAND(SC_CLOSE). Any other
// letter leaves the menu without a choice.
void SystemMenu(HWND window) {
  std::vector<Queued>& input = S().input;
  for (auto it = input.begin(); it != input.end(); ++it) {
    if (it->input == InputKind::kKeyDown && it->key >= 'A' && it->key <= 'Z') {
      bool close = it->key == 'C';
      input.erase(input.begin(), it + 1);
      if (close) {
        Post(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(S().cursor.x, S().cursor.y));
      }
      return;
    }
  }
  input.clear();
}

void PushInput(InputKind kind, HWND aim, POINT point, BYTE key) {
  S().input.push_back(Queued{MSG{}, kind, aim, point, key});
}

Window& ScriptTarget(HWND window, const char* who) {
  Window& known = Known(window, who);
  if (!known.alive) {
    detail::Fatal(std::string(who) + ": " + known.name + " has been destroyed");
  }
  return known;
}

// Letters, digits, and the keys whose virtual-key code is their character: Enter ('\r'),
// Esc, Tab, Backspace and Space.
char CharacterOf(BYTE key, bool shift) {
  if (key >= 'A' && key <= 'Z') {
    return static_cast<char>(shift ? key : key - 'A' + 'a');
  }
  bool same = (key >= '0' && key <= '9') || key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB ||
              key == VK_BACK || key == VK_SPACE;
  return same ? static_cast<char>(key) : '\0';
}

}  // namespace

void Activity() {
  S().idleSleeps = 0;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* target = Need(window);
  if (target == nullptr) {
    return 0;
  }
  return CallProcedure(*target, message, wParam, lParam);
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && Need(window) == nullptr) {
    return false;
  }
  Queued entry;
  entry.msg = MSG{window, message, wParam, lParam, detail::Now(), S().cursor};
  S().posted.push_back(entry);
  return true;
}

void DropQueuedFor(HWND window) {
  std::vector<Queued>& posted = S().posted;
  posted.erase(std::remove_if(posted.begin(), posted.end(),
                              [window](const Queued& entry) { return entry.msg.hwnd == window; }),
               posted.end());
}

bool Peek(MSG* msg, HWND filter, UINT first, UINT last, UINT remove) {
  State& s = S();
  // PM_QS_* flags name the parts of the queue to look at; without them, every part.
  UINT parts = (remove >> 16) != 0 ? remove >> 16 : QS_ALLINPUT;
  while ((parts & QS_SENDMESSAGE) != 0 && !s.sentFromOtherThreads.empty()) {
    auto [sent, answered] = std::move(s.sentFromOtherThreads.front());
    s.sentFromOtherThreads.erase(s.sentFromOtherThreads.begin());
    LRESULT answer = Send(sent.hwnd, sent.message, sent.wParam, sent.lParam);
    if (answered) {
      answered(answer);
    }
  }
  if (filter != nullptr && filter != reinterpret_cast<HWND>(-1) && Need(filter) == nullptr) {
    return false;
  }
  bool take = (remove & PM_REMOVE) != 0;
  for (auto it = s.posted.begin(); (parts & QS_POSTMESSAGE) != 0 && it != s.posted.end(); ++it) {
    if (ForFilter(filter, it->msg.hwnd) && InRange(it->msg.message, first, last)) {
      *msg = it->msg;
      if (take) {
        s.posted.erase(it);
      }
      Activity();
      return true;
    }
  }
  for (size_t i = 0; (parts & QS_INPUT) != 0 && i < s.input.size();) {
    MSG resolved;
    if (!Resolve(s.input[i], &resolved)) {
      if (s.input[i].input == InputKind::kMouseDown) {
        s.cursor = s.input[i].point;
      }
      s.input.erase(s.input.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (ForFilter(filter, resolved.hwnd) && InRange(resolved.message, first, last)) {
      *msg = resolved;
      if (take) {
        Queued entry = s.input[i];
        s.input.erase(s.input.begin() + static_cast<std::ptrdiff_t>(i));
        Consume(entry, resolved);
      }
      Activity();
      return true;
    }
    ++i;
  }
  if ((parts & QS_PAINT) != 0 && InRange(WM_PAINT, first, last)) {
    if (HWND window = NextToPaint(filter)) {
      Window* painted = Find(window);
      if (++painted->paintsOffered > kPaintLoopLimit) {
        detail::Fatal("WM_PAINT for " + painted->name + " was handed out " + Dec(kPaintLoopLimit) +
                      " times and the window never painted");
      }
      *msg = MSG{window, WM_PAINT, 0, 0, detail::Now(), s.cursor};
      Activity();
      return true;
    }
  }
  return false;
}

bool Translate(const MSG& msg) {
  bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (!key) {
    return msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
  }
  bool shift = (S().keyState[VK_SHIFT] & 0x80) != 0;
  char character = CharacterOf(static_cast<BYTE>(msg.wParam), shift);
  if (character != 0) {
    Post(msg.hwnd, msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
         static_cast<unsigned char>(character), msg.lParam);
  }
  return true;
}

LRESULT Dispatch(const MSG& msg) {
  if (msg.hwnd == nullptr) {
    return 0;
  }
  Window* window = Need(msg.hwnd);
  if (window == nullptr) {
    return 0;  // the window is gone: the message is dropped
  }
  return CallProcedure(*window, msg.message, msg.wParam, msg.lParam);
}

LRESULT DefProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = Find(handle);
  if (window == nullptr) {
    return 0;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    return reinterpret_cast<LRESULT>(DefaultColours(message, reinterpret_cast<HDC>(wParam)));
  }
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      Destroy(handle);
      return 0;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      window->text = text != nullptr ? text : "";
      return TRUE;
    }
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (buffer == nullptr || wParam == 0) {
        return 0;
      }
      size_t count = std::min(window->text.size(), static_cast<size_t>(wParam) - 1);
      window->text.copy(buffer, count);
      buffer[count] = '\0';
      return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(window->text.size());
    case WM_SETICON: {
      HICON* slot = wParam == ICON_BIG ? &window->bigIcon : &window->smallIcon;
      HICON old = *slot;
      *slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? window->bigIcon : window->smallIcon);
    case WM_PAINT:
      EndPainting(BeginPainting(handle));
      return 0;
    case WM_NCACTIVATE:
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && (window->style & WS_MINIMIZE) == 0) {
        SetFocusTo(handle);
      }
      return 0;
    case WM_CANCELMODE:
      if (S().capture == handle) {
        S().capture = nullptr;
      }
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos == nullptr) {
        return 0;
      }
      if ((pos->flags & SWP_NOMOVE) == 0) {
        Send(handle, WM_MOVE, 0, MovePoint(*window));
      }
      if ((pos->flags & SWP_NOSIZE) == 0 && Find(handle) != nullptr) {
        RECT client = ClientRect(*window);
        WPARAM type = (window->style & WS_MAXIMIZE) != 0   ? SIZE_MAXIMIZED
                      : (window->style & WS_MINIMIZE) != 0 ? SIZE_MINIMIZED
                                                           : SIZE_RESTORED;
        Send(handle, WM_SIZE, type, MAKELPARAM(client.right, client.bottom));
      }
      return 0;
    }
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          Send(handle, WM_CLOSE, 0, 0);
          return 0;
        case SC_KEYMENU:
          if (lParam == ' ') {
            SystemMenu(handle);
          }
          return 0;
        default:
          return 0;
      }
    case WM_SYSCHAR:
      // Alt+Space opens the system menu of the top-level window.
      if ((HIWORD(lParam) & KF_ALTDOWN) != 0 && wParam == ' ') {
        if ((window->style & WS_CHILD) != 0) {
          Send(window->parent, message, wParam, lParam);
        } else {
          Send(handle, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        }
      }
      return 0;
    case WM_SYSKEYDOWN:
      if ((HIWORD(lParam) & KF_ALTDOWN) != 0 && wParam == VK_F4) {
        Post(Root(handle), WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCLOSE) {
        TakeRelease();
        Send(handle, WM_SYSCOMMAND, SC_CLOSE, lParam);
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace standin::win

namespace standin::detail {

// The platform wakes a wait for what arrived since the thread last looked; the stand-in,
// for what is there, so a window that never paints would wake every wait.
bool QueueWakes(DWORD wakeMask) {
  return ((wakeMask & QS_SENDMESSAGE) != 0 && !win::S().sentFromOtherThreads.empty()) ||
         ((wakeMask & QS_PAINT) != 0 && win::NextToPaint(nullptr) != nullptr);
}

std::function<void(const std::string&)> hangReport;  // ReportHangsTo's, kept over Reset

// The thread idles when it sleeps right after its message loop found the queue empty;
// a pause in the middle of handling something (a Sleep before a message box, say) is
// not idleness, and a person's next action waits for the loop.
void OnIdle(DWORD /*milliseconds*/) {
  win::State& s = win::S();
  if (!s.queueFoundEmpty) {
    return;
  }
  s.queueFoundEmpty = false;
  if (!s.idleActions.empty()) {
    std::function<void()> action = std::move(s.idleActions.front());
    s.idleActions.erase(s.idleActions.begin());
    s.idleSleeps = 0;
    action();
    return;
  }
  if (std::none_of(s.windows.begin(), s.windows.end(), [](const auto& entry) {
        return entry.second->alive && !entry.second->internal;
      })) {
    return;  // no window to wait on: a plain pause
  }
  if (++s.idleSleeps > s.idleLimit) {
    std::string what = "the product waits for input that the test never gives (" +
                       Dec(s.idleLimit) + " idle moments without a WhenIdle action)";
    s.idleSleeps = 0;
    hangReport ? hangReport(what) : Fatal(what);
    for (HWND window : TopLevelWindows()) {
      win::Destroy(window);  // as if closed from outside: the product's loops end
    }
  }
}

}  // namespace standin::detail

// ---- The test side ----------------------------------------------------------------

namespace standin {

using win::InputKind;

namespace {
// A key pressed and released, with another held around it (0: none).
void PushPress(BYTE key, BYTE held) {
  POINT cursor = win::S().cursor;
  if (held != 0) {
    win::PushInput(InputKind::kKeyDown, nullptr, cursor, held);
  }
  win::PushInput(InputKind::kKeyDown, nullptr, cursor, key);
  win::PushInput(InputKind::kKeyUp, nullptr, cursor, key);
  if (held != 0) {
    win::PushInput(InputKind::kKeyUp, nullptr, cursor, held);
  }
}

// A press of the given kind at the point, and the release.
void PushClick(InputKind press, HWND aim, POINT point) {
  win::PushInput(press, aim, point, 0);
  win::PushInput(InputKind::kMouseUp, aim, point, 0);
}

// The caption of a top-level window with a system menu, where its close box is.
RECT CaptionOf(HWND handle, const char* who) {
  const win::Window& window = win::ScriptTarget(handle, who);
  if (window.parent != nullptr || (window.style & WS_CAPTION) != WS_CAPTION ||
      (window.style & WS_SYSMENU) == 0) {
    detail::Fatal(std::string(who) + ": " + window.name +
                  " is no top-level window with a caption and a system menu");
  }
  RECT rect = win::ScreenRect(window);
  RECT insets = win::Insets(window.style, window.exStyle);
  return RECT{rect.left + insets.left, rect.top + insets.right, rect.right - insets.right,
              rect.top + insets.top};
}
}  // namespace

void Click(HWND window) {
  RECT rect = win::ScreenRect(win::ScriptTarget(window, "Click"));
  PushClick(InputKind::kMouseDown, window,
            POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKey(BYTE virtualKey, bool shift) {
  PushPress(virtualKey, shift ? VK_SHIFT : 0);
}

void PressAltF4() {
  PushPress(VK_F4, VK_MENU);
}

void ClickCloseBox(HWND window) {
  RECT caption = CaptionOf(window, "ClickCloseBox");
  PushClick(InputKind::kCloseBox, window,
            POINT{caption.right - 10, (caption.top + caption.bottom) / 2});
}

void ChooseSystemMenuClose(HWND window) {
  // A click on the caption makes the window the active one, whose menu Alt+Space opens.
  RECT caption = CaptionOf(window, "ChooseSystemMenuClose");
  PushClick(InputKind::kMouseDown, window,
            POINT{(caption.left + caption.right) / 2, (caption.top + caption.bottom) / 2});
  PushPress(VK_SPACE, VK_MENU);
  PushPress('C', 0);
}

void SendFromOtherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         std::function<void(LRESULT)> answered) {
  win::S().sentFromOtherThreads.emplace_back(MSG{window, message, wParam, lParam, 0, {0, 0}},
                                             std::move(answered));
}

void WhenIdle(std::function<void()> action) {
  win::S().idleActions.push_back(std::move(action));
}

size_t PendingIdleActions() {
  return win::S().idleActions.size();
}

void SetIdleLimit(int sleeps) {
  win::S().idleLimit = sleeps;
}

void ReportHangsTo(std::function<void(const std::string&)> report) {
  detail::hangReport = std::move(report);
}

void PumpMessages() {
  MSG msg;
  while (win::Peek(&msg, nullptr, 0, 0, PM_REMOVE)) {
    const std::vector<HWND>& boxes = win::S().openBoxes;
    HWND box = boxes.empty() ? nullptr : boxes.back();
    if (box != nullptr && win::DialogMessage(box, &msg)) {
      continue;
    }
    win::Translate(msg);
    win::Dispatch(msg);
  }
}

}  // namespace standin

// ---- The platform calls -------------------------------------------------------------

using standin::MessageName;
using standin::detail::Dec;
using standin::detail::Log;
using standin::win::Name;
using standin::win::Param;

namespace {
std::vector<std::string> MessageArguments(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return {Name(hWnd), MessageName(Msg), Param(Msg, false, wParam),
          Param(Msg, true, static_cast<uintptr_t>(lParam))};
}
}  // namespace

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Log("SendMessageA", MessageArguments(hWnd, Msg, wParam, lParam));
  return standin::win::Send(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Log("PostMessageA", MessageArguments(hWnd, Msg, wParam, lParam));
  return standin::win::Post(hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
  Log("PeekMessageA",
      {lpMsg == nullptr ? "NULL" : "msg", Name(hWnd), Dec(wMsgFilterMin), Dec(wMsgFilterMax),
       std::string((wRemoveMsg & PM_REMOVE) != 0 ? "PM_REMOVE" : "PM_NOREMOVE") +
           ((wRemoveMsg >> 16) != 0 ? " | PM_QS " + standin::detail::Hex(wRemoveMsg >> 16) : "")});
  if (lpMsg == nullptr) {
    standin::detail::Fatal("PeekMessageA without a MSG to fill");
  }
  bool taken = standin::win::Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
  // A loop's look at the whole queue; a filtered look in the middle of something is none.
  standin::win::S().queueFoundEmpty =
      !taken && wMsgFilterMin == 0 && wMsgFilterMax == 0 && (wRemoveMsg >> 16) == 0;
  return taken ? TRUE : FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  Log("TranslateMessage", {standin::win::MessageText(lpMsg)});
  return lpMsg != nullptr && standin::win::Translate(*lpMsg) ? TRUE : FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  Log("DispatchMessageA", {standin::win::MessageText(lpMsg)});
  return lpMsg != nullptr ? standin::win::Dispatch(*lpMsg) : 0;
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                               LPARAM lParam) {
  return lpPrevWndFunc != nullptr ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Log("DefWindowProcA", MessageArguments(hWnd, Msg, wParam, lParam));
  return standin::win::DefProc(hWnd, Msg, wParam, lParam);
}
