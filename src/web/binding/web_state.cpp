// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The state the page's calls share: one model, one batch.
#include "web_json.h"

#include "batch/core/u_batchcore.h"
#include "model/u_model.h"

#include <sys/stat.h>

namespace zevra::web {

namespace {

// The demonstration data embedded in the module.
constexpr const char* kEmbeddedData = "/data";

struct TState {
    // The runtime starts with the mask 0777, which would save every file
    // without read permission (a download then finds nothing to read).
    TState() { ::umask(022); }

    std::string Folder = kEmbeddedData;
    std::unique_ptr<TZevraModel> Model;
    std::unique_ptr<TZevraBatch> Batch;
};

TState& State() {
    static TState state;
    return state;
}

}  // namespace

TZevraModel& Model() {
    TState& s = State();
    if (!s.Model) s.Model = std::make_unique<TZevraModel>(s.Folder);
    return *s.Model;
}

const std::string& DataFolder() { return State().Folder; }

void UseDataFolder(const std::string& folder) {
    auto model = std::make_unique<TZevraModel>(folder);
    TState& s = State();
    s.Batch.reset();
    s.Model = std::move(model);
    s.Folder = folder;
}

TZevraBatch& Batch() {
    TState& s = State();
    if (!s.Batch) s.Batch = std::make_unique<TZevraBatch>(Model());
    return *s.Batch;
}

void DropBatch() { State().Batch.reset(); }

std::string Text(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::string Failure(const std::string& message) { return Text(Json{{"ok", false}, {"zprava", message}}); }

std::string Answer(const std::function<Json()>& answer) {
    try {
        return Text(answer());
    } catch (const std::exception& e) {
        return Failure(e.what());
    }
}

}  // namespace zevra::web
