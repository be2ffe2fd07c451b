// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_workbooksummary.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/workbook/u_workbook.h"
#include "batch/workbook/u_workbookxml.h"
#include "model/u_indicators.h"
#include "model/u_model.h"
#include "model/u_text.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace zevra::xlsx {

namespace {

// A criterion of COUNTIF that matches exactly this text, as a string of a
// formula: "=" first (a text that looks like a comparison stays a text), the
// wildcards * ? ~ escaped with "~", quotes doubled.
std::string ExactCriterion(std::string_view text) {
    std::string criterion = "\"=";
    for (const char c : text) {
        if (c == '*' || c == '?' || c == '~') criterion += '~';
        if (c == '"') criterion += '"';
        criterion += c;
    }
    return criterion + '"';
}

// The cells of a column of sheet "Obce" below its header, to the last row a
// sheet has, so that a formula also counts rows the user adds.
std::string DataRange(TOutputKind kind, std::size_t field) {
    const std::vector<TOutputColumn>& columns = OutputColumns();
    const auto column = std::find_if(columns.begin(), columns.end(),
                                     [&](const TOutputColumn& c) { return c.Kind == kind && c.Field == field; });
    std::string name;
    xlsx::AppendColumnName(name, static_cast<std::size_t>(column - columns.begin()));
    return "Obce!$" + name + "$2:$" + name + "$" + std::to_string(kWorkbookMaxRows + 1);
}

}  // namespace

std::string SummaryXml(const TZevraBatch& batch) {
    const TMemTable& table = batch.OutputData();
    int bands[kBandCount] = {};
    std::vector<std::size_t> regionCounts(table.SharedTexts(ofKRAJ).size());
    std::vector<std::size_t> regionOrder;  // in order of first appearance
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        if (!table.IsNull(r, ofOBYVATELSTVO)) ++bands[BandOf(table.GetFloat(r, ofOBYVATELSTVO))];
        const std::size_t ref = table.SharedRefOf(r, ofKRAJ);
        if (ref == TMemTable::npos) continue;
        if (regionCounts[ref]++ == 0) regionOrder.push_back(ref);
    }

    std::string rowsXml;
    std::size_t row1 = 0;
    const auto text = [&](std::size_t col, int style, std::string_view cellText) {
        xlsx::AppendInlineString(rowsXml, col, row1, style, cellText);
    };
    const auto count = [&](std::size_t col, const std::string& formula, std::size_t value) {
        xlsx::AppendCellStart(rowsXml, col, row1, xlsx::sDefault);
        rowsXml += "><f>";
        xlsx::AppendText(rowsXml, formula);
        rowsXml += "</f><v>";
        xlsx::AppendInt(rowsXml, static_cast<std::int64_t>(value));
        rowsXml += "</v></c>";
    };
    const auto startRow = [&](std::size_t next) {
        if (row1 > 0) rowsXml += "</row>";
        row1 = next;
        rowsXml += "<row r=\"" + std::to_string(row1) + "\">";
    };

    const std::string bandRange = DataRange(TOutputKind::okBand, ofOBYVATELSTVO);
    const std::string regionRange = DataRange(TOutputKind::okName, ofKRAJ);
    startRow(1);
    text(0, xlsx::sBold, "Pásmo");
    text(1, xlsx::sBold, "Počet obcí");
    for (int b = 0; b < kBandCount; ++b) {
        startRow(row1 + 1);
        text(0, xlsx::sDefault, BandName(b));
        count(1, "COUNTIF(" + bandRange + "," + ExactCriterion(BandName(b)) + ")", static_cast<std::size_t>(bands[b]));
    }
    startRow(row1 + 2);
    text(0, xlsx::sBold, "Kraj");
    text(1, xlsx::sBold, "Počet obcí");
    double width = 18;
    for (const std::size_t ref : regionOrder) {
        startRow(row1 + 1);
        const std::string& region = table.SharedTexts(ofKRAJ)[ref];
        if (!region.empty()) text(0, xlsx::sDefault, CellText(region));
        count(1, "COUNTIF(" + regionRange + "," + ExactCriterion(WritableText(region)) + ")", regionCounts[ref]);
        width = std::max(width, static_cast<double>(Characters(region)) + 2);
    }

    // Where the figures come from: the folder as an absolute path, and
    // whether its data are the shipped demonstration data.
    const std::string& dir = batch.Model().Data().DataDir();
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
    const std::string folder = ec ? dir : absolute.lexically_normal().string();
    startRow(row1 + 2);
    text(0, xlsx::sBold, "Referenční data");
    if (!folder.empty()) text(1, xlsx::sWrap, CellText(folder));
    startRow(row1 + 1);
    text(0, xlsx::sBold, "Demonstrační data");
    text(1, xlsx::sDefault, batch.Model().DemonstrationData() ? "ano (nejde o oficiální údaje)" : "ne");
    rowsXml += "</row>";

    std::string xml = xlsx::WorksheetStart() + "<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr><dimension ref=\"A1:B" +
                      std::to_string(row1) + "\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>" +
                      "<sheetFormatPr defaultRowHeight=\"15\"/><cols><col min=\"1\" max=\"1\" width=\"";
    xlsx::AppendNumber(xml, xlsx::StoredColumnWidth(width));
    xml += "\" customWidth=\"1\"/><col min=\"2\" max=\"2\" width=\"";
    xlsx::AppendNumber(xml, xlsx::StoredColumnWidth(kMaxColumnWidth));
    xml += "\" customWidth=\"1\"/></cols><sheetData>" + rowsXml + "</sheetData>" + xlsx::SheetTail(false);
    return xml;
}

}  // namespace zevra::xlsx
