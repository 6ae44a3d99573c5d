// The stand-in's kernel side: file system and current directory, processes, last error
// and error mode, TLS, global memory, start-up facts, process exit and COM.
#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "platform.h"
#include "standin.h"
#include "standin_internal.h"
#include "utf16.h"

namespace standin {
namespace detail {
namespace {

constexpr size_t kTlsSlots = 64;
constexpr uintptr_t kInstance = 0x00400000;
constexpr uintptr_t kKernel32 = 0x7B000000;

struct Node {
  bool folder = false;
  std::string path;  // as it was laid out
  FolderScript folderScript;
  ProgramScript programScript;
};

struct HandleEntry {
  bool process = true;  // else the thread of the process
  size_t launch = 0;    // index into launches
  bool waited = false;  // waited on: the program's whileWaited hook has run
};

struct KernelState {
  std::map<std::string, Node> nodes;  // by upper-case full path
  std::string currentDirectory = "C:\\";
  std::string launcherPath = "C:\\setup.exe";
  std::vector<std::string> searchPath;
  std::vector<Launch> launches;
  std::map<uintptr_t, HandleEntry> handles;
  uintptr_t nextHandle = 0x100;
  DWORD nextProcessId = 0x400;
  DWORD lastError = 0;
  UINT errorMode = 0;
  bool failTlsAlloc = false;
  std::array<bool, kTlsSlots> tlsUsed{};
  std::array<void*, kTlsSlots> tlsValues{};
  int failGlobalAllocFrom = 0;
  int globalAllocCalls = 0;
  std::map<void*, size_t> globals;
  DWORD startupFlags = 0;
  WORD startupShow = 0;
  std::string commandLine = R"("C:\setup.exe")";
  std::set<std::string> hiddenExports;
  int comInitialize = 0;
  int comUninitialize = 0;
  std::jmp_buf* exitJump = nullptr;
  UINT exitCode = 0;
};

KernelState& K() {
  static KernelState state;
  return state;
}

// A failed call: the code as the last error, and the call's failure result.
template <typename Result = BOOL>
Result Fail(DWORD code, Result result = Result{}) {
  K().lastError = code;
  return result;
}

const Node* FindNode(const std::string& fullPath) {
  auto found = K().nodes.find(UpperCase(fullPath));
  return found == K().nodes.end() ? nullptr : &found->second;
}

std::string ParentOf(const std::string& fullPath) {
  size_t slash = fullPath.rfind('\\');
  if (slash == std::string::npos || slash <= 2) {
    return fullPath.substr(0, 3);
  }
  return fullPath.substr(0, slash);
}

bool IsRoot(const std::string& fullPath) {
  return fullPath.size() == 3;
}

void AddNode(const std::string& path, Node node) {
  std::string full = FullPath(path);
  if (full.empty()) {
    Fatal("cannot lay out the path " + path);
  }
  std::string parent = ParentOf(full);
  if (!IsRoot(full) && FindNode(parent) == nullptr) {
    AddFolder(parent);
  }
  if (IsRoot(full)) {
    AddDrive(full[0]);
    if (node.folder) {
      K().nodes[UpperCase(full)].folderScript = node.folderScript;
      return;
    }
  }
  node.path = full;
  K().nodes[UpperCase(full)] = std::move(node);
}

// The handle's name in the log: process#n or thread#n for the nth launch.
std::string HandleName(HANDLE handle) {
  auto found = K().handles.find(reinterpret_cast<uintptr_t>(handle));
  if (found == K().handles.end()) {
    return Ptr(handle);
  }
  return (found->second.process ? "process#" : "thread#") +
         Dec(static_cast<long long>(found->second.launch) + 1);
}

HANDLE NewHandle(bool process, size_t launch) {
  uintptr_t value = K().nextHandle;
  K().nextHandle += 4;
  K().handles[value] = HandleEntry{process, launch};
  return reinterpret_cast<HANDLE>(value);
}

bool Ended(const Launch& launch) {
  return launch.endsAt.has_value() && Now() >= *launch.endsAt;
}

// The program a command line's first token names, by the platform's search order for
// a name without a path: the launcher's folder, the current directory, the system
// folders, then PATH. Returns the node, or sets the error code.
const Node* FindProgram(const std::string& token, DWORD* error) {
  std::string name = token;
  size_t lastSlash = name.find_last_of("\\/");
  std::string leaf = lastSlash == std::string::npos ? name : name.substr(lastSlash + 1);
  if (leaf.find('.') == std::string::npos) {
    name += ".exe";
  }
  bool hasPath = name.find_first_of("\\/:") != std::string::npos;
  std::vector<std::string> candidates;
  if (hasPath) {
    candidates.push_back(FullPath(name));
  } else if (!name.empty()) {
    std::vector<std::string> folders = {ParentOf(FullPath(K().launcherPath)), K().currentDirectory,
                                        "C:\\Windows\\System32", "C:\\Windows\\System",
                                        "C:\\Windows"};
    folders.insert(folders.end(), K().searchPath.begin(), K().searchPath.end());
    for (const std::string& folder : folders) {
      std::string full = FullPath(folder + "\\" += name);
      if (!full.empty()) {
        candidates.push_back(full);
      }
    }
  }
  for (const std::string& candidate : candidates) {
    const Node* node = FindNode(candidate);
    if (node == nullptr) {
      continue;
    }
    if (node->folder) {
      *error = ERROR_ACCESS_DENIED;
      return nullptr;
    }
    return node;
  }
  *error = ERROR_FILE_NOT_FOUND;  // a missing folder on the way too, as Wine answers
  return nullptr;
}

std::string FirstToken(const std::string& line) {
  if (!line.empty() && line[0] == '"') {
    size_t close = line.find('"', 1);
    return line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  size_t end = line.find_first_of(" \t");
  return line.substr(0, end);
}

std::string SecurityText(const SECURITY_ATTRIBUTES* attributes) {
  if (attributes == nullptr) {
    return "NULL";
  }
  std::string length =
      attributes->nLength == sizeof(SECURITY_ATTRIBUTES) ? "sizeof" : Dec(attributes->nLength);
  return "sa{" + length + "," + Ptr(attributes->lpSecurityDescriptor) + "," +
         Dec(attributes->bInheritHandle) + "}";
}

std::string StartupText(const STARTUPINFOW* startup) {
  if (startup == nullptr) {
    return "NULL";
  }
  // Every other field is still zero, as the run time leaves them.
  bool othersZero = startup->lpReserved == nullptr && startup->lpDesktop == nullptr &&
                    startup->lpTitle == nullptr && startup->dwX == 0 && startup->dwY == 0 &&
                    startup->dwXSize == 0 && startup->dwYSize == 0 && startup->dwXCountChars == 0 &&
                    startup->dwYCountChars == 0 && startup->dwFillAttribute == 0 &&
                    startup->cbReserved2 == 0 && startup->lpReserved2 == nullptr &&
                    startup->hStdInput == nullptr && startup->hStdOutput == nullptr &&
                    startup->hStdError == nullptr;
  std::string size = startup->cb == sizeof(STARTUPINFOW) ? "sizeof" : Dec(startup->cb);
  return "si{cb=" + size + ",flags=" + Hex(startup->dwFlags) +
         ",show=" + Dec(startup->wShowWindow) + (othersZero ? ",others=0}" : ",others=set}");
}

}  // namespace

void SetLastErrorRaw(DWORD code) {
  K().lastError = code;
}

void ResetKernelSide() {
  K() = KernelState{};
  AddFolder("C:\\Windows\\System32");
}

void AddKernelSideLiveObjects(std::vector<std::string>* lines) {
  for (const auto& [value, entry] : K().handles) {
    lines->push_back("kernel handle " + HandleName(reinterpret_cast<HANDLE>(value)) + " (" +
                     K().launches[entry.launch].image + ")");
  }
  for (const auto& [block, size] : K().globals) {
    lines->push_back("global memory of " + Dec(static_cast<long long>(size)) + " bytes");
  }
  for (size_t i = 0; i < kTlsSlots; ++i) {
    if (K().tlsUsed[i]) {
      lines->push_back("TLS slot " + Dec(static_cast<long long>(i)));
    }
  }
}

}  // namespace detail

using detail::K;

void AddDrive(char letter) {
  std::string root = detail::UpperCase(std::string(1, letter)) + ":\\";
  K().nodes.emplace(root, detail::Node{true, root, {}, {}});
}

void AddFolder(const std::string& path, FolderScript script) {
  detail::AddNode(path, detail::Node{true, "", script, {}});
}

void AddProgram(const std::string& path, ProgramScript script) {
  detail::AddNode(path, detail::Node{false, "", {}, std::move(script)});
}

std::string CurrentDirectory() {
  return K().currentDirectory;
}

void SetCurrentDirectory(const std::string& path) {
  K().currentDirectory = path;
}

void SetLauncherPath(const std::string& path) {
  K().launcherPath = path;
}

void SetSearchPath(const std::vector<std::string>& folders) {
  K().searchPath = folders;
}

void HideExport(const std::string& name) {
  K().hiddenExports.insert(name);
}

const std::vector<Launch>& Launches() {
  return K().launches;
}

bool HasEnded(DWORD processId) {
  auto found =
      std::find_if(K().launches.begin(), K().launches.end(),
                   [processId](const Launch& launch) { return launch.processId == processId; });
  return found != K().launches.end() && detail::Ended(*found);
}

UINT ErrorMode() {
  return K().errorMode;
}
DWORD LastError() {
  return K().lastError;
}
void SetLastErrorDirect(DWORD code) {
  K().lastError = code;
}
void FailTlsAlloc(bool fail) {
  K().failTlsAlloc = fail;
}
void FailGlobalAllocFrom(int nth) {
  K().failGlobalAllocFrom = nth == 0 ? 0 : K().globalAllocCalls + nth;
}

void SetStartupInfo(DWORD flags, WORD showWindow) {
  K().startupFlags = flags;
  K().startupShow = showWindow;
}

void SetCommandLine(const std::string& commandLine) {
  K().commandLine = commandLine;
}

UINT RunProcess(void (*entry)()) {
  std::jmp_buf exitJump;
  K().exitJump = &exitJump;
  if (setjmp(exitJump) == 0) {
    entry();
    detail::Fatal("the process entry returned without calling ExitProcess");
  }
  K().exitJump = nullptr;
  return K().exitCode;
}

int ComUninitializeCount() {
  return K().comUninitialize;
}

}  // namespace standin

// ---- The platform calls ----------------------------------------------------------------

using standin::Launch;
using namespace standin::detail;  // NOLINT(google-build-using-namespace): its own parts

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  Log("GetCurrentDirectoryA", {Dec(nBufferLength), lpBuffer == nullptr ? "NULL" : "buffer"});
  std::string current = Ansi(K().currentDirectory);
  auto needed = static_cast<DWORD>(current.size() + 1);
  if (lpBuffer == nullptr || nBufferLength < needed) {
    return needed;  // too small: nothing is written
  }
  std::memcpy(lpBuffer, current.c_str(), needed);
  return needed - 1;
}

namespace {
// SetCurrentDirectory in either kind of text; a path is no longer than MAX_PATH - 3 units.
BOOL EnterFolder(const std::optional<std::string>& path) {
  if (!path) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::string full = FullPath(*path);
  if (full.empty() || full.find_first_of("*?") != std::string::npos) {
    return Fail(ERROR_INVALID_NAME);
  }
  if (utf16::FromUtf8(full).size() > MAX_PATH - 3) {
    return Fail(ERROR_FILENAME_EXCED_RANGE);
  }
  const Node* node = FindNode(full);
  if (node == nullptr) {
    bool missing = FindNode(full.substr(0, 3)) == nullptr || FindNode(ParentOf(full)) == nullptr;
    return Fail(missing ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
  }
  const standin::FolderScript& script = node->folderScript;
  if (!node->folder || script.refuseSilently || script.refuseWith != 0) {
    // A silent refusal leaves the code as it was.
    return Fail(!node->folder           ? ERROR_DIRECTORY
                : script.refuseSilently ? K().lastError
                                        : script.refuseWith);
  }
  K().currentDirectory = full;
  K().lastError = script.leaveLastError != 0 ? script.leaveLastError : K().lastError;
  return TRUE;
}
}  // namespace

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
  Log("SetCurrentDirectoryA", {Str(lpPathName)});
  return EnterFolder(Inner(lpPathName));
}

BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName) {
  Log("SetCurrentDirectoryW", {Str(lpPathName)});
  return EnterFolder(Inner(lpPathName));
}

BOOL WINAPI CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine,
                           LPSECURITY_ATTRIBUTES lpProcessAttributes,
                           LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                           DWORD dwCreationFlags, LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory,
                           LPSTARTUPINFOW lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation) {
  std::string threadAttributes =
      lpThreadAttributes != nullptr && lpThreadAttributes == lpProcessAttributes
          ? "same"
          : SecurityText(lpThreadAttributes);
  Log("CreateProcessW",
      {Str(lpApplicationName), Str(lpCommandLine), SecurityText(lpProcessAttributes),
       threadAttributes, Dec(bInheritHandles), Hex(dwCreationFlags), Ptr(lpEnvironment),
       Str(lpCurrentDirectory), StartupText(lpStartupInfo)});
  if (lpApplicationName != nullptr || lpCommandLine == nullptr || lpStartupInfo == nullptr ||
      lpProcessInformation == nullptr) {
    Fatal("CreateProcessW is used here only with a command line");
  }
  std::string commandLine = *Inner(lpCommandLine);
  DWORD error = 0;
  const Node* node = FindProgram(FirstToken(commandLine), &error);
  if (node != nullptr && node->programScript.failSilently) {
    return FALSE;
  }
  if (node != nullptr && node->programScript.failWith != 0) {
    error = node->programScript.failWith;
  }
  if (error != 0) {
    return Fail(error);
  }
  const standin::ProgramScript& script = node->programScript;
  DWORD id = K().nextProcessId;
  K().nextProcessId += 4;
  std::string directory =
      lpCurrentDirectory != nullptr ? FullPath(*Inner(lpCurrentDirectory)) : K().currentDirectory;
  UINT errorMode = (dwCreationFlags & CREATE_DEFAULT_ERROR_MODE) != 0 ? 0 : K().errorMode;
  auto endsAt = script.runsFor ? std::optional(Now() + *script.runsFor) : std::nullopt;
  K().launches.push_back(Launch{id, node->path, commandLine, directory, lpStartupInfo->wShowWindow,
                                lpStartupInfo->dwFlags, dwCreationFlags, errorMode, Now(), endsAt});
  size_t index = K().launches.size() - 1;
  *lpProcessInformation = {NewHandle(true, index), NewHandle(false, index), id, id + 1};
  K().lastError = script.leaveLastError != 0 ? script.leaveLastError : K().lastError;
  return TRUE;
}

namespace {
// The wait of WaitForSingleObject and MsgWaitForMultipleObjects on a process handle, or on
// none (nullptr). The program's whileWaited hook runs at the first wait that finds it running. A
// message wait gives `woken` at once, the clock unmoved, while the queue holds what its
// mask asks for. A program that never ends stops the test program at an INFINITE wait,
// and after an hour of waits with a time-out.
DWORD Wait(const char* call, const HANDLE* handle, DWORD timeout, DWORD wakeMask, DWORD woken) {
  DWORD left = INFINITE;
  std::string never = std::string(call) + " never returns";
  if (handle != nullptr) {
    auto found = K().handles.find(reinterpret_cast<uintptr_t>(*handle));
    if (found == K().handles.end()) {
      K().lastError = ERROR_INVALID_HANDLE;
      return WAIT_FAILED;
    }
    // A copy: the hook may start further programs, which moves the launch table.
    Launch launch = K().launches[found->second.launch];
    auto hook = FindNode(launch.image)->programScript.whileWaited;
    if (!standin::detail::Ended(launch) && !std::exchange(found->second.waited, true) && hook) {
      hook(launch);
    }
    if (standin::detail::Ended(launch)) {
      return WAIT_OBJECT_0;
    }
    never += ": " + standin::detail::HandleName(*handle) + ", " + launch.image + " never ends";
    left = launch.endsAt.has_value() ? *launch.endsAt - standin::detail::Now() : INFINITE;
    if (left == INFINITE && standin::detail::Now() - launch.startedAt > 3600000) {
      standin::detail::Fatal(never);
    }
  }
  if (wakeMask != 0 && standin::detail::QueueWakes(wakeMask)) {
    return woken;
  }
  if (timeout < left) {
    standin::detail::Advance(timeout);
    return WAIT_TIMEOUT;
  }
  if (left == INFINITE) {
    standin::detail::Fatal(never);
  }
  standin::detail::Advance(left);
  return WAIT_OBJECT_0;
}
}  // namespace

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  Log("WaitForSingleObject", {standin::detail::HandleName(hHandle),
                              dwMilliseconds == INFINITE ? "INFINITE" : Dec(dwMilliseconds)});
  return Wait("WaitForSingleObject", &hHandle, dwMilliseconds, 0, 0);
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll,
                                       DWORD dwMilliseconds, DWORD dwWakeMask) {
  Log("MsgWaitForMultipleObjects",
      {Dec(nCount), nCount == 0 ? "none" : standin::detail::HandleName(pHandles[0]), Dec(fWaitAll),
       Dec(dwMilliseconds), Hex(dwWakeMask)});
  if (nCount > 1) {
    standin::detail::Fatal("MsgWaitForMultipleObjects is used here on one handle at most");
  }
  return Wait("MsgWaitForMultipleObjects", nCount == 0 ? nullptr : pHandles, dwMilliseconds,
              dwWakeMask, WAIT_OBJECT_0 + nCount);
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
  Log("CloseHandle", {HandleName(hObject)});
  return K().handles.erase(reinterpret_cast<uintptr_t>(hObject)) != 0 ? TRUE
                                                                      : Fail(ERROR_INVALID_HANDLE);
}

void WINAPI ExitProcess(UINT uExitCode) {
  Log("ExitProcess", {Dec(uExitCode)});
  if (K().exitJump == nullptr) {
    Fatal("ExitProcess outside standin::RunProcess");
  }
  K().exitCode = uExitCode;
  std::longjmp(*K().exitJump, 1);
}

DWORD WINAPI GetLastError() {
  Log("GetLastError", {});
  return K().lastError;
}

void WINAPI SetLastError(DWORD dwErrCode) {
  Log("SetLastError", {Dec(dwErrCode)});
  K().lastError = dwErrCode;
}

UINT WINAPI SetErrorMode(UINT uMode) {
  Log("SetErrorMode", {Hex(uMode)});
  UINT old = K().errorMode;
  K().errorMode = uMode;
  return old;
}

DWORD WINAPI TlsAlloc() {
  Log("TlsAlloc", {});
  if (!K().failTlsAlloc) {
    for (size_t i = 0; i < K().tlsUsed.size(); ++i) {
      if (!K().tlsUsed[i]) {
        K().tlsUsed[i] = true;
        K().tlsValues[i] = nullptr;
        return static_cast<DWORD>(i);
      }
    }
  }
  return Fail<DWORD>(ERROR_NO_MORE_ITEMS, TLS_OUT_OF_INDEXES);
}

namespace {
// A slot that TlsAlloc gave out; another sets ERROR_INVALID_PARAMETER.
bool ValidSlot(DWORD index) {
  return (index < K().tlsUsed.size() && K().tlsUsed[index]) || Fail(ERROR_INVALID_PARAMETER, false);
}
}  // namespace

BOOL WINAPI TlsFree(DWORD dwTlsIndex) {
  Log("TlsFree", {Dec(dwTlsIndex)});
  if (!ValidSlot(dwTlsIndex)) {
    return FALSE;
  }
  K().tlsUsed[dwTlsIndex] = false;
  K().tlsValues[dwTlsIndex] = nullptr;
  return TRUE;
}

LPVOID WINAPI TlsGetValue(DWORD dwTlsIndex) {
  Log("TlsGetValue", {Dec(dwTlsIndex)});
  if (!ValidSlot(dwTlsIndex)) {
    return nullptr;
  }
  K().lastError = ERROR_SUCCESS;  // as on Windows: a successful read clears the code
  return K().tlsValues[dwTlsIndex];
}

BOOL WINAPI TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue) {
  Log("TlsSetValue", {Dec(dwTlsIndex), lpTlsValue == nullptr ? "NULL" : "record"});
  if (!ValidSlot(dwTlsIndex)) {
    return FALSE;
  }
  K().tlsValues[dwTlsIndex] = lpTlsValue;
  return TRUE;
}

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  Log("GlobalAlloc", {Hex(uFlags), "size"});
  if ((uFlags & ~static_cast<UINT>(GMEM_ZEROINIT)) != 0) {
    Fatal("GlobalAlloc is used here only for fixed memory");
  }
  ++K().globalAllocCalls;
  if (K().failGlobalAllocFrom != 0 && K().globalAllocCalls >= K().failGlobalAllocFrom) {
    return Fail<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY);
  }
  void* block =
      (uFlags & GMEM_ZEROINIT) != 0 ? std::calloc(1, dwBytes + 1) : std::malloc(dwBytes + 1);
  K().globals[block] = dwBytes;
  return block;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  Log("GlobalFree", {"block"});
  if (K().globals.erase(hMem) == 0) {
    return Fail(ERROR_INVALID_HANDLE, hMem);
  }
  std::free(hMem);
  return nullptr;
}

void WINAPI GetStartupInfoA(LPSTARTUPINFOA lpStartupInfo) {
  Log("GetStartupInfoA", {Dec(lpStartupInfo->cb == sizeof(STARTUPINFOA) ? 68 : lpStartupInfo->cb)});
  static char desktop[] = "WinSta0\\Default";
  *lpStartupInfo = STARTUPINFOA{};
  lpStartupInfo->cb = sizeof(STARTUPINFOA);
  lpStartupInfo->lpDesktop = desktop;
  lpStartupInfo->dwFlags = K().startupFlags;
  lpStartupInfo->wShowWindow = K().startupShow;
}

LPSTR WINAPI GetCommandLineA() {
  Log("GetCommandLineA", {});
  return K().commandLine.data();
}

// The program, and KERNEL32 by its name; no other library is loaded.
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  Log("GetModuleHandleA", {Str(lpModuleName)});
  std::string name = UpperCase(lpModuleName != nullptr ? lpModuleName : "");
  if (name == "KERNEL32" || name == "KERNEL32.DLL") {
    return reinterpret_cast<HMODULE>(kKernel32);
  }
  return lpModuleName == nullptr ? reinterpret_cast<HMODULE>(kInstance)
                                 : Fail<HMODULE>(ERROR_MOD_NOT_FOUND);
}

// KERNEL32's two exports that not every Windows has (standin::HideExport), and only they.
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  bool kernel = hModule == reinterpret_cast<HMODULE>(kKernel32);
  Log("GetProcAddress", {kernel ? "kernel32" : Ptr(hModule), Str(lpProcName)});
  std::string name = kernel && K().hiddenExports.count(lpProcName) == 0 ? lpProcName : "";
  auto function = name == "SetDefaultDllDirectories"
                      ? reinterpret_cast<void (*)()>(SetDefaultDllDirectories)
                  : name == "SetDllDirectoryA" ? reinterpret_cast<void (*)()>(SetDllDirectoryA)
                                               : nullptr;
  return function != nullptr ? reinterpret_cast<FARPROC>(function)
                             : Fail<FARPROC>(ERROR_PROC_NOT_FOUND);
}

BOOL WINAPI SetDefaultDllDirectories(DWORD DirectoryFlags) {
  Log("SetDefaultDllDirectories", {Hex(DirectoryFlags)});
  return TRUE;
}

BOOL WINAPI SetDllDirectoryA(LPCSTR lpPathName) {
  Log("SetDllDirectoryA", {Str(lpPathName)});
  return TRUE;
}

// As Wine: a name that does not fit is cut to the buffer's size without a NUL, the result
// is the buffer's size and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  Log("GetModuleFileNameW", {Ptr(hModule), lpFilename == nullptr ? "NULL" : "buffer", Dec(nSize)});
  std::u16string path = utf16::FromUtf8(K().launcherPath);
  bool program = hModule == nullptr || hModule == reinterpret_cast<HMODULE>(kInstance);
  if (!program || path.empty() || lpFilename == nullptr) {
    return Fail<DWORD>(!program || path.empty() ? ERROR_MOD_NOT_FOUND : ERROR_INVALID_PARAMETER);
  }
  DWORD copied = std::min(static_cast<DWORD>(path.size()), nSize);
  std::copy_n(path.data(), copied, lpFilename);
  if (copied < nSize) {
    lpFilename[copied] = 0;
    return copied;
  }
  return Fail<DWORD>(ERROR_INSUFFICIENT_BUFFER, nSize);
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
  Log("GetVersionExA", {Dec(lpVersionInformation->dwOSVersionInfoSize)});
  if (lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  lpVersionInformation->dwMajorVersion = 10;  // Windows 10, as Wine reports by default
  lpVersionInformation->dwMinorVersion = 0;
  lpVersionInformation->dwBuildNumber = 19045;
  lpVersionInformation->dwPlatformId = 2;
  lpVersionInformation->szCSDVersion[0] = '\0';
  return TRUE;
}

void WINAPI Sleep(DWORD dwMilliseconds) {
  Log("Sleep", {Dec(dwMilliseconds)});
  OnIdle(dwMilliseconds);
  Advance(dwMilliseconds);
}

DWORD WINAPI GetTickCount() {
  return Now();
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved) {
  Log("CoInitialize", {Ptr(pvReserved)});
  return K().comInitialize++ == K().comUninitialize ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize() {
  Log("CoUninitialize", {});
  ++K().comUninitialize;
}
