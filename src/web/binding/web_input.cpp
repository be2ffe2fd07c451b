// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The input of one municipality between the page's texts and the record.
#include "web_json.h"

#include "model/u_decimal.h"
#include "model/u_format.h"
#include "model/u_inputfields.h"
#include "model/u_object.h"
#include "model/u_text.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zevra::web {

namespace {

// The text of a value: a string as it is, a number in its shortest form
// (a script may send numbers), anything else as empty.
std::string ValueText(const Json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end()) return {};
    if (it->is_string()) return it->get<std::string>();
    if (it->is_number_integer()) return FormatInt(it->get<long long>());
    if (it->is_number()) return ShortestDecimal(it->get<double>());
    return {};
}

// A number as a Czech user or a spreadsheet types it, in the program's
// form: blanks around and digit-grouping spaces (also U+00A0, U+202F) gone,
// a decimal comma as a point. Empty text is 0, as an empty field.
std::string NumberText(std::string_view typed) {
    std::string text;
    const std::string_view trimmed = TrimView(typed);
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] == ' ') continue;
        if (trimmed.substr(i).starts_with("\u00A0")) {
            i += 1;
            continue;
        }
        if (trimmed.substr(i).starts_with("\u202F")) {
            i += 2;
            continue;
        }
        text += trimmed[i];
    }
    if (text.empty()) return "0";
    if (text.find(',') != std::string::npos && text.find(',') == text.rfind(',') &&
        text.find('.') == std::string::npos)
        text[text.find(',')] = '.';
    return text;
}

// Reads one number field into the record; the error line when it cannot.
// Beyond what the field takes while typing (FormFieldError), any number the
// core reads is kept as it is (a loaded file's value with more decimals, a
// sign): validation then judges it, as it judges a loaded file.
std::optional<std::string> ReadNumberField(const TFormField& field, const std::string& typed, TZevraInputData& in) {
    const std::string text = NumberText(typed);
    if (field.InKilometres()) {
        if (const auto metres = KmToMetres(text)) {
            in.*field.IntMember = *metres;
            return std::nullopt;
        }
    } else if (field.IntMember != nullptr) {
        std::int32_t whole = 0;
        double value = 0;
        if (TryParseInteger(text, whole)) {
            in.*field.IntMember = whole;
            return std::nullopt;
        }
        if (TryParseNumber(text, value) && value == std::trunc(value)) {
            in.*field.IntMember = SaturateToInt32(value);
            return std::nullopt;
        }
    } else if (double value = 0; TryParseNumber(text, value)) {
        in.*field.FloatMember = value;
        return std::nullopt;
    }
    std::string error = FormFieldError(field, typed);
    if (error.empty()) error = FormFieldError(field, "?");
    return FormFieldErrorLine(field, error);
}

// Whole metres as kilometres, exactly: the point moved three places.
std::string MetresAsKm(std::int32_t metres) {
    const bool negative = metres < 0;
    std::string digits = FormatInt(std::llabs(static_cast<long long>(metres)));
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    std::string km = digits.substr(0, digits.size() - 3);
    std::string fraction = digits.substr(digits.size() - 3);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) km += "." + fraction;
    return (negative ? "-" : "") + km;
}

}  // namespace

TTypedInput ReadTypedInput(const std::string& inputJson) {
    const Json object = Json::parse(inputJson, nullptr, false);
    if (!object.is_object()) throw EZevraError("Vstupní data nejsou platný objekt JSON.");
    TTypedInput typed;
    TZevraInputData& in = typed.Input;
    for (std::size_t i = 0; i < kFormFieldCount; ++i) {
        const TFormField& field = kFormFields[i];
        std::string text = ValueText(object, field.Key);
        switch (field.Kind) {
            // Bytes that are no UTF-8 (a script's) are shown as U+FFFD, as
            // every writer would show them.
            case TFormFieldKind::fkName: in.Obec = SanitizeUtf8(Trim(text)); break;
            case TFormFieldKind::fkRegion: {
                std::int32_t region = -1;
                in.Kraj = TryParseInteger(Trim(text), region) ? region : -1;
                break;
            }
            case TFormFieldKind::fkYesNo: {
                const std::string answer = Trim(text);
                in.Vodovod = answer == "T" ? TTriBool::tbTrue : answer == "F" ? TTriBool::tbFalse : TTriBool::tbUnknown;
                break;
            }
            case TFormFieldKind::fkNumber: {
                // The file's own key of the road, in metres, serves scripts.
                if (field.InKilometres() && !object.contains(field.Key) && object.contains("Silnice1TrM")) {
                    double metres = 0;
                    if (TryParseNumber(NumberText(ValueText(object, "Silnice1TrM")), metres))
                        text = MetresAsKm(SaturateToInt32(metres));
                }
                if (auto error = ReadNumberField(field, text, in)) typed.FieldErrors.push_back(std::move(*error));
                break;
            }
        }
    }
    return typed;
}

Json TypedInputJson(const TZevraInputData& in) {
    Json object = Json::object();
    for (std::size_t i = 0; i < kFormFieldCount; ++i) {
        const TFormField& field = kFormFields[i];
        std::string text;
        switch (field.Kind) {
            case TFormFieldKind::fkName: text = in.Obec; break;
            case TFormFieldKind::fkRegion: text = FormatInt(in.Kraj); break;
            case TFormFieldKind::fkYesNo:
                text = in.Vodovod == TTriBool::tbTrue ? "T" : in.Vodovod == TTriBool::tbFalse ? "F" : "";
                break;
            case TFormFieldKind::fkNumber:
                if (field.InKilometres()) text = MetresAsKm(in.*field.IntMember);
                else if (field.IntMember == &TZevraInputData::Kod) text = in.Kod == 0 ? "" : FormatInt(in.Kod);
                else if (field.IntMember != nullptr) text = FormatInt(in.*field.IntMember);
                else text = ShortestDecimal(in.*field.FloatMember);
                break;
        }
        object[field.Key] = text;
    }
    return object;
}

}  // namespace zevra::web
