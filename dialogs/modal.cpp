#include "dialogs/modal.h"

#include "dialogs/controls.h"
#include "dialogs/geometry.h"

namespace {

bool IsColourMessage(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// A control's own callback comes first for the messages that name a control: the
// scroll messages (the bar in lParam) and WM_COMMAND (the control with that id, or, for
// an id that names no control, the callback kept as item data of the menu command).
DialogCallback ControlCallbackFor(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = nullptr;
  if (message == WM_HSCROLL || message == WM_VSCROLL) {
    control = reinterpret_cast<HWND>(lParam);
  } else if (message == WM_COMMAND) {
    control = GetDlgItem(dialog, LOWORD(wParam));
    if (control == nullptr) {
      HMENU menu = GetMenu(dialog);
      if (menu == nullptr) {
        return nullptr;
      }
      MENUITEMINFOA item{};
      item.cbSize = sizeof(item);
      item.fMask = MIIM_DATA;
      if (GetMenuItemInfoA(menu, LOWORD(wParam), FALSE, &item) == FALSE) {
        return nullptr;
      }
      return reinterpret_cast<DialogCallback>(item.dwItemData);
    }
  } else {
    return nullptr;
  }
  const WindowRecord* record = FindRecord(control);
  return IsControlRecord(record) ? record->callback : nullptr;
}

// A drawing-surface control paints by copying its off-screen surface.
INT_PTR DrawSurface(HWND dialog, LPARAM lParam) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item == nullptr) {
    return 0;
  }
  const WindowRecord* record = FindRecord(GetDlgItem(dialog, static_cast<int>(item->CtlID)));
  if (!IsControlRecord(record) || record->controlKind != kDrawingSurface ||
      (item->itemAction & ODA_DRAWENTIRE) == 0 || record->surface.dc == nullptr) {
    return 0;
  }
  BitBlt(item->hDC, 0, 0, record->surface.width, record->surface.height, record->surface.dc, 0, 0,
         SRCCOPY);
  return 1;
}

// What a modal and a modeless run share, before any loop: the callback's two direct calls
// (WM_INITDIALOG, then WM_SIZE with the size type of the show command), the callback
// and, for a modal run, the result's place kept in the dialog's record, the owner told
// (its mode cancelled) and disabled, and the dialog shown. Gives the owner (or nullptr)
// and the dialog's style; false when the dialog has no record (it has gone, or is not
// the toolkit's) and cannot run.
bool PrepareRun(HWND dialog, DialogCallback callback, LONG* result, bool modal, HWND* owner,
                DWORD* style) {
  if (callback != nullptr) {
    callback(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(dialog), 0);
    const WindowRecord* record = FindRecord(dialog);
    WPARAM sizeType = SIZE_RESTORED;
    if (IsDialogRecord(record) && record->showCommand == SW_SHOWMAXIMIZED) {
      sizeType = SIZE_MAXIMIZED;
    } else if (IsDialogRecord(record) && record->showCommand == SW_MINIMIZE) {
      sizeType = SIZE_MINIMIZED;
    }
    RECT client{0, 0, 0, 0};
    GetClientRect(dialog, &client);
    callback(dialog, WM_SIZE, sizeType, MAKELPARAM(WidthOf(client), HeightOf(client)));
  }
  WindowRecord* record = FindRecord(dialog);
  if (!IsDialogRecord(record)) {
    return false;
  }
  record->callback = callback;
  *owner = nullptr;
  // The owner's window procedure runs inside the two calls below and may destroy the
  // dialog, freeing its record: what showing needs is read first.
  *style = record->style;
  int showCommand = record->showCommand;
  record->kindFlags |= kRunFlag;
  if (modal) {
    record->resultLocation = result;
    *owner = reinterpret_cast<HWND>(GetWindowLongPtrA(dialog, GWLP_HWNDPARENT));
    if (*owner != nullptr) {
      SendMessageA(*owner, WM_CANCELMODE, 0, 0);
      EnableWindow(*owner, FALSE);
    }
  }
  ShowWindow(dialog, showCommand);
  return true;
}

}  // namespace

INT_PTR CALLBACK ToolkitDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ACTIVATE && LOWORD(wParam) <= WA_CLICKACTIVE) {
    return 1;  // neither callback ever sees activation
  }
  if (message == WM_COMMAND) {
    NoteComboNotification(wParam, lParam);
  }
  INT_PTR result = 0;
  DialogCallback controlCallback = ControlCallbackFor(dialog, message, wParam, lParam);
  if (controlCallback != nullptr) {
    result = controlCallback(dialog, message, wParam, lParam);
  }
  if (result == 0) {
    // Without a record (the dialog is still being created, or is not ours) only the
    // default handling below applies.
    const WindowRecord* record = FindRecord(dialog);
    if (IsDialogRecord(record)) {
      if (record->callback != nullptr) {
        result = record->callback(dialog, message, wParam, lParam);  // may end the dialog
      }
      if (message == WM_NCDESTROY) {
        DiscardRecord(dialog);
      }
      if (message == WM_DRAWITEM) {
        return DrawSurface(dialog, lParam);
      }
      if (result == 0 && IsColourMessage(message)) {
        return ColourControl(message, reinterpret_cast<HDC>(wParam),
                             reinterpret_cast<HWND>(lParam));
      }
    }
  }
  if (result != 0) {
    // A handled message's result goes back through the dialog manager's result slot.
    if (GetWindowLongPtrA(dialog, DWLP_MSGRESULT) == 0) {
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    }
    return result;
  }
  if (message == WM_SYSCOMMAND && (wParam & kSystemCommandMask) == SC_CLOSE) {
    EndDialogWith(dialog, 0);
    return 1;
  }
  return 0;
}

void ShowDialogModal(HWND dialog, DialogCallback callback, LONG* result) {
  HWND owner = nullptr;
  DWORD style = 0;
  if (!PrepareRun(dialog, callback, result, true, &owner, &style)) {
    return;
  }
  // The loop polls and naps for a millisecond when the queue is empty. The dialog's
  // record may be gone by the time a check runs, so only the window is asked.
  MSG message;
  for (;;) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) == FALSE) {
      // Messages sent from other threads are handled inside PeekMessageA and may end
      // the dialog without anything being posted; without this check the loop would
      // nap for ever once the window is gone.
      if (IsWindow(dialog) == FALSE) {
        break;
      }
      if (owner != nullptr && (style & DS_NOIDLEMSG) == 0) {
        SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
      }
      Sleep(1);
      continue;
    }
    if (IsWindow(dialog) == FALSE) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
      break;
    }
    if (IsDialogMessageA(dialog, &message) == FALSE) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (IsWindow(dialog) == FALSE) {
      break;
    }
  }
  if (owner != nullptr) {
    SetFocus(owner);
  }
}

void EndDialogWith(HWND dialog, LONG result) {
  SendMessageA(dialog, WM_CLOSE, 0, 0);
  auto* owner = reinterpret_cast<HWND>(GetWindowLongPtrA(dialog, GWLP_HWNDPARENT));
  BOOL ownerWasDisabled = FALSE;
  if (owner != nullptr) {
    ownerWasDisabled = EnableWindow(owner, TRUE);
  }
  const WindowRecord* record = FindRecord(dialog);
  if (IsDialogRecord(record) && record->resultLocation != nullptr) {
    *record->resultLocation = result;
  }
  if (DestroyWindow(dialog) == FALSE && owner != nullptr && ownerWasDisabled != FALSE) {
    EnableWindow(owner, FALSE);
  }
}

void ShowDialogModeless(HWND dialog, DialogCallback callback) {
  HWND owner = nullptr;
  DWORD style = 0;
  if (!PrepareRun(dialog, callback, nullptr, false, &owner, &style)) {
    return;
  }
  const WindowRecord* record = FindRecord(dialog);
  int show = IsDialogRecord(record) ? record->showCommand : SW_SHOW;
  if (show != SW_HIDE && show != SW_SHOWMINIMIZED && show != SW_MINIMIZE) {
    RedrawControl(dialog);
  }
}

void SetShowCommand(HWND window, int showCommand) {
  // A dialog that the toolkit has run, or that someone made visible, has been shown;
  // hidden again, it is still no dialog waiting for its first showing.
  WindowRecord* record = FindRecord(window);
  if (IsDialogRecord(record) && (record->kindFlags & kRunFlag) == 0 &&
      IsWindowVisible(window) == FALSE) {
    record->showCommand =
        showCommand == SW_HIDE || showCommand == SW_SHOWMAXIMIZED || showCommand == SW_MINIMIZE
            ? showCommand
            : SW_SHOW;
    return;
  }
  ShowWindow(window, showCommand);
}
