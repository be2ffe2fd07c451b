// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// One evaluated municipality as JSON (UTF-8) for spreadsheets and scripts:
// the keys of a batch row with the same types (u_batchjson.h), then what only
// one municipality has. Written beside the batch JSON so that the two
// documents share one schema, described in docs/json.md; zevra-cli and the
// web page give this very document.
#pragma once

#include <string>

namespace zevra {

class TZevraModel;
struct TSensitivityResult;

// The model's current input and Output with the sensitivity figures.
std::string EvaluationJson(const TZevraModel& model, const TSensitivityResult& sensitivity);

}  // namespace zevra
