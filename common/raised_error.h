#pragma once
// The one exception type of the system: a number, a source name and a description,
// as the components raise them to their callers.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ErrorNumber {
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t BadFileMode = 54;
inline constexpr int32_t FileAlreadyOpen = 55;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidPropertyValue = 380;
// Base of the object errors that the database classes add their own codes to.
inline constexpr int32_t ObjectErrorBase = static_cast<int32_t>(0x80040000u);
}  // namespace ErrorNumber

class RaisedError : public std::runtime_error {
public:
    RaisedError(int32_t number, std::string source, std::string description)
        : std::runtime_error(description),
          number_(number),
          source_(std::move(source)),
          description_(std::move(description)) {}

    int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

private:
    int32_t number_;
    std::string source_;
    std::string description_;
};

// The runtime's own errors, with its standard texts.
[[noreturn]] void RaiseRuntimeError(int32_t number, const std::string& source = "");
std::string RuntimeErrorText(int32_t number);
