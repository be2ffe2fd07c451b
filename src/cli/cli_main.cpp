// zevra-cli: the model's core from the shell.
#include "cli_commands.h"

#include "model/u_paths.h"
#include "model/u_format.h"

#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace zevra::cli {

std::string TerminalText(std::string_view text, bool keepCrLf) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            if (keepCrLf) out += '\r';
            continue;
        }
        if (c == '\n' || c == '\t' || (c >= 0x20 && c != 0x7F)) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

bool WriteStdout(std::string_view text) {
    std::cout << text;
    std::cout.flush();
    if (std::cout) return true;
    std::cerr << "Chyba při zápisu na standardní výstup!\n";
    return false;
}

}  // namespace zevra::cli

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
    if (!message.empty()) std::cerr << "zevra-cli: " << zevra::cli::TerminalText(message) << "\n\n";
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
            return zevra::cli::WriteStdout(kUsage) ? zevra::cli::kExitOk : zevra::cli::kExitFailure;
        }
        if (a == "--version") {
            return zevra::cli::WriteStdout(std::string("zevra-cli ") + ZEVRA_VERSION_TEXT + "\n")
                       ? zevra::cli::kExitOk
                       : zevra::cli::kExitFailure;
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
