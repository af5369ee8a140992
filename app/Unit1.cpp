// SPDX-License-Identifier: MIT
#include "Unit1.h"

#include "Unit2.h"
#include "ui_Unit1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* owner) : QMainWindow(owner), FLayout(std::make_unique<Ui::TForm1>()) {
  FLayout->setupUi(this);
  ApplyFontFallback(this);
  OpenDialog1 = FLayout->OpenDialog1;
  StatusBar1 = FLayout->StatusBar1;
  SaveDialog1 = FLayout->SaveDialog1;
  MainMenu1 = FLayout->MainMenu1;
  File1 = FLayout->File1;
  Open1 = FLayout->Open1;
  N1 = FLayout->N1;
  Exit1 = FLayout->Exit1;
  Help1 = FLayout->Help1;
  About1 = FLayout->About1;
  DropFilesPanel1 = FLayout->DropFilesPanel1;
  ApplyFormBounds(this);
  BindEvents(this);
  RaiseFormEvent(this, "OnCreate");
}

TForm1::~TForm1() { RaiseFormEvent(this, "OnDestroy"); }

void TForm1::FormCreate(QObject*) {
  MailLines = std::make_unique<TStringList>();
  AttachmentLines = std::make_unique<TStringList>();
  DropFilesPanel1->SetAccept(true);
}

void TForm1::FormDestroy(QObject*) {
  DropFilesPanel1->SetAccept(false);
  MailLines.reset();
  AttachmentLines.reset();
}

void TForm1::Button1Click(QObject*) {
  if (OpenDialog1->Execute()) ScanMail(OpenDialog1->FileName());
}

void TForm1::Exit1Click(QObject*) { close(); }

void TForm1::About1Click(QObject*) { AboutBox->ShowModal(); }

void TForm1::DropFilesPanel1DropFile(AnsiString& filename) { ScanMail(filename); }

bool TForm1::AskOutputFile(AnsiString& fileName) {
  if (!SaveDialog1->Execute()) return false;
  fileName = SaveDialog1->FileName();
  return true;
}

void TForm1::ShowStatusText(const AnsiString& text) { StatusBar1->SetSimpleText(text); }
