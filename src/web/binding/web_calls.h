// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The calls the page makes (src/web/API.md); each returns a JSON text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace zevra::web {

std::string Info();
std::string InputFields();
std::string UseReferenceData(const std::string& folder);
std::string ReferenceData();
std::string FindMunicipality(const std::string& name);
std::string Validate(const std::string& inputJson);
std::string Evaluate(const std::string& inputJson);
std::string EvaluateJson(const std::string& inputJson);
std::string WriteReportRtf(const std::string& inputJson, const std::string& path);
std::string ReadInputFile(const std::string& path);
std::string WriteInputFile(const std::string& inputJson, const std::string& path);

// Told now and then how far a long step got; may be empty.
using TProgressCallback = std::function<void(std::size_t done, std::size_t total)>;
std::string BatchLoad(const std::string& path, const TProgressCallback& progress);
std::string BatchRows(double start, double count);
std::string BatchRun(const TProgressCallback& progress);
std::string BatchWrite(const std::string& format, const std::string& path, const TProgressCallback& progress);
std::string OutputFormats();

}  // namespace zevra::web
