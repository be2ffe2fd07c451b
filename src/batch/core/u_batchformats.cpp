// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_batchformats.h"

#include "batch/core/u_batchmessages.h"
#include "model/u_object.h"
#include "model/u_text.h"

#include <ostream>
#include <utility>

namespace zevra {

std::string TOutputFormat::FilterPatterns() const {
    std::string patterns;
    for (const std::string& extension : Extensions) {
        if (!patterns.empty()) patterns += ' ';
        patterns += '*' + extension;
    }
    return patterns;
}

void TOutputFormats::Register(TOutputFormat format) { FFormats.push_back(std::move(format)); }

const TOutputFormat& TOutputFormats::ForFile(std::string_view fileName) const {
    if (FFormats.empty()) throw EZevraError("Není k dispozici žádný výstupní formát!");
    const std::string name = AsciiLower(fileName);
    for (const TOutputFormat& format : FFormats) {
        for (const std::string& extension : format.Extensions)
            if (name.ends_with(extension)) return format;
    }
    return FFormats.front();
}

TOutputFormat HtmlOutputFormat() {
    return {"html", {".html"}, "Soubory HTML",
            [](const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress) {
                batch.WriteHtmlOutput(fileName, progress);
            }};
}

void WriteToStream(std::ostream& out, const std::function<void(const TByteSink&)>& write) {
    write([&out](std::string_view bytes) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw EZevraError(kCannotWriteMessage);
    });
    out.flush();
    if (!out) throw EZevraError(kCannotWriteMessage);
}

}  // namespace zevra
