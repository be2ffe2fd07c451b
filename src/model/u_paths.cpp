#include "model/u_paths.h"

#include <filesystem>

namespace zevra {

std::string ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string LocateDataDir() {
    namespace fs = std::filesystem;
    const fs::path exeDir = ExecutableDir();
    const fs::path beside = exeDir / "data";
    const fs::path installed = (exeDir / ".." / "share" / "zevra" / "data").lexically_normal();
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside.string();
    if (fs::is_directory(installed, ec)) return installed.string();
    return beside.string();
}

}  // namespace zevra
