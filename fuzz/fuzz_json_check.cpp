// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_json_check.h"

#include "fuzz_output_rows.h"
#include "fuzz_support.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string_view>
#include <utility>

namespace zevra::fuzz {
namespace {

// The document parsed whole (a syntax error fails the check), but only the
// values under the keys `kept` lists for their depth (keys of the top object
// at depth 1) are kept: building the rest, most of an evaluation document,
// would cost more than the writer.
nlohmann::json Parse(const std::string& text, std::initializer_list<std::pair<int, std::string_view>> kept) {
    const nlohmann::json::parser_callback_t keep = [&](int depth, nlohmann::json::parse_event_t event,
                                                       nlohmann::json& parsed) {
        if (event != nlohmann::json::parse_event_t::key) return true;
        for (const auto& [at, key] : kept) {
            if (at == depth && parsed.get_ref<const std::string&>() == key) return true;
        }
        return false;
    };
    try {
        return nlohmann::json::parse(text, keep);
    } catch (const nlohmann::json::exception&) {
        Check(false);
    }
    return {};
}

}  // namespace

void CheckBatchJson(const std::string& text, const TMemTable& table) {
    const nlohmann::json rows = Parse(text, {{1, "obce"}, {3, "obec"}, {3, "kraj"}, {3, "kod"}, {4, "nazev"}});
    Check(rows.is_object() && rows.contains("obce"));
    const nlohmann::json& obce = rows["obce"];
    Check(obce.is_array() && obce.size() == table.RowCount());
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        const nlohmann::json& item = obce[row];
        Check(item.is_object() && item["obec"].is_string() && item["kraj"].is_object() &&
              item["kraj"]["nazev"].is_string());
        Check(item["obec"].get<std::string>() == ReadBackText(table.GetText(row, ofOBEC)));
        Check(item["kraj"]["nazev"].get<std::string>() == ReadBackText(table.GetText(row, ofKRAJ)));
        Check(item["kod"] == table.GetInt(row, ofKODOBCE));
    }
}

void CheckEvaluationJson(const std::string& text, const std::string& name) {
    const nlohmann::json one = Parse(text, {{1, "obec"}, {1, "vstup"}, {2, "Obec"}});
    // JSON can carry any character: the name may come back exactly, or as
    // the batch outputs carry it.
    const std::string carried = ReadBackText(name);
    Check(one.is_object() && one["obec"].is_string() && one["vstup"].is_object());
    for (const nlohmann::json* value : {&one["obec"], &one["vstup"]["Obec"]}) {
        Check(value->is_string());
        Check(value->get<std::string>() == name || value->get<std::string>() == carried);
    }
}

}  // namespace zevra::fuzz
