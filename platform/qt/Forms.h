// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QObject>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "AnsiString.h"

class QApplication;
class QWidget;

// The class library's application object: it starts the toolkit, names the program, owns
// the forms, runs the message loop and shows the errors that escape event handlers.
class TApplication {
 public:
  TApplication();
  ~TApplication();

  // Starts the toolkit, unless a QApplication exists already (as in the tests). The
  // program's command line is not handed on: the program reads none.
  void Initialize();

  AnsiString Title;

  // Creates a form owned by the application; the first one created is the main form.
  template <class TFormClass>
  void CreateForm(TFormClass*& reference) {
    auto* form = new TFormClass(nullptr);
    reference = form;
    AddForm(form);
  }

  // Shows the main form and handles messages until it is closed.
  void Run();

  // Runs one event handler. This is the one place where errors that escape a handler are
  // caught: they are shown in the error box, and the program carries on. Every binding of
  // an event to a handler calls through here, so no error crosses the toolkit's frames.
  void Invoke(const std::function<void()>& handler);

  // The error box: the message with the final-period rule, the title as caption, the
  // error icon and one OK button, modal. Any mouse capture is released first.
  void ShowException(const std::exception& error);

  QWidget* MainForm() const { return FForms.empty() ? nullptr : FForms.front(); }

  // Ends the application: destroys the forms, last created first, then the toolkit.
  // The entry calls it before it returns, as the toolkit cannot end during exit.
  void Finalize();

 private:
  void AddForm(QWidget* form);
  void ShowErrorText(const AnsiString& message);

  std::unique_ptr<QApplication> FToolkit;
  std::vector<QWidget*> FForms;
};

extern TApplication* Application;

// Binds the events of form and its components by name: every "On..." property written in
// the layout (OnClick = Button1Click, say) names a method of form, and the event calls it
// through Application->Invoke. The events a form itself raises (OnCreate, OnDestroy) are
// called by RaiseFormEvent.
void BindEvents(QObject* form);
// Calls the handler that the form's layout names for event, if any; errors pass on.
void RaiseFormEvent(QObject* form, const char* event);

// A control with events of its own beyond OnClick binds them when asked by BindEvents.
class IEventTarget {
 public:
  virtual ~IEventTarget() = default;
  // Binds event to method of form; false when the control has no such event.
  virtual bool BindEvent(const QByteArray& event, QObject* form, const QMetaMethod& method) = 0;
};

// A modal dialog form: shown with ShowModal, closed by a button with a modal result or by
// its close box. As on the class library's forms, Esc does not close it.
class TForm : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

  // Shows the form modally; centred on the screen the first time, afterwards where it
  // was when last closed. Returns the modal result.
  int ShowModal();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool FShownBefore = false;
};

// Places a main window as its layout says: Left and Top for the frame, ClientWidth and
// ClientHeight for the area below the menu bar, whatever height the menu bar takes here.
void ApplyFormBounds(QWidget* window);

// Where the face that form's layout names is not installed, puts the fonts made to its
// metrics behind it: IPAPGothic stands in for the Japanese system font.
void ApplyFontFallback(QWidget* form);

// Sizes every label of form that does not wrap its text to that text, as labels do.
void AutoSizeLabels(QWidget* form);
