#pragma once

#include <stdexcept>
#include <string>

namespace velnor {

// Every failure of the model carries a message meant for the user.
class VelnorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bad input: a value the checks refuse, a malformed file or description.
class InputError : public VelnorError {
public:
    using VelnorError::VelnorError;
};

// A file that cannot be opened, read or written.
class IoError : public VelnorError {
public:
    using VelnorError::VelnorError;
};

} // namespace velnor
