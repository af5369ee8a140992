// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <memory>

#include "AnsiString.h"
#include "Controls.h"
#include "Dialogs.h"
#include "DropFilesPanel.h"
#include "MailExtractor.h"

class QAction;
class QMenu;
class QMenuBar;
namespace Ui {
class TForm1;
}

// The main window: a menu, the drop panel and a status bar. File, Open and a drop on the
// panel hand a mail's path to ScanMail; the save dialog and the status bar serve the
// extraction as its host. The layout, with the bindings of its events, is Unit1.ui.
class TForm1 : public QMainWindow, public TMailExtractor {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* owner);
  ~TForm1() override;

  TOpenDialog* OpenDialog1;
  TStatusBar* StatusBar1;
  TSaveDialog* SaveDialog1;
  QMenuBar* MainMenu1;
  QMenu* File1;
  QAction* Open1;
  QAction* N1;
  QAction* Exit1;
  QMenu* Help1;
  QAction* About1;
  TDropFilesPanel* DropFilesPanel1;

 public slots:
  void Button1Click(QObject* Sender);
  void FormCreate(QObject* Sender);
  void FormDestroy(QObject* Sender);
  void Exit1Click(QObject* Sender);
  void About1Click(QObject* Sender);
  void DropFilesPanel1DropFile(AnsiString& filename);

 protected:
  bool AskOutputFile(AnsiString& fileName) override;
  void ShowStatusText(const AnsiString& text) override;

 private:
  std::unique_ptr<Ui::TForm1> FLayout;
};

extern TForm1* Form1;
