// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the files that the program names itself live: the settings file, the
// tools' work files, the edit logs and the help file.
//
// A copy run from where it was built (or copied to) keeps them in the directory
// of its executable, as long as the program may write there. An installed copy
// (PREFIX/bin beside PREFIX/share/tovix) and a copy that may not write beside
// itself use the user's data directory instead ($XDG_DATA_HOME/tovix, by
// default ~/.local/share/tovix): a prefix's bin holds programs, not settings.
// The choice is made once per process.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tovix {

// The file name of the viewer program; the names of the settings file and the
// entry editing work files are built from it, whichever executable runs.
inline constexpr std::string_view kProgramName = "tovix";

// The directory of the running executable; empty when it cannot be told.
std::filesystem::path ExecutableDir();

// The program directory, decided on the first call and cached.
std::filesystem::path ProgramDir();

// Directs ProgramDir to `dir` from now on (tests and the tool job use it to
// keep their files in a directory of their own).
void SetProgramDir(const std::filesystem::path& dir);

// `executableDir` when it is not an installed copy's and a file can be created
// there, else `userDir`, created when missing.
std::filesystem::path ChooseProgramDir(const std::filesystem::path& executableDir,
                                       const std::filesystem::path& userDir);

// Whether `executableDir` is the bin folder of an installation: PREFIX/bin
// with the program's shared files in PREFIX/share/tovix, and not a build tree
// (which has the same layout beside its CMakeCache.txt).
bool IsInstalledCopy(const std::filesystem::path& executableDir);

// PREFIX/share/tovix of an installed copy (or of a build tree): the manual and
// the default dictionaries.
std::filesystem::path SharedDataDir(const std::filesystem::path& executableDir);

// $XDG_DATA_HOME/tovix when that variable holds an absolute path, else
// $HOME/.local/share/tovix (the home directory from the user database when HOME
// is unset).
std::filesystem::path UserDataDir();

// Whether a file can be created in `dir`, found out by creating and removing
// one: permission bits alone do not tell (root, read-only mounts, ACLs).
bool IsWritableDir(const std::filesystem::path& dir);

// `executableName` with its extension replaced by `extension`, or with
// `extension` appended when it has none: ("X.EXE", ".INI") -> "X.INI",
// ("tovix", ".INI") -> "tovix.INI".
std::filesystem::path NameWithExtension(const std::filesystem::path& executableName,
                                        std::string_view extension);

// ProgramDir() / "tovix" + `extension`, e.g. the settings file for ".INI".
std::filesystem::path ProgramFile(std::string_view extension);

// The settings file, "tovix.INI" in the program directory.
std::filesystem::path SettingsFilePath();

// The help: a help file of the user's own, "TOVIX.HLP", beside the program
// (or in the per-user program directory) comes first; then the manual that
// is installed with the program (or copied into the build tree) under
// ../share/tovix/help/ from the executable.
inline constexpr std::string_view kHelpFileName = "TOVIX.HLP";
std::vector<std::filesystem::path> HelpFileCandidates(const std::filesystem::path& executableDir,
                                                      const std::filesystem::path& programDir);
// The first candidate that is a file; nothing when there is none.
std::optional<std::filesystem::path> FindHelpFile(
    const std::vector<std::filesystem::path>& candidates);

}  // namespace tovix
