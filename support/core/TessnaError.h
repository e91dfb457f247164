#pragma once

#include <stdexcept>
#include <string>

// The program's errors. The message is code page 932 text like every other string of the
// program; whoever shows it converts it for the screen. Errors that nobody is expected to
// catch end the user action and reach the stop box.
class TessnaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
