// SPDX-License-Identifier: MIT
// Renders the main window and the About box to PNG files, for the README and for a look
// at the forms without a display: tonbrix-render-forms OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QMenuBar>
#include <QPixmap>
#include <iostream>

#include "Forms.h"
#include "Unit1.h"
#include "Unit2.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tonbrix-render-forms OUTPUT_DIR\n";
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  Application->Initialize();
  Application->Title = "Tonbrix";
  Application->CreateForm(Form1);
  Application->CreateForm(AboutBox);
  Form1->StatusBar1->SetSimpleText("Done.");
  Form1->show();
  AboutBox->show();
  QApplication::processEvents();
  bool saved =
      Form1->grab().save(dir + "/main-window.png") && AboutBox->grab().save(dir + "/about-box.png");
  // The File menu, opened, for a look at its captions.
  Form1->File1->popup(Form1->mapToGlobal(QPoint(0, Form1->MainMenu1->height())));
  QApplication::processEvents();
  saved = saved && Form1->File1->grab().save(dir + "/file-menu.png");
  Form1->File1->close();
  const QFontInfo font(Form1->font());
  std::cout << "forms drawn in " << font.family().toStdString() << ", " << font.pixelSize()
            << " pixels\n";
  Application->Finalize();
  if (!saved) {
    std::cerr << "tonbrix-render-forms: cannot write into " << argv[1] << '\n';
    return 1;
  }
  std::cout << "main-window.png, about-box.png and file-menu.png written to " << argv[1] << '\n';
  return 0;
}
