// SPDX-License-Identifier: MIT
#include "Dialogs.h"

#include <QFile>

TOpenDialog::TOpenDialog(QWidget* owner) : QFileDialog(owner) {
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::HideNameFilterDetails, true);
  setFileMode(QFileDialog::AnyFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setWindowModality(Qt::ApplicationModal);
}

bool TOpenDialog::Execute() {
  if (!FFileName.empty()) selectFile(QFile::decodeName(QByteArray::fromStdString(FFileName)));
  if (exec() != QDialog::Accepted || selectedFiles().isEmpty()) return false;
  FFileName = QFile::encodeName(selectedFiles().front()).toStdString();
  return true;
}

void TOpenDialog::SetFilter(const QString& filter) {
  FFilter = filter;
  QStringList parts = filter.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // Shown as its description alone: HideNameFilterDetails strips the pattern again.
    filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
  }
  setNameFilters(filters);
}

void TOpenDialog::SetDefaultExt(const QString& extension) {
  setDefaultSuffix(extension.startsWith('.') ? extension.mid(1) : extension);
}

TSaveDialog::TSaveDialog(QWidget* owner) : TOpenDialog(owner) {
  setAcceptMode(QFileDialog::AcceptSave);
}
