// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_batchcore.h"

#include "batch/core/u_batchdialect.h"
#include "batch/core/u_pieces.h"

#include "model/u_assessment.h"
#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <algorithm>
#include <cstdint>
#include <array>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace zevra {

std::vector<TFieldDef> InputTableFields() {
    std::vector<TFieldDef> fields;
    for (const TInputColumn& column : kInputColumns)
        fields.push_back({column.Name, column.Type, column.Size, column.Shared});
    return fields;
}

std::vector<TFieldDef> OutputTableFields() {
    using enum TFieldType;
    std::vector<TFieldDef> fields = {
        {"OBEC", ftText, 30},
        {"KODOBCE", ftInteger, 0},
        {"KRAJ", ftText, 30, true},
        {"OBYVATELSTVO", ftFloat, 0},
        // The whole assessment: a cut would fall inside its HTML.
        {"OBYVATELSTVO_TEXT", ftText, 0, true},
    };
    for (const char* code : kIndicatorCodes) fields.push_back({AsciiUpper(code), ftInteger, 0});
    fields.push_back({"VODOVOD", ftText, 500, true});
    fields.push_back({"VAROVANI_VODOVOD", ftInteger, 0});
    return fields;
}

TAssessment RowAssessment(const TMemTable& output, std::size_t row) {
    TAssessment assessment;
    assessment.Band = BandOfValue(output.GetFloat(row, ofOBYVATELSTVO));
    for (std::size_t k = 0; k < kIndicatorCount; ++k)
        assessment.Disadvantaged[k] = output.GetInt(row, ofDCK + k) >= kDisadvantagedDecil;
    assessment.WaterWarning = output.GetInt(row, ofVAROVANI_VODOVOD) != 0;
    return assessment;
}

const std::vector<TOutputColumn>& OutputColumns() {
    static const std::vector<TOutputColumn> columns = [] {
        using enum TOutputKind;
        std::vector<TOutputColumn> list = {
            {ofOBEC, "Obec", "obec", okName},
            {ofKODOBCE, "Kód obce", "kod", okInteger},
            {ofKRAJ, "Kraj", "kraj", okName},
            {ofOBYVATELSTVO, "Int. indik.\nObyvatelstvo", "obyvatelstvo", okNumber},
            {ofOBYVATELSTVO, "Pásmo", "pasmo", okBand},
            {ofOBYVATELSTVO_TEXT, "Komentář int. indikátoru Obyvatelstvo", "hodnoceniHtml", okAssessment},
        };
        for (std::size_t k = 0; k < kIndicatorCount; ++k) {
            const TIndicator& indicator = kIndicators[k];
            list.push_back({ofDCK + k, std::string(indicator.ShortHeader[0]) + "\n" + indicator.ShortHeader[1],
                            indicator.Code, okDecil});
        }
        list.push_back({ofVODOVOD, "Vodovod", "varovaniVodovodHtml", okWater});
        return list;
    }();
    return columns;
}

TZevraBatch::TZevraBatch(TZevraModel& model)
    : FModel(model), FInputData(InputTableFields()), FOutputData(OutputTableFields()) {
    FInputData.SetFilter([this](const TMemTable& table, std::size_t row) {
        return !FProblemsOnly || table.GetInt(row, ifERROR) != 0;
    });
    FInputData.SetFiltered(true);
}

// --- validation and run ----------------------------------------------------

void TZevraBatch::CopyRowToInput() {
    if (FInputData.CurrentRow() == TMemTable::npos) return;
    CopyRowToInput(FInputData.CurrentRow());
}

void TZevraBatch::CopyRowToInput(std::size_t row) { RowToInput(row, FModel.Input()); }

void TZevraBatch::RowToInput(std::size_t row, TZevraInputData& input) const {
    const TMemTable& t = FInputData;
    input.Obec.assign(t.TextView(row, ifOBEC));
    input.Kod = t.GetInt(row, ifKODOBCE);
    input.KatastrCelkem = t.GetFloat(row, ifKATASTR);
    input.NadmVyska = t.GetInt(row, ifNADMVYSKA);
    input.DominantniZamestnavatel = t.GetInt(row, ifDOM_ZAMESTNAVATEL);
    input.Kraj = t.GetInt(row, ifKRAJ_ID);
    input.KrMestoMin = t.GetInt(row, ifKRAJSKE_MESTO_MIN);
    input.OkrMestoKm = t.GetInt(row, ifOKRESNI_MESTO_KM);
    input.ObyvateleCelkem = t.GetInt(row, ifOBYVATELE);
    input.ObyvateleEA = t.GetInt(row, ifEAKTIVNI);
    input.ObyvateleNezamestnani = t.GetInt(row, ifNEZAMESTNANI);
    input.ObyvateleVyjizdejici = t.GetInt(row, ifVYJIZDEJICI);
    input.PodnikateleCelkem2006 = t.GetInt(row, ifPODNIKATELE_2006);
    input.PodnikateleRolnici2006 = t.GetInt(row, ifROLNICI_2006);
    input.Silnice1TrM = KmToMetres(t.GetFloat(row, ifSILNICE_1TR_KM));
    input.Vodovod = SameAsciiCaseless(t.TextView(row, ifVODOVOD), "ANO") ? TTriBool::tbTrue : TTriBool::tbFalse;
}

void TZevraBatch::LeaveRowInModel(std::size_t row, bool evaluate) {
    FModel.NewInput();
    CopyRowToInput(row);
    if (evaluate) FModel.Evaluate(false);
}

namespace {

// Rows per piece of the validation and the run.
constexpr std::size_t kRowsPerPiece = 4096;

std::size_t PieceCount(std::size_t rows) { return (rows + kRowsPerPiece - 1) / kRowsPerPiece; }

// The problem lines of a row as its ERROR_TEXT keeps them.
std::string JoinProblemLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// The marks of the rows of one piece that have problems.
struct TRowMarks {
    struct TMark {
        std::size_t Row;
        int Mark;  // -1 errors, 1 warnings
        std::string Text;
    };
    std::vector<TMark> Marks;
};

}  // namespace

void TZevraBatch::ValidateInputRows(const TBatchProgress& progress) {
    FInputValid = false;
    FErrorRowCount = 0;
    FWarningRowCount = 0;
    const std::size_t total = FInputData.RowCount();
    // The rows are checked on every core, and marked here in their order.
    ForEachPieceInOrder<TRowMarks>(
        PieceCount(total),
        [&](std::size_t piece, TRowMarks& result) {
            std::vector<std::string> errors, warnings;
            TZevraInputData input;
            const std::size_t end = std::min(total, (piece + 1) * kRowsPerPiece);
            for (std::size_t row = piece * kRowsPerPiece; row < end; ++row) {
                RowToInput(row, input);
                FModel.Validate(input, &errors, &warnings);
                if (!errors.empty())
                    result.Marks.push_back({row, -1, JoinProblemLines(errors)});
                else if (!warnings.empty())
                    result.Marks.push_back({row, 1, JoinProblemLines(warnings)});
            }
        },
        [&](std::size_t piece, TRowMarks& result) {
            const std::size_t end = std::min(total, (piece + 1) * kRowsPerPiece);
            auto mark = result.Marks.begin();
            for (std::size_t row = piece * kRowsPerPiece; row < end; ++row) {
                if (mark != result.Marks.end() && mark->Row == row) {
                    FInputData.SetInt(row, ifERROR, mark->Mark);
                    FInputData.SetText(row, ifERROR_TEXT, mark->Text);
                    if (mark->Mark < 0)
                        ++FErrorRowCount;
                    else
                        ++FWarningRowCount;
                    ++mark;
                } else {
                    FInputData.SetNull(row, ifERROR);
                    FInputData.SetNull(row, ifERROR_TEXT);
                }
            }
            ReportProgress(progress, end, total);
        });
    // Each row went through the model's input: the last one stays there.
    if (total > 0) LeaveRowInModel(total - 1, false);
    FInputValid = FErrorRowCount == 0;
    FErrorCountText = FErrorRowCount == 0 && FWarningRowCount == 0
                          ? std::string("(bez chyb a varování)")
                          : FormatMessage("(zjištěno %d chyb a %d varování)",
                                          {FormatInt(FErrorRowCount), FormatInt(FWarningRowCount)});
    FInputData.Refresh();
}

std::vector<std::string> TZevraBatch::ProblemLines(std::size_t row) const {
    return SplitLines(FInputData.GetText(row, ifERROR_TEXT));
}

namespace {

// The assessment texts of the output, each composed once for all the
// threads that write output rows.
class TAssessmentTexts {
public:
    const std::string& Of(const TZevraVerdict& verdict) {
        std::optional<std::string>& text = FTexts[verdict.AssessmentKey()];
        const std::lock_guard lock(FMutex);
        if (!text) text = AssessmentHtml(verdict);
        return *text;
    }

private:
    std::mutex FMutex;
    std::array<std::optional<std::string>, kAssessmentKeyCount> FTexts;
};

// An output table's repeated texts by what decides them, so that each is
// looked up in its column once, not once per row.
class TOutputTexts {
public:
    TOutputTexts(TMemTable& table, const TZevraModel& model, TAssessmentTexts& assessments)
        : FTable(table), FKraje(model.Kraje()), FAssessments(assessments), FKrajRefs(FKraje.size(), kNone),
          FAssessmentRefs(kAssessmentKeyCount, kNone) {}

    std::uint32_t Kraj(const TZevraKraj& kraj) {
        return Ref(FKrajRefs[static_cast<std::size_t>(&kraj - FKraje.data())], ofKRAJ, [&] { return kraj.Nazev; });
    }
    std::uint32_t Assessment(const TZevraVerdict& verdict) {
        return Ref(FAssessmentRefs[verdict.AssessmentKey()], ofOBYVATELSTVO_TEXT,
                   [&] { return FAssessments.Of(verdict); });
    }
    std::uint32_t Water(const TZevraVerdict& verdict) {
        return Ref(FWaterRefs[verdict.WaterWarning ? 1 : 0], ofVODOVOD, [&] { return WaterWarningHtml(verdict); });
    }

private:
    static constexpr std::int64_t kNone = -1;

    template <typename TCompose>
    std::uint32_t Ref(std::int64_t& cached, std::size_t field, const TCompose& compose) {
        if (cached == kNone) cached = FTable.SharedTextRef(field, compose());
        return static_cast<std::uint32_t>(cached);
    }

    TMemTable& FTable;
    const std::vector<TZevraKraj>& FKraje;
    TAssessmentTexts& FAssessments;
    std::vector<std::int64_t> FKrajRefs;
    std::vector<std::int64_t> FAssessmentRefs;
    std::int64_t FWaterRefs[2] = {kNone, kNone};
};

void SetDecils(TMemTable& table, std::size_t row, const TZevraObyvatelstvoIndicators& ind) {
    const TDecils decils = DecilsOf(ind);
    for (std::size_t k = 0; k < kIndicatorCount; ++k) table.SetInt(row, ofDCK + k, decils[k]);
}

// The output rows of one piece, up to the first row the model refuses (whose
// message is kept).
struct TOutputPiece {
    std::optional<TMemTable> Rows;
    std::exception_ptr Refusal;
};

}  // namespace

void TZevraBatch::RunModelOnRows(const TBatchProgress& progress) {
    FOutputData.Clear();
    const std::size_t total = FInputData.RowCount();
    FOutputData.Reserve(total);
    TAssessmentTexts assessments;
    // The rows are evaluated on every core, each piece into a table of its
    // own, and joined here in their order. The batch output has no use for
    // the similar municipalities, and its texts come from the verdict.
    ForEachPieceInOrder<TOutputPiece>(
        PieceCount(total),
        [&](std::size_t piece, TOutputPiece& result) {
            const std::size_t begin = piece * kRowsPerPiece;
            const std::size_t end = std::min(total, begin + kRowsPerPiece);
            TMemTable& rows = result.Rows.emplace(OutputTableFields());
            rows.Reserve(end - begin);
            TOutputTexts texts(rows, FModel, assessments);
            TZevraInputData input;
            try {
                for (std::size_t row = begin; row < end; ++row) {
                    RowToInput(row, input);
                    const TZevraVerdict verdict = FModel.Judge(input);
                    const std::size_t out = rows.AppendRow();
                    rows.SetInt(out, ofKODOBCE, input.Kod);
                    rows.SetText(out, ofOBEC, input.Obec);
                    rows.SetSharedText(out, ofKRAJ, texts.Kraj(*verdict.Kraj));
                    rows.SetFloat(out, ofOBYVATELSTVO, verdict.Obyvatelstvo);
                    rows.SetSharedText(out, ofOBYVATELSTVO_TEXT, texts.Assessment(verdict));
                    SetDecils(rows, out, verdict.Indicators);
                    rows.SetSharedText(out, ofVODOVOD, texts.Water(verdict));
                    rows.SetInt(out, ofVAROVANI_VODOVOD, verdict.WaterWarning ? 1 : 0);
                }
            } catch (const std::exception&) {
                result.Refusal = std::current_exception();
            }
        },
        [&](std::size_t piece, TOutputPiece& result) {
            const std::size_t done = piece * kRowsPerPiece + result.Rows->RowCount();
            FOutputData.AppendRows(std::move(*result.Rows));
            ReportProgress(progress, done, total);
            if (result.Refusal) {
                // As when each row goes through the model: the refused one
                // stays in it.
                LeaveRowInModel(done, false);
                std::rethrow_exception(result.Refusal);
            }
        });
    if (total > 0) LeaveRowInModel(total - 1, true);
    FOutputData.SetCurrentRow(FOutputData.IsEmpty() ? TMemTable::npos : 0);
}

// --- display ----------------------------------------------------------------

void TZevraBatch::SetProblemsOnly(bool on) {
    FProblemsOnly = on;
    FInputData.Refresh();
}

}  // namespace zevra
