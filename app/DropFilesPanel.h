// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "AnsiString.h"
#include "Controls.h"
#include "Forms.h"

// The handler of a drop: a method pointer (an object and one of its member functions)
// taking the dropped item's full path by reference, with no sender.
using TDropFileEvent = std::function<void(AnsiString& filename)>;

// A panel that accepts files dropped on it from the file manager and reports the full
// path of every dropped item, one at a time and in the file manager's order, through
// OnDropFile. It knows nothing of mail: the form that places it decides what to do.
class TDropFilesPanel : public TPanel, public IEventTarget {
  Q_OBJECT
  Q_PROPERTY(bool DragFilesEnable READ DragFilesEnable WRITE SetAccept)

 public:
  explicit TDropFilesPanel(QWidget* owner = nullptr);

  const TDropFileEvent& OnDropFile() const { return FOnDropFile; }
  void SetOnDropFile(TDropFileEvent handler) { FOnDropFile = std::move(handler); }

  bool DragFilesEnable() const { return FDragFilesEnable; }
  // Stores the flag and hands it to the shell, every time, also when it is unchanged.
  void SetAccept(bool accept);

  // WM_DROPFILES goes to CMDropFiles; every other message to the panel.
  void Dispatch(TMessage& message) override;

  // Handles one drop: calls OnDropFile for every item and finishes the drop exactly
  // once, also when the handler raises an error, which then passes on.
  void CMDropFiles(TMessage& message);

  bool BindEvent(const QByteArray& event, QObject* form, const QMetaMethod& method) override;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TDropFileEvent FOnDropFile;
  bool FDragFilesEnable = false;
};
