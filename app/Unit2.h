// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "Controls.h"
#include "Forms.h"

namespace Ui {
class TAboutBox;
}

// The About box: the program's picture, name, version, copyright and what it does. A
// click on the copyright notice opens the home page. The layout is Unit2.ui.
class TAboutBox : public TForm {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* owner);
  ~TAboutBox() override;

  TPanel* Panel1;
  TImage* ProgramIcon;
  TLabel* ProductName;
  TLabel* Version;
  TLabel* Copyright;
  TLabel* Comments;
  TButton* OKButton;

 public slots:
  void CopyrightClick(QObject* Sender);

 private:
  std::unique_ptr<Ui::TAboutBox> FLayout;
};

extern TAboutBox* AboutBox;
