// SPDX-License-Identifier: MIT
// The program's entry: names the application, creates its forms and runs the message loop.
#include "Forms.h"
#include "SysUtils.h"
#include "Unit1.h"
#include "Unit2.h"

int main() {
  try {
    Application->Initialize();
    Application->Title = "Tonbrix";
    Application->CreateForm(Form1);
    Application->CreateForm(AboutBox);
    Application->Run();
  } catch (const std::exception& error) {
    Application->ShowException(error);
  }
  Application->Finalize();
  return 0;
}
