#pragma once

#include <stdexcept>
#include <string>

// A command of the command-line tool that is refused or fails: nothing is saved, the message
// (UTF-8, for the terminal) goes to the error stream and the tool ends with exit code 1.
class CliFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Arguments a command does not understand: the tool shows its usage and ends with exit code 2.
class CliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
