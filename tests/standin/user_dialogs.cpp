// The stand-in's dialog manager: dialogs made from in-memory templates, the default
// dialog procedure, the dialog keyboard (IsDialogMessageA) and dialog units.
//
// Modelled on what Wine 8 does, as the conformance checks (tests/conformance) show:
// - CreateDialogIndirectParamA reads the template from its bytes; a template that does
//   not hold together (a string that does not end, cdit items that are not there, an
//   extended template, a menu) fails the call with a fault line instead of reading past
//   its end. The platform makes the dialog's font from the template (height
//   -MulDiv(points, dpi, 72), FW_DONTCARE, DEFAULT_CHARSET, PROOF_QUALITY) and deletes it
//   with the dialog. The client area is cx x cy dialog units. With DS_CENTER the window
//   is centred in the work area; otherwise the template's x and y place the client
//   origin, in dialog units from the owner's client origin (from the screen's without an
//   owner, or with DS_ABSALIGN). A top-level dialog is then pushed into the work area.
// - The dialog procedure first sees WM_SETFONT (with DS_SETFONT), then, once the items
//   exist, WM_INITDIALOG with the first tab-stop control (or 0) and the init parameter.
//   A nonzero answer moves the focus to the first tab-stop control. WS_VISIBLE in the
//   template shows the dialog at the end.
// - The default dialog procedure calls the dialog procedure with DWLP_MSGRESULT cleared
//   to 0. A zero answer leaves the message to the default processing; a nonzero answer
//   is the result itself for WM_INITDIALOG, the WM_CTLCOLOR* messages, WM_COMPAREITEM,
//   WM_VKEYTOITEM, WM_CHARTOITEM and WM_QUERYDRAGICON, and DWLP_MSGRESULT for every
//   other message.
// - Default processing: WM_CLOSE posts WM_COMMAND(IDCANCEL) with the IDCANCEL control
//   (or 0), even when that control is disabled (Windows would refuse a disabled one);
//   DM_GETDEFID answers IDOK until DM_SETDEFID names another id; WM_NEXTDLGCTL moves the
//   focus and makes a focused push button the default one (BM_SETSTYLE); WM_SETFOCUS and
//   WM_ACTIVATE bring the focus back to the saved control or to the first tab stop;
//   WM_ERASEBKGND paints with the brush of WM_CTLCOLORDLG.
// - IsDialogMessageA: Esc sends WM_COMMAND(IDCANCEL, the IDCANCEL control or 0); Enter
//   sends WM_COMMAND for the focused default push button, else for the id DM_GETDEFID
//   gives when that control is missing or enabled, else for IDOK; Tab and Shift+Tab send
//   WM_NEXTDLGCTL; every other message for the dialog or its children is translated and
//   dispatched, and the answer is TRUE. Messages for other windows give FALSE. Mnemonics
//   and the arrow keys are not modelled: no control of the program has either.
//
// Dialog base units are Wine's for its MS Sans Serif: 6 x 12 at 96 dpi, 8 x 15 at 120 and
// 9 x 17 at 144 (Windows' own font gives 6 x 13 at 96 dpi). Without DS_SETFONT the
// system font's 7 x 16 at 96 dpi applies, in proportion at other dpi.
#include <array>
#include <cstring>

#include "user_internal.h"

#if defined(__SANITIZE_ADDRESS__)
#define STANDIN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STANDIN_ASAN 1
#endif
#endif
#ifdef STANDIN_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace standin::win {
namespace {

using detail::Dec;
using detail::Hex;

constexpr size_t kTemplateLimit = 0x10000;

// A dialog template as read from its bytes: the dialog and each item have a style, an
// extended style, a place and size in dialog units, and a window class.
struct TemplateItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  WORD id = 0;
  std::string className;  // the dialog's: empty for the dialog class
  std::string text;       // the dialog's: its title
};

struct DialogTemplate : TemplateItem {
  WORD count = 0;
  WORD pointSize = 0;
  std::string face;
  std::vector<TemplateItem> items;
};

// Reads a template without going past its end: with AddressSanitizer every read is
// checked against the memory the program owns, so a template that runs on past its
// buffer fails here instead of being read out of bounds.
class TemplateReader {
 public:
  explicit TemplateReader(const void* start) : start_(static_cast<const BYTE*>(start)) {}

  // A word, double word or short, little-endian as the platform and this machine keep it.
  template <typename T>
  bool Read(T* value, const char* what) {
    if (!Readable(sizeof(T), what)) {
      return false;
    }
    std::memcpy(value, start_ + offset_, sizeof(T));
    offset_ += sizeof(T);
    return true;
  }

  // A UTF-16 string up to its NUL, as 8-bit text (characters above 0xFF become '?').
  bool String(std::string* text, const char* what) {
    text->clear();
    for (;;) {
      WORD character = 0;
      if (!Read(&character, what)) {
        error_ = std::string(what) + " does not end before the end of the template";
        return false;
      }
      if (character == 0) {
        return true;
      }
      text->push_back(character <= 0xFF ? static_cast<char>(character) : '?');
    }
  }

  // A field that is empty (0x0000), an ordinal (0xFFFF and a number, given as "#n") or a
  // string.
  bool NameOrOrdinal(std::string* text, const char* what) {
    WORD first = 0;
    if (!Read(&first, what)) {
      return false;
    }
    if (first == 0) {
      text->clear();
      return true;
    }
    if (first == 0xFFFF) {
      WORD ordinal = 0;
      if (!Read(&ordinal, what)) {
        return false;
      }
      *text = "#" + Dec(ordinal);
      return true;
    }
    offset_ -= sizeof(WORD);
    return String(text, what);
  }

  bool Skip(size_t bytes, const char* what) {
    if (bytes == 0) {
      return true;
    }
    if (!Readable(bytes, what)) {
      return false;
    }
    offset_ += bytes;
    return true;
  }

  // Dialog items start on a DWORD boundary in memory.
  void AlignToDword() {
    auto address = reinterpret_cast<uintptr_t>(start_ + offset_);
    offset_ += (4 - address % 4) % 4;
  }

  const std::string& Error() const { return error_; }

 private:
  bool Readable(size_t bytes, const char* what) {
    if (offset_ + bytes > kTemplateLimit) {
      error_ = std::string(what) + " lies beyond 64 KB of template";
      return false;
    }
#ifdef STANDIN_ASAN
    void* begin = const_cast<BYTE*>(start_ + offset_);
    if (__asan_region_is_poisoned(begin, bytes) != nullptr) {
      error_ = std::string(what) + " lies past the end of the template's memory";
      return false;
    }
#endif
    return true;
  }

  const BYTE* start_;
  size_t offset_ = 0;
  std::string error_;
};

// An item's class by its ordinal, 0x80 to 0x85, or by its name.
std::string ItemClass(const std::string& name) {
  constexpr const char* kByOrdinal[] = {"BUTTON",  "EDIT",      "STATIC",
                                        "LISTBOX", "SCROLLBAR", "COMBOBOX"};
  for (int i = 0; i < 6; ++i) {
    if (name == "#" + Dec(0x80 + i)) {
      return kByOrdinal[i];
    }
  }
  return name;
}

bool ReadTemplate(const void* bytes, DialogTemplate* out, std::string* error) {
  TemplateReader reader(bytes);
  DialogTemplate& t = *out;
  WORD firstWords[2] = {0, 0};
  if (!reader.Read(&firstWords[0], "the style") || !reader.Read(&firstWords[1], "the style")) {
    *error = reader.Error();
    return false;
  }
  if (firstWords[0] == 1 && firstWords[1] == 0xFFFF) {
    *error = "an extended template (DLGTEMPLATEEX), which the stand-in does not read";
    return false;
  }
  t.style = firstWords[0] | (static_cast<DWORD>(firstWords[1]) << 16);
  std::string menu;
  bool ok =
      reader.Read(&t.exStyle, "the extended style") && reader.Read(&t.count, "the item count") &&
      reader.Read(&t.x, "x") && reader.Read(&t.y, "y") && reader.Read(&t.cx, "cx") &&
      reader.Read(&t.cy, "cy") && reader.NameOrOrdinal(&menu, "the menu") &&
      reader.NameOrOrdinal(&t.className, "the window class") && reader.String(&t.text, "the title");
  if (ok && (t.style & DS_SETFONT) != 0) {
    ok =
        reader.Read(&t.pointSize, "the point size") && reader.String(&t.face, "the font face name");
  }
  if (!ok) {
    *error = reader.Error();
    return false;
  }
  if (!menu.empty()) {
    *error = "a menu (" + menu + "), and the stand-in has no menus";
    return false;
  }
  for (WORD i = 0; i < t.count; ++i) {
    reader.AlignToDword();
    TemplateItem item;
    WORD creationData = 0;
    std::string what = "item " + Dec(i + 1);
    const char* label = what.c_str();
    if (!(reader.Read(&item.style, label) && reader.Read(&item.exStyle, label) &&
          reader.Read(&item.x, label) && reader.Read(&item.y, label) &&
          reader.Read(&item.cx, label) && reader.Read(&item.cy, label) &&
          reader.Read(&item.id, label) && reader.NameOrOrdinal(&item.className, label) &&
          reader.NameOrOrdinal(&item.text, label) && reader.Read(&creationData, label) &&
          reader.Skip(creationData >= 2 ? creationData - 2u : 0u, label))) {
      *error = reader.Error();
      return false;
    }
    item.className = ItemClass(item.className);
    t.items.push_back(item);
  }
  return true;
}

// The template as the call log writes it.
std::string DescribeTemplate(const void* bytes) {
  DialogTemplate t;
  std::string error;
  if (bytes == nullptr) {
    return "NULL";
  }
  if (!ReadTemplate(bytes, &t, &error)) {
    return "dlg{malformed}";
  }
  std::string text = "dlg{style=" + Hex(t.style) + ",ex=" + Hex(t.exStyle) +
                     ",items=" + Dec(t.count) + ",x=" + Dec(t.x) + ",y=" + Dec(t.y) +
                     ",cx=" + Dec(t.cx) + ",cy=" + Dec(t.cy) +
                     ",class=" + (t.className.empty() ? "0" : detail::Str(t.className.c_str())) +
                     ",title=" + detail::Str(t.text.c_str());
  if ((t.style & DS_SETFONT) != 0) {
    text += ",font=" + Dec(t.pointSize) + " " + detail::Str(t.face.c_str());
  }
  return text + "}";
}

bool DirectResult(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
         message == WM_INITDIALOG || message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
         message == WM_CHARTOITEM || message == WM_QUERYDRAGICON;
}

UINT DialogCode(HWND window) {
  return static_cast<UINT>(Send(window, WM_GETDLGCODE, 0, 0));
}

HWND FindDefaultButton(HWND dialog) {
  for (HWND child : AliveChildren(dialog)) {
    if ((DialogCode(child) & DLGC_DEFPUSHBUTTON) != 0) {
      return child;
    }
  }
  return nullptr;
}

// The default push button follows the focus: a focused push button becomes the default
// one; a focus elsewhere leaves the default where it is.
void SetDefaultButton(HWND dialog, HWND focused) {
  HWND old = FindDefaultButton(dialog);
  UINT code = focused != nullptr ? DialogCode(focused) : 0;
  if (focused != nullptr && (code & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) == 0) {
    focused = old;
    code = focused != nullptr ? DialogCode(focused) : 0;
  }
  if (old != nullptr && old != focused) {
    Send(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  if (focused != nullptr && (code & DLGC_UNDEFPUSHBUTTON) != 0) {
    Send(focused, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

void SetDefaultId(HWND dialog, WPARAM id) {
  Window* window = Find(dialog);
  HWND old = FindDefaultButton(dialog);
  window->defaultId = static_cast<WORD>(id);
  if (old != nullptr) {
    Send(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  HWND button = FindControl(dialog, static_cast<int>(id));
  if (button != nullptr && (DialogCode(button) & DLGC_UNDEFPUSHBUTTON) != 0) {
    Send(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

void FocusControl(HWND control) {
  if ((DialogCode(control) & DLGC_HASSETSEL) != 0) {
    Send(control, EM_SETSEL, 0, -1);
  }
  SetFocusTo(control);
}

void SaveFocus(Window& dialog) {
  HWND focus = S().focus;
  if (focus != nullptr && IsChildOf(dialog.handle, focus)) {
    dialog.savedFocus = focus;
  }
}

void RestoreFocus(Window& dialog, bool justActivated) {
  if ((dialog.style & WS_MINIMIZE) != 0) {
    return;
  }
  HWND target = dialog.savedFocus;
  if (Find(target) == nullptr || target == dialog.handle) {
    if (justActivated) {
      return;
    }
    target = NextTabItem(dialog.handle, nullptr, false);
    if (target == nullptr) {
      target = dialog.handle;
    }
  }
  if (justActivated) {
    SetFocusTo(target);
  } else {
    FocusControl(target);
  }
  dialog.savedFocus = nullptr;
}

LRESULT DialogDefault(Window& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND handle = dialog.handle;
  switch (message) {
    case WM_ERASEBKGND: {
      auto* dc = reinterpret_cast<HDC>(wParam);
      auto* brush = reinterpret_cast<HBRUSH>(
          Send(handle, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(handle)));
      if (brush == nullptr) {
        brush = DefaultColours(WM_CTLCOLORDLG, dc);
      }
      if (Find(handle) != nullptr) {
        RecordPaint(handle, WM_CTLCOLORDLG, dc, brush);
      }
      return 1;
    }
    case WM_SHOWWINDOW:
      if (wParam == 0) {
        SaveFocus(dialog);
      }
      return DefProc(handle, message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        RestoreFocus(dialog, true);
      } else {
        SaveFocus(dialog);
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dialog, false);
      return 0;
    case DM_SETDEFID:
      SetDefaultId(handle, wParam);
      return TRUE;
    case DM_GETDEFID: {
      if (dialog.defaultId != 0) {
        return MAKELONG(dialog.defaultId, DC_HASDEFID);
      }
      HWND button = FindDefaultButton(handle);
      return button != nullptr ? MAKELONG(Find(button)->id, DC_HASDEFID) : 0;
    }
    case WM_NEXTDLGCTL: {
      HWND target = lParam != 0 ? reinterpret_cast<HWND>(wParam)
                                : NextTabItem(handle, S().focus, wParam != 0);
      if (target != nullptr) {
        FocusControl(target);
      }
      SetDefaultButton(handle, target);
      return 0;
    }
    case WM_CLOSE:
      Post(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
           reinterpret_cast<LPARAM>(FindControl(handle, IDCANCEL)));
      return 0;
    case WM_SETFONT:
      dialog.font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(dialog.font != nullptr ? dialog.font : dialog.dialogFont);
    case WM_NCDESTROY:
      if (Object* font = FindObject(dialog.dialogFont)) {
        font->alive = false;
      }
      dialog.dialogFont = nullptr;
      return DefProc(handle, message, wParam, lParam);
    default:
      return DefProc(handle, message, wParam, lParam);
  }
}

}  // namespace

void DialogBaseUnits(int pointSize, int* x, int* y) {
  // As Wine measures MS Sans Serif (its substitute font) at the character heights of
  // 8 points at 96, 120 and 144 dpi; other heights in proportion to the first.
  // Character height, base unit x, base unit y.
  constexpr std::array<std::array<int, 3>, 3> kMeasured = {{{11, 6, 12}, {13, 8, 15}, {16, 9, 17}}};
  int dpi = S().dpi;
  if (pointSize == 0) {
    *x = MulDivRound(7, dpi, 96);  // the system font's
    *y = MulDivRound(16, dpi, 96);
    return;
  }
  int height = MulDivRound(pointSize, dpi, 72);
  for (auto [measuredHeight, measuredX, measuredY] : kMeasured) {
    if (measuredHeight == height) {
      *x = measuredX;
      *y = measuredY;
      return;
    }
  }
  *x = MulDivRound(height, 6, 11);
  *y = MulDivRound(height, 12, 11);
}

HWND NextTabItem(HWND dialog, HWND from, bool previous) {
  std::vector<HWND> children = AliveChildren(dialog);
  auto count = static_cast<long>(children.size());
  if (count == 0) {
    return nullptr;
  }
  long start = previous ? count : -1;
  for (long i = 0; i < count; ++i) {
    if (children[static_cast<size_t>(i)] == from) {
      start = i;
    }
  }
  for (long step = 1; step <= count; ++step) {
    long position = previous ? ((start - step) % count + count) % count : (start + step) % count;
    const Window* candidate = Find(children[static_cast<size_t>(position)]);
    if ((candidate->style & WS_TABSTOP) != 0 && (candidate->style & WS_VISIBLE) != 0 &&
        (candidate->style & WS_DISABLED) == 0) {
      return candidate->handle;
    }
  }
  return nullptr;
}

LRESULT CALLBACK DialogWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* dialog = Find(handle);
  if (dialog == nullptr) {
    return 0;
  }
  dialog->messageResult = 0;
  INT_PTR result = 0;
  if (dialog->dialogProcedure != nullptr) {
    result = dialog->dialogProcedure(handle, message, wParam, lParam);
  }
  if (Find(handle) == nullptr) {
    return DirectResult(message) ? result : 0;  // the procedure destroyed the dialog
  }
  if (result == 0) {
    return DialogDefault(*dialog, message, wParam, lParam);
  }
  return DirectResult(message) ? result : dialog->messageResult;
}

HWND MakeDialog(const void* bytes, HWND owner, DLGPROC procedure, LPARAM initParam) {
  DialogTemplate t;
  std::string error;
  if (bytes == nullptr) {
    error = "no template";
  }
  if (!error.empty() || !ReadTemplate(bytes, &t, &error)) {
    Fault("CreateDialogIndirectParamA: malformed dialog template: " + error);
    detail::SetLastErrorRaw(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  State& s = S();
  if (owner != nullptr && Need(owner) == nullptr) {
    return nullptr;
  }
  // The font and the units.
  HFONT font = nullptr;
  int baseX = 0;
  int baseY = 0;
  DWORD exStyle = t.exStyle;
  if ((t.style & DS_MODALFRAME) != 0) {
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  if ((t.style & DS_SETFONT) != 0) {
    Object object;
    object.kind = ObjectKind::kFont;
    object.name = "font#" + Dec(s.nextFont++);
    object.platform = true;
    object.font.lfHeight = -MulDivRound(t.pointSize, s.dpi, 72);
    object.font.lfWeight = FW_DONTCARE;
    object.font.lfCharSet = DEFAULT_CHARSET;
    object.font.lfQuality = PROOF_QUALITY;
    t.face.copy(object.font.lfFaceName, LF_FACESIZE - 1);
    font = static_cast<HFONT>(NewObject(object));
    DialogBaseUnits(t.pointSize, &baseX, &baseY);
  } else {
    DialogBaseUnits(0, &baseX, &baseY);
  }
  // The window rectangle around a client area of cx by cy units.
  RECT insets = Insets(t.style, exStyle);
  int width = MulDivRound(t.cx, baseX, 4) + insets.left + insets.right;
  int height = MulDivRound(t.cy, baseY, 8) + insets.top + insets.bottom;
  POINT pos{-insets.left, -insets.top};
  const RECT& work = s.workArea;
  if ((t.style & DS_CENTER) != 0) {
    pos.x = work.left + (work.right - work.left - width) / 2;
    pos.y = work.top + (work.bottom - work.top - height) / 2;
  } else {
    pos.x += MulDivRound(t.x, baseX, 4);
    pos.y += MulDivRound(t.y, baseY, 8);
    const Window* ownerWindow = Find(owner);
    if ((t.style & (WS_CHILD | DS_ABSALIGN)) == 0 && ownerWindow != nullptr) {
      POINT origin = ClientOrigin(*ownerWindow);
      pos.x += origin.x;
      pos.y += origin.y;
    }
  }
  if ((t.style & WS_CHILD) == 0) {
    // Kept inside the work area, as the dialog manager places it.
    if (pos.x + width + 3 > work.right) {
      pos.x = work.right - width - 3;
    }
    if (pos.y + height + 3 > work.bottom) {
      pos.y = work.bottom - height - 3;
    }
    pos.x = std::max<LONG>(pos.x, work.left);
    pos.y = std::max<LONG>(pos.y, work.top);
  }

  CreateArgs args;
  args.exStyle = exStyle;
  args.className = t.className.empty() ? "#32770" : t.className;
  args.text = t.text.c_str();
  args.style = t.style & ~WS_VISIBLE;
  args.x = pos.x;
  args.y = pos.y;
  args.width = width;
  args.height = height;
  args.parent = owner;
  args.dialog = true;
  HWND handle = Create(args);
  if (handle == nullptr) {
    if (Object* object = FindObject(font)) {
      object->alive = false;
    }
    return nullptr;
  }
  Window* dialog = Find(handle);
  dialog->dialogFont = font;
  dialog->baseX = baseX;
  dialog->baseY = baseY;
  dialog->dialogProcedure = procedure;
  if (procedure != nullptr && font != nullptr) {
    Send(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  }
  for (const TemplateItem& item : t.items) {
    if (Find(handle) == nullptr) {
      return nullptr;
    }
    int left = MulDivRound(item.x, baseX, 4);
    int top = MulDivRound(item.y, baseY, 8);
    CreateArgs control;
    control.exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
    control.className = item.className;
    control.text = item.text.c_str();
    control.style = item.style | WS_CHILD;
    control.x = left;
    control.y = top;
    control.width = MulDivRound(item.x + item.cx, baseX, 4) - left;
    control.height = MulDivRound(item.y + item.cy, baseY, 8) - top;
    control.parent = handle;
    control.id = item.id;
    HWND made = Create(control);
    if (made == nullptr) {
      if ((t.style & DS_NOFAILCREATE) != 0) {
        continue;
      }
      Destroy(handle);
      return nullptr;
    }
    if (font != nullptr) {
      Send(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    }
    if ((DialogCode(made) & DLGC_DEFPUSHBUTTON) != 0) {
      dialog->defaultId = item.id;
    }
  }
  if (Find(handle) == nullptr) {
    return nullptr;
  }
  if (procedure != nullptr) {
    HWND first = NextTabItem(handle, nullptr, false);
    LRESULT focusAsked = Send(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
    if (Find(handle) == nullptr) {
      return nullptr;
    }
    if (focusAsked != 0 && ((t.style & DS_CONTROL) == 0 || (t.style & WS_VISIBLE) != 0)) {
      if (HWND target = NextTabItem(handle, nullptr, false)) {
        FocusControl(target);
      }
    }
  }
  if (Find(handle) != nullptr && (t.style & WS_VISIBLE) != 0 &&
      (Find(handle)->style & WS_VISIBLE) == 0) {
    Show(handle, SW_SHOWNORMAL);
  }
  return Find(handle) != nullptr ? handle : nullptr;
}

bool DialogMessage(HWND dialog, MSG* msg) {
  if (Find(dialog) == nullptr || msg == nullptr || msg->hwnd == nullptr) {
    return false;
  }
  if (msg->hwnd != dialog && !IsChildOf(dialog, msg->hwnd)) {
    return false;
  }
  switch (msg->message) {
    case WM_KEYDOWN: {
      auto code = static_cast<UINT>(
          Send(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)));
      if ((code & DLGC_WANTMESSAGE) != 0) {
        break;
      }
      switch (msg->wParam) {
        case VK_TAB:
          if ((code & DLGC_WANTTAB) == 0) {
            bool shift = (S().keyState[VK_SHIFT] & 0x80) != 0;
            Send(dialog, WM_NEXTDLGCTL, shift ? 0x8000 : 0, 0);
            return true;
          }
          break;
        case VK_ESCAPE:
          Send(dialog, WM_COMMAND, IDCANCEL,
               reinterpret_cast<LPARAM>(FindControl(dialog, IDCANCEL)));
          return true;
        case VK_RETURN: {
          HWND focus = S().focus;
          if (focus != nullptr && IsChildOf(dialog, focus) &&
              (DialogCode(focus) & DLGC_DEFPUSHBUTTON) != 0) {
            Send(dialog, WM_COMMAND, MAKEWPARAM(Find(focus)->id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(focus));
            return true;
          }
          auto answer = static_cast<DWORD>(Send(dialog, DM_GETDEFID, 0, 0));
          if (HIWORD(answer) == DC_HASDEFID) {
            HWND button = FindControl(dialog, LOWORD(answer));
            if (button == nullptr || (Find(button)->style & WS_DISABLED) == 0) {
              Send(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(answer), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
            }
          } else {
            Send(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(FindControl(dialog, IDOK)));
          }
          return true;
        }
        default:
          break;
      }
      break;
    }
    default:
      break;
  }
  Translate(*msg);
  Dispatch(*msg);
  return true;
}

}  // namespace standin::win

// ---- The platform calls -------------------------------------------------------------

using standin::detail::Log;
using standin::detail::Ptr;
using standin::win::Name;

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  Log("CreateDialogIndirectParamA",
      {Ptr(hInstance), standin::win::DescribeTemplate(lpTemplate), Name(hWndParent),
       lpDialogFunc == nullptr ? "NULL" : "dlgproc",
       standin::win::Param(WM_INITDIALOG, true, static_cast<uintptr_t>(dwInitParam))});
  return standin::win::MakeDialog(lpTemplate, hWndParent, lpDialogFunc, dwInitParam);
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
  Log("IsDialogMessageA", {Name(hDlg), standin::win::MessageText(lpMsg)});
  return standin::win::DialogMessage(hDlg, lpMsg) ? TRUE : FALSE;
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  Log("MapDialogRect", {Name(hDlg), standin::win::Rect(lpRect)});
  standin::win::Window* dialog = standin::win::Need(hDlg);
  if (dialog == nullptr) {
    return FALSE;
  }
  if (!dialog->dialog || lpRect == nullptr) {
    standin::detail::SetLastErrorRaw(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  using standin::win::MulDivRound;
  lpRect->left = MulDivRound(lpRect->left, dialog->baseX, 4);
  lpRect->right = MulDivRound(lpRect->right, dialog->baseX, 4);
  lpRect->top = MulDivRound(lpRect->top, dialog->baseY, 8);
  lpRect->bottom = MulDivRound(lpRect->bottom, dialog->baseY, 8);
  return TRUE;
}
