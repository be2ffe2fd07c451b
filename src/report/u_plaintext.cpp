// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/u_plaintext.h"

namespace zevra {

std::string RenderPlainText(const std::vector<std::string>& entries) {
    TPlainTextSink sink;
    RenderMarkup(sink, entries);
    return sink.Text();
}

std::string PlainText(std::string_view markup) {
    std::string text = RenderPlainText({std::string(markup)});
    text.pop_back();  // the entry's line end
    return text;
}

}  // namespace zevra
