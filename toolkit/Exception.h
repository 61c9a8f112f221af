// The toolkit's error classes. Every failure the window reports is an Exception (or a
// std::exception from the calculation); what() is UTF-8 text shown to the user as is.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that does not read as a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
