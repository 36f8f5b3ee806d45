// Where the program finds its shipped files and keeps the user's own.
//
// Run from its build folder or from a portable copy, the program keeps
// everything beside itself: vorel.dat, vorel.hlp and vorel.ini. Installed
// (bin/ with the data folder share/vorel/ next to it), its folders are the
// system's: the shipped files are read from the data folder, the settings
// file and the user's copy of vorel.dat live in the per-user folder
// $XDG_CONFIG_HOME/vorel (default ~/.config/vorel), and nothing is ever
// written into the install folders. A program folder that cannot be written
// is treated like an installed one.
#pragma once

#include <string>
#include <string_view>

namespace vorel::platform {

// The installed data folder (share/vorel), found from the program's folder.
std::string InstalledDataFolder();

// True when the program runs from an installed layout: no vorel.dat beside
// the program, and the installed data folder exists.
bool IsInstalledProgram();

// $XDG_CONFIG_HOME/vorel or ~/.config/vorel.
std::string UserSettingsFolder();

// The folder of vorel.ini and of the editable vorel.dat: the program's folder
// when it is a writable, not installed one; otherwise the per-user folder
// (not created here: see MakeSettingsFolder).
std::string SettingsFolder();
// Creates the settings folder where it is missing; called before writing into it.
void MakeSettingsFolder();

// Where the user's own files (the log, its FTP download) go by default: the
// program's folder, or the home folder when the settings live per user.
std::string DocumentFolder();

// A file shipped with the program (vorel.dat, vorel.hlp): beside the program
// when it is there, otherwise in the installed data folder. When neither
// holds it, the path beside the program, so that messages name that place.
std::string ShippedFilePath(std::string_view name);

// The classification file to load: the copy in the settings folder when it
// exists, otherwise the shipped one.
std::string ClassificationFileToLoad();

// The classification file that the list window's edit command opens: the
// copy in the settings folder. When it is missing and a shipped file exists
// elsewhere, the copy is made from it first. A failure is reported through
// the prompter ("エラー") and gives an empty text.
std::string EditableClassificationFile();

}  // namespace vorel::platform
