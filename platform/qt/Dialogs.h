// SPDX-License-Identifier: MIT
#pragma once

#include <QFileDialog>

#include "AnsiString.h"

// The class library's common file dialogs. Each keeps the full path last confirmed in it
// and offers it again the next time. Filter takes the library's form, pairs of a shown
// description and a pattern joined by "|" ("MIDI(*.mid)|*.mid"); DefaultExt is added to a
// name typed without an extension. The toolkit's own dialog is used, so that it looks the
// same everywhere and can be driven by the tests.
class TOpenDialog : public QFileDialog {
  Q_OBJECT
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)

 public:
  explicit TOpenDialog(QWidget* owner = nullptr);

  // Shows the dialog modally; true when the user confirmed a file name.
  bool Execute();
  AnsiString FileName() const { return FFileName; }

  QString Filter() const { return FFilter; }
  void SetFilter(const QString& filter);
  QString DefaultExt() const { return defaultSuffix(); }
  void SetDefaultExt(const QString& extension);

 protected:
  AnsiString FFileName;
  QString FFilter;
};

// The save dialog: asks before it replaces an existing file (answering no returns to the
// dialog), since confirming the previous path would otherwise destroy the previous output.
class TSaveDialog : public TOpenDialog {
  Q_OBJECT

 public:
  explicit TSaveDialog(QWidget* owner = nullptr);
};
