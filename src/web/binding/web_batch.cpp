// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch: a file loaded and checked as the batch window does, its rows
// for the check table, the run, and the outputs of the core's formats.
#include "web_calls.h"
#include "web_json.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/core/u_batchjson.h"
#include "batch/core/u_batchmessages.h"
#include "batch/core/u_exception_functions.h"
#include "model/u_object.h"
#include "model/u_text.h"

namespace zevra::web {

namespace {

// The formats the page offers. The workbook is not among them: its writer
// needs libraries that are not built for WebAssembly.
const TOutputFormats& Formats() {
    static const TOutputFormats formats = [] {
        TOutputFormats f;
        f.Register(HtmlOutputFormat());
        f.Register(JsonOutputFormat());
        return f;
    }();
    return formats;
}

// The columns of the check table: those the batch window shows.
Json ColumnsJson() {
    Json columns = Json::array();
    for (const TInputColumn& c : kInputColumns)
        if (c.GridTitle != nullptr) columns.push_back({{"klic", c.Name}, {"titulek", c.GridTitle}});
    return columns;
}

// A JSON string of a text from the core, as SanitizeUtf8 would leave it
// (a byte that starts no valid UTF-8 sequence becomes U+FFFD), in one pass
// and without a copy: the rows of a large file hold hundreds of thousands
// of values. The runs that need no escape are appended whole.
void AppendString(std::string& out, std::string_view text) {
    out += '"';
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            ++i;
            continue;
        }
        out.append(text.substr(run, i - run));
        if (c >= 0x80) {
            char32_t cp = 0;
            const std::size_t len = DecodeUtf8At(text, i, cp);
            if (len == 0) {
                out += "\xEF\xBF\xBD";  // U+FFFD
                ++i;
            } else {
                out.append(text.substr(i, len));
                i += len;
            }
        } else {
            switch (c) {
                case '"': out += "\\\""; break;
                case '\\': out += "\\\\"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                case '\t': out += "\\t"; break;
                default: {
                    static const char hex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[(c >> 4) & 0xF];
                    out += hex[c & 0xF];
                }
            }
            ++i;
        }
        run = i;
    }
    out.append(text.substr(run));
    out += '"';
}

// One row of the check table, written by hand: a file of 100,000 rows with
// warnings gives tens of thousands of them.
void AppendRow(std::string& out, const TZevraBatch& batch, std::size_t row) {
    const TMemTable& t = batch.InputData();
    out += "{\"radek\":" + std::to_string(row) + ",\"hodnoty\":[";
    bool first = true;
    for (const TInputColumn& c : kInputColumns) {
        if (c.GridTitle == nullptr) continue;
        if (!first) out += ',';
        first = false;
        AppendString(out, t.AsText(row, c.Field));
    }
    const int mark = t.GetInt(row, ifERROR);
    out += mark < 0 ? "],\"stav\":\"chyba\",\"zpravy\":[" : mark > 0 ? "],\"stav\":\"varovani\",\"zpravy\":[" : "],\"stav\":\"ok\",\"zpravy\":[";
    first = true;
    for (const std::string& line : batch.ProblemLines(row)) {
        if (!first) out += ',';
        first = false;
        AppendString(out, line);
    }
    out += "]}";
}

// The answer's text with "radky" added at its end.
std::string WithRows(const Json& answer, const std::string& rows) {
    std::string text = Text(answer);
    text.pop_back();  // the closing brace
    return text + (text.size() > 1 ? "," : "") + "\"radky\":[" + rows + "]}";
}

TBatchProgress Progress(const TProgressCallback& progress) {
    if (!progress) return {};
    return [progress](std::size_t done, std::size_t total) { progress(done, total); };
}

}  // namespace

std::string BatchLoad(const std::string& path, const TProgressCallback& progress) {
    try {
        DropBatch();
        TZevraBatch& batch = Batch();
        Json problems = Json::array();
        try {
            batch.LoadInputFile(path, Progress(progress));
        } catch (const ECompositeException& e) {
            // The rows of the other lines are loaded all the same.
            for (const std::string& line : FormatProblems(e)) problems.push_back(line);
        }
        batch.ValidateInputRows(Progress(progress));
        std::string rows;
        const TMemTable& t = batch.InputData();
        for (std::size_t row = 0; row < t.RowCount(); ++row) {
            if (t.GetInt(row, ifERROR) == 0) continue;
            if (!rows.empty()) rows += ',';
            AppendRow(rows, batch, row);
        }
        return WithRows({{"ok", true},
                         {"zprava", ""},
                         {"problemy", problems},
                         {"souhrn", batch.ErrorCountText()},
                         {"radku", t.RowCount()},
                         {"chyb", batch.ErrorRowCount()},
                         {"varovani", batch.WarningRowCount()},
                         {"platne", batch.InputValid()},
                         {"sloupce", ColumnsJson()}},
                        rows);
    } catch (const std::exception& e) {
        return Failure(e.what());
    }
}

std::string BatchRows(double start, double count) {
    try {
        TZevraBatch& batch = Batch();
        const std::size_t total = batch.InputData().RowCount();
        const std::size_t first = start > 0 ? static_cast<std::size_t>(start) : 0;
        const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
        std::string rows;
        for (std::size_t row = first; row < total && row - first < wanted; ++row) {
            if (!rows.empty()) rows += ',';
            AppendRow(rows, batch, row);
        }
        return WithRows(Json::object(), rows);
    } catch (const std::exception& e) {
        return Failure(e.what());
    }
}

std::string BatchRun(const TProgressCallback& progress) {
    return Answer([&] {
        TZevraBatch& batch = Batch();
        if (!batch.InputValid()) throw EZevraError(kInputHasErrorsMessage);
        batch.RunModelOnRows(Progress(progress));
        return Json{{"ok", true}, {"zprava", ""}, {"radku", batch.OutputData().RowCount()}};
    });
}

std::string BatchWrite(const std::string& format, const std::string& path, const TProgressCallback& progress) {
    return Answer([&] {
        for (const TOutputFormat& f : Formats().All()) {
            if (f.Name != format) continue;
            f.Write(Batch(), path, Progress(progress));
            return Json{{"ok", true}, {"zprava", ""}};
        }
        throw EZevraError("Neznámý výstupní formát '" + format + "'.");
    });
}

std::string OutputFormats() {
    Json list = Json::array();
    for (const TOutputFormat& f : Formats().All())
        list.push_back({{"nazev", f.Name}, {"pripony", f.Extensions}, {"filtr", f.FilterTitle}});
    return Text(list);
}

}  // namespace zevra::web
