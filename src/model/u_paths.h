#pragma once

#include <string>

namespace zevra {

// The folder of the running executable.
std::string ExecutableDir();

// The reference data folder of an installation: "data" beside the executable,
// else "../share/zevra/data" relative to it. Returns the first that exists,
// or the first candidate when neither does (its files are then reported
// missing by the reader).
std::string LocateDataDir();

}  // namespace zevra
