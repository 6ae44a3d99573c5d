// The stand-in's kernel side: file system and current directory, processes, last error
// and error mode, TLS, global memory, start-up facts, process exit and COM.
#include <array>
#include <atomic>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "platform.h"
#include "standin.h"
#include "standin_internal.h"

namespace standin {
namespace detail {
namespace {

constexpr size_t kTlsSlots = 64;
constexpr uintptr_t kInstance = 0x00400000;

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
  std::vector<char> commandLineBuffer;
  int comInitialize = 0;
  int comUninitialize = 0;
  std::jmp_buf* exitJump = nullptr;
  UINT exitCode = 0;
};

KernelState& K() {
  static KernelState state;
  return state;
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

std::string FirstToken(const char* commandLine) {
  std::string line = commandLine;
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

std::string StartupText(const STARTUPINFOA* startup) {
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
  std::string size = startup->cb == sizeof(STARTUPINFOA) ? "sizeof" : Dec(startup->cb);
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

using detail::Dec;
using detail::Hex;
using detail::K;
using detail::Log;
using detail::Ptr;
using detail::Str;

void AddDrive(char letter) {
  std::string root(1, static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  root += ":\\";
  detail::Node node;
  node.folder = true;
  node.path = root;
  K().nodes.emplace(detail::UpperCase(root), node);
}

void AddFolder(const std::string& path, FolderScript script) {
  detail::Node node;
  node.folder = true;
  node.folderScript = script;
  detail::AddNode(path, std::move(node));
}

void AddProgram(const std::string& path, ProgramScript script) {
  detail::Node node;
  node.programScript = std::move(script);
  detail::AddNode(path, std::move(node));
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

const std::vector<Launch>& Launches() {
  return K().launches;
}

bool HasEnded(DWORD processId) {
  for (const Launch& launch : K().launches) {
    if (launch.processId == processId) {
      return detail::Ended(launch);
    }
  }
  return false;
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
using standin::detail::Dec;
using standin::detail::FindNode;
using standin::detail::FullPath;
using standin::detail::Hex;
using standin::detail::K;
using standin::detail::Log;
using standin::detail::Ptr;
using standin::detail::Str;

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  Log("GetCurrentDirectoryA", {Dec(nBufferLength), lpBuffer == nullptr ? "NULL" : "buffer"});
  const std::string& current = K().currentDirectory;
  auto needed = static_cast<DWORD>(current.size() + 1);
  if (lpBuffer == nullptr || nBufferLength < needed) {
    return needed;  // too small: nothing is written
  }
  std::memcpy(lpBuffer, current.c_str(), needed);
  return needed - 1;
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
  Log("SetCurrentDirectoryA", {Str(lpPathName)});
  if (lpPathName == nullptr) {
    K().lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  std::string full = FullPath(lpPathName);
  if (full.empty()) {
    K().lastError = ERROR_INVALID_NAME;
    return FALSE;
  }
  if (full.size() > MAX_PATH - 3) {
    K().lastError = ERROR_FILENAME_EXCED_RANGE;
    return FALSE;
  }
  const standin::detail::Node* node = FindNode(full);
  if (node == nullptr) {
    bool driveMissing = FindNode(full.substr(0, 3)) == nullptr;
    bool parentMissing = FindNode(standin::detail::ParentOf(full)) == nullptr;
    K().lastError = driveMissing || parentMissing ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    return FALSE;
  }
  if (!node->folder) {
    K().lastError = ERROR_DIRECTORY;
    return FALSE;
  }
  if (node->folderScript.refuseSilently) {
    return FALSE;
  }
  if (node->folderScript.refuseWith != 0) {
    K().lastError = node->folderScript.refuseWith;
    return FALSE;
  }
  K().currentDirectory = full;
  if (node->folderScript.leaveLastError != 0) {
    K().lastError = node->folderScript.leaveLastError;
  }
  return TRUE;
}

BOOL WINAPI CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine,
                           LPSECURITY_ATTRIBUTES lpProcessAttributes,
                           LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                           DWORD dwCreationFlags, LPVOID lpEnvironment, LPCSTR lpCurrentDirectory,
                           LPSTARTUPINFOA lpStartupInfo,
                           LPPROCESS_INFORMATION lpProcessInformation) {
  std::string threadAttributes =
      lpThreadAttributes != nullptr && lpThreadAttributes == lpProcessAttributes
          ? "same"
          : standin::detail::SecurityText(lpThreadAttributes);
  Log("CreateProcessA", {Str(lpApplicationName), Str(lpCommandLine),
                         standin::detail::SecurityText(lpProcessAttributes), threadAttributes,
                         Dec(bInheritHandles), Hex(dwCreationFlags), Ptr(lpEnvironment),
                         Str(lpCurrentDirectory), standin::detail::StartupText(lpStartupInfo)});
  if (lpApplicationName != nullptr || lpCommandLine == nullptr || lpStartupInfo == nullptr ||
      lpProcessInformation == nullptr) {
    standin::detail::Fatal("CreateProcessA is used here only with a command line");
  }
  DWORD error = 0;
  const standin::detail::Node* node =
      standin::detail::FindProgram(standin::detail::FirstToken(lpCommandLine), &error);
  if (node != nullptr && node->programScript.failSilently) {
    return FALSE;
  }
  if (node != nullptr && node->programScript.failWith != 0) {
    error = node->programScript.failWith;
  }
  if (error != 0) {
    K().lastError = error;
    return FALSE;
  }
  const standin::ProgramScript& script = node->programScript;
  Launch launch;
  launch.processId = K().nextProcessId;
  K().nextProcessId += 4;
  launch.image = node->path;
  launch.commandLine = lpCommandLine;
  launch.directory =
      lpCurrentDirectory != nullptr ? FullPath(lpCurrentDirectory) : K().currentDirectory;
  launch.showWindow = lpStartupInfo->wShowWindow;
  launch.startupFlags = lpStartupInfo->dwFlags;
  launch.creationFlags = dwCreationFlags;
  launch.errorMode = (dwCreationFlags & CREATE_DEFAULT_ERROR_MODE) != 0 ? 0 : K().errorMode;
  launch.startedAt = standin::detail::Now();
  if (script.runsFor.has_value()) {
    launch.endsAt = launch.startedAt + *script.runsFor;
  }
  K().launches.push_back(launch);
  size_t index = K().launches.size() - 1;
  lpProcessInformation->hProcess = standin::detail::NewHandle(true, index);
  lpProcessInformation->hThread = standin::detail::NewHandle(false, index);
  lpProcessInformation->dwProcessId = launch.processId;
  lpProcessInformation->dwThreadId = launch.processId + 1;
  if (script.leaveLastError != 0) {
    K().lastError = script.leaveLastError;
  }
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
  Log("CloseHandle", {standin::detail::HandleName(hObject)});
  if (K().handles.erase(reinterpret_cast<uintptr_t>(hObject)) == 0) {
    K().lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  return TRUE;
}

void WINAPI ExitProcess(UINT uExitCode) {
  Log("ExitProcess", {Dec(uExitCode)});
  if (K().exitJump == nullptr) {
    standin::detail::Fatal("ExitProcess outside standin::RunProcess");
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
  K().lastError = ERROR_NO_MORE_ITEMS;
  return TLS_OUT_OF_INDEXES;
}

namespace {
// A slot that TlsAlloc gave out; another sets ERROR_INVALID_PARAMETER.
bool ValidSlot(DWORD index) {
  if (index < K().tlsUsed.size() && K().tlsUsed[index]) {
    return true;
  }
  K().lastError = ERROR_INVALID_PARAMETER;
  return false;
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
    standin::detail::Fatal("GlobalAlloc is used here only for fixed memory");
  }
  ++K().globalAllocCalls;
  if (K().failGlobalAllocFrom != 0 && K().globalAllocCalls >= K().failGlobalAllocFrom) {
    K().lastError = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  void* block =
      (uFlags & GMEM_ZEROINIT) != 0 ? std::calloc(1, dwBytes + 1) : std::malloc(dwBytes + 1);
  K().globals[block] = dwBytes;
  return block;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  Log("GlobalFree", {"block"});
  if (K().globals.erase(hMem) == 0) {
    K().lastError = ERROR_INVALID_HANDLE;
    return hMem;
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
  K().commandLineBuffer.assign(K().commandLine.begin(), K().commandLine.end());
  K().commandLineBuffer.push_back('\0');
  return K().commandLineBuffer.data();
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  Log("GetModuleHandleA", {Str(lpModuleName)});
  if (lpModuleName != nullptr) {
    K().lastError = ERROR_MOD_NOT_FOUND;
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(standin::detail::kInstance);
}

// As Wine: a name that does not fit is cut to the buffer's size without a NUL, the result
// is the buffer's size and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  Log("GetModuleFileNameA", {Ptr(hModule), lpFilename == nullptr ? "NULL" : "buffer", Dec(nSize)});
  const std::string& path = K().launcherPath;
  bool program =
      hModule == nullptr || hModule == reinterpret_cast<HMODULE>(standin::detail::kInstance);
  if (!program || path.empty()) {
    K().lastError = ERROR_MOD_NOT_FOUND;
    return 0;
  }
  if (lpFilename == nullptr) {
    K().lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  auto length = static_cast<DWORD>(path.size());
  DWORD copied = length < nSize ? length : nSize;
  std::memcpy(lpFilename, path.data(), copied);
  if (copied < nSize) {
    lpFilename[copied] = '\0';
    return copied;
  }
  K().lastError = ERROR_INSUFFICIENT_BUFFER;
  return nSize;
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
  Log("GetVersionExA", {Dec(lpVersionInformation->dwOSVersionInfoSize)});
  if (lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    K().lastError = ERROR_INSUFFICIENT_BUFFER;
    return FALSE;
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
  standin::detail::OnIdle(dwMilliseconds);
  standin::detail::Advance(dwMilliseconds);
}

DWORD WINAPI GetTickCount() {
  return standin::detail::Now();
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved) {
  Log("CoInitialize", {Ptr(pvReserved)});
  return K().comInitialize++ == K().comUninitialize ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize() {
  Log("CoUninitialize", {});
  ++K().comUninitialize;
}
