// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// What the binding's calls share: the model in use, the JSON answers, and
// the input of one municipality as the page sends it (texts as typed).
#pragma once

#include "model/u_inputdata.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zevra {
class TZevraModel;
class TZevraBatch;
}  // namespace zevra

namespace zevra::web {

using Json = nlohmann::ordered_json;

// The model of the reference data in use (the embedded demonstration data
// at first) and the folder they were read from.
TZevraModel& Model();
const std::string& DataFolder();
// Reads the folder's five files and uses them from now on; throws the
// reader's error and keeps the data in use then. Drops the batch.
void UseDataFolder(const std::string& folder);

// The batch of the page, made on first use; dropped with the data.
TZevraBatch& Batch();
void DropBatch();

// The JSON text of an answer (UTF-8; a stray byte shown as U+FFFD).
std::string Text(const Json& json);
// {"ok": false, "zprava": message}
std::string Failure(const std::string& message);
// Runs `answer` and returns its text; an exception becomes Failure(what).
std::string Answer(const std::function<Json()>& answer);

// One municipality as typed on the page: the record, and the error line of
// every field whose text is no value of its kind (the field is then 0 in
// the record). Throws EZevraError for text that is not a JSON object.
struct TTypedInput {
    TZevraInputData Input;
    std::vector<std::string> FieldErrors;
};
TTypedInput ReadTypedInput(const std::string& inputJson);
// The record as texts the page shows and sends back unchanged: every value
// reads back as the same record.
Json TypedInputJson(const TZevraInputData& input);

}  // namespace zevra::web
