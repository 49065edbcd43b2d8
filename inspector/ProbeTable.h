#pragma once
#include <windows.h>

#include <array>
#include <optional>

// One interface the probe asks a component for. The listed identifier is the one the
// probe has always asked; for most CAPE-OPEN entries it is that of a pre-1.0 draft of
// the standard, while components of the published CAPE-OPEN 1.0 and 1.1 answer to
// another identifier for the same interface (the published one, when there is one).
struct ProbedInterface {
    const char* name;
    IID listed;
    std::optional<IID> published;
};

// The fifteen interfaces, in the order the probe asks them and lists its lines.
extern const std::array<ProbedInterface, 15> kProbedInterfaces;
