// SPDX-License-Identifier: MIT
#include "ShellAPI.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>
#include <cstring>

void DragAcceptFiles(HWND window, BOOL accept) { window->setAcceptDrops(accept != 0); }

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, INT) {
  if (operation == nullptr || std::strcmp(operation, "open") != 0 || file == nullptr) return 0;
  bool opened = QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromUtf8(file)));
  return opened ? 42 : 31;  // 31: no program is associated with the address
}
