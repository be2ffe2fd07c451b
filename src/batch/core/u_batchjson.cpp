// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch JSON: a head (format version, reference data), then one line per
// output row, written piece by piece as the pieces are made, as the HTML
// table is. The texts that repeat from row to row (region, band, assessment,
// water warning) are escaped once.
#include "batch/core/u_batchjson.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_jsontext.h"
#include "batch/core/u_batchmessages.h"
#include "batch/core/u_pieces.h"

#include "model/u_assessment.h"
#include "model/u_decimal.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string_view>
#include <system_error>
#include <vector>

namespace zevra {

namespace {

void AppendKey(std::string& out, std::string_view key) {
    out += '"';
    out += key;
    out += "\":";
}

// The region object of a region name: its number from the model's regions
// (null when no region, or more than one, has that name) and the name.
std::string RegionJson(const std::map<std::string, std::int32_t, std::less<>>& numbers, std::string_view name) {
    std::string json = "{";
    AppendKey(json, "cislo");
    const auto found = numbers.find(name);
    if (found == numbers.end() || found->second < 0)
        json += "null";
    else
        AppendJsonInt(json, found->second);
    json += ',';
    AppendKey(json, "nazev");
    AppendJsonString(json, name);
    return json + "}";
}

// The band object: its number from 1, its range and its sentence.
std::string BandJson(TBand band) {
    const int index = static_cast<int>(band);
    TAssessment only;
    only.Band = band;
    std::string json = "{";
    AppendKey(json, "cislo");
    AppendJsonInt(json, index + 1);
    json += ',';
    AppendKey(json, "rozsah");
    AppendJsonString(json, BandName(index));
    json += ',';
    AppendKey(json, "text");
    AppendJsonString(json, AssessmentPlainText(only));
    return json + "}";
}

// The plain text of every assessment as a JSON string, by its key. They
// depend on the key alone and are composed once per process: composing all
// of them for each document cost more than writing a small table.
const std::array<std::string, kAssessmentKeyCount>& AssessmentPlainJson() {
    static const std::array<std::string, kAssessmentKeyCount> texts = [] {
        std::array<std::string, kAssessmentKeyCount> json;
        for (unsigned key = 0; key < kAssessmentKeyCount; ++key) {
            TAssessment assessment;
            assessment.Band = static_cast<TBand>(key % kBandCount);
            assessment.Disadvantaged = key / kBandCount;
            AppendJsonString(json[key], AssessmentPlainText(assessment));
        }
        return json;
    }();
    return texts;
}

// A key for the plain twin of an HTML text: "hodnoceni" for "hodnoceniHtml".
std::string PlainKey(const std::string& htmlKey) {
    constexpr std::string_view kHtml = "Html";
    return htmlKey.ends_with(kHtml) ? htmlKey.substr(0, htmlKey.size() - kHtml.size()) : htmlKey + "Text";
}

// Everything a row needs that does not change from row to row.
class TRowWriter {
public:
    explicit TRowWriter(const TZevraBatch& batch) : FTable(batch.OutputData()) {
        std::map<std::string, std::int32_t, std::less<>> regions;
        for (const TZevraKraj& kraj : batch.Model().Kraje()) {
            const auto [at, added] = regions.emplace(kraj.Nazev, kraj.Region);
            if (!added && at->second != kraj.Region) at->second = -1;
        }
        for (const std::string& name : FTable.SharedTexts(ofKRAJ)) FRegions.push_back(RegionJson(regions, name));
        FNoRegion = RegionJson(regions, "");
        for (const std::string& html : FTable.SharedTexts(ofOBYVATELSTVO_TEXT))
            AppendJsonString(FAssessmentHtml.emplace_back(), html);
        for (const std::string& html : FTable.SharedTexts(ofVODOVOD)) AppendJsonString(FWaterHtml.emplace_back(), html);
        for (int band = 0; band < kBandCount; ++band) FBands[band] = BandJson(static_cast<TBand>(band));
        AppendJsonString(FWaterPlain, WaterWarningPlainText(true));
        for (const TOutputColumn& column : OutputColumns()) {
            std::string key;
            AppendKey(key, column.Key);
            FColumns.push_back({&column, key, ""});
            if (column.Kind == TOutputKind::okAssessment || column.Kind == TOutputKind::okWater)
                AppendKey(FColumns.back().PlainKey, PlainKey(column.Key));
        }
    }

    void Append(std::string& out, std::size_t row) const {
        const TMemTable& t = FTable;
        const bool known = !t.IsNull(row, ofOBYVATELSTVO);
        const TAssessment assessment = RowAssessment(t, row);
        out += "    {";
        bool first = true;
        bool inDecils = false;
        for (const TColumnPlan& plan : FColumns) {
            const TOutputColumn& column = *plan.Column;
            const std::size_t field = column.Field;
            if (inDecils && column.Kind != TOutputKind::okDecil) {
                out += '}';
                inDecils = false;
            }
            if (!first) out += ',';
            first = false;
            if (column.Kind == TOutputKind::okDecil) {
                // The deciles together, by the indicators' codes.
                if (!inDecils) {
                    AppendKey(out, "decily");
                    out += '{';
                    inDecils = true;
                }
                out += plan.Key;
                AppendIntOrNull(out, row, field);
                continue;
            }
            // An HTML text comes after its plain twin.
            out += plan.PlainKey.empty() ? plan.Key : plan.PlainKey;
            switch (column.Kind) {
                case TOutputKind::okName:
                    if (field == ofKRAJ) {
                        // An empty region is an empty name, as an empty
                        // municipality name is.
                        const std::size_t ref = t.SharedRefOf(row, field);
                        out += ref == TMemTable::npos ? FNoRegion : FRegions[ref];
                    } else {
                        AppendJsonString(out, t.TextView(row, field));
                    }
                    break;
                case TOutputKind::okInteger: AppendIntOrNull(out, row, field); break;
                case TOutputKind::okNumber:
                    if (known)
                        AppendJsonNumber(out, t.GetFloat(row, field));
                    else
                        out += "null";
                    break;
                case TOutputKind::okBand: out += known ? FBands[static_cast<int>(assessment.Band)] : "null"; break;
                case TOutputKind::okAssessment: {
                    // The plain text from the assessment as data, the HTML as
                    // the table has it.
                    const bool has = t.SharedRefOf(row, field) != TMemTable::npos && known;
                    out += has ? std::string_view(FAssessmentPlain[assessment.Key()]) : "null";
                    out += ',';
                    out += plan.Key;
                    AppendShared(out, row, field, FAssessmentHtml);
                    break;
                }
                case TOutputKind::okWater:
                    out += assessment.WaterWarning ? std::string_view(FWaterPlain) : "null";
                    out += ',';
                    out += plan.Key;
                    if (assessment.WaterWarning)
                        AppendShared(out, row, field, FWaterHtml);
                    else
                        out += "null";
                    break;
                case TOutputKind::okDecil: break;
            }
        }
        if (inDecils) out += '}';
        out += '}';
    }

private:
    struct TColumnPlan {
        const TOutputColumn* Column;
        std::string Key;       // "\"obec\":"
        std::string PlainKey;  // the plain twin of an HTML text, written first
    };

    void AppendIntOrNull(std::string& out, std::size_t row, std::size_t field) const {
        if (FTable.IsNull(row, field))
            out += "null";
        else
            AppendJsonInt(out, FTable.GetInt(row, field));
    }
    static void AppendSharedRef(std::string& out, std::size_t ref, const std::vector<std::string>& json) {
        if (ref == TMemTable::npos)
            out += "null";
        else
            out += json[ref];
    }
    void AppendShared(std::string& out, std::size_t row, std::size_t field, const std::vector<std::string>& json) const {
        AppendSharedRef(out, FTable.SharedRefOf(row, field), json);
    }

    const TMemTable& FTable;
    std::vector<std::string> FRegions;
    std::string FNoRegion;
    std::vector<std::string> FAssessmentHtml;
    std::vector<std::string> FWaterHtml;
    std::array<std::string, kBandCount> FBands;
    const std::array<std::string, kAssessmentKeyCount>& FAssessmentPlain = AssessmentPlainJson();
    std::string FWaterPlain;
    std::vector<TColumnPlan> FColumns;
};

// Rows per piece of the document; the pieces are written on every core. A
// row takes about 1.3 KB (twice an HTML row: its texts are there as plain
// text and as HTML), so a piece is half the HTML's rows, and a few pieces
// waiting to be written stay well below the memory of the tables.
constexpr std::size_t kJsonRowsPerPiece = 512;
constexpr std::size_t kJsonBytesPerRow = 1536;

void WriteJson(const TZevraBatch& batch, const std::function<void(std::string_view)>& sink,
               const TBatchProgress& progress) {
    const TRowWriter writer(batch);
    const std::string& dataDir = batch.Model().Data().DataDir();
    std::string head = "{\n  ";
    AppendKey(head, kJsonFormatVersionKey);
    head += ' ';
    AppendJsonInt(head, kJsonFormatVersion);
    head += ",\n  ";
    AppendKey(head, "referencniData");
    head += " {";
    AppendKey(head, "slozka");
    AppendJsonString(head, ReferenceFolderText(dataDir));
    head += ',';
    AppendKey(head, "demonstracni");
    head += batch.Model().DemonstrationData() ? "true" : "false";
    head += "},\n  ";
    AppendKey(head, "obce");
    head += " [";
    sink(head);

    const std::size_t rows = batch.OutputData().RowCount();
    ForEachPieceInOrder<std::string>(
        (rows + kJsonRowsPerPiece - 1) / kJsonRowsPerPiece,
        [&](std::size_t piece, std::string& out) {
            const std::size_t end = std::min(rows, (piece + 1) * kJsonRowsPerPiece);
            out.reserve((end - piece * kJsonRowsPerPiece) * kJsonBytesPerRow);
            for (std::size_t row = piece * kJsonRowsPerPiece; row < end; ++row) {
                out += row == 0 ? "\n" : ",\n";
                writer.Append(out, row);
            }
        },
        [&](std::size_t piece, std::string& out) {
            sink(out);
            ReportProgress(progress, std::min(rows, (piece + 1) * kJsonRowsPerPiece), rows);
        });
    sink(rows == 0 ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace

std::string ReferenceFolderText(const std::string& dataDir) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(dataDir, ec);
    const std::string folder = ec ? dataDir : absolute.lexically_normal().string();
    return SanitizeUtf8(folder);
}

void WriteBatchJson(const TZevraBatch& batch, std::ostream& out, const TBatchProgress& progress) {
    WriteToStream(out, [&](const TByteSink& sink) { WriteJson(batch, sink, progress); });
}

std::string BatchJsonText(const TZevraBatch& batch) {
    std::string document;
    WriteJson(batch, [&document](std::string_view piece) { document += piece; }, {});
    return document;
}

TOutputFormat JsonOutputFormat() {
    return {"json", {".json"}, "Soubory JSON",
            [](const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress) {
                if (IsBlank(fileName)) throw EZevraError(kNoOutputFileMessage);
                TSafeFileWriter writer(FileNameOf(fileName));
                WriteJson(batch, [&writer](std::string_view piece) { writer.Write(piece); }, progress);
                writer.Commit();
            }};
}

}  // namespace zevra
