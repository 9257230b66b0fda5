#pragma once
// The one failure the core raises: a text that had to be a number and is not.
// Its message is Greek and quotes the text; the window layer shows it in an error box.

#include <stdexcept>
#include <string>

namespace zorvan::text {

class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zorvan::text
