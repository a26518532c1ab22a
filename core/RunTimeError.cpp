#include "core/RunTimeError.h"

#include <stdexcept>
#include <string>

namespace pelagrin {
namespace {

std::string Wording(ErrorKind kind, const std::string& description) {
    switch (kind) {
        case ErrorKind::DivisionByZero:
            return "Division by zero";
        case ErrorKind::Overflow:
            return "Overflow";
        case ErrorKind::FileError:
            return description.empty() ? "File error" : "File error: " + description;
    }
    return "Run-time error";
}

}  // namespace

RunTimeError::RunTimeError(ErrorKind kind, const std::string& description)
    : std::runtime_error(Wording(kind, description)), kind_(kind) {}

}  // namespace pelagrin
