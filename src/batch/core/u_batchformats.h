// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The output formats of a batch run. A format is its name, the file name
// endings that choose it, its file-dialog filter and its writer. The batch
// core offers the HTML table; each program fills a TOutputFormats at start
// with the formats it offers (the workbook library and zevra-cli add theirs)
// and lists and chooses them through it, so that a new format is one writer
// and one registration.
#pragma once

#include "batch/core/u_batchcore.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

struct TOutputFormat {
    std::string Name;                     // "html"
    std::vector<std::string> Extensions;  // ".html": lower case, with the dot
    std::string FilterTitle;              // "Soubory HTML"
    // Writes the batch's output table to the file (progress: rows written).
    // A blank name throws "Nebyl vybrán cílový soubor!".
    std::function<void(const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress)>
        Write;

    // The file-dialog patterns of the extensions: "*.html".
    std::string FilterPatterns() const;
};

class TOutputFormats {
public:
    void Register(TOutputFormat format);
    // In the order registered; the first is the default.
    const std::vector<TOutputFormat>& All() const { return FFormats; }
    // The format whose extension ends the file name (in any letter case of
    // A to Z); the default when none does. Throws EZevraError when none is
    // registered.
    const TOutputFormat& ForFile(std::string_view fileName) const;

private:
    std::vector<TOutputFormat> FFormats;
};

// The HTML table of the batch core.
TOutputFormat HtmlOutputFormat();

// Where a writer that streams its output puts its bytes.
using TByteSink = std::function<void(std::string_view bytes)>;

// Writes what `write` gives into `out` (standard output, for one) and flushes
// it; throws EZevraError with kCannotWriteMessage as soon as the stream fails,
// so that a full disk or a closed pipe ends the work.
void WriteToStream(std::ostream& out, const std::function<void(const TByteSink&)>& write);

}  // namespace zevra
