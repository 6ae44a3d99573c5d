// ChangeDirectory with any path bytes, NULs inside included: the platform gets at most
// the first 255 bytes, cut at the first NUL; a wildcard in those 255 bytes means no
// platform call and the number 76; otherwise the outcome is the platform's own for that
// path (asked directly on the same machine), and the number recorded is
// the translation of the platform's code, with 76 for 53.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "error_numbers.h"
#include "fuzz_support.h"
#include "runtime/directory.h"
#include "runtime/error_state.h"
#include "runtime/thread_record.h"
#include "standin.h"

namespace {

constexpr size_t kPathBytes = 255;
const char kStart[] = "C:\\Media\\DirectX9";

standin::FolderScript Refusing(DWORD code) {
  standin::FolderScript script;
  script.refuseWith = code;
  return script;
}

// A medium with the installer folders, next to folders that refuse in every way the
// platform can: with a code (of either range), silently, or by leaving a code behind.
void LayOutMachine() {
  standin::Reset();
  standin::AddDrive('D');
  standin::AddFolder("C:\\Media\\DirectX9");
  standin::AddFolder("C:\\Media\\Quillmark Install");
  standin::AddFolder("C:\\Media\\Video Driver");
  standin::AddProgram(R"(C:\Media\DirectX9\DXSETUP.exe)");
  standin::AddFolder("C:\\Locked", Refusing(ERROR_ACCESS_DENIED));
  standin::AddFolder("C:\\NoMedium", Refusing(ERROR_NOT_READY));
  standin::AddFolder("C:\\Odd", Refusing(ERROR_INVALID_DRIVE));
  standin::AddFolder("C:\\Param", Refusing(ERROR_INVALID_PARAMETER));
  standin::AddFolder("C:\\Full", Refusing(112));
  standin::AddFolder("C:\\Far", Refusing(0x80070005));
  standin::FolderScript noisy;
  noisy.leaveLastError = 183;
  standin::AddFolder("C:\\Noisy", noisy);
  standin::FolderScript mute;
  mute.refuseSilently = true;
  standin::AddFolder("C:\\Mute", mute);
  standin::SetCurrentDirectory(kStart);
}

// Laying out a machine costs far more than the call under test, so one machine serves a
// run of inputs. Between inputs only the current directory may have moved, and it is put
// back; the call log is emptied.
constexpr unsigned kInputsPerMachine = 500;

void PrepareMachine() {
  static unsigned inputs = 0;
  if (inputs++ % kInputsPerMachine == 0) {
    LayOutMachine();
  }
  standin::SetCurrentDirectory(kStart);
  standin::ClearCalls();
}

struct PlatformOutcome {
  std::string directory;
  DWORD code;
};

// What the platform itself does with the path; the current directory is put back.
PlatformOutcome AskPlatform(const std::string& path) {
  standin::SetLastErrorDirect(0);
  SetCurrentDirectoryA(path.c_str());
  PlatformOutcome outcome{standin::CurrentDirectory(), standin::LastError()};
  standin::SetCurrentDirectory(kStart);
  standin::ClearCalls();
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bool wildcard = false;
  for (size_t i = 0; i < size && i < kPathBytes; ++i) {
    wildcard = wildcard || data[i] == '*' || data[i] == '?';
  }
  std::string expectedPath = fuzz::CStringPrefix(data, size, kPathBytes);
  PrepareMachine();
  PlatformOutcome reference{kStart, 0};
  if (!wildcard) {
    reference = AskPlatform(expectedPath);
  }

  FUZZ_CHECK(OpenThreadSlot(), "no thread slot");
  standin::ClearCalls();
  DWORD number = 0;
  {
    ErrorScope scope;
    ChangeDirectory(Text{reinterpret_cast<const char*>(data), static_cast<DWORD>(size)});
    number = ErrorNumber();
  }
  std::vector<std::string> calls = standin::CallsTo({"SetCurrentDirectoryA"});
  std::string directory = standin::CurrentDirectory();
  UINT errorMode = standin::ErrorMode();
  CloseThreadSlot();
  FUZZ_CHECK(standin::LiveObjects().empty(), "%zu objects left", standin::LiveObjects().size());

  std::string path = fuzz::LoggedText(expectedPath);
  FUZZ_CHECK(errorMode == 0, "error mode 0x%X left behind", errorMode);
  if (wildcard) {
    FUZZ_CHECK(calls.empty(), "a path with a wildcard went to the platform: %s", calls[0].c_str());
    FUZZ_CHECK(number == kErrorPathNotFound, "a path with a wildcard recorded %u", number);
  } else {
    std::vector<std::string> expectedCalls = {"SetCurrentDirectoryA(" + path + ")"};
    FUZZ_CHECK(calls == expectedCalls, "%zu calls, the first %s; expected %s", calls.size(),
               calls.empty() ? "-" : calls[0].c_str(), expectedCalls[0].c_str());
    uint32_t translated = error_numbers::Expected(reference.code);
    uint32_t expected = translated == kErrorFileNotFound ? kErrorPathNotFound : translated;
    FUZZ_CHECK(number == expected, "path %s: code %u recorded %u, expected %u", path.c_str(),
               reference.code, number, expected);
    FUZZ_CHECK(error_numbers::IsKnown(number) && number != kErrorFileNotFound,
               "path %s recorded %u", path.c_str(), number);
  }
  FUZZ_CHECK(directory == reference.directory, "path %s: now in %s, expected %s", path.c_str(),
             directory.c_str(), reference.directory.c_str());
  return 0;
}
