// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TZevraBatch: evaluation of many municipalities from one semicolon-separated
// file. It owns the input table (one row per data line, marked by validation)
// and the output table (one row per evaluated input row), borrows the model,
// and writes the results as one HTML table. The batch window and zevra-cli
// only call it.
#pragma once

#include "batch/core/u_exception_functions.h"
#include "batch/core/u_memtable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

class TZevraModel;
class TZevraInputData;

// Fields of the input table, in declaration order.
enum TInputField : std::size_t {
    ifOBEC,
    ifKODOBCE,
    ifKRAJ,
    ifKRAJ_ID,
    ifOBYVATELE,
    ifKATASTR,
    ifEAKTIVNI,
    ifNEZAMESTNANI,
    ifVYJIZDEJICI,
    ifNADMVYSKA,
    ifKRAJSKE_MESTO_MIN,
    ifOKRESNI_MESTO_KM,
    ifSILNICE_1TR_KM,
    ifVODOVOD,
    ifROLNICI_2006,
    ifPODNIKATELE_2006,
    ifDOM_ZAMESTNAVATEL,
    ifERROR,
    ifERROR_TEXT,
};

// Fields of the output table, in declaration order.
enum TOutputField : std::size_t {
    ofOBEC,
    ofKODOBCE,
    ofKRAJ,
    ofOBYVATELSTVO,
    ofOBYVATELSTVO_TEXT,
    ofDCK,
    ofDVO,
    ofVS1,
    ofNVR,
    ofVKT,
    ofVEA,
    ofRPS,
    ofVODOVOD,
};

// Number of values on a data line of the batch file.
constexpr std::size_t kBatchColumnCount = 16;

// Reports how far a long loop got: `done` of `total` items (lines or rows).
// Purely informative; the results never depend on it.
using TBatchProgress = std::function<void(std::size_t done, std::size_t total)>;

// Tells `progress`, when there is one.
inline void ReportProgress(const TBatchProgress& progress, std::size_t done, std::size_t total) {
    if (progress) progress(done, total);
}

std::vector<TFieldDef> InputTableFields();
std::vector<TFieldDef> OutputTableFields();


class TZevraBatch {
public:
    // The model is borrowed and must outlive the batch.
    explicit TZevraBatch(TZevraModel& model);
    TZevraBatch(const TZevraBatch&) = delete;
    TZevraBatch& operator=(const TZevraBatch&) = delete;

    TMemTable& InputData() { return FInputData; }
    const TMemTable& InputData() const { return FInputData; }
    TMemTable& OutputData() { return FOutputData; }
    const TMemTable& OutputData() const { return FOutputData; }
    TZevraModel& Model() const { return FModel; }

    // --- loading ------------------------------------------------------------
    // Replaces the input table by the rows of the file. A blank name throws
    // "Nebyl vybrán vstupní soubor!" and a file that cannot be read throws its
    // input/output error, both leaving the table untouched. Problems of single
    // lines are collected as "Řádek %d" entries and thrown together as one
    // ECompositeException after the last line; the rows stay in the table.
    void LoadInputFile(const std::string& fileName, const TBatchProgress& progress = {});
    // As LoadInputFile, from the raw bytes of a file (code page 1250, or UTF-8
    // with a mark or with a valid multi-byte sequence; CR LF, CR and LF end a
    // line; Ctrl-Z ends the text).
    void LoadInputBytes(std::string_view bytes, const TBatchProgress& progress = {});
    // One non-blank line to one row (a comment line, "#" in its first
    // character, makes none). The row is kept also when the line has a
    // problem, which then throws.
    void ParseInputLine(std::string_view line);
    // Stores one trimmed column value (positions from 0) into the current
    // input row; positions from 16 on and blank values change nothing.
    void SetInputField(std::size_t position, std::string_view value);

    // --- validation and run -------------------------------------------------
    // Copies an input row into the model's Input. Without argument the
    // current row; nothing happens when there is none.
    void CopyRowToInput();
    void CopyRowToInput(std::size_t row);
    // Validates every input row through the model and marks it: ERROR -1 and
    // the error lines, or 1 and the warning lines, or empty; counts the rows.
    void ValidateInputRows(const TBatchProgress& progress = {});
    // True when the last validation found no row with an error.
    bool InputValid() const { return FInputValid; }
    int ErrorRowCount() const { return FErrorRowCount; }
    int WarningRowCount() const { return FWarningRowCount; }
    // "(bez chyb a varování)" or "(zjištěno %d chyb a %d varování)"; empty
    // before the first validation.
    const std::string& ErrorCountText() const { return FErrorCountText; }
    // The problem lines of an input row (its ERROR_TEXT split into lines).
    std::vector<std::string> ProblemLines(std::size_t row) const;

    // Evaluates every input row and refills the output table. A row the model
    // refuses throws its message; the rows before it stay in the output.
    void RunModelOnRows(const TBatchProgress& progress = {});
    // Appends one output row from the model's current Output and Input.
    void AppendOutputRow();

    // --- output -------------------------------------------------------------
    // The whole HTML document in code page 1250, one line without CR or LF.
    std::string HtmlOutputBytes() const;
    // Writes the document (HtmlOutputBytes) to the file as it is produced:
    // to a temporary file beside it, renamed over the target when complete. A blank name throws "Nebyl
    // vybrán cílový soubor!"; on failure an existing file stays as it was.
    void WriteHtmlOutput(const std::string& fileName) const;

    // --- display ------------------------------------------------------------
    // With "problems only" on, the input table shows only rows whose ERROR is
    // not 0 (on by default).
    void SetProblemsOnly(bool on);
    bool ProblemsOnly() const { return FProblemsOnly; }

private:
    // The HTML document in pieces, in order, to `sink`.
    void WriteHtml(const std::function<void(std::string_view)>& sink) const;
    // The model's input as CopyRowToInput fills it, into any input record.
    void RowToInput(std::size_t row, TZevraInputData& input) const;
    // Puts a row into the model's input (and its result into Output), as
    // after a loop that took every row through the model.
    void LeaveRowInModel(std::size_t row, bool evaluate);

    TZevraModel& FModel;
    TMemTable FInputData;
    TMemTable FOutputData;
    bool FInputValid = false;
    bool FProblemsOnly = true;
    int FErrorRowCount = 0;
    int FWarningRowCount = 0;
    std::string FErrorCountText;
};

}  // namespace zevra
