// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/u_Tags.h"

namespace zevra {

namespace {

// One rendering pass: the current style (kept across entries), the plain
// text not yet handed to the sink, and the state of a tag being read.
class TMarkupRenderer {
public:
    explicit TMarkupRenderer(IMarkupSink& sink) : FSink(sink) {}

    void RenderEntry(std::string_view entry) {
        ResetTag();
        for (char c : entry) Consume(c);
        if (FInTag) AbandonTag();
        ResetTag();
        Flush();
        FSink.EndEntry(FStyle);
    }

private:
    void Consume(char c) {
        if (c == '/' && FInTag && !FClosing) {
            FClosing = true;
        } else if (c == '[') {
            if (FInTag) {
                // A second "[" abandons the open tag and is itself consumed.
                AbandonTag();
                ResetTag();
            } else {
                FInTag = true;
            }
        } else if (c == ']' && FInTag) {
            CloseTag();
        } else if (FInTag) {
            FName += c;
        } else {
            FPending += c;
        }
    }

    void CloseTag() {
        Flush();
        if (FName == "b") {
            FStyle.Bold = !FClosing;
        } else if (FName == "i") {
            FStyle.Italic = !FClosing;
        } else {
            AbandonTag();
            FPending += ']';
        }
        ResetTag();
    }

    // The characters of an unfinished or unknown tag are ordinary text.
    void AbandonTag() {
        FPending += '[';
        if (FClosing) FPending += '/';
        FPending += FName;
    }

    void ResetTag() {
        FInTag = false;
        FClosing = false;
        FName.clear();
    }

    void Flush() {
        if (FPending.empty()) return;
        FSink.InsertText(FPending, FStyle);
        FPending.clear();
    }

    IMarkupSink& FSink;
    TMarkupStyle FStyle;
    std::string FPending;
    bool FInTag = false;
    bool FClosing = false;
    std::string FName;
};

}  // namespace

void RenderMarkup(IMarkupSink& sink, const std::vector<std::string>& entries) {
    TMarkupRenderer renderer(sink);
    for (const std::string& entry : entries) renderer.RenderEntry(entry);
}

std::string LiteralMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '[') out += '[';
        out += c;
    }
    return out;
}

}  // namespace zevra
