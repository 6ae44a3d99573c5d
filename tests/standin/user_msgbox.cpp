// The stand-in's message boxes: the test's script answers them.
//
// As on the platform (the conformance checks hold on both): the box is a window of its own
// that becomes the active window. A box with an owner disables the owner (its top-level
// window) while it is open and enables it again before the box goes away, so that the
// owner becomes active again; a box without an owner disables nothing (MB_TASKMODAL is
// not modelled). While the box is open its modal loop goes on dispatching the thread's
// messages: the stand-in dispatches what is queued when the box opens and what is still
// queued when the script has answered, and the script may pump in between
// (standin::PumpMessages) to see its own actions handled at once. Keys pressed while the
// box is open go to the box, which only the script closes. A box closed without a button
// (its close box, Esc) returns IDCANCEL, as Wine answers for every kind of box.
#include <algorithm>

#include "user_internal.h"

namespace standin::win {
namespace {

// The buttons of each type of box, by the type's number (MB_OK 0 to MB_CANCELTRYCONTINUE 6).
std::vector<int> ButtonsOf(UINT style) {
  const std::vector<int> kButtons[] = {{IDOK},
                                       {IDOK, IDCANCEL},
                                       {IDABORT, IDRETRY, IDIGNORE},
                                       {IDYES, IDNO, IDCANCEL},
                                       {IDYES, IDNO},
                                       {IDRETRY, IDCANCEL},
                                       {IDCANCEL, IDTRYAGAIN, IDCONTINUE}};
  UINT type = style & MB_TYPEMASK;
  return type < std::size(kButtons) ? kButtons[type] : std::vector<int>{};
}

std::string ButtonList(const std::vector<int>& buttons) {
  std::string text;
  for (int button : buttons) {
    text += (text.empty() ? "" : ", ") + detail::Dec(button);
  }
  return text;
}

}  // namespace

int RunMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
  State& s = S();
  if (s.failBoxes) {
    detail::SetLastErrorRaw(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (owner != nullptr && Need(owner) == nullptr) {
    return 0;
  }
  std::vector<int> buttons = ButtonsOf(style);
  if (buttons.empty()) {
    detail::SetLastErrorRaw(ERROR_INVALID_MSGBOX_STYLE);
    return 0;
  }
  std::string boxText = text;  // a missing text is empty, a missing caption "Error"
  std::string boxCaption = caption;
  if (!s.boxScript) {
    detail::Fatal(
        "MessageBox(" + detail::Str(boxText.c_str()) + ", " + detail::Str(boxCaption.c_str()) +
        ") is shown, but the test answers no message boxes (standin::AnswerMessageBoxes)");
  }
  Activity();

  HWND ownerTop = Root(owner);
  HWND disabled = nullptr;
  if (ownerTop != nullptr && (Find(ownerTop)->style & WS_DISABLED) == 0) {
    Enable(ownerTop, false);
    disabled = ownerTop;
  }

  HWND previousActive = s.active;
  CreateArgs args;
  args.className = "#32770";
  args.text = boxCaption.c_str();
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  args.exStyle = WS_EX_DLGMODALFRAME;
  args.width = 300;
  args.height = 120;
  args.x = (s.workArea.left + s.workArea.right - args.width) / 2;
  args.y = (s.workArea.top + s.workArea.bottom - args.height) / 2;
  args.parent = ownerTop;
  args.internal = true;
  args.dialog = true;
  HWND box = Create(args);
  Show(box, SW_SHOWNORMAL);

  MessageBox shown{
      boxText, boxCaption, style, owner, detail::Now(), static_cast<int>(s.openBoxes.size()) + 1,
      box,     0};
  size_t index = s.boxes.size();
  s.boxes.push_back(shown);
  s.openBoxes.push_back(box);
  // The box's modal loop handles what is queued when it opens, then the person acts
  // (the script, which may pump itself), and what the script left queued happened
  // before the button was pressed. The script gets a copy of the record: nested boxes
  // may grow the record list meanwhile.
  PumpMessages();
  std::function<int(const MessageBox&)> script = s.boxScript;
  int answer = script(shown);
  PumpMessages();
  S().openBoxes.pop_back();
  int result = answer == 0 ? IDCANCEL : answer;
  if (answer != 0 && std::find(buttons.begin(), buttons.end(), answer) == buttons.end()) {
    detail::Fatal("the message box script answered " + detail::Dec(answer) + " to the box " +
                  detail::Str(boxText.c_str()) + ", whose buttons are " + ButtonList(buttons));
  }
  S().boxes[index].answer = result;

  // The owner comes back before the box goes, so that it takes over activation.
  if (Find(disabled) != nullptr) {
    Enable(disabled, true);
  }
  Destroy(box);
  const Window* previous = Find(previousActive);
  if (S().active == nullptr && previous != nullptr && ShownDeep(*previous) &&
      (previous->style & WS_DISABLED) == 0) {
    Activate(previousActive);
  }
  Activity();
  return result;
}

}  // namespace standin::win

namespace standin {

void AnswerMessageBoxes(std::function<int(const MessageBox&)> script) {
  win::S().boxScript = std::move(script);
}

const std::vector<MessageBox>& MessageBoxes() {
  return win::S().boxes;
}

void FailMessageBoxes(bool fail) {
  win::S().failBoxes = fail;
}

}  // namespace standin

// Either kind of box keeps its texts in UTF-8, as the stand-in does.
template <typename C>
int MessageBoxOf(const char* name, HWND hWnd, const C* lpText, const C* lpCaption, UINT uType) {
  using namespace standin::detail;  // NOLINT(google-build-using-namespace): its own parts
  Log(name, {standin::win::Name(hWnd), Str(lpText), Str(lpCaption), Hex(uType)});
  return standin::win::RunMessageBox(hWnd, Inner(lpText).value_or("").c_str(),
                                     Inner(lpCaption).value_or("Error").c_str(), uType);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  return MessageBoxOf("MessageBoxA", hWnd, lpText, lpCaption, uType);
}

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  return MessageBoxOf("MessageBoxW", hWnd, lpText, lpCaption, uType);
}
