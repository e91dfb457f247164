#pragma once

#include <utility>

// Installs a process-wide handler for the lifetime of the object and puts the one it
// replaced back when it goes, however the scope is left. Set is a setter that returns the
// handler it replaces.
template <typename Handler, Handler (*Set)(Handler)>
class ScopedHandler {
public:
    explicit ScopedHandler(Handler handler) : previous_(Set(std::move(handler))) {}
    ~ScopedHandler() { Set(std::move(previous_)); }

    ScopedHandler(const ScopedHandler&) = delete;
    ScopedHandler& operator=(const ScopedHandler&) = delete;

private:
    Handler previous_;
};
