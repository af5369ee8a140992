// SPDX-License-Identifier: MIT
#include "DropFilesPanel.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMetaMethod>
#include <QMimeData>
#include <QUrl>
#include <memory>

#include "ShellAPI.h"

namespace {

constexpr UINT kFixedBufferSize = 1024;

// A drag the panel takes: local files or folders only, while no dialog or error box of
// the program is open (no scan may start inside another), and always as a copy, so the
// file manager never deletes a mail because it proposed a move.
bool TakesDrag(QDropEvent* event) {
  if (QApplication::activeModalWidget() != nullptr) return false;
  if (!(event->possibleActions() & Qt::CopyAction)) return false;
  const QMimeData* data = event->mimeData();
  if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return false;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return false;
  }
  return true;
}

// Accepts event as a copy when the panel takes it, else refuses it; true when accepted.
bool AcceptAsCopy(QDropEvent* event) {
  if (!TakesDrag(event)) {
    event->ignore();
    return false;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  return true;
}

}  // namespace

TDropFilesPanel::TDropFilesPanel(QWidget* owner) : TPanel(owner) {}

void TDropFilesPanel::SetAccept(bool accept) {
  FDragFilesEnable = accept;
  DragAcceptFiles(this, accept);
}

void TDropFilesPanel::Dispatch(TMessage& message) {
  if (message.Msg == WM_DROPFILES) {
    CMDropFiles(message);
    return;
  }
  TPanel::Dispatch(message);
}

void TDropFilesPanel::CMDropFiles(TMessage& message) {
  HDROP drop = reinterpret_cast<HDROP>(message.WParam);
  struct TFinish {
    HDROP Drop;
    ~TFinish() { DragFinish(Drop); }
  } finish{drop};
  if (!FOnDropFile) return;
  char buffer[kFixedBufferSize];
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, buffer, kFixedBufferSize);
  AnsiString filename;
  for (UINT index = 0; index < count; ++index) {
    const UINT length = DragQueryFileA(drop, index, nullptr, 0);
    if (length < kFixedBufferSize) {
      DragQueryFileA(drop, index, buffer, kFixedBufferSize);
      filename = buffer;
      FOnDropFile(filename);
    } else {
      auto whole = std::make_unique<char[]>(length + 1);
      DragQueryFileA(drop, index, whole.get(), length + 1);
      filename = whole.get();
      FOnDropFile(filename);
    }
  }
}

bool TDropFilesPanel::BindEvent(const QByteArray& event, QObject* form, const QMetaMethod& method) {
  if (event != "OnDropFile") return false;
  FOnDropFile = [form, method](AnsiString& filename) {
    method.invoke(form, Qt::DirectConnection, Q_ARG(AnsiString&, filename));
  };
  return true;
}

void TDropFilesPanel::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TDropFilesPanel::dragMoveEvent(QDragMoveEvent* event) { AcceptAsCopy(event); }

void TDropFilesPanel::dropEvent(QDropEvent* event) {
  if (!AcceptAsCopy(event)) return;
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  // Like the shell, post the drop message rather than handle it inside the drag: the file
  // manager is told at once that the drop is done, and the scan with its dialogs runs
  // from the message loop.
  HDROP drop = DragCreate(std::move(paths));
  QMetaObject::invokeMethod(
      this,
      [this, drop] {
        TMessage message{WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0, 0};
        Application->Invoke([&] { Dispatch(message); });
      },
      Qt::QueuedConnection);
}
