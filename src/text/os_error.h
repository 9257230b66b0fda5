#pragma once
// The operating system's reasons for a failed file operation, in Greek: the C library speaks the
// system's language, which is not the interface's.

#include <string>

namespace zorvan::text {

// A Greek sentence for errno value errnum; an error without its own sentence names its number.
std::string GreekSystemError(int errnum);

}  // namespace zorvan::text
