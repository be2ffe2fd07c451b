// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The system's own exception base and the composite exception that carries
// several problems at once (each with the context where it arose), so that an
// operation can go on after a failing item and report everything at the end.
#pragma once

#include "model/u_object.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace zevra {

// The in-house base of the system's own exceptions; it adds nothing.
class EVUNOException : public EZevraError {
public:
    using EZevraError::EZevraError;
};

// An ordered list of problems, each a context text ("Řádek 3") with the
// exception that holds the problem's message. The composite owns the entries;
// its own message is empty. Copying (which throwing may do) copies every entry
// as a plain exception with the same message.
class ECompositeException : public EVUNOException {
public:
    ECompositeException();
    ECompositeException(const ECompositeException& other);
    ECompositeException(ECompositeException&&) noexcept = default;
    ECompositeException& operator=(const ECompositeException& other);
    ECompositeException& operator=(ECompositeException&&) noexcept = default;
    ~ECompositeException() override = default;

    // Appends an entry; the composite takes over `e` (a null one counts as an
    // exception with an empty message).
    void Add(std::string context, std::unique_ptr<std::exception> e);
    int Count() const { return static_cast<int>(FEntries.size()); }
    // The context of entry `index`, or "" when index is outside 0..Count-1.
    std::string Contexts(int index) const;
    // The exception of entry `index`, or nullptr when out of range.
    const std::exception* Exceptions(int index) const;

private:
    struct TEntry {
        std::string Context;
        std::unique_ptr<std::exception> Exception;
    };
    std::vector<TEntry> FEntries;
};

// Creates the composite when there is none yet; otherwise leaves it alone.
void EnsureComposite(std::unique_ptr<ECompositeException>& composite);

// One line per entry, in entry order: the context, ": " and the message.
std::vector<std::string> FormatProblems(const ECompositeException& e);

}  // namespace zevra
