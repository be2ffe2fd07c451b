// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_json_check.h"

#include "fuzz_output_rows.h"
#include "fuzz_support.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string_view>
#include <utility>

namespace zevra::fuzz {
namespace {

nlohmann::json Parse(std::string_view text) {
    try {
        return nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception&) {
        Check(false);
    }
    return {};
}

struct TCut {
    std::size_t Begin = 0, End = 0;
    TJsonShape::THole Hole;
};

// Where the value `marker` stands in `text`, exactly once: the string, or
// the object around it.
TCut CutAt(const std::string& text, const std::string& marker, TJsonShape::THole hole) {
    const std::string literal = '"' + marker + '"';
    const std::size_t at = text.find(literal);
    Check(at != std::string::npos && text.find(literal, at + 1) == std::string::npos);
    TCut cut{at, at + literal.size(), hole};
    if (hole.Region) {
        cut.Begin = text.rfind('{', at);
        cut.End = text.find('}', at);
        Check(cut.Begin != std::string::npos && cut.End != std::string::npos);
        ++cut.End;
    }
    return cut;
}

TJsonShape ShapeOf(const std::string& text, std::vector<TCut> cuts) {
    std::sort(cuts.begin(), cuts.end(), [](const TCut& a, const TCut& b) { return a.Begin < b.Begin; });
    TJsonShape shape;
    std::size_t from = 0;
    for (const TCut& cut : cuts) {
        Check(cut.Begin >= from);
        shape.Pieces.push_back(text.substr(from, cut.Begin - from));
        shape.Holes.push_back(cut.Hole);
        from = cut.End;
    }
    shape.Pieces.push_back(text.substr(from));
    return shape;
}

// The end of the string or object that starts at `pos` (strings inside an
// object skipped whole), or npos.
std::size_t ValueEnd(std::string_view text, std::size_t pos) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = pos; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
                if (depth == 0) return i + 1;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && depth > 0) {
            if (--depth == 0) return i + 1;
        } else if (depth == 0) {
            return std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

// `text` is `shape` with a value in each hole; `check` gets each hole and
// its value, parsed.
template <class TCheckHole>
void Match(std::string_view text, const TJsonShape& shape, TCheckHole check) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < shape.Pieces.size(); ++i) {
        const std::string& piece = shape.Pieces[i];
        Check(text.substr(pos, piece.size()) == piece);
        pos += piece.size();
        if (i == shape.Holes.size()) break;
        const std::size_t end = ValueEnd(text, pos);
        Check(end != std::string_view::npos);
        check(shape.Holes[i], Parse(text.substr(pos, end - pos)));
        pos = end;
    }
    Check(pos == text.size());
}

}  // namespace

TJsonShape BatchJsonShape(const std::string& text, const TMemTable& table) {
    const nlohmann::json rows = Parse(text);
    Check(rows.is_object() && rows.contains("obce"));
    const nlohmann::json& obce = rows["obce"];
    Check(obce.is_array() && obce.size() == table.RowCount());
    std::vector<TCut> cuts;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        const nlohmann::json& item = obce[row];
        const std::string name = table.GetText(row, ofOBEC), region = table.GetText(row, ofKRAJ);
        Check(item.is_object() && item["obec"] == name && item["kraj"].is_object() && item["kraj"]["nazev"] == region);
        Check(item["kod"] == table.GetInt(row, ofKODOBCE));
        cuts.push_back(CutAt(text, name, {row, false}));
        cuts.push_back(CutAt(text, region, {row, true}));
    }
    return ShapeOf(text, std::move(cuts));
}

void CheckBatchJson(const std::string& text, const TMemTable& table, const TJsonShape& shape) {
    Match(text, shape, [&](const TJsonShape::THole& hole, const nlohmann::json& value) {
        Check(hole.Row < table.RowCount());
        if (hole.Region) {
            Check(value.is_object() && value.contains("nazev"));
            const nlohmann::json& name = value["nazev"];
            Check(name.is_string() && name.get_ref<const std::string&>() == ReadBackText(table.GetText(hole.Row, ofKRAJ)));
        } else {
            Check(value.is_string() && value.get_ref<const std::string&>() == ReadBackText(table.GetText(hole.Row, ofOBEC)));
        }
    });
}

TJsonShape EvaluationJsonShape(const std::string& text, const std::string& marker) {
    const nlohmann::json one = Parse(text);
    Check(one.is_object() && one["obec"] == marker && one["vstup"].is_object() && one["vstup"]["Obec"] == marker);
    // Every value of the marker is a hole, wherever it stands.
    const std::string literal = '"' + marker + '"';
    std::vector<TCut> cuts;
    for (std::size_t at = text.find(literal); at != std::string::npos; at = text.find(literal, at + 1))
        cuts.push_back({at, at + literal.size(), {}});
    // Not inside a longer text either: there it would be no hole.
    std::size_t all = 0;
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) ++all;
    Check(cuts.size() >= 2 && all == cuts.size());
    return ShapeOf(text, std::move(cuts));
}

void CheckEvaluationJson(const std::string& text, const std::string& name, const TJsonShape& shape) {
    // JSON can carry any character: the name may come back exactly, or as
    // the batch outputs carry it.
    const std::string carried = ReadBackText(name);
    Match(text, shape, [&](const TJsonShape::THole&, const nlohmann::json& value) {
        Check(value.is_string());
        const std::string& back = value.get_ref<const std::string&>();
        Check(back == name || back == carried);
    });
}

}  // namespace zevra::fuzz
