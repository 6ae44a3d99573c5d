// The stand-in's built-in control classes: BUTTON, STATIC, EDIT, SCROLLBAR, LISTBOX and
// COMBOBOX, with just the behaviour the dialog toolkit relies on, and their painting.
//
// Painting, as Wine's controls do it: a control asks its parent for its colours with a
// WM_CTLCOLOR* message carrying a DC (WM_CTLCOLORBTN for push buttons; WM_CTLCOLORSTATIC
// for statics, check boxes, option buttons and group frames; WM_CTLCOLOREDIT for an
// editable text box and a combo box; WM_CTLCOLORLISTBOX; WM_CTLCOLORSCROLLBAR); when the
// parent answers 0, the default processing's colours apply. A push button paints at
// once when its focus, state, text or enabled state changes; a static paints at once
// when its text or enabled state changes, and a WM_SETFONT that asks for redrawing
// repaints it at once (with WM_PAINT). An SS_OWNERDRAW static sends WM_DRAWITEM after
// its colour message.
//
// A push button sends WM_COMMAND(BN_CLICKED) to its parent when the left button is
// released over it after it was pressed over it, or when the space bar is released
// while it has the focus; only while it and its ancestors are enabled and visible.
// WM_CANCELMODE (which EnableWindow(FALSE) sends) lets go of a press in progress.
#include <algorithm>

#include "user_internal.h"

namespace standin::win {
namespace {

bool EnabledDeep(const Window& window) {
  for (const Window* current = &window; current != nullptr; current = Find(current->parent)) {
    if ((current->style & WS_DISABLED) != 0) {
      return false;
    }
  }
  return true;
}

UINT ColourMessageFor(const Window& window) {
  if (window.className == "BUTTON") {
    DWORD type = window.style & BS_TYPEMASK;
    bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == 0xB;  // owner-draw
    return push ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
  }
  if (window.className == "EDIT") {
    bool readOnly = (window.style & 0x0800) != 0;  // ES_READONLY
    return readOnly || (window.style & WS_DISABLED) != 0 ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  }
  if (window.className == "LISTBOX") {
    return WM_CTLCOLORLISTBOX;
  }
  if (window.className == "COMBOBOX") {
    return WM_CTLCOLOREDIT;
  }
  if (window.className == "SCROLLBAR") {
    return WM_CTLCOLORSCROLLBAR;
  }
  return WM_CTLCOLORSTATIC;
}

void DrawIfShown(HWND handle) {
  const Window* window = Find(handle);
  if (window != nullptr && ShownDeep(*window)) {
    DrawControl(handle, nullptr);
  }
}

LRESULT PaintMessage(HWND handle) {
  HDC dc = BeginPainting(handle);
  DrawControl(handle, dc);
  EndPainting(dc);
  return 0;
}

bool Checkable(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
         type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

// A click's effect: the automatic kinds change their check, then the parent hears of it.
void Clicked(HWND handle) {
  Window* button = Find(handle);
  if (button == nullptr || !EnabledDeep(*button) || !ShownDeep(*button)) {
    return;
  }
  switch (button->style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
      button->check = button->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      break;
    case BS_AUTO3STATE:
      button->check = (button->check + 1) % 3;
      break;
    case BS_AUTORADIOBUTTON:
      for (HWND sibling : AliveChildren(button->parent)) {
        Window* other = Find(sibling);
        if (other != button && other->className == "BUTTON" &&
            (other->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
          other->check = BST_UNCHECKED;
        }
      }
      button->check = BST_CHECKED;
      break;
    default:
      break;
  }
  DrawIfShown(handle);
  if (Find(button->parent) != nullptr) {
    Send(button->parent, WM_COMMAND, MAKEWPARAM(button->id, BN_CLICKED),
         reinterpret_cast<LPARAM>(handle));
  }
}

void LetGo(Window& button) {
  button.tracking = false;
  if (S().capture == button.handle) {
    S().capture = nullptr;
  }
  if (button.pushed) {
    button.pushed = false;
    DrawIfShown(button.handle);
  }
}

bool Inside(const Window& window, LPARAM point) {
  RECT client = ClientRect(window);
  auto x = static_cast<short>(LOWORD(point));
  auto y = static_cast<short>(HIWORD(point));
  return x >= 0 && y >= 0 && x < client.right && y < client.bottom;
}

// Font and text messages that every control answers the same way.
bool CommonMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_SETFONT:
      window.font = reinterpret_cast<HFONT>(wParam);
      if (lParam != 0) {
        Invalidate(window.handle, nullptr, true, false);
      }
      *result = 0;
      return true;
    case WM_GETFONT:
      *result = reinterpret_cast<LRESULT>(window.font);
      return true;
    case WM_ERASEBKGND:
      *result = 1;  // the control fills its background when it paints
      return true;
    case WM_PAINT:
      *result = PaintMessage(window.handle);
      return true;
    default:
      return false;
  }
}

// List boxes and combo boxes keep their strings the same way.
struct ListMessages {
  UINT add;
  UINT remove;
  UINT count;
  UINT reset;
  UINT setSelection;
  UINT getSelection;
  UINT text;
  UINT textLength;
  DWORD sortStyle;
};

constexpr ListMessages kListBoxMessages{LB_ADDSTRING,    LB_DELETESTRING, LB_GETCOUNT,
                                        LB_RESETCONTENT, LB_SETCURSEL,    LB_GETCURSEL,
                                        LB_GETTEXT,      LB_GETTEXTLEN,   LBS_SORT};
constexpr ListMessages kComboBoxMessages{CB_ADDSTRING,    CB_DELETESTRING, CB_GETCOUNT,
                                         CB_RESETCONTENT, CB_SETCURSEL,    CB_GETCURSEL,
                                         CB_GETLBTEXT,    CB_GETLBTEXTLEN, CBS_SORT};

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return detail::UpperCase(a) < detail::UpperCase(b);
}

bool ListMessage(Window& list, const ListMessages& names, bool combo, UINT message, WPARAM wParam,
                 LPARAM lParam, LRESULT* result) {
  constexpr LRESULT kError = -1;
  auto index = static_cast<int>(static_cast<LONG>(wParam));
  auto count = static_cast<int>(list.items.size());
  bool valid = index >= 0 && index < count;
  if (message == names.add) {
    const char* text = reinterpret_cast<const char*>(lParam);
    std::string item = text != nullptr ? text : "";
    auto position = list.items.end();
    if ((list.style & names.sortStyle) != 0) {
      position = std::upper_bound(list.items.begin(), list.items.end(), item, LessIgnoringCase);
    }
    auto added = static_cast<int>(position - list.items.begin());
    list.items.insert(position, item);
    if (list.selection >= added) {
      ++list.selection;
    }
    Invalidate(list.handle, nullptr, true, false);
    *result = added;
  } else if (message == names.remove) {
    if (!valid) {
      *result = kError;
      return true;
    }
    list.items.erase(list.items.begin() + index);
    if (list.selection == index) {
      list.selection = -1;
    } else if (list.selection > index) {
      --list.selection;
    }
    Invalidate(list.handle, nullptr, true, false);
    *result = static_cast<LRESULT>(list.items.size());
  } else if (message == names.count) {
    *result = count;
  } else if (message == names.reset) {
    list.items.clear();
    list.selection = -1;
    if (combo) {
      list.text.clear();
    }
    Invalidate(list.handle, nullptr, true, false);
    *result = 0;
  } else if (message == names.setSelection) {
    if (!valid) {
      if (index == -1) {
        list.selection = -1;
      }
      *result = kError;
      return true;
    }
    list.selection = index;
    if (combo) {
      list.text = list.items[static_cast<size_t>(index)];
    }
    Invalidate(list.handle, nullptr, true, false);
    *result = index;
  } else if (message == names.getSelection) {
    *result = list.selection >= 0 ? list.selection : kError;
  } else if (message == names.textLength) {
    *result = valid ? static_cast<LRESULT>(list.items[static_cast<size_t>(index)].size()) : kError;
  } else if (message == names.text) {
    char* buffer = reinterpret_cast<char*>(lParam);
    if (!valid || buffer == nullptr) {
      *result = kError;
      return true;
    }
    const std::string& item = list.items[static_cast<size_t>(index)];
    item.copy(buffer, item.size());
    buffer[item.size()] = '\0';
    *result = static_cast<LRESULT>(item.size());
  } else {
    return false;
  }
  return true;
}

// Whether a picture control's type bits name the picture type: an icon or a bitmap, by
// the one bit or type that stands for it (a button with both bits or neither names none).
bool NamesType(DWORD typeBits, WPARAM type, DWORD iconBits, DWORD bitmapBits) {
  return (type == IMAGE_ICON && typeBits == iconBits) ||
         (type == IMAGE_BITMAP && typeBits == bitmapBits);
}

// A picture control takes a picture only of the type it names, and hands back the one it
// held, whatever its type; a refused one leaves it as it was.
LRESULT TakePicture(HWND handle, Window& control, bool named, LPARAM picture) {
  if (!named) {
    return 0;
  }
  HANDLE old = control.image;
  control.image = reinterpret_cast<HANDLE>(picture);
  Invalidate(handle, nullptr, true, false);
  return reinterpret_cast<LRESULT>(old);
}

}  // namespace

void DrawControl(HWND handle, HDC paintDc) {
  Window* control = Find(handle);
  if (control == nullptr || !ShownDeep(*control)) {
    return;
  }
  HDC dc = paintDc != nullptr ? paintDc : NewDc(handle, false, true);
  if (Object* state = FindObject(dc)) {
    state->selectedFont = control->font != nullptr ? control->font : Stock(SYSTEM_FONT);
  }
  HWND parent = control->parent;
  UINT message = ColourMessageFor(*control);
  HBRUSH brush = nullptr;
  if (Find(parent) != nullptr) {
    brush = reinterpret_cast<HBRUSH>(
        Send(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(handle)));
  }
  if (brush == nullptr) {
    brush = DefaultColours(message, dc);
  }
  bool ownerDrawn =
      control->className == "STATIC" && (control->style & SS_TYPEMASK) == SS_OWNERDRAW;
  if (ownerDrawn && Find(handle) != nullptr && Find(parent) != nullptr) {
    // After its colours, an owner-drawn static asks its parent to draw it.
    DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(control->id), 0, ODA_DRAWENTIRE, 0, handle,
                        dc,         ClientRect(*control),           0};
    Send(parent, WM_DRAWITEM, static_cast<WPARAM>(control->id), reinterpret_cast<LPARAM>(&item));
  }
  if (Find(handle) != nullptr) {
    RecordPaint(handle, ownerDrawn ? WM_DRAWITEM : message, dc, brush);
  }
  if (paintDc == nullptr) {
    FreeDc(dc);
  }
}

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* button = Find(handle);
  if (button == nullptr) {
    return 0;
  }
  LRESULT result = 0;
  if (CommonMessage(*button, message, wParam, lParam, &result)) {
    return result;
  }
  DWORD type = button->style & BS_TYPEMASK;
  switch (message) {
    case WM_GETDLGCODE:
      switch (type) {
        case BS_PUSHBUTTON:
          return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
          return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
          return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
          return DLGC_STATIC;
        default:
          return DLGC_BUTTON;
      }
    case WM_SETTEXT:
      DefProc(handle, message, wParam, lParam);
      DrawIfShown(handle);
      return TRUE;
    case WM_ENABLE:
    case WM_SETFOCUS:
      DrawIfShown(handle);
      return 0;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
      LetGo(*button);
      DrawIfShown(handle);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocusTo(handle);
      if (Find(handle) == nullptr) {
        return 0;
      }
      S().capture = handle;
      button->tracking = true;
      Send(handle, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_LBUTTONUP: {
      if (!button->tracking) {
        return 0;
      }
      bool inside = Inside(*button, lParam);
      button->tracking = false;
      if (S().capture == handle) {
        S().capture = nullptr;
      }
      Send(handle, BM_SETSTATE, FALSE, 0);
      if (inside) {
        Clicked(handle);
      }
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        button->tracking = true;
        Send(handle, BM_SETSTATE, TRUE, 0);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && button->tracking) {
        button->tracking = false;
        Send(handle, BM_SETSTATE, FALSE, 0);
        Clicked(handle);
      }
      return 0;
    case BM_CLICK:
      Send(handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      Send(handle, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_SETSTATE:
      button->pushed = wParam != 0;
      DrawIfShown(handle);
      return 0;
    case BM_GETCHECK:
      return Checkable(type) ? button->check : 0;
    case BM_SETCHECK:
      if (Checkable(type)) {
        button->check = static_cast<int>(wParam);
        DrawIfShown(handle);
      }
      return 0;
    case BM_SETSTYLE:
      button->style = (button->style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      if (lParam != 0) {
        DrawIfShown(handle);
      }
      return 0;
    case BM_SETIMAGE:
      return TakePicture(
          handle, *button,
          NamesType(button->style & (BS_ICON | BS_BITMAP), wParam, BS_ICON, BS_BITMAP), lParam);
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(button->image);
    default:
      return DefProc(handle, message, wParam, lParam);
  }
}

LRESULT CALLBACK StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* control = Find(handle);
  if (control == nullptr) {
    return 0;
  }
  bool named = NamesType(control->style & SS_TYPEMASK, wParam, SS_ICON, SS_BITMAP);
  switch (message) {
    case WM_SETFONT:
      control->font = reinterpret_cast<HFONT>(wParam);
      if (lParam != 0) {
        Invalidate(handle, nullptr, true, false);
        PaintNow(handle, false);
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_SETTEXT:
      DefProc(handle, message, wParam, lParam);
      DrawIfShown(handle);
      return TRUE;
    case WM_ENABLE:
      DrawIfShown(handle);
      return 0;
    case STM_SETIMAGE:
      return TakePicture(handle, *control, named, lParam);
    case STM_GETIMAGE:
      return named ? reinterpret_cast<LRESULT>(control->image) : 0;
    case WM_LBUTTONUP:
      if ((control->style & SS_NOTIFY) != 0 && Find(control->parent) != nullptr) {
        Send(control->parent, WM_COMMAND, MAKEWPARAM(control->id, STN_CLICKED),
             reinterpret_cast<LPARAM>(handle));
      }
      return 0;
    default: {
      LRESULT result = 0;
      if (CommonMessage(*control, message, wParam, lParam, &result)) {
        return result;
      }
      return DefProc(handle, message, wParam, lParam);
    }
  }
}

namespace {

// Text boxes, list and combo boxes and scroll bars: the common messages, a list's
// strings, the keys they ask the dialog for, and a click that takes the focus. A scroll
// bar asks for no keys and takes no focus.
LRESULT FieldProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT dialogCode,
                  const ListMessages* list) {
  Window* field = Find(handle);
  if (field == nullptr) {
    return 0;
  }
  LRESULT result = 0;
  if (CommonMessage(*field, message, wParam, lParam, &result) ||
      (list != nullptr &&
       ListMessage(*field, *list, list == &kComboBoxMessages, message, wParam, lParam, &result))) {
    return result;
  }
  if (dialogCode != 0 && message == WM_GETDLGCODE) {
    return dialogCode;
  }
  if (dialogCode != 0 && message == WM_LBUTTONDOWN) {
    SetFocusTo(handle);
    return 0;
  }
  return DefProc(handle, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  return FieldProc(handle, message, wParam, lParam,
                   DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS, nullptr);
}

LRESULT CALLBACK ScrollBarProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  return FieldProc(handle, message, wParam, lParam, 0, nullptr);
}

LRESULT CALLBACK ListBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  return FieldProc(handle, message, wParam, lParam, DLGC_WANTARROWS | DLGC_WANTCHARS,
                   &kListBoxMessages);
}

LRESULT CALLBACK ComboBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  return FieldProc(handle, message, wParam, lParam, DLGC_WANTARROWS | DLGC_WANTCHARS,
                   &kComboBoxMessages);
}

void RegisterBuiltInClasses() {
  State& s = S();
  s.classes["BUTTON"] = WindowClass{"BUTTON", ButtonProc};
  s.classes["STATIC"] = WindowClass{"STATIC", StaticProc};
  s.classes["EDIT"] = WindowClass{"EDIT", EditProc};
  s.classes["SCROLLBAR"] = WindowClass{"SCROLLBAR", ScrollBarProc};
  s.classes["LISTBOX"] = WindowClass{"LISTBOX", ListBoxProc};
  s.classes["COMBOBOX"] = WindowClass{"COMBOBOX", ComboBoxProc};
  s.classes["#32770"] = WindowClass{"#32770", DialogWindowProc};
}

}  // namespace standin::win
