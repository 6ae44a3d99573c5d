#include "wizard/window.h"

#include "dialogs/construction.h"
#include "dialogs/controls.h"
#include "dialogs/modal.h"
#include "runtime/error_state.h"
#include "wizard/sequencer.h"

namespace {

constexpr LONG kWindowX = 84;  // ignored: DS_CENTER centres the window
constexpr LONG kWindowY = 53;
constexpr LONG kWindowWidth = 418;
constexpr LONG kWindowHeight = 240;
// A fixed frame with a caption and a close box, no minimise or maximise box. The toolkit
// drops WS_VISIBLE, so the window stays hidden until the modal run shows it.
constexpr DWORD kWindowStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                               DS_CENTER | DS_SETFOREGROUND | DS_MODALFRAME | DS_SETFONT |
                               DS_NOFAILCREATE | DS_3DLOOK;
static_assert(kWindowStyle == 0x94C80AD4, "the wizard window's style");
constexpr DWORD kWindowExtendedStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;

constexpr Colour kRed = 0x0000FF;
constexpr LONG kStepFontPoints = 12;
constexpr LONG kPointsPerInch = 72;
constexpr char kStepFontFace[] = "MS Sans Serif";

// The four step labels get the window's own label font before the window shows.
constexpr LONG kStepLabels[] = {IDC_STEP1_LABEL, IDC_STEP4_LABEL, IDC_STEP2_LABEL, IDC_STEP3_LABEL};

}  // namespace

const WizardControl WizardControls[kWizardControlCount] = {
    {IDC_STEP1_LABEL, kLabel, "1.  Install DirectX 9.0", 15, 20, 215, 15},
    {IDC_STEP1_INSTALL, kPushButton, "Install", 260, 20, 50, 15},
    {IDC_STEP1_SKIP, kPushButton, "Skip (already installed)", 320, 20, 80, 15},
    {IDC_STEP4_LABEL, kLabel, "4.  Plug the adapter into the USB port", 15, 125, 225, 15},
    {IDC_STEP2_LABEL, kLabel, "2.  Install Quillmark", 15, 55, 215, 15},
    {IDC_STEP2_INSTALL, kPushButton, "Install", 260, 55, 50, 15},
    {IDC_DONE, kPushButton, "Done", 375, 215, 35, 15},
    {IDC_STEP2_SKIP, kPushButton, "Skip (already installed)", 320, 55, 80, 15},
    {IDC_MESSAGE, kLabel, "", 25, 145, 325, 85},
    {IDC_STEP3_LABEL, kLabel, "3.  Install Video Adapter Drivers", 15, 91, 215, 15},
    {IDC_STEP3_INSTALL, kPushButton, "Install", 260, 89, 50, 15},
    {IDC_STEP3_SKIP, kPushButton, "Skip (already installed)", 320, 89, 80, 15},
};

HFONT MakeStepFont(LONG weight) {
  HDC screen = GetDC(nullptr);
  LONG dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // A negative height asks for the character height: 12 points at this resolution.
  LOGFONTA font{};
  font.lfHeight = -(dotsPerInch * kStepFontPoints) / kPointsPerInch;
  font.lfWeight = weight;
  for (DWORD i = 0; kStepFontFace[i] != '\0' && i < LF_FACESIZE - 1; ++i) {
    font.lfFaceName[i] = kStepFontFace[i];
  }
  return CreateFontIndirectA(&font);
}

LONG ShowWizardWindow(HWND owner) {
  ErrorScope scope;
  HWND window = NewDialog(kDialogUnitsMode, owner, kWizardCaption, kWindowX, kWindowY, kWindowWidth,
                          kWindowHeight, kWindowStyle, kWindowExtendedStyle);
  SetDialogIcon(window, kWizardIconName);

  for (const WizardControl& control : WizardControls) {
    AddControl(control.kind, window, control.id, control.text, nullptr, 0, control.x, control.y,
               control.width, control.height, 0, 0, nullptr, "");
    if (control.id == IDC_MESSAGE) {
      SetControlColor(window, IDC_MESSAGE, kRed, kDefaultColour);
    }
  }

  HFONT layoutFont = MakeStepFont(FW_NORMAL);
  for (LONG id : kStepLabels) {
    // lParam 0: no repainting, the window is not shown yet.
    SendWindowMessage(ControlHandle(window, id), WM_SETFONT, reinterpret_cast<WPARAM>(layoutFont),
                      0);
  }
  LONG result = 0;
  ShowDialogModal(window, StepSequencer, &result);
  DeleteObject(layoutFont);
  return result;
}
