// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Which build a benchmark measures. Figures of an unoptimised build say
// nothing about the program users run, so every benchmark prints the build
// and refuses to run on one without optimisation unless asked with --force.
#pragma once

#include <cstdio>
#include <cstring>

namespace zevra::bench {

#ifndef ZEVRA_BUILD_TYPE
#define ZEVRA_BUILD_TYPE "unknown"
#endif

inline bool Optimised() {
#if defined(__OPTIMIZE__)
    return true;
#else
    return false;
#endif
}

// Prints the build line; returns false (after a loud message) when the
// benchmark must not run. `--force` among the arguments measures anyway.
inline bool CheckBuild(int argc, char** argv) {
    bool force = false;
    for (int i = 1; i < argc; ++i) force = force || std::strcmp(argv[i], "--force") == 0;
    std::printf("build: %s, %s%s\n", ZEVRA_BUILD_TYPE, Optimised() ? "optimised" : "NOT OPTIMISED",
#if defined(NDEBUG)
                ", assertions off"
#else
                ", assertions on"
#endif
    );
    if (Optimised()) return true;
    std::fprintf(stderr,
                 "\n*** WARNING: this is an unoptimised build; its figures are meaningless. ***\n"
                 "*** Build with -DCMAKE_BUILD_TYPE=Release (scripts/bench does) or pass --force. ***\n\n");
    return force;
}

}  // namespace zevra::bench
