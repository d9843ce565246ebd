// The exchange benchmark's rows for TuvexUtf8: the filter against TuvexW on
// one host text, with the figures that it is held to.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// What the benchmark measured of one call: its median time, its largest
// peak of added memory, and whether every result was whole.
struct CallFigures {
    double seconds;
    double peakBytes;
    bool whole;
};

// Calls each action (which tells whether its result was whole) `repeats`
// times, in turns, and gives the figures of each.
using CallMeasurer =
    std::function<std::vector<CallFigures>(int repeats, const std::vector<std::function<bool()>>& actions)>;

// Runs TuvexW and TuvexUtf8 of `module` on host texts of 50 Mi characters
// (ASCII, then Japanese) through the copying child of `copyParameter`, and
// prints their table and targets.
void PrintUtf8FilterRows(HMODULE module, const std::string& copyParameter, const CallMeasurer& measure);

}  // namespace bench
