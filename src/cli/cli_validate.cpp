#include "cli_commands.h"

#include "model/u_model.h"

#include <iostream>

namespace zevra::cli {

int RunValidate(const std::string& dataDir, const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError{"validate očekává jeden vstupní soubor"};
    try {
        TZevraModel model(dataDir);
        model.LoadInput(InputPath(args[0]));
        std::vector<std::string> errors, warnings;
        model.Validate(&errors, &warnings);
        for (const auto& line : errors) std::cout << line << '\n';
        for (const auto& line : warnings) std::cout << line << '\n';
        return errors.empty() ? kExitOk : kExitDataErrors;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace zevra::cli
