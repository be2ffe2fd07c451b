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

Json RowJson(const TZevraBatch& batch, std::size_t row) {
    const TMemTable& t = batch.InputData();
    Json values = Json::array();
    for (const TInputColumn& c : kInputColumns)
        if (c.GridTitle != nullptr) values.push_back(t.AsText(row, c.Field));
    const int mark = t.GetInt(row, ifERROR);
    return {{"radek", row},
            {"hodnoty", values},
            {"stav", mark < 0 ? "chyba" : mark > 0 ? "varovani" : "ok"},
            {"zpravy", batch.ProblemLines(row)}};
}

TBatchProgress Progress(const TProgressCallback& progress) {
    if (!progress) return {};
    return [progress](std::size_t done, std::size_t total) { progress(done, total); };
}

}  // namespace

std::string BatchLoad(const std::string& path, const TProgressCallback& progress) {
    return Answer([&] {
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
        Json rows = Json::array();
        const TMemTable& t = batch.InputData();
        for (std::size_t row = 0; row < t.RowCount(); ++row)
            if (t.GetInt(row, ifERROR) != 0) rows.push_back(RowJson(batch, row));
        return Json{{"ok", true},
                    {"zprava", ""},
                    {"problemy", problems},
                    {"souhrn", batch.ErrorCountText()},
                    {"radku", t.RowCount()},
                    {"chyb", batch.ErrorRowCount()},
                    {"varovani", batch.WarningRowCount()},
                    {"platne", batch.InputValid()},
                    {"sloupce", ColumnsJson()},
                    {"radky", rows}};
    });
}

std::string BatchRows(double start, double count) {
    return Answer([&] {
        TZevraBatch& batch = Batch();
        const std::size_t total = batch.InputData().RowCount();
        Json rows = Json::array();
        const std::size_t first = start > 0 ? static_cast<std::size_t>(start) : 0;
        const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
        for (std::size_t row = first; row < total && row - first < wanted; ++row) rows.push_back(RowJson(batch, row));
        return Json{{"radky", rows}};
    });
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
