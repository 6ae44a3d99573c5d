// The wizard window: its definition, its fonts and building it.
#pragma once

#include "platform.h"

// Control identifiers of the wizard window.
constexpr LONG IDC_STEP1_LABEL = 1001;
constexpr LONG IDC_STEP1_INSTALL = 1002;
constexpr LONG IDC_STEP1_SKIP = 1003;
constexpr LONG IDC_STEP2_LABEL = 1004;
constexpr LONG IDC_STEP4_LABEL = 1005;
constexpr LONG IDC_STEP2_INSTALL = 1006;
constexpr LONG IDC_DONE = 1007;
constexpr LONG IDC_STEP2_SKIP = 1008;
constexpr LONG IDC_MESSAGE = 1009;
constexpr LONG IDC_STEP3_LABEL = 1010;
constexpr LONG IDC_STEP3_INSTALL = 1011;
constexpr LONG IDC_STEP3_SKIP = 1012;

// The window's caption, also the product's name.
constexpr char kWizardCaption[] = "Quillmark Installer -- USB 2.0 Adapter";

// The window's icon by its resource name: "#" and the number of the icon group, 104.
constexpr char kWizardIconName[] = "#104";

// One row of the control table.
struct WizardControl {
  LONG id;
  int kind;  // kLabel or kPushButton
  const char* text;
  LONG x;
  LONG y;
  LONG width;
  LONG height;
};

// The twelve controls in creation order, which is also the tab and z-order. Positions
// and sizes are in dialog units.
constexpr DWORD kWizardControlCount = 12;
extern const WizardControl WizardControls[kWizardControlCount];

// A 12-point "MS Sans Serif" font of the given weight, for the screen's dots per inch.
// The font belongs to the caller.
HFONT MakeStepFont(LONG weight);

// Builds the wizard window, runs it modally with the step sequencer and returns its
// modal result.
LONG ShowWizardWindow(HWND owner);
