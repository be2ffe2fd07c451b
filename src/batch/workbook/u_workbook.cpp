// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_workbook.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/core/u_batchmessages.h"
#include "batch/core/u_pieces.h"
#include "batch/workbook/u_workbooksummary.h"
#include "batch/workbook/u_workbookxml.h"
#include "batch/workbook/u_xlsxpackage.h"
#include "model/u_assessment.h"
#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_indicators.h"
#include "model/u_object.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <unordered_map>
#include <string_view>
#include <vector>

namespace zevra {

static_assert(kAssessmentKeyCount <= 0x10000, "a row's assessment key is kept in 16 bits");

namespace {

using xlsx::kMaxColumnWidth;
// A column of numbers is at most this wide, its header wraps.
constexpr double kNumberColumnWidth = 10;
// One line of the default font (Calibri 11) in points, and the tallest row
// a sheet may have.
constexpr double kLineHeight = 15;
constexpr double kMaxRowHeight = 409;

using xlsx::CellText;
using xlsx::Characters;
using xlsx::LongestWord;
using xlsx::WrappedLines;

// A header of the outputs on one line; the column wraps it.
std::string OneLine(std::string header) {
    std::replace(header.begin(), header.end(), '\n', ' ');
    return header;
}

bool IsNumeric(TOutputKind kind) {
    return kind == TOutputKind::okInteger || kind == TOutputKind::okNumber || kind == TOutputKind::okDecil;
}

// A wrapped text of the model, composed once per assessment (or warning).
struct TModelText {
    std::string Plain, Cell;
    std::size_t Longest = 0;  // characters of its longest line
    int Lines = 1;            // in its column
};

TModelText ModelText(std::string plain) {
    TModelText text{plain, CellText(plain), 0, 1};
    for (std::size_t start = 0; start <= plain.size();) {
        std::size_t end = plain.find('\n', start);
        if (end == std::string::npos) end = plain.size();
        text.Longest = std::max(text.Longest, Characters(std::string_view(plain).substr(start, end - start)));
        start = end + 1;
    }
    return text;
}

// The water warning never changes: composed once.
TModelText WaterText(bool warning) {
    static const TModelText kTexts[2] = {ModelText(WaterWarningPlainText(false)), ModelText(WaterWarningPlainText(true))};
    return kTexts[warning ? 1 : 0];
}

// The shared string table: each distinct text once, in order of first use.
class TSharedStrings {
public:
    std::size_t Add(const std::string& cellText) {
        const auto [at, added] = FIndex.try_emplace(cellText, FTexts.size());
        if (added) FTexts.push_back(cellText);
        return at->second;
    }
    const std::vector<std::string>& Texts() const { return FTexts; }
    std::size_t References = 0;  // cells that refer to the table

private:
    std::unordered_map<std::string, std::size_t> FIndex;
    std::vector<std::string> FTexts;
};

// What sheet "Obce" needs before its first row: the assessment and warning
// of every row, the widths of the columns (from the longest text each
// holds), the lines of each wrapped text, and the shared strings.
struct TLayout {
    std::vector<TModelText> Assessments = std::vector<TModelText>(kAssessmentKeyCount);
    TModelText Water[2] = {WaterText(false), WaterText(true)};
    std::vector<std::uint16_t> Keys;
    std::vector<std::uint8_t> Warnings;
    std::vector<double> Widths;
    int HeaderLines = 1;
    // Shared string of each band, assessment key, region text; the water warning.
    std::size_t Bands[kBandCount] = {};
    std::vector<std::size_t> AssessmentStrings = std::vector<std::size_t>(kAssessmentKeyCount);
    std::vector<std::size_t> RegionStrings;
    std::size_t WaterString = 0;
    TSharedStrings Strings;
};

// Where a shared text field stands among the output columns, if it does.
std::size_t SharedNameField(const TMemTable& table) {
    for (const TOutputColumn& column : OutputColumns())
        if (column.Kind == TOutputKind::okName && table.Fields()[column.Field].Shared) return column.Field;
    return TMemTable::npos;
}

TLayout Layout(const TMemTable& table) {
    const std::vector<TOutputColumn>& columns = OutputColumns();
    const std::size_t rows = table.RowCount();
    TLayout layout;
    layout.Keys.resize(rows);
    layout.Warnings.resize(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        const TAssessment assessment = RowAssessment(table, r);
        layout.Keys[r] = static_cast<std::uint16_t>(assessment.Key());
        layout.Warnings[r] = assessment.WaterWarning ? 1 : 0;
        TModelText& text = layout.Assessments[layout.Keys[r]];
        if (text.Cell.empty()) text = ModelText(AssessmentPlainText(assessment));
    }
    layout.Widths.resize(columns.size());
    std::vector<double>& widths = layout.Widths;
    for (std::size_t col = 0; col < columns.size(); ++col) {
        widths[col] = std::min(kMaxColumnWidth, static_cast<double>(Characters(OneLine(columns[col].Header))) + 2);
        // Over numbers the header wraps, between words.
        if (IsNumeric(columns[col].Kind))
            widths[col] = std::min(widths[col], std::max(kNumberColumnWidth, static_cast<double>(LongestWord(columns[col].Header)) + 2));
    }
    const auto widen = [&](std::size_t col, std::size_t characters) {
        widths[col] = std::min(kMaxColumnWidth, std::max(widths[col], static_cast<double>(characters) + 2));
    };
    for (std::size_t col = 0; col < columns.size(); ++col) {
        const TOutputColumn& column = columns[col];
        if (column.Kind == TOutputKind::okName) {
            if (table.Fields()[column.Field].Shared) {
                for (const std::string& text : table.SharedTexts(column.Field)) widen(col, Characters(text));
            } else {
                for (std::size_t r = 0; r < rows; ++r) widen(col, Characters(table.TextView(r, column.Field)));
            }
        } else if (column.Kind == TOutputKind::okBand) {
            for (int b = 0; b < kBandCount; ++b) widen(col, Characters(BandName(b)));
        } else if (column.Kind == TOutputKind::okAssessment) {
            for (const TModelText& text : layout.Assessments) widen(col, text.Longest);
        } else if (column.Kind == TOutputKind::okWater) {
            widen(col, layout.Water[rows > 0 ? 1 : 0].Longest);
        }
    }
    // Rows as tall as their longest wrapped text.
    for (std::size_t col = 0; col < columns.size(); ++col) {
        if (columns[col].Kind == TOutputKind::okWater)
            for (TModelText& text : layout.Water) text.Lines = WrappedLines(text.Plain, widths[col]);
        if (columns[col].Kind == TOutputKind::okAssessment)
            for (TModelText& text : layout.Assessments)
                if (!text.Cell.empty()) text.Lines = WrappedLines(text.Plain, widths[col]);
        layout.HeaderLines = std::max(layout.HeaderLines, WrappedLines(OneLine(columns[col].Header), widths[col]));
    }

    // The shared strings that cells use, in the order the cells come.
    constexpr std::size_t kUnused = TMemTable::npos;
    std::fill(std::begin(layout.Bands), std::end(layout.Bands), kUnused);
    std::fill(layout.AssessmentStrings.begin(), layout.AssessmentStrings.end(), kUnused);
    const std::size_t regionField = SharedNameField(table);
    if (regionField != TMemTable::npos) layout.RegionStrings.assign(table.SharedTexts(regionField).size(), kUnused);
    layout.WaterString = kUnused;
    TSharedStrings& strings = layout.Strings;
    const auto use = [&](std::size_t& index, const std::string& cellText) {
        if (index == kUnused) index = strings.Add(cellText);
        ++strings.References;
    };
    for (std::size_t r = 0; r < rows; ++r) {
        for (const TOutputColumn& column : columns) {
            if (column.Kind == TOutputKind::okName && column.Field == regionField) {
                const std::size_t ref = table.SharedRefOf(r, regionField);
                if (ref != TMemTable::npos && !table.SharedTexts(regionField)[ref].empty())
                    use(layout.RegionStrings[ref], CellText(table.SharedTexts(regionField)[ref]));
            } else if (column.Kind == TOutputKind::okBand && !table.IsNull(r, column.Field)) {
                const int band = BandOf(table.GetFloat(r, column.Field));
                use(layout.Bands[band], BandName(band));
            } else if (column.Kind == TOutputKind::okAssessment && !table.IsNull(r, ofOBYVATELSTVO)) {
                use(layout.AssessmentStrings[layout.Keys[r]], layout.Assessments[layout.Keys[r]].Cell);
            } else if (column.Kind == TOutputKind::okWater && layout.Warnings[r]) {
                use(layout.WaterString, layout.Water[1].Cell);
            }
        }
    }
    return layout;
}

// The workbook's parts together stay well below what a zip package without
// its 64-bit extension holds (4 GiB a part and in all): a bound of the
// unpacked bytes, from the longest form each cell can take, is checked
// before anything is written. A text grows at most 7 times as it is escaped
// ("\r" is "_x000D_"); a row of 1,048,575 ordinary names takes a few
// hundred bytes, so only names of thousands of characters reach it.
void CheckWorkbookSize(const TMemTable& table, const TLayout& layout, const std::string& target) {
    constexpr std::uint64_t kGrowth = 7, kRow = 64, kCell = 112, kFixed = 1 << 20;
    const std::vector<TOutputColumn>& columns = OutputColumns();
    std::uint64_t bound = kFixed + table.RowCount() * (kRow + kCell * columns.size());
    for (const TOutputColumn& column : columns) {
        if (column.Kind != TOutputKind::okName) continue;
        if (table.Fields()[column.Field].Shared) {
            // In the shared strings, and on the summary with its formula.
            for (const std::string& text : table.SharedTexts(column.Field)) bound += 3 * kGrowth * text.size() + kCell;
        } else {
            for (std::size_t r = 0; r < table.RowCount(); ++r) bound += kGrowth * table.TextView(r, column.Field).size();
        }
    }
    for (const std::string& text : layout.Strings.Texts()) bound += kGrowth * text.size() + kCell;
    if (bound > kZipMaxBytes - (kZipMaxBytes >> 4))
        throw EZevraError(PathMessage("Texty výsledku jsou na sešit příliš dlouhé (uložte jej jako HTML nebo JSON)!", target));
}

// Rows of sheet "Obce" per piece; the pieces are written and compressed on
// every core.
constexpr std::size_t kRowsPerPiece = 1024;

// A row of sheet "Obce" (`r` of the table, row r + 2 of the sheet).
void AppendRow(std::string& out, const TMemTable& table, const TLayout& layout, std::size_t r) {
    const std::vector<TOutputColumn>& columns = OutputColumns();
    const std::size_t row1 = r + 2;
    const int lines = std::max(layout.Assessments[layout.Keys[r]].Lines, layout.Water[layout.Warnings[r]].Lines);
    out += "<row r=\"";
    xlsx::AppendInt(out, static_cast<std::int64_t>(row1));
    if (lines > 1) {
        out += "\" ht=\"";
        xlsx::AppendNumber(out, std::min(kMaxRowHeight, kLineHeight * lines));
        out += "\" customHeight=\"1";
    }
    out += "\">";
    // A cell right after the previous one is written without its
    // reference, a fifth of the sheet's bytes; one after an empty cell has it.
    std::size_t next = 0;
    const auto reference = [&](std::size_t col) {
        const std::size_t written = col == next ? 0 : row1;
        next = col + 1;
        return written;
    };
    const auto shared = [&](std::size_t col, int style, std::size_t index) {
        xlsx::AppendCellStart(out, col, reference(col), style);
        out += " t=\"s\"><v>";
        xlsx::AppendInt(out, static_cast<std::int64_t>(index));
        out += "</v></c>";
    };
    for (std::size_t col = 0; col < columns.size(); ++col) {
        const std::size_t field = columns[col].Field;
        switch (columns[col].Kind) {
            case TOutputKind::okName:
                if (table.Fields()[field].Shared) {
                    const std::size_t ref = table.SharedRefOf(r, field);
                    if (ref != TMemTable::npos && layout.RegionStrings[ref] != TMemTable::npos)
                        shared(col, xlsx::sTop, layout.RegionStrings[ref]);
                } else if (const std::string_view name = table.TextView(r, field); !name.empty()) {
                    xlsx::AppendInlineString(out, col, reference(col), xlsx::sTop, CellText(name));
                }
                break;
            case TOutputKind::okInteger:
            case TOutputKind::okDecil:
                if (table.IsNull(r, field)) break;
                xlsx::AppendCellStart(out, col, reference(col), xlsx::sInteger);
                out += "><v>";
                xlsx::AppendInt(out, table.GetInt(r, field));
                out += "</v></c>";
                break;
            case TOutputKind::okNumber:
                if (table.IsNull(r, field)) break;
                xlsx::AppendCellStart(out, col, reference(col), xlsx::sTop);
                out += "><v>";
                xlsx::AppendNumber(out, table.GetFloat(r, field));
                out += "</v></c>";
                break;
            case TOutputKind::okBand:
                if (!table.IsNull(r, field)) shared(col, xlsx::sTop, layout.Bands[BandOf(table.GetFloat(r, field))]);
                break;
            // The texts composed from the row's assessment, not read back
            // from the HTML.
            case TOutputKind::okAssessment:
                if (!table.IsNull(r, ofOBYVATELSTVO)) shared(col, xlsx::sWrap, layout.AssessmentStrings[layout.Keys[r]]);
                break;
            case TOutputKind::okWater:
                if (layout.Warnings[r]) shared(col, xlsx::sWrap, layout.WaterString);
                break;
        }
    }
    out += "</row>";
}

// Sheet "Obce": the output table, one row per municipality in table order,
// made and compressed in pieces of rows on every core.
void WriteRows(TZipWriter& zip, const TMemTable& table, const TLayout& layout, const TBatchProgress& progress) {
    const std::vector<TOutputColumn>& columns = OutputColumns();
    const std::size_t rows = table.RowCount();
    std::string lastCell;
    xlsx::AppendCellRef(lastCell, columns.size() - 1, rows + 1);

    std::string head = xlsx::WorksheetStart() + "<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr><dimension ref=\"A1:" + lastCell +
                       "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
                       "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"
                       "<selection pane=\"bottomLeft\"/></sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/><cols>";
    for (std::size_t col = 0; col < columns.size(); ++col) {
        const TOutputKind kind = columns[col].Kind;
        const bool wraps = kind == TOutputKind::okAssessment || kind == TOutputKind::okWater;
        head += "<col min=\"" + std::to_string(col + 1) + "\" max=\"" + std::to_string(col + 1) + "\" width=\"";
        xlsx::AppendNumber(head, xlsx::StoredColumnWidth(layout.Widths[col]));
        head += wraps ? "\" style=\"4\" customWidth=\"1\"/>" : "\" customWidth=\"1\"/>";
    }
    head += "</cols><sheetData><row r=\"1\"";
    if (layout.HeaderLines > 1) {
        head += " ht=\"";
        xlsx::AppendNumber(head, std::min(kMaxRowHeight, kLineHeight * layout.HeaderLines));
        head += "\" customHeight=\"1\"";
    }
    head += '>';
    for (std::size_t col = 0; col < columns.size(); ++col)
        xlsx::AppendInlineString(head, col, 1, xlsx::sHeader, OneLine(columns[col].Header));
    head += "</row>";
    std::string tail = "</sheetData><autoFilter ref=\"A1:" + lastCell + "\"/>";
    // The disadvantaged deciles stand out, also after the user edits them.
    int priority = 0;
    for (std::size_t col = 0; col < columns.size() && rows > 0; ++col) {
        if (columns[col].Kind != TOutputKind::okDecil) continue;
        std::string range;
        xlsx::AppendCellRef(range, col, 2);
        range += ':';
        xlsx::AppendCellRef(range, col, rows + 1);
        tail += "<conditionalFormatting sqref=\"" + range + "\"><cfRule type=\"cellIs\" dxfId=\"0\" priority=\"" +
                std::to_string(++priority) + "\" operator=\"greaterThanOrEqual\"><formula>" +
                std::to_string(kDisadvantagedDecil) + "</formula></cfRule></conditionalFormatting>";
    }
    tail += xlsx::SheetTail(true);

    // The head goes with the first piece and the tail with the last, which
    // ends the stream: a small table is one piece, compressed at once.
    zip.Begin("xl/worksheets/sheet1.xml");
    const std::size_t pieces = std::max<std::size_t>(1, (rows + kRowsPerPiece - 1) / kRowsPerPiece);
    ForEachPieceInOrder<TDeflatedPiece>(
        pieces,
        [&](std::size_t piece, TDeflatedPiece& result) {
            const std::size_t end = std::min(rows, (piece + 1) * kRowsPerPiece);
            const bool last = piece + 1 == pieces;
            std::string xml = piece == 0 ? head : std::string();
            xml.reserve(xml.size() + (end - std::min(end, piece * kRowsPerPiece)) * 1024 + (last ? tail.size() : 0));
            for (std::size_t r = piece * kRowsPerPiece; r < end; ++r) AppendRow(xml, table, layout, r);
            if (last) xml += tail;
            result = DeflatePiece(xml, last);
        },
        [&](std::size_t piece, TDeflatedPiece& result) {
            zip.Append(result);
            ReportProgress(progress, std::min(rows, (piece + 1) * kRowsPerPiece), rows);
        });
    zip.End();
}

std::string Grouped(std::size_t number) {
    std::string digits = std::to_string(number), grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
        grouped += digits[i];
    }
    return grouped;
}

// What the workbook needs before its first byte, checked: a table that a
// sheet cannot hold, or texts too long for the package, are refused before
// anything is written.
TLayout CheckedLayout(const TMemTable& table, const std::string& target) {
    CheckWorkbookRows(table.RowCount(), target);
    TLayout layout = Layout(table);
    CheckWorkbookSize(table, layout, target);
    return layout;
}

// The whole package into `sink`, in the order a reader meets its parts; the
// big sheet last but one, so that the parts it refers to come first.
void WritePackage(const TZevraBatch& batch, const TLayout& layout, const std::string& target,
                  const TZipWriter::TSink& sink, const TBatchProgress& progress) {
    const TMemTable& table = batch.OutputData();
    std::string filterRange = "Obce!$A$1:$";
    xlsx::AppendColumnName(filterRange, OutputColumns().size() - 1);
    filterRange += "$" + std::to_string(table.RowCount() + 1);
    try {
        // The parts that never change, compressed once.
        static const TDeflatedPiece kContentTypes = DeflatePiece(xlsx::ContentTypesXml(), true);
        static const TDeflatedPiece kRootRels = DeflatePiece(xlsx::RootRelsXml(), true);
        static const TDeflatedPiece kWorkbookRels = DeflatePiece(xlsx::WorkbookRelsXml(), true);
        static const TDeflatedPiece kStyles = DeflatePiece(xlsx::StylesXml(), true);
        TZipWriter zip(sink);
        zip.Add("[Content_Types].xml", kContentTypes);
        zip.Add("_rels/.rels", kRootRels);
        zip.Add("xl/_rels/workbook.xml.rels", kWorkbookRels);
        zip.Add("xl/workbook.xml", xlsx::WorkbookXml(filterRange));
        zip.Add("xl/styles.xml", kStyles);
        zip.Add("xl/sharedStrings.xml", xlsx::SharedStringsXml(layout.Strings.Texts(), layout.Strings.References));
        WriteRows(zip, table, layout, progress);
        zip.Add("xl/worksheets/sheet2.xml", xlsx::SummaryXml(batch));
        zip.Finish();
    } catch (const std::length_error&) {
        // Past what CheckWorkbookSize allows: refused rather than damaged.
        throw EZevraError(PathMessage(kCannotWriteMessage, target));
    }
    ReportProgress(progress, table.RowCount(), table.RowCount());
}

}  // namespace

TOutputFormat WorkbookOutputFormat() {
    return {"xlsx", {".xlsx"}, "Sešit Excel",
            [](const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress) {
                WriteWorkbookOutput(batch, fileName, progress);
            }};
}

void CheckWorkbookRows(std::size_t rows, const std::string& fileName) {
    if (rows <= kWorkbookMaxRows) return;
    throw EZevraError(PathMessage("Výsledek má " + Grouped(rows) + " obcí, list sešitu jich pojme nejvýše " +
                                      Grouped(kWorkbookMaxRows) + " (uložte jej jako HTML nebo JSON)!",
                                  FileNameOf(fileName)));
}

void WriteWorkbookOutput(const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress) {
    if (IsBlank(fileName)) throw EZevraError(kNoOutputFileMessage);
    const std::string target = FileNameOf(fileName);
    const TLayout layout = CheckedLayout(batch.OutputData(), target);
    TSafeFileWriter writer(target);
    WritePackage(batch, layout, target, [&writer](std::string_view bytes) { writer.Write(bytes); }, progress);
    writer.Commit();
}

void WriteWorkbook(const TZevraBatch& batch, std::ostream& out, const TBatchProgress& progress) {
    // Messages name the stream as the command line does.
    const std::string target = "-";
    const TLayout layout = CheckedLayout(batch.OutputData(), target);
    WriteToStream(out, [&](const TByteSink& sink) { WritePackage(batch, layout, target, sink, progress); });
}

std::string WorkbookBytes(const TZevraBatch& batch) {
    std::string bytes;
    const std::string target = "sešit.xlsx";
    WritePackage(batch, CheckedLayout(batch.OutputData(), target), target,
                 [&bytes](std::string_view piece) { bytes += piece; }, {});
    return bytes;
}

}  // namespace zevra
