// SPDX-License-Identifier: MIT
#pragma once

#include "ShellDrop.h"

class QWidget;
using HWND = QWidget*;
using BOOL = int;
using INT = int;
using LPCSTR = const char*;
using HINSTANCE = std::intptr_t;

inline constexpr INT SW_SHOWDEFAULT = 10;

// Makes the window a target for files dropped from the file manager (accept true), or
// withdraws that (false).
void DragAcceptFiles(HWND window, BOOL accept);

// Performs operation ("open") on file with the desktop's default handler: a web address
// opens in the browser. Returns a value above 32 on success, as the shell does.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, INT showCommand);
