#include "dialogs/message_box.h"

#include "runtime/text.h"

namespace {

constexpr char kDefaultCaption[] = "Setup";
constexpr DWORD kPauseBeforeBox = 5;  // milliseconds
constexpr DWORD kWideCaptionSize = 64;

int PlatformMessageBox(HWND owner, const char* text, const char* caption, DWORD style) {
  return MessageBoxA(owner, text, caption, style);
}

int PlatformMessageBox(HWND owner, const WCHAR* text, const char* caption, DWORD style) {
  WideFixedText<kWideCaptionSize> wideCaption;
  wideCaption.chars[0] = 0;
  wideCaption.Append(caption);
  return MessageBoxW(owner, text, wideCaption.CString(), style);
}

// One procedure for both kinds of text; the platform's call is the one for the kind.
template <typename C>
int ShowBox(HWND owner, const C* text, DWORD style, const char* caption) {
  if (caption == nullptr || caption[0] == '\0') {
    caption = kDefaultCaption;
  }
  Sleep(kPauseBeforeBox);
  if (text == nullptr) {
    static constexpr C kNoText[1] = {};
    text = kNoText;
  }
  return PlatformMessageBox(owner, text, caption, style);
}

}  // namespace

int ShowMessageBox(const char* text, DWORD style, const char* caption) {
  return ShowBox(nullptr, text, style, caption);
}

int ShowOwnedMessageBox(HWND owner, const char* text, DWORD style, const char* caption) {
  return ShowBox(owner, text, style, caption);
}

int ShowOwnedMessageBox(HWND owner, const WCHAR* text, DWORD style, const char* caption) {
  return ShowBox(owner, text, style, caption);
}
