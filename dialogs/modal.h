// Running a toolkit dialog: the dialog procedure that hands its messages to the
// application's callback, the modal loop, and ending a dialog with a result.
#pragma once

#include "platform.h"

#include "dialogs/registry.h"

// The command of a WM_SYSCOMMAND is its wParam without the low four bits, which the
// platform uses for itself (a Close chosen from the system menu by the mouse may come as
// SC_CLOSE | 0x2, say).
constexpr WPARAM kSystemCommandMask = 0xFFF0;

// The dialog procedure of every toolkit dialog. Application code never calls it.
INT_PTR CALLBACK ToolkitDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs a dialog built by NewDialog modally with its own message loop until the dialog no
// longer exists. The callback first gets WM_INITDIALOG and WM_SIZE directly, before the
// dialog shows; the result of EndDialogWith goes to *result.
void ShowDialogModal(HWND dialog, DialogCallback callback, LONG* result);

// Ends a dialog with a result: the callback sees WM_CLOSE, the owner is enabled again,
// the result is stored, and the dialog is destroyed (the callback sees WM_DESTROY and
// WM_NCDESTROY) before this returns. Must not be called while handling WM_CLOSE.
void EndDialogWith(HWND dialog, LONG result);

// Shows a dialog without a loop of its own; the caller's message loop runs it.
void ShowDialogModeless(HWND dialog, DialogCallback callback);

// Sets how a dialog not yet shown will be shown, or shows a control or a dialog that has
// been shown before (even if it is hidden now).
void SetShowCommand(HWND window, int showCommand);
