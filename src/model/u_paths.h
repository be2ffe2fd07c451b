// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zevra {

// The folder of the running executable.
std::string ExecutableDir();

// True when the folder holds all five reference data files.
bool HoldsReferenceData(const std::string& dir);

// The names of the five reference data files ("DecilDists.txt", ...) that
// the folder lacks, in the order the model reads them.
std::vector<std::string> MissingReferenceFiles(const std::string& dir);

// True when the folder's reference data files are the shipped demonstration data (their first line says so).
// Any one such file is enough: results computed partly from demonstration data
// are no more official than those computed wholly from them.
bool IsDemonstrationData(const std::string& dir);
// Whether the start of a reference file (its raw bytes) says it is
// demonstration data, a UTF-8 byte order mark allowed before the line.
bool IsDemonstrationHead(std::string_view head);

// The line that tells a user which reference data are in use:
// "Referenční data: <dir>", followed by " (demonstrační data, nejde
// o oficiální údaje)" when IsDemonstrationData(dir).
std::string DataFolderText(const std::string& dir);

// The user's own reference data folder: $XDG_DATA_HOME/zevra/data, or
// ~/.local/share/zevra/data when XDG_DATA_HOME is unset or not absolute.
// Empty when neither variable gives a home.
std::string UserDataDir();

// The reference data folder to use when the command line names none:
//  1. the user's folder (UserDataDir) when it holds all five files, so an
//     office can install real data without root; when it holds some of them
//     but not all, throws EZevraError naming the missing ones (falling back
//     to the shipped demonstration data would pass them off as the office's);
//  2. "data" beside the executable (the build tree);
//  3. the installed share folder, found relative to the executable (the
//     install layout's data folder, so the installation is relocatable).
// Returns the first that applies, or the installed folder when none does (its
// files are then reported missing by the reader).
std::string LocateDataDir();

}  // namespace zevra
