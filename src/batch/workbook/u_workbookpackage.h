// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The finished workbook file as the workbook library left it: checked that
// every part is whole, and the library's own English messages kept off the
// user's terminal.
#pragma once

#include <locale.h>
#include <signal.h>

#include <mutex>
#include <string>

namespace zevra {

// The workbook library does not notice when a write to its own temporary
// files fails (a full disk, a file size limit): a part of the package is then
// cut short and the workbook would be saved damaged. True when every part of
// the zip package in the file unpacks whole (its size and checksum as listed)
// and each XML part ends with the end tag of its root. The file is read in
// small blocks, so a package of any size costs little memory.
bool WorkbookPackageComplete(const std::string& path);

// The finished file at `path` saved as every output is (a link followed, the
// old file's permissions kept, a device written in place, the file synced
// before it replaces the old one), copied in blocks. Throws EZevraError
// naming `target`.
void SaveWorkbookFile(const std::string& path, const std::string& target);

// While it exists, what the process writes to its standard error goes
// nowhere: the workbook library prints its failures there in English, and
// each failure reaches the user as a Czech message instead. One at a time
// process-wide; standard error is back when the object goes.
class TQuietStandardError {
public:
    TQuietStandardError();
    ~TQuietStandardError();
    TQuietStandardError(const TQuietStandardError&) = delete;
    TQuietStandardError& operator=(const TQuietStandardError&) = delete;

private:
    std::unique_lock<std::mutex> FLock;
    int FSaved = -1;
};

// While it exists, the signals that end a process wait for the calling
// thread. The workbook library makes its temporary files in $TMPDIR under a
// name that it removes at once; a signal in that moment would leave the file
// behind, so the library's calls that make them (adding a sheet, closing the
// workbook) are not interrupted. A signal that comes meanwhile acts when the
// call returns, and the save's own temporary file goes as always.
class TDeferredSignals {
public:
    TDeferredSignals();
    ~TDeferredSignals();
    TDeferredSignals(const TDeferredSignals&) = delete;
    TDeferredSignals& operator=(const TDeferredSignals&) = delete;

private:
    sigset_t FPrevious;
};

// While it exists, the calling thread formats numbers in the C locale. The
// workbook library prints its numbers (values, column widths, row heights)
// with printf, which takes the decimal separator of the locale: under a
// Czech or German locale, as the windows and zevra-cli set it from the
// environment, "523,25" would make a damaged workbook. Other threads keep
// their locale.
class TCNumbers {
public:
    TCNumbers();
    ~TCNumbers();
    TCNumbers(const TCNumbers&) = delete;
    TCNumbers& operator=(const TCNumbers&) = delete;

private:
    locale_t FC;
    locale_t FPrevious = nullptr;
};

}  // namespace zevra
