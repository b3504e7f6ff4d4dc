// The one exception of gmdkit's C++ side. It carries a message meant for a
// user; the caller adds the file name it concerns.
#pragma once

#include <stdexcept>
#include <string>

namespace gmdk {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The input is not of the format it was read as at all (text that is not
// OBJ, a file that is no STL), as opposed to a damaged file of that format.
class NotThisFormat : public Error {
public:
    explicit NotThisFormat(const std::string& message) : Error(message) {}
};

}  // namespace gmdk
