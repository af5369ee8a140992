// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The class library's 8-bit string: bytes in the system's code page (UTF-8 here),
// compared byte by byte, never converted.
using AnsiString = std::string;
