#pragma once

// The visitor of std::visit made of one lambda per alternative.
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

// Spelled out for compilers without deduction for aggregates (clang before 17, the fuzz build).
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
