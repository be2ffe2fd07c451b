// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// One evaluated municipality as JSON (UTF-8) for spreadsheets and scripts,
// with the keys and types of the batch JSON (batch/core/u_batchjson.h).
// Described in docs/json.md.
#pragma once

#include "batch/core/u_batchjson.h"

#include <string>

namespace zevra {
class TZevraModel;
struct TSensitivityResult;
}  // namespace zevra

namespace zevra::cli {

// The model's current input and Output with the sensitivity figures.
std::string EvaluationJson(const TZevraModel& model, const TSensitivityResult& sensitivity);

// The batch JSON, which the batch core writes; the names under which the
// workbook test and the fuzz target call it.
inline std::string BatchJson(const TZevraBatch& batch) { return BatchJsonText(batch); }
inline TOutputFormat JsonOutputFormat() { return zevra::JsonOutputFormat(); }

}  // namespace zevra::cli
