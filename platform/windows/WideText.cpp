// Text between UTF-8 and UTF-16, through the system's own conversion.
#include <windows.h>

#include <climits>
#include <stdexcept>

#include "platform/windows/WideText.h"

namespace pelagrin {
namespace {

int Length(std::size_t size) {
    if (size > INT_MAX) {
        throw std::length_error("text too long to convert");
    }
    return static_cast<int>(size);
}

// Asks `convert` for the converted length, then for the text itself; any text it refuses
// either time (a byte or unit that is not valid in its encoding) is an error, never a text
// with a character quietly changed into another or a stretch of blanks left behind.
template <typename Text, typename Convert>
Text Converted(Convert convert, const char* invalid) {
    const int length = convert(nullptr, 0);
    if (length > 0) {
        Text converted(static_cast<std::size_t>(length), typename Text::value_type{});
        if (convert(converted.data(), length) == length) {
            return converted;
        }
    }
    throw std::range_error(invalid);
}

// UTF-16 into UTF-8, with WideCharToMultiByte's `flags`.
std::string Narrowed(std::wstring_view text, DWORD flags) {
    if (text.empty()) {
        return {};
    }
    const int size = Length(text.size());
    return Converted<std::string>(
        [text, size, flags](char* narrow, int length) {
            return WideCharToMultiByte(CP_UTF8, flags, text.data(), size, narrow, length,
                                       nullptr, nullptr);
        },
        "text is not valid UTF-16");
}

}  // namespace

std::wstring Utf16(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = Length(text.size());
    return Converted<std::wstring>(
        [text, size](wchar_t* wide, int length) {
            return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide,
                                       length);
        },
        "text is not valid UTF-8");
}

std::string Utf8(std::wstring_view text) {
    return Narrowed(text, WC_ERR_INVALID_CHARS);
}

std::string Utf8Replacing(std::wstring_view text) {
    // Without WC_ERR_INVALID_CHARS the system writes U+FFFD for each unit it cannot convert.
    return Narrowed(text, 0);
}

}  // namespace pelagrin
