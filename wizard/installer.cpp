#include "wizard/installer.h"

#include "runtime/error_state.h"
#include "runtime/process.h"
#include "wizard/entry.h"

namespace {

// The start directory, a backslash and the step's folder, with no separator removed: a
// drive root such as E:\ gives E:\\DirectX9, which the platform accepts.
void InstallerFolder(int step, WideFixedText<kInstallerPathSize>* folder) {
  folder->Store(StartDirectory.Read());
  folder->Append("\\");
  folder->Append(kInstallers[step - 1].folder);
}

}  // namespace

void InstallerPath(int step, WideFixedText<kInstallerPathSize>* path) {
  InstallerFolder(step, path);
  path->Append("\\");
  path->Append(kInstallers[step - 1].program);
}

void RunInstaller(int step) {
  if (StartDirectory.chars[0] == 0) {
    // Where the medium is could not be found: the installer is looked for nowhere else,
    // and the step records what the platform says of a path that names no place.
    RaiseError(TranslateOsError(ERROR_BAD_PATHNAME));
    return;
  }
  WideFixedText<kInstallerPathSize> folder;
  InstallerFolder(step, &folder);
  SetCurrentDirectoryW(folder.CString());

  // The program goes by its full path, in quotes: a bare name would let the platform's
  // search order pick a same-named program from the launcher's own folder, the system
  // folders or PATH first.
  WideFixedText<kInstallerPathSize> path;
  InstallerPath(step, &path);
  WideText program = path.Read();
  if (program.length + 2 > kCommandLimit) {
    // Cut to fit, the command would name some other file; start nothing, and record what
    // the platform says of a path too long.
    RaiseError(TranslateOsError(ERROR_FILENAME_EXCED_RANGE));
  } else {
    WideFixedText<kCommandLimit + 1> command;
    command.Store(TextOf("\""));
    command.Append(program);
    command.Append("\"");
    RunProgram(command.Read(), SW_SHOWNORMAL, true);
  }

  SetCurrentDirectoryW(StartDirectory.CString());
}
