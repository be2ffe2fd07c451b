// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the JSON writer. The input gives the names and regions of
// a batch output table (see fuzz_output_rows.h); an input of one text is
// also the name of one evaluated municipality. Checked on every input: both
// documents parse as JSON, have the expected shape, and give back every name
// and region as stored, but with U+FFFD for what no output can carry (so the
// batch JSON agrees with the HTML table and the workbook); and nothing else
// in them changes with the texts (see fuzz_json_check.h).
#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchjson.h"
#include "batch/core/u_evaluationjson.h"
#include "model/u_DAO.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"

#include "fuzz_json_check.h"
#include "fuzz_output_rows.h"
#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zevra::fuzz::Batch;
using zevra::fuzz::Check;
using zevra::fuzz::Model;

const zevra::TZevraInputData& ExampleInput() {
    static const zevra::TZevraInputData input = [] {
        std::ifstream in(std::string(ZEVRA_FUZZ_EXAMPLES_DIR) + "/obec.txt", std::ios::binary);
        return zevra::TZevraData::ParseInputData(
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }();
    return input;
}

// The evaluation of the example under the given name, with its sensitivity.
std::string EvaluationJsonOf(const std::string& name) {
    zevra::TZevraModel& model = Model();
    model.Input() = ExampleInput();
    model.Input().Obec = name;
    model.Evaluate(false);
    zevra::TSensitivitySettings settings;
    settings.Draws = 16;
    const zevra::TSensitivityResult sensitivity = zevra::AnalyseSensitivity(
        zevra::DecilsOf(model.Output()->Indicators), zevra::WeightsInOrder(model.Weights()), settings);
    return zevra::EvaluationJson(model, sensitivity);
}

// The documents written once from marker texts: the batch one of 1 to 4
// rows, and the evaluation. Made before an input fills the batch and the
// model, which they use too.
struct TShapes {
    std::vector<zevra::fuzz::TJsonShape> Batch;
    zevra::fuzz::TJsonShape Evaluation;
};
const TShapes& Shapes() {
    static const TShapes shapes = [] {
        const std::string marker = "ZnackaTextu";
        TShapes made;
        std::string texts;
        for (std::size_t row = 1; row <= 4; ++row) {
            texts += (row > 1 ? "\x1E" : "") + marker + "Obce" + std::to_string(row) + "\x1E" + marker + "Kraje" +
                     std::to_string(row);
            zevra::fuzz::FillOutputRows(Batch(), texts, 4);
            made.Batch.push_back(zevra::fuzz::BatchJsonShape(zevra::BatchJsonText(Batch()), Batch().OutputData()));
        }
        made.Evaluation = zevra::fuzz::EvaluationJsonShape(EvaluationJsonOf(marker), marker);
        return made;
    }();
    return shapes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = zevra::fuzz::Bytes(data, size);
    const TShapes& shapes = Shapes();
    zevra::TZevraBatch& batch = Batch();
    zevra::fuzz::FillOutputRows(batch, bytes, 4);
    const zevra::TMemTable& table = batch.OutputData();

    zevra::fuzz::CheckBatchJson(zevra::BatchJsonText(batch), table, shapes.Batch.at(table.RowCount() - 1));

    // One municipality, named as an input file holds a name (decoded, so
    // always valid UTF-8): only for an input of one text, since the whole
    // evaluation document costs several times the batch one.
    if (bytes.find('\x1E') != std::string_view::npos) return 0;
    const std::string name = zevra::SanitizeUtf8(bytes);
    std::string json;
    try {
        json = EvaluationJsonOf(name);
    } catch (const zevra::EZevraError&) {
        // A blank name is refused, as it should be.
        Check(zevra::IsBlank(name));
        return 0;
    }
    zevra::fuzz::CheckEvaluationJson(json, name, shapes.Evaluation);
    return 0;
}
