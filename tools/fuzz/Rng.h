// The driver's only source of chance: a small generator whose sequence is
// the same on every machine and library, so that a seed names a session.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state(seed) {}

    std::uint64_t Next() { // splitmix64
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n - 1 (0 when n < 1).
    int Below(int n) { return n < 1 ? 0 : int(Next() % std::uint64_t(n)); }
    int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& items) {
        return items[size_t(Below(int(items.size())))];
    }
    const char* Pick(std::initializer_list<const char*> items) { return items.begin()[Below(int(items.size()))]; }

private:
    std::uint64_t state;
};

// The seed of one session: the run's seed and the session's number mixed,
// so that session n is the same whether or not the sessions before it ran.
inline std::uint64_t SessionSeed(std::uint64_t seed, std::uint64_t number) {
    Rng mix(seed ^ (number * 0xD1B54A32D192ED03ULL));
    mix.Next();
    return mix.Next();
}
