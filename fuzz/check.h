#pragma once

#include <cstdlib>

namespace kestrum::fuzz {

// A broken invariant is a finding: abort so that libFuzzer keeps the input.
inline void check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace kestrum::fuzz
