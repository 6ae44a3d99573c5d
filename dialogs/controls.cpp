#include "dialogs/controls.h"

#include "dialogs/geometry.h"

namespace {

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

// The combo box whose list is dropped down at the moment; its list has no record.
HWND droppedCombo = nullptr;

struct ColourIndices {
  int text;
  int background;
};

// System colours for the default colours, by colour message (WM_CTLCOLORMSGBOX first).
constexpr ColourIndices kSystemColours[] = {
    {COLOR_MENUTEXT, COLOR_MENU},         // message box
    {COLOR_WINDOWTEXT, COLOR_WINDOW},     // edit
    {COLOR_WINDOWTEXT, COLOR_WINDOW},     // list box
    {COLOR_BTNTEXT, COLOR_BTNFACE},       // button
    {COLOR_WINDOWTEXT, COLOR_BTNFACE},    // dialog
    {COLOR_WINDOWTEXT, COLOR_SCROLLBAR},  // scroll bar
    {COLOR_WINDOWTEXT, COLOR_BTNFACE},    // static
};

LONG Clamp(LONG value) {
  return value < 0 ? 0 : (value > 255 ? 255 : value);
}

}  // namespace

Colour MakeColour(LONG red, LONG green, LONG blue) {
  return Clamp(red) + Clamp(green) * 0x100 + Clamp(blue) * 0x10000;
}

Colour NormaliseTextColour(Colour text) {
  return text >= 0 ? (text & 0xFFFFFF) : kDefaultColour;
}

Colour NormaliseBackgroundColour(Colour background) {
  if (background == kTransparentColour) {
    return background;
  }
  return background >= 0 ? (background & 0xFFFFFF) : kDefaultColour;
}

HWND ControlOrDialog(HWND dialog, LONG id) {
  return id == kDialogItself ? dialog : GetDlgItem(dialog, static_cast<int>(id));
}

HWND ControlHandle(HWND dialog, LONG id) {
  return GetDlgItem(dialog, static_cast<int>(id));
}

LRESULT SendWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(window, message, wParam, lParam);
}

void EnableControl(HWND dialog, LONG id, LONG on) {
  EnableWindow(ControlOrDialog(dialog, id), on);
}

void SetControlText(HWND dialog, LONG id, const char* text) {
  SetWindowTextA(ControlHandle(dialog, id), text != nullptr ? text : "");
}

void SetControlColor(HWND dialog, LONG id, Colour text, Colour background) {
  text = NormaliseTextColour(text);
  background = NormaliseBackgroundColour(background);
  HWND window = ControlOrDialog(dialog, id);
  const WindowRecord* dialogRecord = FindRecord(dialog);
  WindowRecord* record = FindRecord(window);
  if (!IsDialogRecord(dialogRecord) || record == nullptr) {
    return;
  }
  // A scroll bar without a colour of its own takes the dialog's, when that is a colour.
  if (background < 0 && record->controlKind == kScrollBar && dialogRecord->background >= 0) {
    background = dialogRecord->background;
  }
  HBRUSH brush = nullptr;
  if (background >= 0) {
    const WindowRecord* sharer = FindRecordWithBackground(background);
    if (sharer != nullptr && sharer->brush != nullptr) {
      brush = sharer->brush;
    } else {
      brush = CreateSolidBrush(static_cast<COLORREF>(background));
      if (brush == nullptr) {
        background = kDefaultColour;
      }
    }
  }
  HBRUSH oldBrush = record->brush;
  Colour oldBackground = record->background;
  record->brush = brush;
  record->foreground = text;
  record->background = background;
  if (oldBrush != nullptr) {
    const WindowRecord* sharer = FindRecordWithBackground(oldBackground);
    if (sharer == nullptr || sharer->brush == nullptr) {
      DeleteObject(oldBrush);
    }
  }
}

void RedrawControl(HWND window) {
  RedrawWindow(window, nullptr, nullptr, kRedrawNow);
  // Behind a transparent window its parent shows through; repaint that part too. The
  // parent's painting reaches its dialog's callback, which may destroy the dialog with
  // its records, so only handles are kept across it.
  for (const WindowRecord* record = FindRecord(window);
       record != nullptr && record->background == kTransparentColour && record->parent != nullptr;
       record = FindRecord(window)) {
    HWND parent = record->parent;
    RECT area{0, 0, 0, 0};
    GetWindowRect(window, &area);
    POINT corner{area.left, area.top};
    ScreenToClient(parent, &corner);
    RECT inParent{corner.x, corner.y, WrapAdd(area.right, WrapSubtract(corner.x, area.left)),
                  WrapAdd(area.bottom, WrapSubtract(corner.y, area.top))};
    RedrawWindow(parent, &inParent, nullptr, kRedrawNow);
    window = parent;
  }
}

INT_PTR ColourControl(UINT message, HDC dc, HWND window) {
  ColourIndices indices = kSystemColours[message - WM_CTLCOLORMSGBOX];
  const WindowRecord* record = FindRecord(window);
  if (record == nullptr) {
    // The edit field and the list of a combo box have no records: the combo box's
    // colours apply to them.
    if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORLISTBOX) {
      return 0;
    }
    auto* combo = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_HWNDPARENT));
    if (combo == nullptr) {
      combo = droppedCombo;
    }
    record = FindRecord(combo);
    if (record == nullptr || record->controlKind != kComboBox) {
      return 0;
    }
    indices = ColourIndices{COLOR_WINDOWTEXT, COLOR_WINDOW};
  }
  if (record->foreground == kUnsetColour) {
    return 0;
  }
  SetTextColor(dc, record->foreground == kDefaultColour
                       ? GetSysColor(indices.text)
                       : static_cast<COLORREF>(record->foreground));
  if (record->background >= 0) {
    SetBkColor(dc, static_cast<COLORREF>(record->background));
    return reinterpret_cast<INT_PTR>(record->brush);
  }
  if (record->background == kDefaultColour) {
    SetBkColor(dc, GetSysColor(indices.background));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(indices.background));
  }
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

void NoteComboNotification(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == CBN_DROPDOWN) {
    droppedCombo = reinterpret_cast<HWND>(lParam);
  } else if (HIWORD(wParam) == CBN_CLOSEUP) {
    droppedCombo = nullptr;
  }
}
