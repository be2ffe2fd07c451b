// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The calls as the JavaScript module offers them (embind). A progress
// argument may be left out, or be null; a function is called as
// progress(done, total).
#include "web_calls.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

namespace zevra::web {
namespace {

using emscripten::val;

TProgressCallback ProgressOf(const val& progress) {
    if (progress.isNull() || progress.isUndefined()) return {};
    return [progress](std::size_t done, std::size_t total) {
        progress(static_cast<double>(done), static_cast<double>(total));
    };
}

std::string BatchLoad1(const std::string& path) { return BatchLoad(path, {}); }
std::string BatchLoad2(const std::string& path, val progress) { return BatchLoad(path, ProgressOf(progress)); }
std::string BatchRun0() { return BatchRun({}); }
std::string BatchRun1(val progress) { return BatchRun(ProgressOf(progress)); }
std::string BatchWrite2(const std::string& format, const std::string& path) { return BatchWrite(format, path, {}); }
std::string BatchWrite3(const std::string& format, const std::string& path, val progress) {
    return BatchWrite(format, path, ProgressOf(progress));
}

}  // namespace
}  // namespace zevra::web

EMSCRIPTEN_BINDINGS(zevra) {
    using namespace zevra::web;
    emscripten::function("info", &Info);
    emscripten::function("inputFields", &InputFields);
    emscripten::function("useReferenceData", &UseReferenceData);
    emscripten::function("referenceData", &ReferenceData);
    emscripten::function("findMunicipality", &FindMunicipality);
    emscripten::function("validate", &Validate);
    emscripten::function("evaluate", &Evaluate);
    emscripten::function("evaluateJson", &EvaluateJson);
    emscripten::function("writeReportRtf", &WriteReportRtf);
    emscripten::function("readInputFile", &ReadInputFile);
    emscripten::function("writeInputFile", &WriteInputFile);
    emscripten::function("batchLoad", &BatchLoad1);
    emscripten::function("batchLoad", &BatchLoad2);
    emscripten::function("batchRows", &BatchRows);
    emscripten::function("batchRun", &BatchRun0);
    emscripten::function("batchRun", &BatchRun1);
    emscripten::function("batchWrite", &BatchWrite2);
    emscripten::function("batchWrite", &BatchWrite3);
    emscripten::function("outputFormats", &OutputFormats);
}
