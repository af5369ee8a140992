// SPDX-License-Identifier: MIT
#include "Unit2.h"

#include "ShellAPI.h"
#include "ui_Unit2.h"

#ifndef TONBRIX_HOMEPAGE
#define TONBRIX_HOMEPAGE "https://tonbrix.example.org/"
#endif

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* owner) : TForm(owner), FLayout(std::make_unique<Ui::TAboutBox>()) {
  FLayout->setupUi(this);
  ApplyFontFallback(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(298, 213);
  Panel1 = FLayout->Panel1;
  ProgramIcon = FLayout->ProgramIcon;
  ProductName = FLayout->ProductName;
  Version = FLayout->Version;
  Copyright = FLayout->Copyright;
  Comments = FLayout->Comments;
  OKButton = FLayout->OKButton;
  AutoSizeLabels(this);
  BindEvents(this);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::CopyrightClick(QObject*) {
  ShellExecuteA(this, "open", TONBRIX_HOMEPAGE, "", "", SW_SHOWDEFAULT);
}
