// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Results as JSON (UTF-8) for spreadsheets and scripts: one evaluated
// municipality, or the output table of a batch run. Described in docs/json.md.
#pragma once

#include "batch/core/u_batchformats.h"

#include <string>

namespace zevra {
class TZevraModel;
class TZevraBatch;
struct TSensitivityResult;
}  // namespace zevra

namespace zevra::cli {

// The model's current input and Output with the sensitivity figures.
std::string EvaluationJson(const TZevraModel& model, const TSensitivityResult& sensitivity);

// Every row of the batch output table.
std::string BatchJson(const TZevraBatch& batch);

// The batch JSON as an output format, "json" (".json").
TOutputFormat JsonOutputFormat();

}  // namespace zevra::cli
