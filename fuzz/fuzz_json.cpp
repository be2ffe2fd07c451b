// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the JSON writer. The input gives the names and regions of
// a batch output table (see fuzz_output_rows.h); an input of one text is
// also the name of one evaluated municipality. Checked on every input: both
// documents parse as JSON, have the expected shape, and give back every name
// and region as stored, but with U+FFFD for what no output can carry (so the
// batch JSON agrees with the HTML table and the workbook).
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = zevra::fuzz::Bytes(data, size);
    zevra::TZevraBatch& batch = Batch();
    zevra::fuzz::FillOutputRows(batch, bytes, 4);
    const zevra::TMemTable& table = batch.OutputData();

    zevra::fuzz::CheckBatchJson(zevra::BatchJsonText(batch), table);

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
    zevra::fuzz::CheckEvaluationJson(zevra::EvaluationJson(model, sensitivity), model.Input().Obec);
    return 0;
}
