// SPDX-License-Identifier: MIT
#include "ShellDrop.h"

#include <atomic>
#include <cstring>

struct TDropData {
  std::vector<std::string> Paths;
};

namespace {
std::atomic<std::size_t> gOpenHandles{0};
}

HDROP DragCreate(std::vector<std::string> paths) {
  auto* drop = new TDropData{std::move(paths)};
  ++gOpenHandles;
  return drop;
}

UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size) {
  if (index == 0xFFFFFFFF) return static_cast<UINT>(drop->Paths.size());
  if (index >= drop->Paths.size()) return 0;
  const std::string& path = drop->Paths[index];
  if (buffer == nullptr || size == 0) return static_cast<UINT>(path.size());
  std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
  std::memcpy(buffer, path.data(), copied);
  buffer[copied] = '\0';
  return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop) {
  delete drop;
  --gOpenHandles;
}

std::size_t OpenDropHandles() { return gOpenHandles; }
