// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli: the model's core from the shell.
#include "cli_commands.h"

#include "model/u_paths.h"
#include "model/u_format.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace zevra::cli {

std::string TerminalText(std::string_view text, bool keepCrLf) {
    static const char kHex[] = "0123456789ABCDEF";
    const auto plain = [](unsigned char c) { return c == '\n' || c == '\t' || (c >= 0x20 && c != 0x7F); };
    // Nearly every text has nothing to show otherwise: it goes out whole.
    if (std::all_of(text.begin(), text.end(), [&](char c) { return plain(static_cast<unsigned char>(c)); }))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            if (keepCrLf) out += '\r';
            continue;
        }
        if (plain(c)) {
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
    "  evaluate VSTUP.txt [--format markup|text|rtf|json]\n"
    "                                          vyhodnocení obce, výpis zprávy\n"
    "  batch VSTUP.csv VYSTUP.html|.xlsx|.json hromadné zpracování do tabulky HTML,\n"
    "                                          sešitu Excel nebo JSON (podle přípony)\n"
    "  sensitivity VSTUP.txt [--draws N] [--spread S]\n"
    "                                          citlivost pásma na váhy indikátorů\n"
    "\n"
    "Volby (před příkazem i za ním):\n"
    "  --data ADRESÁŘ, --data=ADRESÁŘ\n"
    "                   složka s referenčními daty (jinak $XDG_DATA_HOME/zevra/data,\n"
    "                   obsahuje-li všech pět souborů, pak 'data' vedle programu,\n"
    "                   pak nainstalovaná sdílená složka)\n"
    "  --help           tato nápověda\n"
    "  --version        verze programu a použitá složka s daty\n"
    "  --               konec voleb, dál jen názvy souborů\n"
    "Název souboru '-' čte vstup ze standardního vstupu; výstup příkazu batch\n"
    "'-' píše na standardní výstup.\n"
    "\n"
    "Návratový kód: 0 úspěch, 1 data obsahují chyby, 2 selhání.\n";

int Usage(const std::string& message) {
    if (!message.empty()) std::cerr << "zevra-cli: " << zevra::cli::TerminalText(message) << "\n\n";
    std::cerr << kUsage;
    return zevra::cli::kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    zevra::UseLocaleThousandSeparator();

    // The program's own options may stand before or after the command; the
    // command's options (evaluate --format) and its file names are passed on
    // in their order. After "--" every argument is a file name: one that
    // begins with "-" (other than "-" itself, standard input/output) gets
    // "./" in front, the same file, so no command takes it for an option.
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string dataDir;
    std::string command;
    std::vector<std::string> rest;
    bool help = false, version = false, optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded) {
            if (command.empty()) command = a;
            else rest.push_back(a.size() > 1 && a[0] == '-' ? "./" + a : a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--version") {
            version = true;
        } else if (a == "--data") {
            if (i + 1 >= args.size()) return Usage("--data vyžaduje adresář");
            dataDir = args[++i];
            if (dataDir.empty()) return Usage("--data vyžaduje adresář");
        } else if (a.rfind("--data=", 0) == 0) {
            dataDir = a.substr(7);
            if (dataDir.empty()) return Usage("--data vyžaduje adresář");
        } else if (command.empty()) {
            if (a.size() > 1 && a[0] == '-') return Usage("neznámá volba '" + a + "'");
            command = a;
        } else {
            rest.push_back(a);
        }
    }
    if (help) return zevra::cli::WriteStdout(kUsage) ? zevra::cli::kExitOk : zevra::cli::kExitFailure;
    if (dataDir.empty()) dataDir = zevra::LocateDataDir();
    if (version) {
        const std::string text = std::string("zevra-cli ") + ZEVRA_VERSION_TEXT + "\nReferenční data: " +
                                 zevra::cli::TerminalText(dataDir) + "\n";
        return zevra::cli::WriteStdout(text) ? zevra::cli::kExitOk : zevra::cli::kExitFailure;
    }
    if (command.empty()) return Usage("");

    try {
        if (command == "validate") return zevra::cli::RunValidate(dataDir, rest);
        if (command == "evaluate") return zevra::cli::RunEvaluate(dataDir, rest);
        if (command == "batch") return zevra::cli::RunBatch(dataDir, rest);
        if (command == "sensitivity") return zevra::cli::RunSensitivity(dataDir, rest);
        return Usage("neznámý příkaz '" + command + "'");
    } catch (const zevra::cli::UsageError& e) {
        return Usage(e.message);
    }
}
