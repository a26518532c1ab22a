#pragma once

#include <stdexcept>
#include <string>

namespace pelagrin {

enum class ErrorKind { DivisionByZero, Overflow, FileError };

// The one fault a command can end with. It is thrown where the fault strikes, so whatever the
// command changed before that point stays changed, and it is caught only by the window's event
// dispatch, which reports it.
class RunTimeError : public std::runtime_error {
public:
    // `description`: the platform's description of a file error, with the file it concerns.
    explicit RunTimeError(ErrorKind kind, const std::string& description = {});

    [[nodiscard]] ErrorKind Kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

}  // namespace pelagrin
