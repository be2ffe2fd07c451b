// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The markup renderer: runs and styles, literal text for anything that is not
// one of the four tags, style kept across entries.
#include "report/u_Tags.h"
#include "report/u_plaintext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zevra {
namespace {

// Records what the renderer hands over: "<text>" with a style prefix
// ("b:", "i:", "bi:" or nothing) for runs, "|" for the end of an entry.
class TRecordingSink : public IMarkupSink {
public:
    void InsertText(std::string_view text, TMarkupStyle style) override {
        std::string prefix = std::string(style.Bold ? "b" : "") + (style.Italic ? "i" : "");
        if (!prefix.empty()) prefix += ":";
        Events.push_back(prefix + std::string(text));
    }
    void EndEntry(TMarkupStyle) override { Events.push_back("|"); }
    std::vector<std::string> Events;
};

using Events = std::vector<std::string>;

Events Render(const std::vector<std::string>& entries) {
    TRecordingSink sink;
    RenderMarkup(sink, entries);
    return sink.Events;
}

TEST(RenderMarkupTest, EntriesBecomeParagraphsOfStyledRunsAndOtherTextIsLiteral) {
    const struct {
        std::vector<std::string> Entries;
        Events Expected;
    } kCases[] = {
        // Entries become paragraphs of styled runs; line breaks inside an
        // entry stay in the run.
        {{}, {}},
        {{""}, {"|"}},
        {{"Obec: [b]Dolní Lhota[/b]"}, {"Obec: ", "b:Dolní Lhota", "|"}},
        {{"[i]Čáslav[/i], okr. Kutná Hora"}, {"i:Čáslav", ", okr. Kutná Hora", "|"}},
        {{"[b]A[/b]\r\nB\r\n"}, {"b:A", "\r\nB\r\n", "|"}},
        // Tags switch flags without nesting.
        {{"[b][i]one[/b] two[/i] three"}, {"bi:one", "i: two", " three", "|"}},
        {{"[/b]plain[/i]"}, {"plain", "|"}},
        {{"[b]x[b]y[/b]"}, {"b:x", "b:y", "|"}},
        // Style is kept across entries.
        {{"start [b]", "bold[/b] end", "plain"}, {"start ", "|", "b:bold", " end", "|", "plain", "|"}},
        {{"[i]", "", "x"}, {"|", "|", "i:x", "|"}},
        // Unknown tags are shown literally; a second slash belongs to the name.
        {{"a[u]b[/u]c"}, {"a", "[u]b", "[/u]c", "|"}},
        {{"[B]x[/I]"}, {"[B]x", "[/I]", "|"}},
        {{"[]x[/]"}, {"[]x", "[/]", "|"}},
        {{"[b ]x[ b]"}, {"[b ]x", "[ b]", "|"}},
        {{"[bold]x"}, {"[bold]x", "|"}},
        {{"[//b]x"}, {"[//b]x", "|"}},
        // Brackets and slashes outside tags are text.
        {{"a]b/c 1/2 ]"}, {"a]b/c 1/2 ]", "|"}},
        // Abandoned tags are shown literally and switch nothing: two opening
        // brackets in a row cancel into one literal "["; a tag may still be
        // open at the end of an entry.
        {{"[[b]x"}, {"[b]x", "|"}},
        {{"x[/ab[i]y"}, {"x[/abi]y", "|"}},
        {{"text [b", "next"}, {"text [b", "|", "next", "|"}},
        {{"[/i"}, {"[/i", "|"}},
        {{"["}, {"[", "|"}},
    };
    for (const auto& c : kCases) EXPECT_EQ(Render(c.Entries), c.Expected) << ::testing::PrintToString(c.Entries);
}

TEST(RenderMarkupTest, PlainTextKeepsLineBreaksAndEndsEntriesWithLf) {
    EXPECT_EQ(RenderPlainText({"[b]Title[/b]\r\nline\r\n", "", "[i]x[/i] [q]"}), "Title\r\nline\r\n\n\nx [q]\n");
    EXPECT_EQ(RenderPlainText({}), "");
}

}  // namespace
}  // namespace zevra
