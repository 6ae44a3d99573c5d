// Bad input: destroyed, missing and foreign handles, templates that do not hold together,
// and texts that are empty, hold a NUL or are very long. The answer is the platform's;
// nothing crashes.
#include "conformance.h"
#include "sequence_table.h"

namespace conformance {
namespace {

using BadInput = Check;

TEST_F(BadInput, CallsOnADestroyedOrMissingWindowFailAndSayWhy) {
  HWND dialog = MakeDialog(TwoButtons());
  HWND gone = GetDlgItem(dialog, 11);
  DestroyWindow(dialog);
  RECT rect{};
  char buffer[8] = "x";
  struct Case {
    const char* call;
    LONG_PTR (*run)(HWND gone, RECT* rect, char* buffer);
  };
  const Case cases[] = {
      {"DestroyWindow", [](HWND w, RECT*, char*) { return LONG_PTR{DestroyWindow(w)}; }},
      {"DestroyWindow(NULL)", [](HWND, RECT*, char*) { return LONG_PTR{DestroyWindow(nullptr)}; }},
      {"EnableWindow", [](HWND w, RECT*, char*) { return LONG_PTR{EnableWindow(w, TRUE)}; }},
      {"SetWindowTextA", [](HWND w, RECT*, char*) { return LONG_PTR{SetWindowTextA(w, "x")}; }},
      {"IsWindowEnabled", [](HWND w, RECT*, char*) { return LONG_PTR{IsWindowEnabled(w)}; }},
      {"IsWindowVisible", [](HWND w, RECT*, char*) { return LONG_PTR{IsWindowVisible(w)}; }},
      {"ShowWindow", [](HWND w, RECT*, char*) { return LONG_PTR{ShowWindow(w, SW_SHOW)}; }},
      {"SendMessageA", [](HWND w, RECT*, char*) { return SendMessageA(w, WM_APP, 0, 0); }},
      {"PostMessageA",
       [](HWND w, RECT*, char*) { return LONG_PTR{PostMessageA(w, WM_APP, 0, 0)}; }},
      {"GetDlgItem",
       [](HWND w, RECT*, char*) { return reinterpret_cast<LONG_PTR>(GetDlgItem(w, 1)); }},
      {"SetFocus", [](HWND w, RECT*, char*) { return reinterpret_cast<LONG_PTR>(SetFocus(w)); }},
      {"GetParent", [](HWND w, RECT*, char*) { return reinterpret_cast<LONG_PTR>(GetParent(w)); }},
      {"GetWindowLongPtrA", [](HWND w, RECT*, char*) { return GetWindowLongPtrA(w, GWL_STYLE); }},
      {"GetClientRect", [](HWND w, RECT* r, char*) { return LONG_PTR{GetClientRect(w, r)}; }},
      {"MapDialogRect", [](HWND w, RECT* r, char*) { return LONG_PTR{MapDialogRect(w, r)}; }},
      {"GetWindowTextA", [](HWND w, RECT*, char* b) { return LONG_PTR{GetWindowTextA(w, b, 8)}; }},
  };
  Lines expected;
  Lines actual;
  for (const Case& c : cases) {
    SetLastError(0);
    LONG_PTR result = c.run(gone, &rect, buffer);
    // DestroyWindow refuses as a denied access; GetDlgItem leaves the code alone.
    std::string call = c.call;
    DWORD code = call.rfind("DestroyWindow", 0) == 0 ? ERROR_ACCESS_DENIED
                 : call == "GetDlgItem"              ? 0
                                                     : ERROR_INVALID_WINDOW_HANDLE;
    expected.push_back(call + " 0, error " + std::to_string(code));
    actual.push_back(std::string(c.call) + " " + std::to_string(result) + ", error " +
                     std::to_string(GetLastError()));
  }
  EXPECT_SEQUENCE(expected, actual);
  EXPECT_EQ(buffer[0], '\0') << "GetWindowTextA empties the buffer";
}

TEST_F(BadInput, AForeignWindowIsNoDialogAndAMissingControlOrClassGivesNothing) {
  HWND owner = MakeOwner();
  HWND dialog = MakeDialog(TwoButtons());
  RECT rect{0, 0, 4, 8};
  EXPECT_FALSE(MapDialogRect(owner, &rect)) << "only a dialog has dialog units";
  MSG foreign{owner, WM_APP, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(dialog, &foreign)) << "not a message for the dialog";
  SetLastError(0);
  EXPECT_EQ(GetDlgItem(dialog, 99), nullptr);
  EXPECT_EQ(GetLastError(), 0u) << "no code for a missing control";
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_CHILD, 0, 0, 1, 1, dialog, nullptr,
                            harness::Module(), nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
  DestroyWindow(dialog);
  DestroyWindow(owner);
}

TEST_F(BadInput, ATemplateWhoseItemCannotBeMadeFailsUnlessDsNoFailCreate) {
  TemplateWriter strict = Header(kPlainStyle, 2)
                              .Item(kButtonStyle, 11, 5, 5, 50, 14, kButtonClass, "a")
                              .Item(kButtonStyle, 12, 5, 25, 50, 14, 0x99, "unknown class");
  EXPECT_EQ(MakeDialog(strict), nullptr);
  HWND tolerant = MakeDialog(Header(kPlainStyle | DS_NOFAILCREATE, 2)
                                 .Item(kButtonStyle, 11, 5, 5, 50, 14, kButtonClass, "a")
                                 .Item(kButtonStyle, 12, 5, 25, 50, 14, 0x99, "unknown class"));
  ASSERT_NE(tolerant, nullptr);
  EXPECT_EQ(Children(tolerant).size(), 1u);
  DestroyWindow(tolerant);

  if (STANDIN_SIMPLIFIES("a template cut short fails; the real platform reads on past its end")) {
    TemplateWriter whole = TwoButtons();
    EXPECT_EQ(MakeDialog(whole.Cut(whole.Words() - 3)), nullptr);
    EXPECT_EQ(MakeDialog(Header(kPlainStyle, 1)), nullptr) << "an item promised and not there";
  }
  TemplateWriter extended;
  extended.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(kPlainStyle).Word(0);
  extended.Word(0).Word(0).Word(100).Word(50).Word(0).Word(0).Text(" ");
  extended.Word(8).Word(FW_NORMAL).Word(0).Text("MS Sans Serif");
  HWND fromExtended = MakeDialog(extended);
  if (STANDIN_SIMPLIFIES("extended templates are refused: the toolkit writes only plain ones")) {
    EXPECT_EQ(fromExtended, nullptr);
  } else {
    EXPECT_NE(fromExtended, nullptr);
    DestroyWindow(fromExtended);
  }
}

TEST_F(BadInput, TextsArriveWholeStopAtANulAndMayBeEmpty) {
  const std::string longText(10000, 'w');
  HWND dialog = MakeDialog(TwoButtons());
  HWND button = GetDlgItem(dialog, 11);
  SetWindowTextA(dialog, longText.c_str());
  SetWindowTextA(button, "ab\0cd");
  HWND label = CreateWindowExA(0, "STATIC", longText.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                               dialog, reinterpret_cast<HMENU>(5), harness::Module(), nullptr);
  EXPECT_SEQUENCE(
      (std::vector<size_t>{10000, 2, 10000}),
      (std::vector<size_t>{TextOf(dialog).size(), TextOf(button).size(), TextOf(label).size()}));
  EXPECT_TRUE(TextOf(label) == longText);
  SetWindowTextA(label, "");
  EXPECT_EQ(GetWindowTextLengthA(label), 0);
  char empty[4] = "xyz";
  EXPECT_EQ(GetWindowTextA(label, empty, sizeof empty), 0);
  EXPECT_EQ(empty[0], '\0');
  DestroyWindow(dialog);
}

TEST_F(BadInput, GdiObjectsThatAreGoneOrNoneAreRefused) {
  HBRUSH brush = CreateSolidBrush(0x0000FF);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush)) << "deleted already";
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_EQ(SelectObject(memory, brush), nullptr) << "a deleted brush cannot be selected";
  EXPECT_EQ(ReleaseDC(nullptr, memory), 0) << "a memory DC is deleted, not released";
  EXPECT_FALSE(DestroyIcon(nullptr));
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

}  // namespace
}  // namespace conformance
