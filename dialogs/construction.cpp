#include "dialogs/construction.h"

#include "dialogs/geometry.h"
#include "dialogs/modal.h"
#include "runtime/startup.h"
#include "runtime/thread_record.h"

namespace {

constexpr DWORD kDefaultDialogStyle =
    WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kAlwaysAddedStyle = DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kNeverKeptStyle = WS_VISIBLE | DS_SYSMODAL;
constexpr DWORD kRedrawFlag = 1;  // WM_SETFONT: redraw the control

// The check box, frame and option rows take away the frame and top-level window bits,
// and every button type bit but their own type's.
constexpr DWORD kTopLevelBits = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
constexpr DWORD kChildVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kChildTabStop = kChildVisible | WS_TABSTOP;

// The face used when the thread has no run-time record to hold its own setting.
constexpr char kFallbackFace[] = "MS Sans Serif";
constexpr LONG kFallbackPointSize = 8;

// The calling thread's dialog font setting, or the start-up setting when the thread has
// no run-time record to hold one.
LONG DialogFontSetting(WCHAR (&face)[kFontFaceUnits]) {
  for (WCHAR& unit : face) {
    unit = 0;
  }
  const ThreadRecord* thread = CurrentThreadRecord();
  if (thread != nullptr) {
    for (DWORD i = 0; i < kFontFaceUnits - 1 && thread->defaultFontFace[i] != 0; ++i) {
      face[i] = thread->defaultFontFace[i];
    }
    return thread->defaultFontSize;
  }
  for (DWORD i = 0; kFallbackFace[i] != '\0'; ++i) {
    face[i] = static_cast<WCHAR>(static_cast<unsigned char>(kFallbackFace[i]));
  }
  return kFallbackPointSize;
}

class TemplateWriter {
 public:
  explicit TemplateWriter(BYTE* bytes) : bytes_(bytes) {}
  void Word(WORD value) {
    bytes_[size_++] = static_cast<BYTE>(value & 0xFF);
    bytes_[size_++] = static_cast<BYTE>(value >> 8);
  }
  void Dword(DWORD value) {
    Word(static_cast<WORD>(value & 0xFFFF));
    Word(static_cast<WORD>(value >> 16));
  }
  DWORD Size() const { return size_; }

 private:
  BYTE* bytes_;
  DWORD size_ = 0;
};

// Pixel mode: the requested client size becomes a window size, and the position is
// worked out the way the platform would for a dialog in pixels.
void PlaceInPixels(HWND dialog, HWND parent, DWORD style, LONG x, LONG y, LONG width, LONG height) {
  RECT window{0, 0, 0, 0};
  RECT client{0, 0, 0, 0};
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  width = WrapAdd(width, WrapSubtract(WidthOf(window), WidthOf(client)));
  height = WrapAdd(height, WrapSubtract(HeightOf(window), HeightOf(client)));
  if ((style & DS_CENTER) != 0) {
    RECT work{0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    x = CentredStart(work.left, work.right, width);
    y = CentredStart(work.top, work.bottom, height);
  } else if ((style & (WS_CHILD | DS_ABSALIGN)) == 0) {
    if (parent != nullptr) {
      POINT origin{0, 0};
      ClientToScreen(parent, &origin);
      x = WrapAdd(x, origin.x);
      y = WrapAdd(y, origin.y);
    }
  } else if (!((style & WS_CHILD) != 0 && (style & DS_CONTROL) != 0)) {
    if (x < 0) {
      x = 0;
    }
    if (y < 0) {
      y = 0;
    }
  }
  SetWindowPos(dialog, nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER);
}

int ShowCommandFor(DWORD style) {
  if ((style & WS_MAXIMIZE) != 0) {
    return SW_SHOWMAXIMIZED;
  }
  if ((style & WS_MINIMIZE) != 0) {
    return SW_MINIMIZE;
  }
  return SW_SHOW;
}

// An off-screen surface of the control's client size, drawn into by the application and
// copied to the screen when the control paints.
void SetUpDrawingSurface(HWND control, WindowRecord* record) {
  RECT client{0, 0, 0, 0};
  GetClientRect(control, &client);
  DrawingSurface& surface = record->surface;
  surface.width = WidthOf(client);
  surface.height = HeightOf(client);
  HDC screen = GetDC(nullptr);
  surface.dc = CreateCompatibleDC(screen);
  surface.bitmap = CreateCompatibleBitmap(screen, surface.width, surface.height);
  ReleaseDC(nullptr, screen);
  if (surface.dc == nullptr) {
    if (surface.bitmap != nullptr) {
      DeleteObject(surface.bitmap);
      surface.bitmap = nullptr;
    }
    return;
  }
  if (surface.bitmap != nullptr) {
    surface.displacedBitmap = SelectObject(surface.dc, surface.bitmap);
  }
  // The surface writes in the thread's dialog font, at the size the platform gives a
  // dialog's own font (rounded to the nearest pixel).
  WCHAR face[kFontFaceUnits];
  LONG points = DialogFontSetting(face);
  LOGFONTA font{};
  font.lfHeight = -(WrapAdd(WrapMultiply(points, GetDeviceCaps(surface.dc, LOGPIXELSY)), 36) / 72);
  for (DWORD i = 0; i < LF_FACESIZE - 1 && face[i] != 0; ++i) {
    font.lfFaceName[i] = static_cast<CHAR>(face[i] < 0x80 ? face[i] : '?');
  }
  surface.font = CreateFontIndirectA(&font);
  if (surface.font != nullptr) {
    surface.displacedFont = SelectObject(surface.dc, surface.font);
  }
}

}  // namespace

// Kinds 1 to 16: window class, default style, forced bits, removed bits.
const ControlKindRow ControlKindTable[kListBox + 1] = {
    {nullptr, 0, 0, 0},
    {"BUTTON", kChildTabStop, kChildVisible, 0},  // push button
    {"BUTTON", kChildTabStop | BS_AUTO3STATE, kChildVisible | BS_AUTO3STATE,
     kTopLevelBits | (BS_TYPEMASK & ~BS_AUTO3STATE)},  // three-state check box
    {"BUTTON", kChildTabStop | BS_AUTOCHECKBOX, kChildVisible | BS_AUTOCHECKBOX,
     kTopLevelBits | (BS_TYPEMASK & ~BS_AUTOCHECKBOX)},  // check box
    {"BUTTON", kChildVisible | BS_GROUPBOX, kChildVisible | BS_GROUPBOX,
     kTopLevelBits | (BS_TYPEMASK & ~BS_GROUPBOX)},                               // frame
    {"STATIC", kChildVisible, kChildVisible, 0},                                  // label
    {"STATIC", kChildVisible | SS_ETCHEDHORZ, kChildVisible | SS_ETCHEDHORZ, 0},  // line
    {"BUTTON", kChildVisible | BS_AUTORADIOBUTTON, kChildVisible | BS_AUTORADIOBUTTON,
     kTopLevelBits | (BS_TYPEMASK & ~BS_AUTORADIOBUTTON)},                   // option
    {"SCROLLBAR", kChildVisible | SBS_HORZ, kChildVisible, 0},               // scroll bar
    {"EDIT", kChildTabStop | WS_BORDER | ES_AUTOHSCROLL, kChildVisible, 0},  // text box
    {"STATIC", kChildVisible, kChildVisible, 0},                             // image
    {"STATIC", kChildVisible, kChildVisible, 0},                             // stretched image
    {"BUTTON", kChildTabStop, kChildVisible, 0},                             // image button
    {"BUTTON", kChildTabStop, kChildVisible, 0},  // stretched image button
    {"STATIC", kChildVisible | SS_OWNERDRAW, kChildVisible | SS_OWNERDRAW, 0},      // surface
    {"COMBOBOX", kChildTabStop | WS_VSCROLL | CBS_DROPDOWNLIST, kChildVisible, 0},  // combo box
    {"LISTBOX", kChildTabStop | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, kChildVisible, 0},  // list box
};

DWORD WriteDialogTemplate(BYTE (&buffer)[kTemplateCapacity], DWORD style, DWORD extendedStyle,
                          LONG x, LONG y, LONG width, LONG height, const WCHAR* face,
                          LONG pointSize) {
  TemplateWriter writer(buffer);
  writer.Dword(style);
  writer.Dword(extendedStyle);
  writer.Word(0);  // no items: controls are added one by one afterwards
  writer.Word(static_cast<WORD>(static_cast<DWORD>(x) & 0xFFFF));
  writer.Word(static_cast<WORD>(static_cast<DWORD>(y) & 0xFFFF));
  writer.Word(static_cast<WORD>(static_cast<DWORD>(width) & 0xFFFF));
  writer.Word(static_cast<WORD>(static_cast<DWORD>(height) & 0xFFFF));
  writer.Word(0);     // no menu
  writer.Word(0);     // the platform's dialog class
  writer.Word(L' ');  // a one-blank title; the caption is set after creation
  writer.Word(0);
  writer.Word(static_cast<WORD>(pointSize));
  for (DWORD i = 0; i < kFontFaceUnits - 1 && face[i] != 0; ++i) {
    writer.Word(face[i]);
  }
  writer.Word(0);
  return writer.Size();
}

DWORD AdjustDialogStyle(DWORD style, LONG x, LONG y, HWND parent) {
  if (style == 0) {
    style = kDefaultDialogStyle;
  }
  style |= kAlwaysAddedStyle;
  style &= ~kNeverKeptStyle;
  if (x == kNoPosition || y == kNoPosition) {
    style |= DS_CENTER;
  }
  if ((style & WS_CHILD) != 0) {
    style &= ~(WS_POPUP | DS_ABSALIGN);
    if (parent == nullptr) {
      style = (style & ~WS_CHILD) | WS_POPUP;
    }
  }
  return style;
}

HWND NewDialog(LONG mode, HWND parent, const char* caption, LONG x, LONG y, LONG width, LONG height,
               DWORD style, DWORD extendedStyle) {
  style = AdjustDialogStyle(style, x, y, parent);

  WCHAR face[kFontFaceUnits];
  LONG pointSize = DialogFontSetting(face);
  alignas(4) BYTE dialogTemplate[kTemplateCapacity];
  WriteDialogTemplate(dialogTemplate, style, extendedStyle, x, y, width, height, face, pointSize);

  HWND dialog = CreateDialogIndirectParamA(ProgramInstance(),
                                           reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate),
                                           parent, ToolkitDialogProc, 0);
  if ((static_cast<DWORD>(mode) & kPixelsMode) != 0) {
    PlaceInPixels(dialog, parent, style, x, y, width, height);
  }
  SetWindowTextA(dialog, caption != nullptr ? caption : "");
  if (dialog == nullptr) {
    return nullptr;
  }
  DWORD units = (static_cast<DWORD>(mode) & kPixelsMode) != 0 ? kPixelsFlag : kDialogUnitsFlag;
  WindowRecord* record = RegisterRecord(dialog, parent, kDialogRecordFlag | units, 0);
  if (record == nullptr) {
    return nullptr;  // the hidden dialog stays, without a record
  }
  record->style = style;
  record->showCommand = ShowCommandFor(style);
  record->dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  return dialog;
}

HWND AddControl(int kind, HWND dialog, LONG id, const char* text, const char* const* items,
                DWORD itemCount, LONG x, LONG y, LONG width, LONG height, DWORD style,
                DWORD extendedStyle, DialogCallback callback, const char* className) {
  const WindowRecord* dialogRecord = FindRecord(dialog);
  if (!IsDialogRecord(dialogRecord) || kind < kCustomControl || kind > kListBox) {
    return nullptr;
  }
  // The dialog's callback runs inside the platform calls below (a new control notifies
  // its dialog) and may destroy the dialog with its record: the record is read here.
  DWORD dialogFlags = dialogRecord->kindFlags;
  HFONT dialogFont = dialogRecord->dialogFont;
  DWORD kindFlags = (dialogFlags & kUnitBitsMask) | kControlRecordFlag;

  // Converting the edges, not the size, keeps controls that abut in units abutting in
  // pixels.
  RECT edges = EdgesOf(x, y, width, height);
  if ((dialogFlags & kDialogUnitsFlag) != 0) {
    MapDialogRect(dialog, &edges);
  }
  LONG pixelWidth = WidthOf(edges);
  LONG pixelHeight = HeightOf(edges);

  const char* windowClass = className != nullptr ? className : "";
  if (kind != kCustomControl) {
    const ControlKindRow& row = ControlKindTable[kind];
    windowClass = row.windowClass;
    if (style == 0) {
      style = row.defaultStyle;
      if (kind == kScrollBar && pixelWidth < pixelHeight) {
        style |= SBS_VERT;
      }
      if ((kind == kTextBox || kind == kComboBox || kind == kListBox) && (style & WS_BORDER) != 0) {
        style &= ~WS_BORDER;
        extendedStyle |= WS_EX_CLIENTEDGE;
      }
    }
    style |= row.forcedBits;
    style &= ~row.removedBits;
  }

  // An image kind's text names its picture: a bitmap resource of that name if the
  // module has one, otherwise an icon. The control itself gets no window text.
  const char* imageName = nullptr;
  UINT imageType = IMAGE_ICON;
  if (IsImageKind(kind)) {
    imageName = text != nullptr ? text : "";
    text = "";
    bool bitmap = FindResourceA(ProgramInstance(), imageName, RT_BITMAP) != nullptr;
    imageType = bitmap ? IMAGE_BITMAP : IMAGE_ICON;
    kindFlags |= bitmap ? kImageBitmapFlag : kImageIconFlag;
    if (IsButtonImageKind(kind)) {
      style |= bitmap ? BS_BITMAP : BS_ICON;
    } else {
      style = (style & ~SS_TYPEMASK) | (bitmap ? SS_BITMAP : SS_ICON);
    }
  }

  HWND control = CreateWindowExA(extendedStyle, windowClass, text != nullptr ? text : "", style,
                                 edges.left, edges.top, pixelWidth, pixelHeight, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ProgramInstance(), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), kRedrawFlag);
  if (control == nullptr) {
    return nullptr;
  }
  WindowRecord* record = RegisterRecord(control, dialog, kindFlags, kind);
  if (record != nullptr) {
    record->callback = callback;
  }

  if (items != nullptr) {
    UINT addMessage = kind == kComboBox ? CB_ADDSTRING : LB_ADDSTRING;
    for (DWORD i = 0; i < itemCount && items[i] != nullptr && items[i][0] != '\0'; ++i) {
      SendMessageA(control, addMessage, 0, reinterpret_cast<LPARAM>(items[i]));
    }
  }

  if ((kind == kPushButton || IsButtonImageKind(kind)) && (style & BS_DEFPUSHBUTTON) != 0) {
    SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
  }
  // The picture and the surface live in the record; a control without one goes without.
  // The messages above may have reached the dialog's callback, and a dialog destroyed
  // there took the control's record with it: it is looked up again.
  record = FindRecord(control);
  if (imageName != nullptr && record != nullptr) {
    bool ownSize = kind == kImage || kind == kImageButton;
    record->image = LoadImageA(ProgramInstance(), imageName, imageType, ownSize ? 0 : pixelWidth,
                               ownSize ? 0 : pixelHeight, 0);
    SendMessageA(control, IsButtonImageKind(kind) ? BM_SETIMAGE : STM_SETIMAGE, imageType,
                 reinterpret_cast<LPARAM>(record->image));
  }
  if (kind == kDrawingSurface && record != nullptr) {
    SetUpDrawingSurface(control, record);
  }
  return control;
}

void SetDialogIcon(HWND dialog, const char* resourceName) {
  // The big icon first, then the small one. The record owns each icon from before the
  // dialog gets it, since the dialog's callback may destroy the dialog, and with it the
  // record and its icons, while it handles WM_SETICON.
  for (int size = 32; size >= 16; size -= 16) {
    WindowRecord* record = FindRecord(dialog);
    if (!IsDialogRecord(record)) {
      return;
    }
    auto* icon =
        static_cast<HICON>(LoadImageA(ProgramInstance(), resourceName, IMAGE_ICON, size, size, 0));
    if (icon == nullptr) {
      return;
    }
    bool big = size == 32;
    HICON& owned = big ? record->bigIcon : record->smallIcon;
    HICON replaced = owned;
    owned = icon;
    SendMessageA(dialog, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (replaced != nullptr) {
      DestroyIcon(replaced);
    }
  }
}
