#include "cli_commands.h"

namespace zevra::cli {

int RunBatch(const std::string&, const std::vector<std::string>&) {
    throw UsageError{"příkaz batch zatím není k dispozici"};
}

}  // namespace zevra::cli
