// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_paths.h"

#include "model/u_object.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#ifndef ZEVRA_INSTALLED_DATA_RELATIVE
#error "ZEVRA_INSTALLED_DATA_RELATIVE comes from the build (the data folder relative to the program folder)"
#endif

namespace zevra {

namespace {

constexpr const char* kReferenceFiles[] = {"DecilDists.txt", "MuniInfo.txt", "Regions.txt", "SampMuni.txt",
                                           "OWeights.txt"};

// The first line of every shipped demonstration file begins so.
constexpr std::string_view kDemonstrationMark = "# Demonstracni data";

}  // namespace

std::string ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::vector<std::string> MissingReferenceFiles(const std::string& dir) {
    namespace fs = std::filesystem;
    std::vector<std::string> missing;
    std::error_code ec;
    for (const char* name : kReferenceFiles) {
        if (dir.empty() || !fs::is_regular_file(fs::path(dir) / name, ec)) missing.emplace_back(name);
    }
    return missing;
}

bool HoldsReferenceData(const std::string& dir) { return !dir.empty() && MissingReferenceFiles(dir).empty(); }

bool IsDemonstrationData(const std::string& dir) {
    namespace fs = std::filesystem;
    if (dir.empty()) return false;
    for (const char* name : kReferenceFiles) {
        std::ifstream in(fs::path(dir) / name, std::ios::binary);
        if (!in) continue;
        std::string head(kDemonstrationMark.size() + 3, '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<std::size_t>(in.gcount()));
        if (IsDemonstrationHead(head)) return true;
    }
    return false;
}

bool IsDemonstrationHead(std::string_view head) {
    // A UTF-8 byte order mark may precede the line when the file was saved by an editor.
    if (head.starts_with("\xEF\xBB\xBF")) head.remove_prefix(3);
    return head.starts_with(kDemonstrationMark);
}

std::string DataFolderText(const std::string& dir) {
    std::string text = "Referenční data: " + dir;
    if (IsDemonstrationData(dir)) text += " (demonstrační data, nejde o oficiální údaje)";
    return text;
}

std::string UserDataDir() {
    namespace fs = std::filesystem;
    // The XDG base directory rules ignore a relative XDG_DATA_HOME.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && fs::path(xdg).is_absolute()) return (fs::path(xdg) / "zevra" / "data").string();
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return (fs::path(home) / ".local" / "share" / "zevra" / "data").string();
    return {};
}

std::string LocateDataDir() {
    namespace fs = std::filesystem;
    if (const std::string user = UserDataDir(); !user.empty()) {
        const std::vector<std::string> missing = MissingReferenceFiles(user);
        if (missing.empty()) return user;
        if (missing.size() < std::size(kReferenceFiles)) {
            std::string names;
            for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
            throw EZevraError(
                PathMessage("Uživatelská složka referenčních dat je neúplná, chybí soubory: " + names + "!", user));
        }
    }
    const fs::path exeDir = ExecutableDir();
    const fs::path beside = exeDir / "data";
    const fs::path installed = (exeDir / ZEVRA_INSTALLED_DATA_RELATIVE).lexically_normal();
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside.string();
    return installed.string();
}

}  // namespace zevra
