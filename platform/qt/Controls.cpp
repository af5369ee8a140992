// SPDX-License-Identifier: MIT
#include "Controls.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

TPanel::TPanel(QWidget* owner) : QFrame(owner) {}

void TPanel::SetCaption(const QString& caption) {
  FCaption = caption;
  update();
}

void TPanel::SetAlignment(TAlignment alignment) {
  FAlignment = alignment;
  update();
}

void TPanel::SetBevelInner(TBevelCut bevel) {
  FBevelInner = bevel;
  update();
}

void TPanel::SetBevelOuter(TBevelCut bevel) {
  FBevelOuter = bevel;
  update();
}

void TPanel::SetBevelWidth(int width) {
  FBevelWidth = width;
  update();
}

void TPanel::Dispatch(TMessage&) {}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect area = rect();
  const QColor light = palette().color(QPalette::Light);
  const QColor dark = palette().color(QPalette::Dark);
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    for (int i = 0; i < FBevelWidth; ++i) {
      const QColor& topLeft = cut == bvRaised ? light : dark;
      const QColor& bottomRight = cut == bvRaised ? dark : light;
      painter.setPen(topLeft);
      painter.drawLine(area.topLeft(), area.topRight());
      painter.drawLine(area.topLeft(), area.bottomLeft());
      painter.setPen(bottomRight);
      painter.drawLine(area.bottomLeft(), area.bottomRight());
      painter.drawLine(area.topRight(), area.bottomRight());
      area.adjust(1, 1, -1, -1);
    }
  };
  bevel(FBevelOuter);
  bevel(FBevelInner);
  if (FCaption.isEmpty()) return;
  Qt::Alignment horizontal = FAlignment == taCenter         ? Qt::AlignHCenter
                             : FAlignment == taRightJustify ? Qt::AlignRight
                                                            : Qt::AlignLeft;
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(area, static_cast<int>(horizontal | Qt::AlignVCenter), FCaption);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit Click();
  }
}

TButton::TButton(QWidget* owner) : QPushButton(owner) {
  connect(this, &QPushButton::clicked, this, [this] {
    if (FModalResult == 0) return;
    if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->done(FModalResult);
  });
}

TStatusBar::TStatusBar(QWidget* owner) : QStatusBar(owner), FText(new QLabel(this)) {
  FText->setTextFormat(Qt::PlainText);
  addWidget(FText, 1);
  setSizeGripEnabled(true);
}

AnsiString TStatusBar::SimpleText() const { return FText->text().toStdString(); }

void TStatusBar::SetSimpleText(const AnsiString& text) {
  FText->setText(QString::fromStdString(text));
}
