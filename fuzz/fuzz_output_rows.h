// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// For the targets of the output writers: a batch output table filled
// straight from the input (no loading, no model run), and the text a reader
// of any output file must get back for a stored text.
#pragma once

#include "batch/core/u_batchcore.h"
#include "model/u_indicators.h"
#include "model/u_model.h"
#include "model/u_text.h"

#include "fuzz_support.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zevra::fuzz {

// The model of the shipped reference data and a batch over it, made once.
inline TZevraModel& Model() {
    static TZevraModel model(ZEVRA_FUZZ_DATA_DIR);
    return model;
}

inline TZevraBatch& Batch() {
    static TZevraBatch batch(Model());
    return batch;
}

// Rows of the output table from texts separated by byte 0x1E, taken in pairs
// as the name and the region of a row; every other cell holds a fixed
// sound value. At most `most` rows.
inline void FillOutputRows(TZevraBatch& batch, std::string_view bytes, std::size_t most) {
    TMemTable& table = batch.OutputData();
    table.Clear();
    const auto texts = SplitInput(bytes, '\x1E', 2 * most);
    for (std::size_t i = 0; i < texts.size(); i += 2) {
        const std::size_t row = table.AppendRow();
        table.SetText(row, ofOBEC, texts[i]);
        if (i + 1 < texts.size()) table.SetText(row, ofKRAJ, texts[i + 1]);
        table.SetInt(row, ofKODOBCE, 500011 + static_cast<int>(row));
        table.SetFloat(row, ofOBYVATELSTVO, 380 + 100.0 * static_cast<double>(row % 6));
        table.SetText(row, ofOBYVATELSTVO_TEXT, "<b>Obec</b> je<br/>zvýhodněná");
        for (std::size_t k = 0; k < kIndicatorCount; ++k) table.SetInt(row, ofDCK + k, static_cast<int>(1 + (row + k) % 10));
        table.SetText(row, ofVODOVOD, "&nbsp;");
    }
}

// What every output gives back for a stored text, worked out here on its
// own: a character no output can carry (a control character other than
// tab, LF and CR, U+007F to U+009F, U+FFFE, U+FFFF), and a byte that starts
// no valid UTF-8 sequence, is U+FFFD.
inline std::string ReadBackText(std::string_view stored) {
    std::string out;
    for (std::size_t pos = 0; pos < stored.size();) {
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8At(stored, pos, cp);
        const bool carried = length > 0 && (cp < 0x20 ? cp == '\t' || cp == '\n' || cp == '\r'
                                                      : !(cp >= 0x7F && cp <= 0x9F) && cp != 0xFFFE && cp != 0xFFFF);
        if (carried)
            out.append(stored.substr(pos, length));
        else
            out += "\xEF\xBF\xBD";
        pos += length == 0 ? 1 : length;
    }
    return out;
}

}  // namespace zevra::fuzz
