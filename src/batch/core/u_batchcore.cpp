// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_batchcore.h"

#include "batch/core/u_batchdialect.h"

#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

namespace zevra {

namespace {

constexpr std::size_t kColumnField[kBatchColumnCount] = {
    ifOBEC,      ifKODOBCE,           ifKRAJ,           ifOBYVATELE,       ifEAKTIVNI,       ifNEZAMESTNANI,
    ifVYJIZDEJICI, ifNADMVYSKA,       ifKATASTR,        ifKRAJSKE_MESTO_MIN, ifOKRESNI_MESTO_KM, ifSILNICE_1TR_KM,
    ifPODNIKATELE_2006, ifROLNICI_2006, ifDOM_ZAMESTNAVATEL, ifVODOVOD,
};

// The decimal columns of a batch line (positions from 0): altitude, cadastral
// area, km to the first-class road.
constexpr std::size_t kAltitudeColumn = 7;
constexpr std::size_t kCadastreColumn = 8;
constexpr std::size_t kRoadKmColumn = 11;

std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

void Report(const TBatchProgress& progress, std::size_t done, std::size_t total) {
    if (progress) progress(done, total);
}

}  // namespace

std::vector<TFieldDef> InputTableFields() {
    using enum TFieldType;
    return {
        {"OBEC", ftText, 30},
        {"KODOBCE", ftInteger, 0},
        {"KRAJ", ftText, 30, true},
        {"KRAJ_ID", ftInteger, 0},
        {"OBYVATELE", ftInteger, 0},
        {"KATASTR", ftFloat, 0},
        {"EAKTIVNI", ftInteger, 0},
        {"NEZAMESTNANI", ftInteger, 0},
        {"VYJIZDEJICI", ftInteger, 0},
        {"NADMVYSKA", ftInteger, 0},
        {"KRAJSKE_MESTO_MIN", ftInteger, 0},
        {"OKRESNI_MESTO_KM", ftInteger, 0},
        {"SILNICE_1TR_KM", ftFloat, 0},
        {"VODOVOD", ftText, 3, true},
        {"ROLNICI_2006", ftInteger, 0},
        {"PODNIKATELE_2006", ftInteger, 0},
        {"DOM_ZAMESTNAVATEL", ftInteger, 0},
        {"ERROR", ftInteger, 0},
        // Keeps every problem line of a row (no size limit).
        {"ERROR_TEXT", ftText, 0, true},
    };
}

std::vector<TFieldDef> OutputTableFields() {
    using enum TFieldType;
    return {
        {"OBEC", ftText, 30},
        {"KODOBCE", ftInteger, 0},
        {"KRAJ", ftText, 30, true},
        {"OBYVATELSTVO", ftFloat, 0},
        // The whole assessment: a cut would fall inside its HTML.
        {"OBYVATELSTVO_TEXT", ftText, 0, true},
        {"DCK", ftInteger, 0},
        {"DVO", ftInteger, 0},
        {"VS1", ftInteger, 0},
        {"NVR", ftInteger, 0},
        {"VKT", ftInteger, 0},
        {"VEA", ftInteger, 0},
        {"RPS", ftInteger, 0},
        {"VODOVOD", ftText, 500, true},
    };
}

TZevraBatch::TZevraBatch(TZevraModel& model)
    : FModel(model), FInputData(InputTableFields()), FOutputData(OutputTableFields()) {
    FInputData.SetFilter([this](const TMemTable& table, std::size_t row) {
        return !FProblemsOnly || table.GetInt(row, ifERROR) != 0;
    });
    FInputData.SetFiltered(true);
}

// --- loading -----------------------------------------------------------------

void TZevraBatch::LoadInputFile(const std::string& fileName, const TBatchProgress& progress) {
    if (IsBlank(fileName)) throw EZevraError("Nebyl vybrán vstupní soubor!");
    std::string text;
    {
        // The raw bytes are given up as soon as they are decoded.
        const std::string bytes = ReadFileBytes(Trim(fileName));
        text = DecodeFileText(bytes);
    }
    LoadInputText(text, progress);
}

void TZevraBatch::LoadInputBytes(std::string_view bytes, const TBatchProgress& progress) {
    LoadInputText(DecodeFileText(bytes), progress);
}

namespace {

// The lines of a text one at a time, split as SplitLines splits them (CR LF,
// LF or CR ends a line; no empty last line after a final line end), viewed in
// place instead of copied into a list.
class TLineCursor {
public:
    explicit TLineCursor(std::string_view text) : FText(text), FNextCr(Find('\r', 0)), FNextLf(Find('\n', 0)) {}
    bool AtEnd() const { return FPos >= FText.size(); }
    std::string_view Next() {
        const std::size_t start = FPos;
        // The next CR and the next LF are each searched for only once they
        // are passed, so that a file with only one kind of line end is not
        // searched to its end for the other kind at every line.
        if (FNextCr < start) FNextCr = Find('\r', start);
        if (FNextLf < start) FNextLf = Find('\n', start);
        std::size_t i = std::min(FNextCr, FNextLf);
        const std::string_view line = FText.substr(start, i - start);
        if (i < FText.size()) {
            if (FText[i] == '\r' && i + 1 < FText.size() && FText[i + 1] == '\n') ++i;
            ++i;
        }
        FPos = i;
        return line;
    }

private:
    std::size_t Find(char c, std::size_t from) const {
        const void* at = std::memchr(FText.data() + from, c, FText.size() - from);
        return at == nullptr ? FText.size() : static_cast<std::size_t>(static_cast<const char*>(at) - FText.data());
    }

    std::string_view FText;
    std::size_t FPos = 0;
    std::size_t FNextCr;
    std::size_t FNextLf;
};

std::size_t CountLines(std::string_view text) {
    std::size_t count = 0;
    for (TLineCursor cursor(text); !cursor.AtEnd(); cursor.Next()) ++count;
    return count;
}

}  // namespace

void TZevraBatch::LoadInputText(std::string_view text, const TBatchProgress& progress) {
    // The progress counts lines, so their number is known before the first.
    const std::size_t lineCount = CountLines(text);
    // The rows are replaced, so the verdict of the last validation no longer
    // applies: until the new rows are validated the run stays refused.
    FInputValid = false;
    FInputData.Clear();
    FInputData.Reserve(lineCount);
    std::unique_ptr<ECompositeException> problems;
    bool firstRecord = true;
    std::string joined;
    TLineCursor cursor(text);
    for (std::size_t i = 0; i < lineCount; ++i) {
        const std::string_view line = cursor.Next();
        if (!IsBlank(line)) {
            const std::size_t lineNumber = i + 1;
            std::string_view record = line;
            // A quoted value may hold line ends: its record goes on until the
            // quote closes. One that never closes is no quoted value; its
            // line then stands alone, as it always did. Without a quote
            // there is nothing to close.
            if (record.front() != '#' && record.find('"') != std::string_view::npos) {
                bool open = false;
                SplitBatchRecord(record, &open);
                if (open) {
                    joined.assign(record);
                    TLineCursor ahead = cursor;
                    std::size_t last = i;
                    while (open && last + 1 < lineCount) {
                        joined += '\n';
                        joined += ahead.Next();
                        ++last;
                        SplitBatchRecord(joined, &open);
                    }
                    if (!open) {
                        record = joined;
                        for (std::size_t j = i + 1; j <= last; ++j) Report(progress, j, lineCount);
                        cursor = ahead;
                        i = last;
                    }
                }
            }
            // A spreadsheet's header row of the column names is no data.
            const bool header = firstRecord && record.front() != '#' && IsBatchHeaderRecord(SplitBatchRecord(record));
            if (record.front() != '#') firstRecord = false;
            if (!header) {
                try {
                    ParseInputLine(record);
                } catch (const std::exception& e) {
                    EnsureComposite(problems);
                    problems->Add(FormatMessage("Řádek %d", {FormatInt(static_cast<long long>(lineNumber))}),
                                  std::make_unique<EZevraError>(e.what()));
                }
            }
        }
        Report(progress, i + 1, lineCount);
    }
    FInputData.SetCurrentRow(FInputData.IsEmpty() ? TMemTable::npos : 0);
    FInputData.Refresh();
    if (problems) throw std::move(*problems);
}

void TZevraBatch::ParseInputLine(std::string_view line) {
    if (!line.empty() && line.front() == '#') return;
    const std::size_t row = FInputData.AppendRow();
    FInputData.SetInt(row, ifKRAJ_ID, -1);

    // The values as SplitBatchRecord finds them; the three decimal columns
    // take a Czech decimal comma too.
    const auto setValue = [this](std::size_t position, std::string_view raw) {
        const std::string_view value = TrimView(raw);
        if ((position == kAltitudeColumn || position == kCadastreColumn || position == kRoadKmColumn) &&
            value.find(',') != std::string_view::npos) {
            SetInputField(position, DecimalCommaToPoint(value));
        } else {
            SetInputField(position, value);
        }
    };
    std::size_t columns = 0;
    if (line.find('"') == std::string_view::npos) {
        // Without a quote no value is quoted: the values are the pieces
        // between ";" as they stand (as SplitBatchRecord would give them),
        // taken in place without a list of copies.
        for (std::size_t start = 0; start < line.size();) {
            const std::size_t separator = line.find(';', start);
            const std::size_t end = separator == std::string_view::npos ? line.size() : separator;
            setValue(columns++, line.substr(start, end - start));
            if (separator == std::string_view::npos) break;
            start = separator + 1;
        }
    } else {
        const std::vector<std::string> values = SplitBatchRecord(line);
        columns = values.size();
        for (std::size_t position = 0; position < columns; ++position) setValue(position, values[position]);
    }

    LookUpRegion(row);
    if (columns != kBatchColumnCount) {
        throw EZevraError(FormatMessage("Chybný počet údajů na řádku (%d místo %d)!",
                                        {FormatInt(static_cast<long long>(columns)),
                                         FormatInt(static_cast<long long>(kBatchColumnCount))}));
    }
}

void TZevraBatch::SetInputField(std::size_t position, std::string_view value) {
    if (position >= kBatchColumnCount || IsBlank(value)) return;
    FInputData.SetText(CurrentInputRow(), kColumnField[position], value);
}

void TZevraBatch::LookUpRegion(std::size_t row) {
    const std::string_view name = FInputData.TextView(row, ifKRAJ);
    // A file names the same few regions over and over: each spelling is
    // looked up in the model's list once (a bounded number of them, so that
    // a file of random names cannot fill the memory).
    constexpr std::size_t kMaxRemembered = 256;
    auto it = FRegionIds.find(name);
    if (it == FRegionIds.end()) {
        std::int32_t id = -1;
        for (const TZevraKraj& kraj : FModel.Kraje()) {
            if (SameAsciiCaseless(kraj.Nazev, name)) {
                id = kraj.Region;
                break;
            }
        }
        if (FRegionIds.size() >= kMaxRemembered) {
            if (id >= 0) FInputData.SetInt(row, ifKRAJ_ID, id);
            return;
        }
        it = FRegionIds.emplace(std::string(name), id).first;
    }
    if (it->second >= 0) FInputData.SetInt(row, ifKRAJ_ID, it->second);
}

std::size_t TZevraBatch::CurrentInputRow() const {
    const std::size_t row = FInputData.CurrentRow();
    if (row == TMemTable::npos) throw EZevraError("Vstupní tabulka nemá aktuální řádek!");
    return row;
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

void TZevraBatch::MarkRow(std::size_t row, int mark, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    FInputData.SetInt(row, ifERROR, mark);
    FInputData.SetText(row, ifERROR_TEXT, text);
}

void TZevraBatch::ValidateInputRows(const TBatchProgress& progress) {
    FInputValid = false;
    bool anyError = false;
    FErrorRowCount = 0;
    FWarningRowCount = 0;
    std::vector<std::string> errors, warnings;
    TZevraInputData input;
    const std::size_t total = FInputData.RowCount();
    for (std::size_t row = 0; row < total; ++row) {
        RowToInput(row, input);
        FModel.Validate(input, &errors, &warnings);
        if (!errors.empty()) {
            anyError = true;
            MarkRow(row, -1, errors);
            ++FErrorRowCount;
        } else if (!warnings.empty()) {
            MarkRow(row, 1, warnings);
            ++FWarningRowCount;
        } else {
            FInputData.SetNull(row, ifERROR);
            FInputData.SetNull(row, ifERROR_TEXT);
        }
        Report(progress, row + 1, total);
    }
    // Each row went through the model's input: the last one stays there.
    if (total > 0) LeaveRowInModel(total - 1, false);
    FInputValid = !anyError;
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

// The output table's repeated texts by what decides them, so that each is
// composed and looked up in its column once, not once per row.
class TOutputTexts {
public:
    TOutputTexts(TMemTable& table, const TZevraModel& model)
        : FTable(table), FKraje(model.Kraje()), FKrajRefs(FKraje.size(), kNone), FAssessmentRefs(512, kNone) {}

    std::uint32_t Kraj(const TZevraKraj& kraj) {
        return Ref(FKrajRefs[static_cast<std::size_t>(&kraj - FKraje.data())], ofKRAJ, [&] { return kraj.Nazev; });
    }
    std::uint32_t Assessment(const TZevraVerdict& verdict) {
        return Ref(FAssessmentRefs[verdict.AssessmentKey()], ofOBYVATELSTVO_TEXT,
                   [&] { return AssessmentHtml(verdict); });
    }
    std::uint32_t Water(const TZevraVerdict& verdict) {
        return Ref(FWaterRefs[verdict.WaterWarning ? 1 : 0], ofVODOVOD,
                   [&] { return std::string(WaterWarningHtml(verdict)); });
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
    std::vector<std::int64_t> FKrajRefs;
    std::vector<std::int64_t> FAssessmentRefs;
    std::int64_t FWaterRefs[2] = {kNone, kNone};
};

}  // namespace

void TZevraBatch::RunModelOnRows(const TBatchProgress& progress) {
    FOutputData.Clear();
    const std::size_t total = FInputData.RowCount();
    FOutputData.Reserve(total);
    TOutputTexts texts(FOutputData, FModel);
    TZevraInputData input;
    std::size_t row = 0;
    try {
        for (; row < total; ++row) {
            RowToInput(row, input);
            // The batch output has no use for the similar municipalities, and
            // its texts come from the verdict.
            const TZevraVerdict verdict = FModel.Judge(input);
            const std::size_t out = FOutputData.AppendRow();
            FOutputData.SetInt(out, ofKODOBCE, input.Kod);
            FOutputData.SetText(out, ofOBEC, input.Obec);
            FOutputData.SetSharedText(out, ofKRAJ, texts.Kraj(*verdict.Kraj));
            FOutputData.SetFloat(out, ofOBYVATELSTVO, verdict.Obyvatelstvo);
            FOutputData.SetSharedText(out, ofOBYVATELSTVO_TEXT, texts.Assessment(verdict));
            SetDecils(out, verdict.Indicators);
            FOutputData.SetSharedText(out, ofVODOVOD, texts.Water(verdict));
            Report(progress, row + 1, total);
        }
    } catch (...) {
        // As when each row goes through the model: the refused one stays in it.
        LeaveRowInModel(row, false);
        throw;
    }
    if (total > 0) LeaveRowInModel(total - 1, true);
    FOutputData.SetCurrentRow(FOutputData.IsEmpty() ? TMemTable::npos : 0);
}

void TZevraBatch::SetDecils(std::size_t row, const TZevraObyvatelstvoIndicators& ind) {
    FOutputData.SetInt(row, ofDCK, ind.DecilDck);
    FOutputData.SetInt(row, ofDVO, ind.DecilDvo);
    FOutputData.SetInt(row, ofVS1, ind.DecilVs1);
    FOutputData.SetInt(row, ofNVR, ind.DecilNvr);
    FOutputData.SetInt(row, ofVKT, ind.DecilVkt);
    FOutputData.SetInt(row, ofVEA, ind.DecilVea);
    FOutputData.SetInt(row, ofRPS, ind.DecilRps);
}

void TZevraBatch::AppendOutputRow() {
    const std::size_t row = FOutputData.AppendRow();
    const TZevraOutputData* output = FModel.Output();
    FOutputData.SetInt(row, ofKODOBCE, FModel.Input().Kod);
    if (output == nullptr) throw EZevraError("Model nemá výsledek hodnocení!");
    FOutputData.SetText(row, ofOBEC, output->Obec);
    FOutputData.SetText(row, ofKRAJ, output->KrajNazev);
    FOutputData.SetFloat(row, ofOBYVATELSTVO, output->Obyvatelstvo);
    FOutputData.SetText(row, ofOBYVATELSTVO_TEXT, output->HodnoceniHtml);
    SetDecils(row, output->Indicators);
    FOutputData.SetText(row, ofVODOVOD, output->VodovodHtml);
}

// --- display ----------------------------------------------------------------

void TZevraBatch::SetProblemsOnly(bool on) {
    FProblemsOnly = on;
    FInputData.Refresh();
}

}  // namespace zevra
