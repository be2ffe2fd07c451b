// zevra-cli: the model's core from the shell.
#include "cli_commands.h"

#include "model/u_paths.h"
#include "model/u_format.h"

#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Použití: zevra-cli [--data ADRESÁŘ] PŘÍKAZ ...\n"
    "\n"
    "Příkazy:\n"
    "  validate VSTUP.txt                      kontrola vstupních dat obce\n"
    "  evaluate VSTUP.txt [--format markup|text|rtf]\n"
    "                                          vyhodnocení obce, výpis zprávy\n"
    "  batch VSTUP.csv VYSTUP.html             hromadné zpracování do tabulky HTML\n"
    "\n"
    "Volby:\n"
    "  --data ADRESÁŘ   složka s referenčními daty (jinak 'data' vedle programu\n"
    "                   nebo '../share/zevra/data')\n"
    "  --help           tato nápověda\n"
    "  --version        verze programu\n";

int Usage(const std::string& message) {
    if (!message.empty()) std::cerr << "zevra-cli: " << message << "\n\n";
    std::cerr << kUsage;
    return zevra::cli::kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    zevra::UseLocaleThousandSeparator();

    std::vector<std::string> args(argv + 1, argv + argc);
    std::string dataDir;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return zevra::cli::kExitOk;
        }
        if (a == "--version") {
            std::cout << "zevra-cli " << ZEVRA_VERSION_TEXT << "\n";
            return zevra::cli::kExitOk;
        }
        if (a == "--data") {
            if (i + 1 >= args.size()) return Usage("--data vyžaduje adresář");
            dataDir = args[++i];
            continue;
        }
        break;
    }
    if (i >= args.size()) return Usage("");
    const std::string command = args[i];
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (dataDir.empty()) dataDir = zevra::LocateDataDir();

    try {
        if (command == "validate") return zevra::cli::RunValidate(dataDir, rest);
        if (command == "evaluate") return zevra::cli::RunEvaluate(dataDir, rest);
        if (command == "batch") return zevra::cli::RunBatch(dataDir, rest);
        return Usage("neznámý příkaz '" + command + "'");
    } catch (const zevra::cli::UsageError& e) {
        return Usage(e.message);
    }
}
