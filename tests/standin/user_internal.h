// Shared between the parts of the stand-in's window side (windows, messages, dialogs,
// controls, message boxes, GDI, resources); tests use standin_windows.h instead.
//
// The public USER32/GDI32 functions log the call and then use the functions declared
// here, which never log: what the platform does inside (the dialog manager sending
// WM_SETFONT, a button notifying its parent) is not a call the product made.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform.h"
#include "standin_internal.h"
#include "standin_windows.h"

namespace standin::win {

// ---- Windows ----
struct Window {
  HWND handle = nullptr;
  std::string name;       // for the log
  std::string className;  // as it was registered
  WNDPROC procedure = nullptr;
  bool alive = true;        // false once its WM_NCDESTROY has been handled
  bool destroying = false;  // WM_DESTROY has been sent
  bool failDestroy = false;
  bool internal = false;  // the platform's own (a message box): not in traces or ledger
  HWND parent = nullptr;  // a child's parent
  HWND owner = nullptr;   // a top-level window's owner
  std::vector<HWND> children;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  std::string text;
  RECT rect{};  // the window rectangle: screen for a top-level window, else the parent's
                // client coordinates

  bool needsPaint = false;
  bool needsErase = false;
  int paintsOffered = 0;  // WM_PAINTs given out by PeekMessageA without the window painting

  HFONT font = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;

  // The dialog manager's part.
  bool dialog = false;
  DLGPROC dialogProcedure = nullptr;
  LONG_PTR messageResult = 0;
  HFONT dialogFont = nullptr;  // made from the template; the platform deletes it
  int baseX = 0;
  int baseY = 0;
  WORD defaultId = IDOK;
  HWND savedFocus = nullptr;

  // Controls.
  int check = 0;
  bool pushed = false;    // a button held down by the mouse or the space bar
  bool tracking = false;  // the mouse went down on it and has not come up
  HANDLE image = nullptr;
  std::vector<std::string> items;
  int selection = -1;
};

struct WindowClass {
  std::string name;
  WNDPROC procedure;
};

// ---- GDI ----
enum class ObjectKind { kFont, kBrush, kBitmap, kIcon, kDc };

struct Object {
  ObjectKind kind = ObjectKind::kFont;
  std::string name;
  bool stock = false;     // stock and system-colour objects: never freed, never counted
  bool platform = false;  // the platform's own (a dialog's font, a paint DC)
  bool alive = true;
  LOGFONTA font{};
  COLORREF colour = 0;
  int sysColourIndex = -1;
  int width = 0;
  int height = 0;
  std::string resource;  // icons and bitmaps from resources
  // DCs.
  HWND window = nullptr;
  bool memory = false;
  bool fromGetDc = false;
  COLORREF textColour = 0;
  COLORREF backgroundColour = 0xFFFFFF;
  int backgroundMode = OPAQUE;
  HGDIOBJ selectedFont = nullptr;
  HGDIOBJ selectedBrush = nullptr;
  HGDIOBJ selectedBitmap = nullptr;
};

struct Resource {
  bool icon = true;
  std::string name;  // "#104" or the upper-case name
  std::vector<int> sizes;
  int width = 0;
  int height = 0;
};

// ---- The queue ----
enum class InputKind { kNone, kMouseDown, kMouseUp, kKeyDown, kKeyUp, kCloseBox };

struct Queued {
  MSG msg{};
  InputKind input = InputKind::kNone;  // kNone: a posted message
  HWND aim = nullptr;                  // the window a scripted click aims at
  POINT point{};                       // the screen point of a mouse input
  BYTE key = 0;
};

struct State {
  // Screen.
  RECT workArea{0, 0, 1024, 768};
  int dpi = 96;
  std::map<int, COLORREF> sysColours;

  // Windows.
  std::map<std::string, WindowClass> classes;  // by upper-case name
  std::map<uintptr_t, std::unique_ptr<Window>> windows;
  std::vector<HWND> windowOrder;  // creation order
  uintptr_t nextWindow = 0x00020010;
  int nextDialog = 1;
  int nextTopLevel = 1;
  int nextMessageBox = 1;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  std::vector<HWND> zOrder;            // top-level windows, topmost first
  std::map<uintptr_t, BYTE> keyState;  // by virtual key: 0x80 while down

  // Messages.
  std::vector<Queued> posted;
  std::vector<Queued> input;
  std::vector<MSG> deliveries;  // hwnd, message, wParam and lParam
  // Sent from other threads, not yet delivered; each with what its sender does with the answer.
  std::vector<std::pair<MSG, std::function<void(LRESULT)>>> sentFromOtherThreads;
  std::vector<std::function<void()>> idleActions;
  int idleLimit = 1000;
  int idleSleeps = 0;
  bool queueFoundEmpty = false;  // the program's last PeekMessageA found nothing
  POINT cursor{0, 0};

  // Message boxes.
  std::function<int(const MessageBox&)> boxScript;
  std::vector<MessageBox> boxes;
  std::vector<HWND> openBoxes;
  bool failBoxes = false;

  // GDI.
  std::map<uintptr_t, Object> objects;
  uintptr_t nextObject = 0x00050010;
  int nextFont = 1;
  int nextBrush = 1;
  int nextBitmap = 1;
  int nextIcon = 1;
  int nextDc = 1;
  std::map<int, HGDIOBJ> stock;       // GetStockObject index
  std::map<int, HGDIOBJ> sysBrushes;  // GetSysColorBrush index
  HGDIOBJ defaultBitmap = nullptr;    // what a new memory DC holds
  bool failBrush = false;
  std::vector<Paint> paints;
  std::vector<std::string> faults;

  // Resources.
  std::map<uintptr_t, std::vector<Resource>> resources;  // by module
};

State& S();

// ---- Looking windows up ----
Window* Find(HWND window);     // alive, or nullptr
Window* FindAny(HWND window);  // alive or destroyed
// Alive, or nullptr with ERROR_INVALID_WINDOW_HANDLE as the last error.
Window* Need(HWND window);
// For the test API: the window alive or destroyed; a handle never made stops the test.
Window& Known(HWND window, const char* who);
HWND Root(HWND window);                    // the top-level ancestor (itself when top-level)
bool IsChildOf(HWND parent, HWND window);  // any depth
bool ShownDeep(const Window& window);      // WS_VISIBLE up to the top

// ---- Names for the log ----
std::string Name(const void* handle);
std::string Param(UINT message, bool lParam, uintptr_t value);
std::string MessageText(const MSG* msg);
std::string Rect(const RECT* rect);
void Fault(const std::string& what);

// ---- Window management ----
struct CreateArgs {
  DWORD exStyle = 0;
  std::string className;
  const char* text = nullptr;
  DWORD style = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  HWND parent = nullptr;
  LONG_PTR id = 0;
  LPVOID param = nullptr;
  bool internal = false;
  bool dialog = false;
};
HWND Create(const CreateArgs& args);
bool Destroy(HWND handle);
bool Show(HWND handle, int command);
bool Enable(HWND handle, bool enable);
HWND SetFocusTo(HWND handle);
void Activate(HWND handle);
bool Move(HWND handle, HWND after, int x, int y, int width, int height, UINT flags);
RECT Insets(DWORD style, DWORD exStyle);  // frame and caption around the client area
RECT ScreenRect(const Window& window);
POINT ClientOrigin(const Window& window);
// WM_MOVE's point: the client origin in the parent's client coordinates (screen
// coordinates for a top-level window).
LPARAM MovePoint(const Window& window);
RECT ClientRect(const Window& window);  // in client coordinates: 0, 0, width, height
std::vector<HWND> AliveChildren(HWND window);

// ---- Messages ----
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool Peek(MSG* msg, HWND filter, UINT first, UINT last, UINT remove);
bool Translate(const MSG& msg);
LRESULT Dispatch(const MSG& msg);
LRESULT DefProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
void DropQueuedFor(HWND window);
void Activity();  // something happened that a person could see: not idle
int MulDivRound(int value, int numerator, int denominator);

// ---- Dialogs ----
LRESULT CALLBACK DialogWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
HWND MakeDialog(const void* bytes, HWND owner, DLGPROC procedure, LPARAM initParam);
bool DialogMessage(HWND dialog, MSG* msg);
HWND NextTabItem(HWND dialog, HWND from, bool previous);
// The dialog base units of a template font of that point size (0: no font, the system
// font's) at the screen's dpi.
void DialogBaseUnits(int pointSize, int* x, int* y);

// ---- Controls ----
void RegisterBuiltInClasses();
LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ScrollBarProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
// A control draws itself: the colour message to its parent, the paint record.
void DrawControl(HWND handle, HDC paintDc);

// ---- Painting ----
void Invalidate(HWND handle, const RECT* rect, bool erase, bool children);
// BeginPaint's part: validates, erases when asked. The DC is the platform's paint DC.
HDC BeginPainting(HWND handle);
void EndPainting(HDC dc);
void PaintNow(HWND handle, bool children);  // sends WM_PAINT at once where needed
void EraseNow(HWND handle);
HWND NextToPaint(HWND filter);
void RecordPaint(HWND handle, UINT colourMessage, HDC dc, HBRUSH brush);

// ---- GDI ----
Object* FindObject(const void* handle);  // alive or freed
HGDIOBJ NewObject(Object object);
HDC NewDc(HWND window, bool memory, bool platform);
void FreeDc(HDC dc);
COLORREF SysColour(int index);
HBRUSH SysBrush(int index);
HGDIOBJ Stock(int index);
// Text colour, background colour and brush of the default processing of a colour
// message: what DefWindowProcA does with it.
HBRUSH DefaultColours(UINT message, HDC dc);
void ResetGdi();
void AddGdiLedger(std::vector<std::string>* lines);

// ---- Message boxes ----
int RunMessageBox(HWND owner, const char* text, const char* caption, UINT style);

}  // namespace standin::win
