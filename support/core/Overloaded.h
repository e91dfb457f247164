#pragma once

// The visitor of std::visit made of one lambda per alternative.
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
