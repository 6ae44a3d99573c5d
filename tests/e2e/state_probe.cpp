// The state probe's hook procedure; it runs inside setup.exe. See state_probe.h.
#include "state_probe.h"

namespace {

DWORD HandleNumber(LRESULT handle) {
  return static_cast<DWORD>(static_cast<ULONG_PTR>(handle));
}

void ReadChild(HWND child, e2e::ProbeChild* row) {
  *row = e2e::ProbeChild{};
  row->id = GetDlgCtrlID(child);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
  row->font = HandleNumber(reinterpret_cast<LRESULT>(font));
  LOGFONTA description{};
  if (font != nullptr && GetObjectA(font, sizeof(description), &description) > 0) {
    row->fontRead = TRUE;
    row->fontHeight = description.lfHeight;
    row->fontWeight = description.lfWeight;
    lstrcpynA(row->fontFace, description.lfFaceName, LF_FACESIZE);
  }
  char className[16] = "";
  GetClassNameA(child, className, sizeof(className));
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
    row->icon = HandleNumber(SendMessageA(child, STM_GETICON, 0, 0));
  }
}

void Report(HWND window, DWORD driverProcessId, LPARAM serial) {
  HANDLE memory =
      OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::ProbeMemoryName(driverProcessId).c_str());
  if (memory == nullptr) {
    return;
  }
  auto* report = static_cast<e2e::ProbeReport*>(
      MapViewOfFile(memory, FILE_MAP_WRITE, 0, 0, sizeof(e2e::ProbeReport)));
  if (report != nullptr) {
    report->bigIcon = HandleNumber(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    report->smallIcon = HandleNumber(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    report->warningIcon = HandleNumber(reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_WARNING)));
    LONG count = 0;
    for (HWND child = GetWindow(window, GW_CHILD);
         child != nullptr && count < e2e::kProbeMaxChildren;
         child = GetWindow(child, GW_HWNDNEXT)) {
      ReadChild(child, &report->children[count++]);
    }
    report->childCount = count;
    report->serial = serial;  // last: the driver takes the report once the serial matches
    UnmapViewOfFile(report);
  }
  CloseHandle(memory);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probeMessage = RegisterWindowMessageA(e2e::kProbeMessage);
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == probeMessage) {
      Report(sent->hwnd, static_cast<DWORD>(sent->wParam), sent->lParam);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
