#pragma once
// The program's base error: carries the message shown to the user. Window procedures
// catch it (and every other std::exception) and show the message in a box.
#include <stdexcept>
#include <string>

namespace korvan {

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace korvan
