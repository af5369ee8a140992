// SPDX-License-Identifier: MIT
#include "Forms.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaMethod>
#include <QScreen>
#include <algorithm>
#include <new>

#include "Controls.h"
#include "SysUtils.h"

namespace {
TApplication gApplication;

int gArgc = 1;
char gProgramName[] = "tonbrix";
char* gArgv[] = {gProgramName, nullptr};

QMetaMethod FindHandler(QObject* form, const QByteArray& name, const char* parameters) {
  const QMetaObject* meta = form->metaObject();
  int index = meta->indexOfMethod(QMetaObject::normalizedSignature(name + parameters));
  return index < 0 ? QMetaMethod() : meta->method(index);
}
}  // namespace

TApplication* Application = &gApplication;

TApplication::TApplication() = default;

TApplication::~TApplication() = default;

void TApplication::Initialize() {
  if (QApplication::instance() == nullptr) FToolkit = std::make_unique<QApplication>(gArgc, gArgv);
}

void TApplication::AddForm(QWidget* form) { FForms.push_back(form); }

void TApplication::Run() {
  QApplication::setApplicationName(QString::fromStdString(Title));
  QWidget* main = MainForm();
  if (main == nullptr) return;
  // Closing the main form, in any way, ends the loop: it is the last window shown with
  // WA_QuitOnClose, as the other forms are dialogs that are hidden by then.
  QApplication::setQuitOnLastWindowClosed(true);
  main->show();
  QApplication::exec();
}

void TApplication::Finalize() {
  while (!FForms.empty()) {
    QWidget* form = FForms.back();
    FForms.pop_back();
    delete form;
  }
  FToolkit.reset();
}

void TApplication::Invoke(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowErrorText("不明なエラーが発生しました");
  }
}

void TApplication::ShowException(const std::exception& error) {
  if (const auto* exception = dynamic_cast<const Exception*>(&error)) {
    ShowErrorText(exception->Message());
  } else if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
    ShowErrorText("メモリが不足しています");
  } else {
    ShowErrorText(error.what());
  }
}

void TApplication::ShowErrorText(const AnsiString& message) {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  QMessageBox box(QMessageBox::Critical, QString::fromStdString(Title),
                  QString::fromStdString(ErrorBoxText(message)), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void BindEvents(QObject* form) {
  QList<QObject*> objects = form->findChildren<QObject*>();
  objects.prepend(form);
  for (QObject* object : objects) {
    for (const QByteArray& event : object->dynamicPropertyNames()) {
      if (!event.startsWith("On") || event == "OnCreate" || event == "OnDestroy") continue;
      QByteArray name = object->property(event).toString().toUtf8();
      if (event == "OnClick") {
        QMetaMethod method = FindHandler(form, name, "(QObject*)");
        if (!method.isValid()) continue;
        auto call = [form, method, object] {
          Application->Invoke(
              [&] { method.invoke(form, Qt::DirectConnection, Q_ARG(QObject*, object)); });
        };
        if (auto* action = qobject_cast<QAction*>(object)) {
          QObject::connect(action, &QAction::triggered, form, call);
        } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
          QObject::connect(button, &QAbstractButton::clicked, form, call);
        } else if (auto* label = qobject_cast<TLabel*>(object)) {
          QObject::connect(label, &TLabel::Click, form, call);
        }
      } else if (auto* target = dynamic_cast<IEventTarget*>(object)) {
        // A control's own events hand over a path by reference (OnDropFile).
        QMetaMethod method = FindHandler(form, name, "(AnsiString&)");
        if (method.isValid()) target->BindEvent(event, form, method);
      }
    }
  }
}

void RaiseFormEvent(QObject* form, const char* event) {
  QByteArray name = form->property(event).toString().toUtf8();
  if (name.isEmpty()) return;
  QMetaMethod method = FindHandler(form, name, "(QObject*)");
  if (method.isValid()) method.invoke(form, Qt::DirectConnection, Q_ARG(QObject*, form));
}

int TForm::ShowModal() {
  if (!FShownBefore) {
    FShownBefore = true;
    if (QScreen* screen = QApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  return exec();
}

void TForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ApplyFormBounds(QWidget* window) {
  QVariant left = window->property("Left"), top = window->property("Top");
  if (left.isValid() && top.isValid()) window->move(left.toInt(), top.toInt());
  QVariant width = window->property("ClientWidth"), height = window->property("ClientHeight");
  if (!width.isValid() || !height.isValid()) return;
  int menu = 0;
  if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuBar()) {
    menu = main->menuBar()->sizeHint().height();
  }
  window->resize(width.toInt(), height.toInt() + menu);
}

void AutoSizeLabels(QWidget* form) {
  for (TLabel* label : form->findChildren<TLabel*>()) {
    if (label->wordWrap()) {
      // A wrapping label keeps its width and grows to the lines its text takes.
      label->resize(label->width(),
                    std::max(label->height(), label->heightForWidth(label->width())));
    } else {
      label->adjustSize();
    }
  }
}

void ApplyFontFallback(QWidget* form) {
  QFont font = form->font();
  const QString family = font.family();
  if (QFontDatabase::hasFamily(family)) return;
  font.setFamilies({family, "IPAPGothic", "IPAGothic"});
  form->setFont(font);
}
