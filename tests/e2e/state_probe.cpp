// The state probe's hook procedure; it runs inside setup.exe. See state_probe.h.
#include "state_probe.h"

#include "installer_record.h"

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

// Loaded as a planted library: say into which program.
void MarkPlantedLoad(HINSTANCE self) {
  wchar_t path[MAX_PATH + 1] = L"";
  std::string own = e2e::Utf8(std::wstring(path, GetModuleFileNameW(self, path, MAX_PATH)));
  std::string planted = std::string("\\") + e2e::kPlantedLibrary + ".dll";
  char folder[MAX_PATH + 1] = "";
  if (own.size() < planted.size() ||
      lstrcmpiA(own.c_str() + own.size() - planted.size(), planted.c_str()) != 0 ||
      GetEnvironmentVariableA(e2e::kRecordFolderVariable, folder, MAX_PATH) == 0) {
    return;
  }
  std::string mark = folder + ("\\" + std::to_string(GetCurrentProcessId())) + ".library";
  HANDLE file = CreateFileW(e2e::Wide(mark).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string program = e2e::Utf8(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH)));
  DWORD written = 0;
  WriteFile(file, program.data(), static_cast<DWORD>(program.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    MarkPlantedLoad(self);
  }
  return TRUE;
}

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
