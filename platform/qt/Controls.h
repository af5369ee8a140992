// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "AnsiString.h"
#include "ShellDrop.h"

// The class library's panel: a caption drawn with an alignment, inside an outer and an
// inner bevel. Controls derived from it receive window messages through Dispatch.
class TPanel : public QFrame {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
  Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
  Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)

 public:
  enum TAlignment { taLeftJustify, taRightJustify, taCenter };
  Q_ENUM(TAlignment)
  enum TBevelCut { bvNone, bvLowered, bvRaised };
  Q_ENUM(TBevelCut)

  explicit TPanel(QWidget* owner = nullptr);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut bevel);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut bevel);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int width);

  // Handles one window message; the panel itself handles none.
  virtual void Dispatch(TMessage& message);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString FCaption;
  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
};

// A label that sizes itself to its text and reports clicks (its OnClick event).
class TLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void Click();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// A picture, drawn stretched to fill the control when scaledContents is set.
class TImage : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;
};

// A button that, on a modal form, closes the form with its ModalResult (0: it does not).
class TButton : public QPushButton {
  Q_OBJECT
  Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)

 public:
  explicit TButton(QWidget* owner = nullptr);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }

 private:
  int FModalResult = 0;
};

// A status bar showing one text across its whole width (SimpleText), with a size grip.
class TStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit TStatusBar(QWidget* owner = nullptr);
  AnsiString SimpleText() const;
  void SetSimpleText(const AnsiString& text);

 private:
  QLabel* FText;
};
