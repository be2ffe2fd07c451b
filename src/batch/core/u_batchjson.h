// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch output table as one JSON document (UTF-8), for scripts: written
// row by row as it is produced, so that a table of any size needs no more
// memory than the HTML table. Its keys and their types are those of the
// evaluation JSON of zevra-cli; both are described in docs/json.md.
#pragma once

#include "batch/core/u_batchformats.h"

#include <iosfwd>
#include <string>

namespace zevra {

// The shape of the JSON documents (batch and one municipality), under the
// key "verzeFormatu". Raised when a key changes its type or meaning.
inline constexpr int kJsonFormatVersion = 2;
inline constexpr const char* kJsonFormatVersionKey = "verzeFormatu";

// Writes the document to `out` (progress: rows written). A stream that fails
// throws EZevraError with kCannotWriteMessage.
void WriteBatchJson(const TZevraBatch& batch, std::ostream& out, const TBatchProgress& progress = {});
// The whole document at once (tests; small tables).
std::string BatchJsonText(const TZevraBatch& batch);

// The folder of the reference data as the documents name it: absolute, and
// U+FFFD for each byte of the name that is not UTF-8.
std::string ReferenceFolderText(const std::string& dataDir);

// The batch JSON as an output format, "json" (".json"): written to the file
// as it is produced through TSafeFileWriter.
TOutputFormat JsonOutputFormat();

}  // namespace zevra
