// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's error classes. Every failure the window reports is an Exception (or a
// std::exception from the calculation); the message is UTF-8 text shown to the user as is.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message)
        , message_(std::make_shared<const std::string>(message))
    {
    }

    // The whole message with its length, so that no character of it (a NUL included)
    // ends it early as what()'s C string would. Copying the error shares it.
    [[nodiscard]] const std::string& Message() const noexcept { return *message_; }

private:
    std::shared_ptr<const std::string> message_;
};

// A text that does not read as a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
