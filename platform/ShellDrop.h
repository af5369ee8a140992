// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The shell's file-drop data, as a program receives it: a handle holding the dropped paths
// in the shell's order, read with DragQueryFileA and released with DragFinish.
struct TDropData;
using HDROP = TDropData*;
using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// The window message that carries a drop; its WParam is the HDROP.
inline constexpr UINT WM_DROPFILES = 0x0233;

// A window message as the class library hands it to a control's Dispatch.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Makes the handle for one drop of paths (full paths in the system's code page). The
// receiver of the drop owns it and releases it with DragFinish, exactly once.
HDROP DragCreate(std::vector<std::string> paths);

// With index 0xFFFFFFFF: the number of paths. Otherwise the path at index: without a
// buffer, its length (terminator excluded); with one, the path cut to fit size - 1
// characters and terminated, and the result is the number of characters copied.
// 0 for an index past the last path.
UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size);

// Releases the drop's data; the handle is invalid afterwards.
void DragFinish(HDROP drop);

// How many drop handles exist and have not been finished: 0 whenever no drop is being
// handled. A handle finished twice is a double free, which the sanitizers report.
std::size_t OpenDropHandles();
