// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_exception_functions.h"

#include <utility>

namespace zevra {

ECompositeException::ECompositeException() : EVUNOException("") {}

ECompositeException::ECompositeException(const ECompositeException& other) : EVUNOException(other) {
    *this = other;
}

ECompositeException& ECompositeException::operator=(const ECompositeException& other) {
    if (this == &other) return *this;
    std::vector<TEntry> copy;
    copy.reserve(other.FEntries.size());
    for (const TEntry& entry : other.FEntries) {
        const char* message = entry.Exception ? entry.Exception->what() : "";
        copy.push_back({entry.Context, std::make_unique<EVUNOException>(message)});
    }
    FEntries = std::move(copy);
    return *this;
}

void ECompositeException::Add(std::string context, std::unique_ptr<std::exception> e) {
    if (!e) e = std::make_unique<EVUNOException>("");
    FEntries.push_back({std::move(context), std::move(e)});
}

std::string ECompositeException::Contexts(int index) const {
    if (index < 0 || index >= Count()) return {};
    return FEntries[static_cast<std::size_t>(index)].Context;
}

const std::exception* ECompositeException::Exceptions(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FEntries[static_cast<std::size_t>(index)].Exception.get();
}

void EnsureComposite(std::unique_ptr<ECompositeException>& composite) {
    if (!composite) composite = std::make_unique<ECompositeException>();
}

std::vector<std::string> FormatProblems(const ECompositeException& e) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(e.Count()));
    for (int i = 0; i < e.Count(); ++i) {
        const std::exception* problem = e.Exceptions(i);
        lines.push_back(e.Contexts(i) + ": " + (problem ? problem->what() : ""));
    }
    return lines;
}

}  // namespace zevra
