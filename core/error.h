#pragma once
#include <stdexcept>
#include <string>

namespace core {

// A refusal in the system's own words: shown to the user as it stands.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Stops the operation in progress without a further message (the host's abort).
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

}  // namespace core
