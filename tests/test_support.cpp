// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include "model/u_indicators.h"
#include "model/u_SampleMunicipalities.h"
#include "model/u_inputdata.h"
#include "model/u_object.h"
#include "model/u_text.h"

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace zevra::test {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EZevraError& e) {
        return e.what();
    }
    return "(no error)";
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    FPath = std::filesystem::temp_directory_path() /
            ("zevra-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(FPath);
    std::filesystem::create_directories(FPath);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

std::size_t EntryCount(const std::filesystem::path& dir) {
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++entries;
    return entries;
}

std::string ToCp1250Crlf(const std::string& utf8) {
    std::string crlf;
    for (char c : utf8) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return Utf8ToCp1250(crlf);
}

std::string Distribution(const std::string& code) {
    std::string text = "DecilDist = " + code + "\n";
    for (int i = 1; i <= 9; ++i) text += "Value" + std::to_string(i) + " = " + std::to_string(i * 10) + "\n";
    return text + "Asc = T\n";
}

namespace {

// A sample municipality's deciles: 5 but the first indicator's.
std::string SampleDecils(int first) {
    std::string text;
    for (std::size_t k = 0; k < kIndicatorCount; ++k)
        text += std::string(kIndicatorCodes[k]) + " = " + std::to_string(k == 0 ? first : 5) + "\n";
    return text;
}

std::map<std::string, std::string> DefaultDataSet() {
    std::map<std::string, std::string> files;
    std::string dists = "# test distributions\n";
    for (const char* code : kIndicatorCodes) dists += Distribution(code);
    files["DecilDists"] = dists;
    files["MuniInfo"] =
        "Obec = Lhota\nKod = 100001\nOkres = Benešov\n"
        "Obec = Lhota\nKod = 100002\nOkres = Kolín\n"
        "Obec = Čáslav\nKod = 100003\nOkres = Kutná Hora\n"
        "Obec = Dub\nKod = 100004\nOkres = Prachatice\n";
    files["Regions"] =
        "Region = 1\nNazev = Středočeský\nNadmVyska = 300\n"
        "Region = 2\nNazev = Jihočeský\nNadmVyska = 500\n";
    files["SampMuni"] =
        std::string("Obec = Dub\nOkres = Prachatice\nKraj = Jihočeský\nKod = 100004\nObyvateleCelkem = 1000\n") +
        SampleDecils(5) + "Obyvatelstvo = 500\n" +
        "Obec = Lhota\nOkres = Benešov\nKraj = Středočeský\nKod = 100001\nObyvateleCelkem = 900\n" +
        SampleDecils(4) + "Obyvatelstvo = 490\n" +
        "Obec = Čáslav\nOkres = Kutná Hora\nKraj = Středočeský\nKod = 100003\nObyvateleCelkem = 1200\n" +
        SampleDecils(7) + "Obyvatelstvo = 520\n";
    files["OWeights"] = "OWeights = 1\ndck = 10\ndvo = 10\nvs1 = 10\nnvr = 20\nvkt = 10\nvea = 20\nrps = 20\n";
    return files;
}

}  // namespace

TCliRun RunCli(const std::string& args, const std::optional<std::string>& piped, const std::string& env) {
    const TempDir dir;
    std::string command = env + " LC_ALL=C '" + std::string(ZEVRA_CLI_PATH) + "' " + args + " >'" + dir.File("out") +
                          "' 2>'" + dir.File("err") + "'";
    if (piped) {
        WriteBytes(dir.File("in"), *piped);
        command = "cat '" + dir.File("in") + "' | " + command;
    } else {
        command += " </dev/null";
    }
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(dir.File("out")), ReadBytes(dir.File("err"))};
}

std::vector<std::string> Names(const TZevraSampleMunicipalities& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.Items(i)->Obec);
    return names;
}

void SetMiddleInput(TZevraInputData& in) {
    in.Obec = "Velká Ves";
    in.Kraj = 2;
    in.Kod = 0;
    in.Vodovod = TTriBool::tbTrue;
    in.ObyvateleCelkem = 1000;
    in.KrMestoMin = in.OkrMestoKm = in.Silnice1TrM = 45;
    in.NadmVyska = 545;
    in.KatastrCelkem = 45;
    in.ObyvateleEA = in.PodnikateleCelkem2006 = 100;
    in.ObyvateleVyjizdejici = in.PodnikateleRolnici2006 = 45;
}

void WriteDataSet(const std::filesystem::path& dir, const std::map<std::string, std::string>& replace) {
    std::filesystem::create_directories(dir);
    auto files = DefaultDataSet();
    for (const auto& [name, text] : replace) files[name] = text;
    for (const auto& [name, text] : files) WriteBytes((dir / (name + ".txt")).string(), ToCp1250Crlf(text));
}

// The cells of every row of the HTML table.
std::vector<std::vector<std::string>> HtmlRows(const std::string& html) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t at = html.find("<tbody>"); (at = html.find("<tr>", at)) != std::string::npos; at += 4) {
        std::vector<std::string> cells;
        const std::size_t end = html.find("</tr>", at);
        for (std::size_t c = at; (c = html.find("<td>", c)) != std::string::npos && c < end;) {
            const std::size_t close = html.find("</td>", c);
            cells.push_back(html.substr(c + 4, close - c - 4));
            c = close;
        }
        rows.push_back(cells);
    }
    return rows;
}

}  // namespace zevra::test
