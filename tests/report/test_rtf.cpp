// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF writer: a complete, ASCII-only document with code page 1250
// fallbacks, and a report that LibreOffice reads back with its letters,
// paragraphs and bold and italic runs intact.
#include "model/u_model.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace zevra {
namespace {

TEST(RtfWriterTest, DocumentHasHeaderFontAndOneParagraphPerEntry) {
    const std::vector<std::string> entries = {"[b]Title[/b]\r\nsecond line\r\n", "", "plain"};
    const std::string rtf = RenderRtfDocument(entries);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1250", 0), 0u);
    EXPECT_NE(rtf.find("Times New Roman;"), std::string::npos);
    EXPECT_NE(rtf.find("\\fs24"), std::string::npos);
    EXPECT_EQ(test::Occurrences(rtf, "\\par\r\n"), 3u);
    EXPECT_EQ(test::Occurrences(rtf, "\\line "), 2u);
    EXPECT_NE(rtf.find("{\\b Title}{\\line second line\\line }\\par"), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");

    // Braces balance and the document closes exactly at its end.
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{') ++depth;
        if (rtf[i] == '}') {
            ASSERT_GT(depth--, 0) << i;
        }
        if (depth == 0) {
            EXPECT_GE(i, rtf.size() - 3) << "document closed early at " << i;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(RenderRtfDocument({}).find("\\par\r\n"), std::string::npos);
}

TEST(RtfWriterTest, RunsCarryTheirStyle) {
    const std::string rtf = RenderRtfDocument({"a [b]b [i]bi[/b] i[/i] p"});
    EXPECT_NE(rtf.find("{a }{\\b b }{\\b\\i bi}{\\i  i}{ p}\\par"), std::string::npos);
}

TEST(RtfWriterTest, EveryNonAsciiCharacterHasAUnicodeEscapeAndACodePageFallback) {
    TRtfSink sink;
    sink.InsertText("čŽ–€ł α😀", {});
    sink.EndEntry({});
    const std::string rtf = sink.Document();
    EXPECT_NE(rtf.find("{\\u269\\'e8\\u381\\'8e\\u8211\\'96\\u8364\\'80\\u322\\'b3 \\u945?\\u-10179?\\u-8704?}"),
              std::string::npos)
        << rtf;
    for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(RtfWriterTest, SpecialCharactersAreEscapedAndControlsDropped) {
    TRtfSink sink;
    sink.InsertText("a{b}c\\d\te\x01" "f\ng\rh", {});
    EXPECT_NE(sink.Document().find("{a\\{b\\}c\\\\d\\tab ef\\line g\\line h}"), std::string::npos);
    // Invalid UTF-8 still gives a well-formed document.
    TRtfSink broken;
    broken.InsertText("x\xC3", {});
    broken.InsertText("\xE2\x82y", {});
    const std::string doc = broken.Document();
    for (char c : doc) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_NE(doc.find("{x\\u-3?}"), std::string::npos) << doc;
}

// ---- LibreOffice round trip -------------------------------------------------

bool HaveLibreOffice() { return std::system("command -v libreoffice >/dev/null 2>&1") == 0; }

std::string CollapseSpaces(const std::string& text) {
    return std::regex_replace(text, std::regex("\\s+"), " ");
}

// The converted HTML without font tags and with whitespace collapsed.
std::string NormalisedHtml(const std::string& html) {
    std::string text = std::regex_replace(html, std::regex("</?(font|span)[^>]*>"), "");
    text = std::regex_replace(text, std::regex("&amp;"), "&");
    return CollapseSpaces(text);
}

// Only the text: line and paragraph ends as blanks, every other tag removed.
std::string HtmlText(const std::string& normalisedHtml) {
    std::string text = std::regex_replace(normalisedHtml, std::regex("<(br|/p)[^>]*>"), " ");
    text = std::regex_replace(text, std::regex("<[^>]*>"), "");
    return CollapseSpaces(text);
}

class LibreOfficeRoundTrip : public ::testing::Test {
protected:
    // A report with three partial texts, the water warning and similar
    // municipalities, written as RTF and converted to HTML.
    void SetUp() override {
        if (!HaveLibreOffice()) GTEST_SKIP() << "libreoffice is not installed";
        test::WriteDataSet(Dir.Path() / "data");
        TZevraModel model((Dir.Path() / "data").string());
        TZevraInputData& in = model.Input();
        test::SetMiddleInput(in);
        in.Obec = "Žďár nad Sázavou";
        in.Kod = 595209;
        in.Vodovod = TTriBool::tbFalse;
        in.KrMestoMin = 95;
        in.NadmVyska = 595;
        in.PodnikateleRolnici2006 = 95;
        model.Evaluate();
        Entries = ComposeReportEntries(*model.Output());

        const std::string rtfPath = Dir.File("zprava.rtf");
        test::WriteBytes(rtfPath, RenderRtfDocument(Entries));
        const std::string command = "cd '" + Dir.Path().string() + "' && HOME='" + Dir.Path().string() +
                                    "' timeout 300 libreoffice -env:UserInstallation=file://" +
                                    (Dir.Path() / "profile").string() +
                                    " --headless --norestore --convert-to html --outdir '" +
                                    (Dir.Path() / "out").string() + "' '" + rtfPath + "' >lo.log 2>&1";
        // LibreOffice now and then aborts while it starts up with a new
        // profile, before it has read the file: a second start is allowed.
        int status = std::system(command.c_str());
        if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0)) status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "libreoffice failed: " << test::ReadBytes(Dir.File("lo.log"));
        const std::string htmlPath = (Dir.Path() / "out" / "zprava.html").string();
        ASSERT_TRUE(std::filesystem::exists(htmlPath)) << test::ReadBytes(Dir.File("lo.log"));
        Html = NormalisedHtml(test::ReadBytes(htmlPath));
    }

    bool HasRun(const std::string& tag, const std::string& text) const {
        return Html.find("<" + tag + ">" + text + "</" + tag + ">") != std::string::npos;
    }
    bool HasBoldItalicRun(const std::string& text) const {
        return Html.find("<b><i>" + text + "</i></b>") != std::string::npos ||
               Html.find("<i><b>" + text + "</b></i>") != std::string::npos;
    }

    test::TempDir Dir;
    std::vector<std::string> Entries;
    std::string Html;
};

TEST_F(LibreOfficeRoundTrip, TextAndCzechLettersSurvive) {
    const std::string text = HtmlText(Html);
    std::size_t from = 0;
    int lines = 0;
    const std::string plain = RenderPlainText(Entries);
    std::size_t start = 0;
    while (start < plain.size()) {
        auto end = plain.find_first_of("\r\n", start);
        if (end == std::string::npos) end = plain.size();
        const std::string line = CollapseSpaces(plain.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line == " ") continue;
        const std::string needle = line.front() == ' ' ? line.substr(1) : line;
        const auto at = text.find(needle, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << needle;
        from = at + needle.size();
        ++lines;
    }
    EXPECT_GT(lines, 30);
    EXPECT_NE(text.find("Žďár nad Sázavou"), std::string::npos);
}

TEST_F(LibreOfficeRoundTrip, BoldAndItalicRunsSurvive) {
    EXPECT_TRUE(HasRun("b", "Žďár nad Sázavou"));
    EXPECT_TRUE(HasRun("b", "Jihočeský"));
    EXPECT_TRUE(HasRun("b", "Slovní zhodnocení:"));
    EXPECT_TRUE(HasRun("b", "Dílčí zhodnocení:"));
    EXPECT_TRUE(HasRun("i", "Obec je znevýhodněna z hlediska polohy v kraji ."));
    EXPECT_TRUE(HasRun("i", "Obec leží ve vyšší nadmořské výšce, než je krajský průměr."));
    EXPECT_TRUE(HasRun("i", "Obec má velký podíl samostatně hospodařících rolníků na celkovém počtu "
                            "podnikatelských subjektů."));
    EXPECT_TRUE(HasRun("i", "Čáslav"));
    EXPECT_TRUE(HasBoldItalicRun("700-1000: Obec podle zadaných údajů je z hlediska disparit znevýhodněna a má "
                                 "nebo může mít problém s přírůstky obyvatel a tím s demografickou strukturou."));
    EXPECT_TRUE(HasBoldItalicRun("Obec může mít potenciální problémy s dostatečným zásobováním pitnou vodou. Této "
                                 "oblasti je třeba věnovat zvláštní pozornost"));
    // Plain text stays plain.
    EXPECT_EQ(Html.find("<b>Obec: "), std::string::npos);
    EXPECT_NE(Html.find("Obec: <b>Žďár"), std::string::npos);
}

}  // namespace
}  // namespace zevra
