#include "dialogs/message_box.h"

namespace {

constexpr char kDefaultCaption[] = "Setup";
constexpr DWORD kPauseBeforeBox = 5;  // milliseconds

}  // namespace

int ShowMessageBox(const char* text, DWORD style, const char* caption) {
  return ShowOwnedMessageBox(nullptr, text, style, caption);
}

int ShowOwnedMessageBox(HWND owner, const char* text, DWORD style, const char* caption) {
  if (text == nullptr) {
    text = "";
  }
  if (caption == nullptr || caption[0] == '\0') {
    caption = kDefaultCaption;
  }
  Sleep(kPauseBeforeBox);
  return MessageBoxA(owner, text, caption, style);
}
