// The stand-in platform's window side, as tests see it: the screen, the windows and
// their state, the message queue and scripted user input, message boxes, GDI objects
// and what was painted with them, and icon resources.
//
// Nothing here is logged as a product call. Window handles are named in the call log,
// the ledger and in failure texts as they are here: a dialog made from a template is
// "dialog#1", "dialog#2" ...; a child window is its class and control id, "BUTTON#1002";
// another top-level window is "window#1" ...; GDI objects are "font#3", "brush#2",
// "bitmap#1", "dc#4", icons "icon#1"; stock objects go by their names ("NULL_BRUSH",
// "brush(COLOR_BTNFACE)"). Handles are never reused before the next Reset, so a
// destroyed window's handle stays invalid and keeps its name.
//
// Input is scripted the way a person gives it: Click, PressKey and the rest put
// hardware input into the thread's queue, which the product's own message loop takes
// and dispatches; the target window is found when the product takes the input, as the
// platform does, so a click on a button that was disabled in the meantime does not
// press it. Actions that a person does while the product waits for input are queued
// with WhenIdle; each time the product's message loop finds the queue empty and sleeps,
// the next one runs. A test that needs to act while an installer started by the product
// runs uses the kernel's ProgramScript::whileWaited hook (standin.h) and the same input
// functions there.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform.h"

namespace standin {

// ---- The screen ---------------------------------------------------------------------
// Defaults after Reset: 1024 x 768 pixels, the work area the whole screen, 96 dpi,
// the classic Windows colours.
void SetWorkArea(const RECT& area);

// LOGPIXELSX/LOGPIXELSY. The dialog base units of MS Sans Serif 8 pt follow it, as Wine
// measures them: 6 x 12 at 96 dpi, 8 x 15 at 120 dpi, 9 x 17 at 144 dpi.
void SetScreenDpi(int dpi);
void SetSysColor(int index, COLORREF colour);

// ---- Window classes ------------------------------------------------------------------
// A class that CreateWindowExA accepts, with the test's own window procedure (for an
// owner window, say). The built-in classes are BUTTON, STATIC, EDIT, SCROLLBAR,
// COMBOBOX, LISTBOX and the dialog class "#32770".
void RegisterWindowClass(const std::string& name, WNDPROC procedure);

// ---- Finding windows -----------------------------------------------------------------
// The top-level windows alive, in creation order (message boxes not included).
std::vector<HWND> TopLevelWindows();
// The first top-level window alive whose text is the caption; nullptr if none.
HWND FindWindowByCaption(const std::string& caption);
// The child of the parent with that control id; nullptr if none (no last error set).
HWND FindControl(HWND parent, int id);
// The name of a window, GDI object, icon or DC as the log writes it; for something the
// stand-in never made, its value in hex.
std::string NameOf(const void* handle);

// ---- Reading a window ----------------------------------------------------------------
// All of these read the window directly, without messages; a handle that never named
// a window stops the test program.
bool IsAlive(HWND window);  // not destroyed
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
DWORD StyleOf(HWND window);
bool IsEnabled(HWND window);                    // its own WS_DISABLED bit
bool IsShown(HWND window);                      // WS_VISIBLE on it and on all its ancestors
std::vector<HWND> ChildrenOf(HWND window);      // creation (z and tab) order
RECT WindowRectOf(HWND window);                 // screen coordinates
RECT ClientRectOf(HWND window);                 // the client area in screen coordinates
RECT RectInParent(HWND window);                 // a child's window rectangle, parent's client
HFONT FontOf(HWND window);                      // as the window answers WM_GETFONT
HANDLE ImageOf(HWND window);                    // STM_SETIMAGE / BM_SETIMAGE
std::vector<std::string> ItemsOf(HWND window);  // list box or combo box strings

// ---- Messages delivered ----------------------------------------------------------------
// Every message that reached a window procedure of a window the product can see, in
// order.
// The deliveries as "dialog#1 WM_SETFONT(font#1, 0)"; only those to the given window when
// one is given.
std::vector<std::string> DeliveryLines(HWND onlyTo = nullptr);
void ClearDeliveries();
// "WM_SETFONT", "DM_SETDEFID", "WM_USER+9", "WM_APP+1" or "0x0118" (message_names.h).
std::string MessageName(UINT message);
// One message as DeliveryLines writes it: "dialog#1 WM_SETFONT(font#1, 0)".
std::string MessageLine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Scripted input ----------------------------------------------------------------------
// A left click (press and release) in the middle of the window. The platform decides
// which window gets it when the product takes it from the queue: a disabled child
// passes the click to its parent, a disabled top-level window swallows it; a static
// control without SS_NOTIFY lets it through to its parent.
void Click(HWND window);
// A key pressed and released; with shift, Shift is held around it. The focus window
// gets it when the product takes it (the active window, as WM_SYSKEYDOWN, when no
// window has the focus).
void PressKey(BYTE virtualKey, bool shift = false);
// Alt pressed, F4 pressed and released, Alt released.
void PressAltF4();
// A click on the close box of a top-level window with a caption and a system menu.
void ClickCloseBox(HWND window);
// Close chosen from the window's system menu: a click on the caption activates the
// window, Alt+Space opens the menu, "C" chooses Close.
void ChooseSystemMenuClose(HWND window);

// An action for the next time the product's thread idles, in the order given, one per
// idle moment. The thread idles when it sleeps right after its own PeekMessageA found
// the queue empty; a Sleep in the middle of handling something (such as the pause before
// a message box) is no idle moment and runs nothing.
void WhenIdle(std::function<void()> action);
size_t PendingIdleActions();
// How many idle moments in a row without a scripted action the stand-in allows while a
// window exists (default 1000) before it takes the product for waiting for input that never
// comes: the report (kept over Reset) hears why, and the product's windows are destroyed so
// that its loops end and the run goes on; without a report the test program stops.
void SetIdleLimit(int sleeps);
void ReportHangsTo(std::function<void(const std::string&)> report);
// Takes every message and paint request from the queue and dispatches it, as the
// platform's own modal loop does (inside a message box, the box's dialog keys first),
// until the queue is empty. For message box scripts and for tests that run no loop.
void PumpMessages();

// ---- Message boxes ---------------------------------------------------------------------
struct MessageBox {
  std::string text;
  std::string caption;
  UINT style;
  HWND owner;
  DWORD shownAt;  // the virtual clock when it was shown
  int depth;      // 1 for a box shown while no other box is open, 2 inside that, ...
  HWND window;    // the box's own window while it is open
  int answer;     // what MessageBoxA returned (0 while the box is open)
};
// The script answers each box: it may act on other windows while the box is open
// (click, pump messages, which can enter the product again) and returns the id of the
// button pressed. As the box's modal loop would, the stand-in dispatches what is queued
// when the box opens, and what the script left queued before the box closes. 0 closes the box
// without a button (the close box or Esc): MessageBoxA then returns IDCANCEL, as Wine does for
// every box. A button the box does not have stops the test program. A box that no script answers
// stops the test program.
void AnswerMessageBoxes(std::function<int(const MessageBox&)> script);
// Every box shown since Reset, in the order shown.
const std::vector<MessageBox>& MessageBoxes();
// MessageBoxA fails (returns 0, ERROR_NOT_ENOUGH_MEMORY) without showing a box.
void FailMessageBoxes(bool fail);

// ---- Failures on demand ------------------------------------------------------------------
// DestroyWindow on this window fails with ERROR_ACCESS_DENIED and destroys nothing.
void FailDestroyWindow(HWND window, bool fail);
void FailCreateSolidBrush(bool fail);

// ---- GDI -------------------------------------------------------------------------------
LOGFONTA FontInfo(HFONT font);           // the LOGFONTA it was made from
bool IsObjectAlive(const void* handle);  // a GDI object, icon or DC not yet freed

// What a control (or a dialog's background) was painted with: the DC's state after the
// colour message that the control sent its parent (or the default processing, when the
// parent left it), the brush, and the control's font, text and state at that moment.
struct Paint {
  HWND window;
  UINT colourMessage;  // WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLORDLG ...
  COLORREF textColour;
  COLORREF backgroundColour;
  int backgroundMode;
  HBRUSH brush;
  HFONT font;
  std::string text;
};
std::optional<Paint> LastPaintOf(HWND window);
void ClearPaints();

// ---- The ledger and faults -------------------------------------------------------------
// The window side's lines of LiveObjects(), only those of one kind: "window", "font",
// "brush", "bitmap", "icon" or "DC".
std::vector<std::string> LiveObjectsOf(const std::string& kind);
// Misuse that the real platform lets pass silently or punishes later: an object
// deleted twice, an object deleted while selected into a DC, a DC released the wrong
// way, a malformed dialog template. One line each, in order.
const std::vector<std::string>& Faults();

// ---- Resources -------------------------------------------------------------------------
// The module handle GetModuleHandleA(NULL) gives the program.
HMODULE ProgramModule();
// An icon group: "#104" or MAKEINTRESOURCE-style names go by number, other names by
// text without regard to case. The sizes are those of its images (square, in pixels).
void AddIconResource(HMODULE module, const std::string& name, std::vector<int> sizes = {32});
void AddBitmapResource(HMODULE module, const std::string& name, int width, int height);
struct IconInfo {
  std::string resource;  // "#104" or the name
  int width;
  int height;
  bool alive;
};
IconInfo IconInfoOf(HICON icon);

}  // namespace standin
