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

TEST(RenderMarkupTest, EntriesBecomeParagraphsOfStyledRuns) {
    EXPECT_EQ(Render({}), Events{});
    EXPECT_EQ(Render({""}), Events{"|"});
    EXPECT_EQ(Render({"Obec: [b]Dolní Lhota[/b]"}), (Events{"Obec: ", "b:Dolní Lhota", "|"}));
    EXPECT_EQ(Render({"[i]Čáslav[/i], okr. Kutná Hora"}), (Events{"i:Čáslav", ", okr. Kutná Hora", "|"}));
    // Line breaks inside an entry stay in the run.
    EXPECT_EQ(Render({"[b]A[/b]\r\nB\r\n"}), (Events{"b:A", "\r\nB\r\n", "|"}));
}

TEST(RenderMarkupTest, TagsSwitchFlagsWithoutNesting) {
    EXPECT_EQ(Render({"[b][i]one[/b] two[/i] three"}), (Events{"bi:one", "i: two", " three", "|"}));
    EXPECT_EQ(Render({"[/b]plain[/i]"}), (Events{"plain", "|"}));
    EXPECT_EQ(Render({"[b]x[b]y[/b]"}), (Events{"b:x", "b:y", "|"}));
}

TEST(RenderMarkupTest, StyleIsKeptAcrossEntries) {
    EXPECT_EQ(Render({"start [b]", "bold[/b] end", "plain"}),
              (Events{"start ", "|", "b:bold", " end", "|", "plain", "|"}));
    EXPECT_EQ(Render({"[i]", "", "x"}), (Events{"|", "|", "i:x", "|"}));
}

TEST(RenderMarkupTest, UnknownTagsAreShownLiterally) {
    EXPECT_EQ(Render({"a[u]b[/u]c"}), (Events{"a", "[u]b", "[/u]c", "|"}));
    EXPECT_EQ(Render({"[B]x[/I]"}), (Events{"[B]x", "[/I]", "|"}));
    EXPECT_EQ(Render({"[]x[/]"}), (Events{"[]x", "[/]", "|"}));
    EXPECT_EQ(Render({"[b ]x[ b]"}), (Events{"[b ]x", "[ b]", "|"}));
    EXPECT_EQ(Render({"[bold]x"}), (Events{"[bold]x", "|"}));
    // A second slash belongs to the name.
    EXPECT_EQ(Render({"[//b]x"}), (Events{"[//b]x", "|"}));
}

TEST(RenderMarkupTest, BracketsAndSlashesOutsideTagsAreText) {
    EXPECT_EQ(Render({"a]b/c 1/2 ]"}), (Events{"a]b/c 1/2 ]", "|"}));
}

TEST(RenderMarkupTest, AbandonedTagsAreShownLiterallyAndSwitchNothing) {
    // Two opening brackets in a row cancel into one literal "[".
    EXPECT_EQ(Render({"[[b]x"}), (Events{"[b]x", "|"}));
    EXPECT_EQ(Render({"x[/ab[i]y"}), (Events{"x[/abi]y", "|"}));
    // A tag still open at the end of an entry.
    EXPECT_EQ(Render({"text [b", "next"}), (Events{"text [b", "|", "next", "|"}));
    EXPECT_EQ(Render({"[/i"}), (Events{"[/i", "|"}));
    EXPECT_EQ(Render({"["}), (Events{"[", "|"}));
}

TEST(RenderMarkupTest, PlainTextKeepsLineBreaksAndEndsEntriesWithLf) {
    EXPECT_EQ(RenderPlainText({"[b]Title[/b]\r\nline\r\n", "", "[i]x[/i] [q]"}), "Title\r\nline\r\n\n\nx [q]\n");
    EXPECT_EQ(RenderPlainText({}), "");
}

}  // namespace
}  // namespace zevra
