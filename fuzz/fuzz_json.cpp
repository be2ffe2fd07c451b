// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the JSON writer. The input gives the names and regions of
// a batch output table (see fuzz_output_rows.h); an input of one text is
// also the name of one evaluated municipality. Checked on every input: both
// documents parse as JSON, have the expected shape, and give back every name
// and region as stored, but with U+FFFD for what no output can carry (so the
// batch JSON agrees with the HTML table and the workbook).
#include "batch/core/u_batchcore.h"
#include "cli_json.h"
#include "model/u_DAO.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"

#include "fuzz_output_rows.h"
#include "fuzz_support.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

using zevra::fuzz::Batch;
using zevra::fuzz::Check;
using zevra::fuzz::Model;
using zevra::fuzz::ReadBackText;

const zevra::TZevraInputData& ExampleInput() {
    static const zevra::TZevraInputData input = [] {
        std::ifstream in(std::string(ZEVRA_FUZZ_EXAMPLES_DIR) + "/obec.txt", std::ios::binary);
        return zevra::TZevraData::ParseInputData(
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }();
    return input;
}

nlohmann::json Parse(const std::string& text) {
    try {
        return nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception&) {
        Check(false);
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = zevra::fuzz::Bytes(data, size);
    zevra::TZevraBatch& batch = Batch();
    zevra::fuzz::FillOutputRows(batch, bytes, 4);
    const zevra::TMemTable& table = batch.OutputData();

    const nlohmann::json rows = Parse(zevra::cli::BatchJson(batch));
    Check(rows.is_object() && rows.contains("obce"));
    const nlohmann::json& obce = rows["obce"];
    Check(obce.is_array() && obce.size() == table.RowCount());
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        const nlohmann::json& item = obce[row];
        Check(item.is_object() && item["obec"].is_string() && item["kraj"].is_object() &&
              item["kraj"]["nazev"].is_string());
        Check(item["obec"].get<std::string>() == ReadBackText(table.GetText(row, zevra::ofOBEC)));
        Check(item["kraj"]["nazev"].get<std::string>() == ReadBackText(table.GetText(row, zevra::ofKRAJ)));
        Check(item["kod"] == table.GetInt(row, zevra::ofKODOBCE));
    }

    // One municipality, named as an input file holds a name (decoded, so
    // always valid UTF-8): only for an input of one text, since the whole
    // evaluation document costs several times the batch one.
    if (bytes.find('\x1E') != std::string_view::npos) return 0;
    zevra::TZevraModel& model = Model();
    model.Input() = ExampleInput();
    model.Input().Obec = zevra::SanitizeUtf8(bytes);
    try {
        model.Evaluate(false);
    } catch (const zevra::EZevraError&) {
        // A blank name is refused, as it should be.
        Check(zevra::IsBlank(model.Input().Obec));
        return 0;
    }
    zevra::TSensitivitySettings settings;
    settings.Draws = 16;
    const zevra::TSensitivityResult sensitivity = zevra::AnalyseSensitivity(
        zevra::DecilsOf(model.Output()->Indicators), zevra::WeightsInOrder(model.Weights()), settings);
    const nlohmann::json one = Parse(zevra::cli::EvaluationJson(model, sensitivity));
    // JSON can carry any character: the name may come back exactly, or as
    // the batch outputs carry it.
    const std::string& name = model.Input().Obec;
    const std::string carried = ReadBackText(name);
    Check(one.is_object() && one["obec"].is_string() && one["vstup"].is_object());
    for (const nlohmann::json* value : {&one["obec"], &one["vstup"]["Obec"]}) {
        Check(value->is_string());
        Check(value->get<std::string>() == name || value->get<std::string>() == carried);
    }
    return 0;
}
