#include "conformance.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>

namespace conformance {
namespace {

std::map<std::string, std::string>& Simplifications() {
  static std::map<std::string, std::string> reasons;  // by place, "file:line"
  return reasons;
}

// At the end of the run: how many checks ran on which platform, and every stated
// simplification. Printed, and written to conformance-summary.txt in the current folder,
// which the ring's CTest prints after its tests.
class Summary : public ::testing::Environment {
 public:
  void TearDown() override {
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    std::string text = "conformance on " +
                       std::string(harness::OnStandIn() ? "the stand-in" : "the real platform") +
                       ": " + std::to_string(unit.test_to_run_count()) + " checks, " +
                       std::to_string(unit.failed_test_count()) + " failed; " +
                       std::to_string(Simplifications().size()) + " stated simplifications\n";
    for (const auto& [place, reason] : Simplifications()) {
      text.append("  - ").append(reason).append(" (").append(place).append(")\n");
    }
    std::fputs(text.c_str(), stdout);
    std::ofstream("conformance-summary.txt") << text;
  }
};

[[maybe_unused]] const auto* const kSummary = ::testing::AddGlobalTestEnvironment(new Summary);

std::map<HWND, std::string>& Names() {
  static std::map<HWND, std::string> names;
  return names;
}

// The window procedures that Watch put the journal's in front of, as GWLP_WNDPROC gave
// them (a function pointer type would lose its calling convention in a template).
std::map<HWND, LONG_PTR>& OwnProcedures() {
  static std::map<HWND, LONG_PTR> procedures;
  return procedures;
}

std::string pendingDialogName;

std::string Upper(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return text;
}

std::string NameOf(HWND window) {
  auto found = Names().find(window);
  if (found != Names().end()) {
    return found->second;
  }
  if (IsWindow(window) && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
    return Upper(ClassOf(window)) + "#" + std::to_string(GetDlgCtrlID(window));
  }
  return "window";
}

bool PointerParameter(UINT message, bool lParam) {
  switch (message) {
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_DRAWITEM:
    case WM_GETMINMAXINFO:
    case WM_NCCALCSIZE:
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
      return lParam;
    default:
      return false;
  }
}

std::string Hex(unsigned long long value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", value);
  return text;
}

bool KeyMessage(UINT message) {
  return message >= WM_KEYDOWN && message <= WM_SYSCHAR;
}

std::string Parameter(UINT message, bool lParam, ULONG_PTR value) {
  if (lParam && KeyMessage(message)) {
    // Of a key's details only these mean the same on every platform.
    return std::string((value & KF_ALTDOWN << 16) != 0 ? "alt" : "plain") +
           ((value & KF_UP << 16) != 0 ? " up" : "");
  }
  if (value == 0) {
    return "0";
  }
  if (PointerParameter(message, lParam)) {
    return "struct";
  }
  if (!lParam && message == WM_SYSCOMMAND) {
    return Hex(value);
  }
  if (value <= 0xFFFF) {
    return std::to_string(value);
  }
  auto* handle = reinterpret_cast<HWND>(value);
  if (Names().contains(handle) || IsWindow(handle)) {
    return NameOf(handle);
  }
  switch (GetObjectType(reinterpret_cast<HGDIOBJ>(value))) {
    case OBJ_DC:
    case OBJ_MEMDC:
      return "dc";
    case OBJ_FONT:
      return "font";
    case OBJ_BRUSH:
      return "brush";
    default:
      return Hex(value);
  }
}

LRESULT CALLBACK JournalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TheJournal().rows.push_back(RowOf(window, message, wParam, lParam));
  auto own = reinterpret_cast<WNDPROC>(OwnProcedures()[window]);
  return CallWindowProcA(own, window, message, wParam, lParam);
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool Simplifies(const char* reason, const char* file, int line) {
  std::string place = file;
  place = place.substr(place.find_last_of("/\\") + 1) + ":" + std::to_string(line);
  Simplifications()[place] = reason;
  return harness::OnStandIn();
}

TemplateWriter& TemplateWriter::Word(WORD value) {
  words_.push_back(value);
  return *this;
}

TemplateWriter& TemplateWriter::Dword(DWORD value) {
  return Word(LOWORD(value)).Word(HIWORD(value));
}

TemplateWriter& TemplateWriter::Text(const char* text) {
  for (; *text != '\0'; ++text) {
    Word(static_cast<unsigned char>(*text));
  }
  return Word(0);
}

TemplateWriter& TemplateWriter::Item(DWORD style, WORD id, short x, short y, short cx, short cy,
                                     WORD ordinal, const char* text) {
  if (words_.size() % 2 != 0) {
    Word(0);
  }
  Dword(style).Dword(0);
  Word(static_cast<WORD>(x)).Word(static_cast<WORD>(y));
  Word(static_cast<WORD>(cx)).Word(static_cast<WORD>(cy)).Word(id);
  return Word(0xFFFF).Word(ordinal).Text(text).Word(0);
}

std::unique_ptr<WORD[]> TemplateWriter::Bytes() const {
  auto bytes = std::make_unique<WORD[]>(words_.size());
  std::copy(words_.begin(), words_.end(), bytes.get());
  return bytes;
}

TemplateWriter TemplateWriter::Cut(size_t words) const {
  TemplateWriter cut;
  cut.words_.assign(words_.begin(), words_.begin() + static_cast<std::ptrdiff_t>(words));
  return cut;
}

TemplateWriter Header(DWORD style, WORD items, short x, short y, short cx, short cy,
                      DWORD exStyle) {
  TemplateWriter writer;
  writer.Dword(style).Dword(exStyle).Word(items);
  writer.Word(static_cast<WORD>(x)).Word(static_cast<WORD>(y));
  writer.Word(static_cast<WORD>(cx)).Word(static_cast<WORD>(cy));
  writer.Word(0).Word(0).Text(" ");
  if ((style & DS_SETFONT) != 0) {
    writer.Word(8).Text("MS Sans Serif");
  }
  return writer;
}

TemplateWriter TwoButtons(DWORD style) {
  return Header(style, 2)
      .Item(kButtonStyle, 11, 5, 5, 50, 14, kButtonClass, "a")
      .Item(kButtonStyle, 12, 5, 25, 50, 14, kButtonClass, "b");
}

Journal& TheJournal() {
  static Journal journal;
  return journal;
}

void Name(HWND window, const std::string& name) {
  Names()[window] = name;
}

std::string RowOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Looking parameters up must not change what a check reads afterwards.
  DWORD lastError = GetLastError();
  std::string row = NameOf(window) + " " + MessageName(message) + "(" +
                    Parameter(message, false, wParam) + ", " +
                    Parameter(message, true, static_cast<ULONG_PTR>(lParam)) + ")";
  SetLastError(lastError);
  return row;
}

INT_PTR CALLBACK JournalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Names().contains(dialog) && !pendingDialogName.empty()) {
    Name(dialog, pendingDialogName);
  }
  Journal& journal = TheJournal();
  journal.rows.push_back(RowOf(dialog, message, wParam, lParam));
  if (journal.onMessage) {
    journal.onMessage(dialog, message, wParam, lParam);
  }
  auto answer = journal.answers.find(message);
  return answer == journal.answers.end() ? FALSE : answer->second;
}

void Watch(HWND window, const std::string& name) {
  Name(window, name);
  LONG_PTR own = GetWindowLongPtrA(window, GWLP_WNDPROC);
  if (own == reinterpret_cast<LONG_PTR>(JournalWindowProc)) {
    return;
  }
  OwnProcedures()[window] = own;
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(JournalWindowProc));
}

Lines Seen(std::initializer_list<UINT> messages, const std::string& window) {
  Lines kept;
  for (const std::string& row : TheJournal().rows) {
    if (!window.empty() && row.rfind(window + " ", 0) != 0) {
      continue;
    }
    for (UINT message : messages) {
      if (row.find(" " + MessageName(message) + "(") != std::string::npos) {
        kept.push_back(row);
        break;
      }
    }
  }
  return kept;
}

HWND MakeDialog(const TemplateWriter& writer, HWND owner, LPARAM param, const std::string& name) {
  auto bytes = writer.Bytes();
  pendingDialogName = name;
  HWND dialog =
      CreateDialogIndirectParamA(harness::Module(), reinterpret_cast<LPCDLGTEMPLATEA>(bytes.get()),
                                 owner, JournalDialogProc, param);
  pendingDialogName.clear();
  if (dialog != nullptr) {
    Name(dialog, name);
    for (HWND child : Children(dialog)) {
      Watch(child, NameOf(child));
    }
  }
  return dialog;
}

HWND MakeShownDialog(const TemplateWriter& writer) {
  TheJournal().answers[WM_ACTIVATE] = TRUE;
  HWND dialog = MakeDialog(writer);
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

HWND MakeOwner() {
  WNDCLASSA owner{};
  owner.lpfnWndProc = OwnerProc;
  owner.hInstance = harness::Module();
  owner.lpszClassName = "ConformanceOwner";
  RegisterClassA(&owner);  // once per process; later calls find it there
  HWND window = CreateWindowExA(0, "ConformanceOwner", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                100, 80, 600, 400, nullptr, nullptr, harness::Module(), nullptr);
  Name(window, "owner");
  return window;
}

std::string Text(const RECT& rect) {
  return "{" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "}";
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return RECT{origin.x, origin.y, origin.x + rect.right, origin.y + rect.bottom};
}

RECT RectInParent(HWND window) {
  RECT rect = WindowRect(window);
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  HWND parent = GetParent(window);
  ScreenToClient(parent, &corners[0]);
  ScreenToClient(parent, &corners[1]);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::vector<HWND> Children(HWND window) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

LOGFONTA FontInfo(HFONT font) {
  LOGFONTA info{};
  GetObjectA(font, sizeof info, &info);
  return info;
}

POINT BaseUnits(HWND dialog) {
  RECT units{0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  return POINT{units.right, units.bottom};
}

void Check::SetUp() {
  harness::Begin();
  TheJournal() = Journal{};
  Names().clear();
  OwnProcedures().clear();
}

void Check::TearDown() {
  harness::End();
}

}  // namespace conformance
