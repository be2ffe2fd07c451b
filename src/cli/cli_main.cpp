// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli: the model's core from the shell.
#include "cli_commands.h"

#include "model/u_paths.h"
#include "model/u_format.h"
#include "model/u_text.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace zevra::cli {

std::string TerminalText(std::string_view text, bool keepCrLf) {
    static const char kHex[] = "0123456789ABCDEF";
    const auto plain = [](unsigned char c) { return c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F); };
    // Nearly every text has nothing to show otherwise: it goes out whole.
    if (std::all_of(text.begin(), text.end(), [&](char c) { return plain(static_cast<unsigned char>(c)); }))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            if (keepCrLf) out += '\r';
            ++i;
        } else if (plain(c)) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = c >= 0x80 ? DecodeUtf8At(text, i, cp) : 0; length == 0) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            ++i;
        } else if (cp <= 0x9F) {
            // A C1 control, U+0080 to U+009F: some terminals act on it as on
            // ESC and a letter (U+009B begins a control sequence).
            out += "\\u00";
            out += kHex[cp >> 4];
            out += kHex[cp & 15];
            i += length;
        } else {
            out.append(text.substr(i, length));
            i += length;
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

int ReportFailure(const std::exception& e) {
    std::cerr << TerminalText(e.what()) << '\n';
    return kExitFailure;
}

}  // namespace zevra::cli

namespace {

// The usage text; @FORMATS@ stands for the batch output formats.
constexpr const char* kUsageText =
    "Použití: zevra-cli [--data ADRESÁŘ] PŘÍKAZ ...\n"
    "\n"
    "Příkazy:\n"
    "  validate VSTUP.txt                      kontrola vstupních dat obce\n"
    "  evaluate VSTUP.txt [--format markup|text|rtf|json] [--draws N] [--spread S]\n"
    "                                          vyhodnocení obce, výpis zprávy\n"
    "  batch VSTUP.csv VYSTUP [--format @FORMATS@]\n"
    "                                          hromadné zpracování do tabulky HTML,\n"
    "                                          sešitu Excel nebo JSON (bez --format\n"
    "                                          podle přípony výstupu, jinak HTML)\n"
    "  sensitivity VSTUP.txt [--draws N] [--spread S]\n"
    "                                          citlivost pásma na váhy indikátorů\n"
    "\n"
    "Volby programu i volby příkazů (--format, --draws, --spread) mohou stát\n"
    "před příkazem i za ním:\n"
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

std::string UsageText() {
    std::string text = kUsageText;
    const std::string marker = "@FORMATS@";
    text.replace(text.find(marker), marker.size(), zevra::cli::BatchFormatNames());
    return text;
}

int Usage(const std::string& message) {
    if (!message.empty()) std::cerr << "zevra-cli: " << zevra::cli::TerminalText(message) << "\n\n";
    std::cerr << UsageText();
    return zevra::cli::kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    zevra::UseLocaleThousandSeparator();

    zevra::cli::TCliOptions options;
    try {
        options = zevra::cli::ParseCommandLine(argc, argv);
    } catch (const zevra::cli::UsageError& e) {
        return Usage(e.message);
    }
    if (options.Help) return zevra::cli::WriteStdout(UsageText()) ? zevra::cli::kExitOk : zevra::cli::kExitFailure;
    if (options.DataDir.empty()) {
        // An incomplete data folder of the user's is an error, not a reason
        // to go on with other data.
        try {
            options.DataDir = zevra::LocateDataDir();
        } catch (const std::exception& e) {
            std::cerr << "zevra-cli: " << zevra::cli::TerminalText(e.what()) << '\n';
            return zevra::cli::kExitFailure;
        }
    }
    if (options.Version) {
        const std::string text = std::string("zevra-cli ") + ZEVRA_VERSION_TEXT + "\nReferenční data: " +
                                 zevra::cli::TerminalText(options.DataDir) + "\n";
        return zevra::cli::WriteStdout(text) ? zevra::cli::kExitOk : zevra::cli::kExitFailure;
    }
    if (options.Command.empty()) return Usage("");

    try {
        if (options.Command == "validate") return zevra::cli::RunValidate(options);
        if (options.Command == "evaluate") return zevra::cli::RunEvaluate(options);
        if (options.Command == "batch") return zevra::cli::RunBatch(options);
        if (options.Command == "sensitivity") return zevra::cli::RunSensitivity(options);
        return Usage("neznámý příkaz '" + options.Command + "'");
    } catch (const zevra::cli::UsageError& e) {
        return Usage(e.message);
    }
}
