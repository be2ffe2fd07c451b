#include "cli_commands.h"

namespace zevra::cli {

int RunEvaluate(const std::string&, const std::vector<std::string>&) {
    throw UsageError{"příkaz evaluate zatím není k dispozici"};
}

}  // namespace zevra::cli
