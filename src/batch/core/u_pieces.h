// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Work in pieces shared by the processor's cores: each piece is prepared on
// any thread, and the prepared pieces are taken up one by one, in their order,
// on the calling thread. So the result is the one a single thread gives, a
// progress display driven from `take` stays right, and only a few prepared
// pieces wait at any time, however many there are.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace zevra {

// Whether the platform runs threads at all: WebAssembly built without them
// (the browser build) has none, and the work then runs on the calling thread.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
inline constexpr bool kPieceThreads = false;
#else
inline constexpr bool kPieceThreads = true;
#endif

// The most threads that may prepare pieces (0: as many as PieceHelperCount
// gives; 1: everything on the calling thread, as where there are no threads).
// Set before the work starts, by a program that wants one thread only.
inline std::atomic<unsigned>& PieceThreadLimit() {
    static std::atomic<unsigned> limit{0};
    return limit;
}

// The threads that prepare pieces besides the caller: one per core, at most
// four (more gain nothing for a batch file), and no more than the limit.
inline unsigned PieceHelperCount() {
    if (!kPieceThreads) return 1;
    const unsigned limit = PieceThreadLimit().load();
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    return limit == 0 ? cores : std::min(cores, limit);
}

// The pieces prepared by `helpers` threads and the caller (ForEachPieceInOrder).
template <typename TResult, typename TPrepare, typename TTake>
void ForEachPieceOnHelpers(std::size_t count, unsigned helpers, const TPrepare& prepare, const TTake& take);

// Calls prepare(piece, result) for the pieces 0..count-1 (concurrently; it
// may only read what the others share) and take(piece, result) for each in
// turn on the calling thread. An exception of either stops the work; the
// first in piece order is rethrown once every helper has finished.
template <typename TResult, typename TPrepare, typename TTake>
void ForEachPieceInOrder(std::size_t count, const TPrepare& prepare, const TTake& take) {
    if (count == 0) return;
    const auto helpers = count > 1 ? static_cast<unsigned>(std::min<std::size_t>(PieceHelperCount(), count)) : 0u;
    if (helpers <= 1) {
        for (std::size_t piece = 0; piece < count; ++piece) {
            TResult result{};
            prepare(piece, result);
            take(piece, result);
        }
        return;
    }
    if constexpr (kPieceThreads) ForEachPieceOnHelpers<TResult>(count, helpers, prepare, take);
}

template <typename TResult, typename TPrepare, typename TTake>
void ForEachPieceOnHelpers(std::size_t count, unsigned helpers, const TPrepare& prepare, const TTake& take) {
    struct TSlot {
        std::optional<TResult> Result;
        std::exception_ptr Error;
    };
    const std::size_t window = 2 * static_cast<std::size_t>(helpers) + 1;
    std::vector<TSlot> slots(window);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t nextPiece = 0;  // the first piece no thread has claimed
    std::size_t taken = 0;      // pieces taken up so far
    bool stop = false;

    // Prepares one claimed piece into its slot.
    const auto prepareInto = [&](std::size_t piece) {
        TSlot slot;
        try {
            slot.Result.emplace();
            prepare(piece, *slot.Result);
        } catch (...) {
            slot.Error = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        slots[piece % window] = std::move(slot);
        changed.notify_all();
    };
    const auto helper = [&] {
        for (;;) {
            std::size_t piece;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || nextPiece >= count || nextPiece < taken + window; });
                if (stop || nextPiece >= count) return;
                piece = nextPiece++;
            }
            prepareInto(piece);
        }
    };

    std::vector<std::thread> threads;
    // Stops and joins the helpers however the loop below ends.
    struct TJoin {
        std::vector<std::thread>& Threads;
        std::mutex& Mutex;
        std::condition_variable& Changed;
        bool& Stop;
        ~TJoin() {
            {
                const std::lock_guard lock(Mutex);
                Stop = true;
            }
            Changed.notify_all();
            for (std::thread& t : Threads) t.join();
        }
    } join{threads, mutex, changed, stop};
    try {
        for (unsigned i = 0; i < helpers; ++i) threads.emplace_back(helper);
    } catch (const std::system_error&) {
        // Fewer helpers (or none: the caller then prepares every piece).
    }

    for (std::size_t piece = 0; piece < count; ++piece) {
        TSlot slot;
        {
            std::unique_lock lock(mutex);
            // A piece nobody has claimed yet is prepared here, so that the
            // work goes on even without helpers.
            if (nextPiece == piece) {
                ++nextPiece;
                lock.unlock();
                prepareInto(piece);
                lock.lock();
            }
            TSlot& ready = slots[piece % window];
            changed.wait(lock, [&] { return ready.Result.has_value() || ready.Error; });
            slot = std::move(ready);
            ready = TSlot{};
            taken = piece + 1;
        }
        changed.notify_all();
        if (slot.Error) std::rethrow_exception(slot.Error);
        take(piece, *slot.Result);
    }
}

}  // namespace zevra
