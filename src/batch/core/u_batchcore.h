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

#include "model/u_assessment.h"
#include "model/u_indicators.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

class TZevraModel;
class TZevraInputData;

// Fields of the input table, in declaration order (that of kInputColumns).
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
    ifPODNIKATELE_2006,
    ifROLNICI_2006,
    ifDOM_ZAMESTNAVATEL,
    ifVODOVOD,
    ifERROR,
    ifERROR_TEXT,
};

// One column of the input table, described once: the loader, the header row
// of a spreadsheet and the window's grid are all derived from kInputColumns.
struct TInputColumn {
    TInputField Field;
    // The field's name, and the column's name in a header row.
    const char* Name;
    TFieldType Type;
    std::size_t Size;  // text: the most characters kept; 0 = no limit
    bool Shared;       // text repeated from row to row (TFieldDef::Shared)
    // Where the value stands on a data line, from 1; 0 for a field that the
    // program fills itself.
    std::size_t FileColumn;
    // The title and the width (0 = default) of its column in the window's
    // grid; no title: not shown there. Grid columns go in field order.
    const char* GridTitle;
    int GridWidth;
};

inline constexpr TInputColumn kInputColumns[] = {
    {ifOBEC, "OBEC", TFieldType::ftText, 30, false, 1, "Obec", 120},
    {ifKODOBCE, "KODOBCE", TFieldType::ftInteger, 0, false, 2, nullptr, 0},
    {ifKRAJ, "KRAJ", TFieldType::ftText, 30, true, 3, "Kraj", 100},
    {ifKRAJ_ID, "KRAJ_ID", TFieldType::ftInteger, 0, false, 0, nullptr, 0},
    {ifOBYVATELE, "OBYVATELE", TFieldType::ftInteger, 0, false, 4, "Obyvatel", 70},
    {ifKATASTR, "KATASTR", TFieldType::ftFloat, 0, false, 9, "Katastr", 75},
    {ifEAKTIVNI, "EAKTIVNI", TFieldType::ftInteger, 0, false, 5, "Ek.akt. 2001", 0},
    {ifNEZAMESTNANI, "NEZAMESTNANI", TFieldType::ftInteger, 0, false, 6, "Nezaměst. 2001", 80},
    {ifVYJIZDEJICI, "VYJIZDEJICI", TFieldType::ftInteger, 0, false, 7, "Vyjížďející 2001", 80},
    {ifNADMVYSKA, "NADMVYSKA", TFieldType::ftInteger, 0, false, 8, "Nadm. v.", 50},
    {ifKRAJSKE_MESTO_MIN, "KRAJSKE_MESTO_MIN", TFieldType::ftInteger, 0, false, 10, "Kraj. město - čas", 0},
    {ifOKRESNI_MESTO_KM, "OKRESNI_MESTO_KM", TFieldType::ftInteger, 0, false, 11, "Okr. město - km", 0},
    {ifSILNICE_1TR_KM, "SILNICE_1TR_KM", TFieldType::ftFloat, 0, false, 12, "Silnice 1. tř - km", 0},
    {ifPODNIKATELE_2006, "PODNIKATELE_2006", TFieldType::ftInteger, 0, false, 13, "Podnikatelé 2006", 0},
    {ifROLNICI_2006, "ROLNICI_2006", TFieldType::ftInteger, 0, false, 14, "Rolníci 2006", 80},
    {ifDOM_ZAMESTNAVATEL, "DOM_ZAMESTNAVATEL", TFieldType::ftInteger, 0, false, 15, "Domin. zaměst.", 0},
    {ifVODOVOD, "VODOVOD", TFieldType::ftText, 3, true, 16, nullptr, 0},
    {ifERROR, "ERROR", TFieldType::ftInteger, 0, false, 0, nullptr, 0},
    // Keeps every problem line of a row (no size limit).
    {ifERROR_TEXT, "ERROR_TEXT", TFieldType::ftText, 0, true, 0, nullptr, 0},
};

static_assert(
    [] {
        for (std::size_t i = 0; i < std::size(kInputColumns); ++i)
            if (kInputColumns[i].Field != i) return false;
        return true;
    }(),
    "kInputColumns lists the fields in their order");

// Number of values on a data line of the batch file.
inline constexpr std::size_t kBatchColumnCount = [] {
    std::size_t count = 0;
    for (const TInputColumn& column : kInputColumns) count += column.FileColumn > 0 ? 1 : 0;
    return count;
}();

// The input field of each position of a data line (from 0).
inline constexpr std::array<TInputField, kBatchColumnCount> kFileColumnFields = [] {
    std::array<TInputField, kBatchColumnCount> fields{};
    for (const TInputColumn& column : kInputColumns)
        if (column.FileColumn > 0) fields[column.FileColumn - 1] = column.Field;
    return fields;
}();
static_assert(
    [] {
        // Each position of a line belongs to exactly one field.
        for (std::size_t position = 0; position < kBatchColumnCount; ++position)
            if (kInputColumns[kFileColumnFields[position]].FileColumn != position + 1) return false;
        return true;
    }(),
    "the file columns are numbered 1 to kBatchColumnCount, each once");

// Fields of the output table, in declaration order: the deciles of the
// indicators in their order from ofDCK on, then ofVODOVOD, then whether the
// row has the water-supply warning (1), which no writer shows as a column:
// the writers read it instead of the warning's text.
enum TOutputField : std::size_t {
    ofOBEC,
    ofKODOBCE,
    ofKRAJ,
    ofOBYVATELSTVO,
    ofOBYVATELSTVO_TEXT,
    ofDCK,
    ofVODOVOD = ofDCK + kIndicatorCount,
    ofVAROVANI_VODOVOD,
};

// What a column of the outputs holds, and so how each writer writes it.
enum class TOutputKind {
    okName,        // a text of the user's data (name, region)
    okInteger,     // the municipality's code
    okNumber,      // the integrated indicator
    okBand,        // the band of the integrated indicator: worked out, not
                   // stored, and not in the HTML table, which keeps its columns
    okAssessment,  // the model's assessment in HTML
    okDecil,       // the decile of one indicator
    okWater,       // the water-supply warning in HTML, or "&nbsp;" for none
};

// One column of the outputs: the output field it shows (the band: the field
// it is worked out from), its header (lines separated by "\n"), the key of
// its value in keyed formats (JSON), and its kind. Every writer takes its
// columns, headers and keys from OutputColumns().
struct TOutputColumn {
    std::size_t Field;
    std::string Header;
    std::string Key;
    TOutputKind Kind;
};
const std::vector<TOutputColumn>& OutputColumns();

// The verbal assessment of an output row as the run decided it: the band of
// its integrated indicator, its disadvantaged deciles and its water-supply
// warning. Writers that do not show the model's HTML compose their text from it.
TAssessment RowAssessment(const TMemTable& output, std::size_t row);

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

    // --- output -------------------------------------------------------------
    // The whole HTML document in code page 1250, one line without CR or LF.
    std::string HtmlOutputBytes() const;
    // Writes the document (HtmlOutputBytes) to the file as it is produced:
    // to a temporary file beside it, renamed over the target when complete. A blank name throws "Nebyl
    // vybrán cílový soubor!"; on failure an existing file stays as it was.
    void WriteHtmlOutput(const std::string& fileName, const TBatchProgress& progress = {}) const;

    // --- display ------------------------------------------------------------
    // With "problems only" on, the input table shows only rows whose ERROR is
    // not 0 (on by default).
    void SetProblemsOnly(bool on);
    bool ProblemsOnly() const { return FProblemsOnly; }

private:
    // The HTML document in pieces, in order, to `sink`.
    void WriteHtml(const std::function<void(std::string_view)>& sink, const TBatchProgress& progress = {}) const;
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
