// SPDX-License-Identifier: MIT
// The desktop program, driven as a user drives it: real menu commands, the real file
// dialogs and message boxes answered as they open, drops of file URLs on the panel.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <deque>
#include <functional>

#include "DropFilesPanel.h"
#include "Forms.h"
#include "ShellDrop.h"
#include "TestSupport.h"
#include "Unit1.h"
#include "Unit2.h"

using tonbrix_test::DataFile;
using tonbrix_test::Mail;
using tonbrix_test::ReadFile;
using tonbrix_test::TTempDir;
using tonbrix_test::WriteFile;

namespace {

// Acts on each modal window as it opens, one step per window, in order. A modal window
// that opens when no step is left is rejected and counted, so a test never hangs.
class TModalScript : public QObject {
 public:
  using TStep = std::function<void(QWidget*)>;

  explicit TModalScript(std::deque<TStep> steps) : FSteps(std::move(steps)) {
    connect(&FTimer, &QTimer::timeout, this, [this] { Poll(); });
    FTimer.start(5);
  }

  bool Done() const { return FSteps.empty(); }
  std::size_t StepsLeft() const { return FSteps.size(); }
  int Unexpected = 0;

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal == FHandled && FSince.elapsed() > 10000) {
      // A step that did not close its window: give up on it rather than hang.
      qWarning("modal window left open by a step: %s", modal->metaObject()->className());
      ++Unexpected;
      FSince.restart();
      qobject_cast<QDialog*>(modal)->reject();
      return;
    }
    // A window whose step is still running (in a window of its own that it opened) waits.
    if (modal == nullptr || !modal->isVisible() || modal == FHandled || FBusy.contains(modal)) {
      return;
    }
    FHandled = modal;
    FSince.restart();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      connect(
          dialog, &QDialog::finished, this,
          [this, dialog] {
            if (FHandled == dialog) FHandled = nullptr;
          },
          Qt::SingleShotConnection);
    }
    if (FSteps.empty()) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      qWarning("unexpected modal window: %s \"%s\" %s", modal->metaObject()->className(),
               qPrintable(modal->windowTitle()), box ? qPrintable(box->text()) : "");
      ++Unexpected;
      QTimer::singleShot(0, modal, [modal] { qobject_cast<QDialog*>(modal)->reject(); });
      return;
    }
    if (qEnvironmentVariableIsSet("TONBRIX_TRACE_STEPS")) {
      qWarning("step on %s", modal->metaObject()->className());
    }
    TStep step = std::move(FSteps.front());
    FSteps.pop_front();
    // Later, from the loop: a step may open a modal window of its own.
    QTimer::singleShot(0, modal, [this, step, modal] {
      FBusy.insert(modal);
      step(modal);
      FBusy.remove(modal);
    });
  }

  std::deque<TStep> FSteps;
  QWidget* FHandled = nullptr;
  QSet<QWidget*> FBusy;
  QElapsedTimer FSince;
  QTimer FTimer;
};

QLineEdit* FileNameEdit(QWidget* dialog) { return dialog->findChild<QLineEdit*>("fileNameEdit"); }

// Clicks a file dialog's Open or Save button.
void Confirm(QWidget* dialog) {
  auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
  QVERIFY(buttons != nullptr);
  for (QAbstractButton* button : buttons->buttons()) {
    if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
      button->click();
      return;
    }
  }
  QFAIL("no Open or Save button");
}

// Types text into a file dialog's name box and confirms it, as a user does.
TModalScript::TStep Type(const std::string& text) {
  return [text](QWidget* dialog) {
    QLineEdit* edit = FileNameEdit(dialog);
    QVERIFY(edit != nullptr);
    // In the folder the dialog shows, a user types just the name.
    QString typed = QString::fromStdString(text);
    QFileInfo target(typed);
    if (target.absolutePath() == qobject_cast<QFileDialog*>(dialog)->directory().absolutePath()) {
      typed = target.fileName();
    }
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    Confirm(dialog);
  };
}

TModalScript::TStep Cancel() {
  return [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); };
}

// Answers a message box with button, after noting what it showed.
struct TBoxSeen {
  QString Title, Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  int Buttons = 0;
};
TModalScript::TStep Answer(QMessageBox::StandardButton button, TBoxSeen* seen = nullptr) {
  return [button, seen](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    QVERIFY(box != nullptr);
    if (seen) *seen = {box->windowTitle(), box->text(), box->icon(), int(box->buttons().size())};
    box->button(button)->click();
  };
}

void WaitFor(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Runs command with steps answering the modal windows it opens; true when every step
// was used and no other modal window opened.
bool Drive(std::deque<TModalScript::TStep> steps, const std::function<void()>& command) {
  TModalScript script(std::move(steps));
  command();
  if (!script.Done() || script.Unexpected != 0) {
    qWarning("%d step(s) left, %d unexpected modal window(s)", int(script.StepsLeft()),
             script.Unexpected);
  }
  return script.Done() && script.Unexpected == 0;
}

std::string TwoPartMail() {
  return Mail({"------=_P", "Content-Type: audio/mid", "", "TVRoZA==", "", "------=_P",
               "Content-Type: audio/mid", "", "QUJD", "", "------=_P--"});
}

QMimeData* Urls(const std::vector<std::string>& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
  data->setUrls(urls);
  return data;
}

// Drags paths over the panel and drops them; true when the panel took the drop as a copy.
bool Drop(const std::vector<std::string>& paths,
          Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
  std::unique_ptr<QMimeData> data(Urls(paths));
  QPoint at = Form1->DropFilesPanel1->rect().center();
  QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Form1->DropFilesPanel1, &enter);
  if (!enter.isAccepted() || enter.dropAction() != Qt::CopyAction) return false;
  QDropEvent drop(QPointF(at), actions, data.get(), Qt::LeftButton, Qt::NoModifier);
  drop.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(Form1->DropFilesPanel1, &drop);
  return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

class TUrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Opened;
 public slots:
  void Open(const QUrl& url) { Opened << url; }
};

}  // namespace

class AppTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    Application->CreateForm(Form1);
    Application->CreateForm(AboutBox);
    Form1->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form1));
  }

  void init() { Form1->StatusBar1->SetSimpleText(""); }

  void MainWindowIsLaidOutAsStored() {
    QCOMPARE(Form1->windowTitle(), QString("Tonbrix"));
    QCOMPARE(Form1->pos(), QPoint(194, 107));
    QCOMPARE(Form1->DropFilesPanel1->size(), QSize(356, 216));
    QCOMPARE(Form1->StatusBar1->height(), 19);
    QCOMPARE(Form1->DropFilesPanel1->Caption(), QString("ここにMailをドロップ！"));
    QCOMPARE(Form1->DropFilesPanel1->Alignment(), TPanel::taCenter);
    QCOMPARE(Form1->DropFilesPanel1->BevelInner(), TPanel::bvLowered);
    QCOMPARE(Form1->DropFilesPanel1->BevelOuter(), TPanel::bvNone);
    QVERIFY(Form1->StatusBar1->isSizeGripEnabled());
    QCOMPARE(QFontInfo(Form1->font()).pixelSize(), 12);
    QVERIFY(!Form1->windowIcon().isNull());
    // Created by FormCreate: the lists, and drops switched on.
    QVERIFY(Form1->MailLines && Form1->AttachmentLines);
    QVERIFY(Form1->DropFilesPanel1->DragFilesEnable());
    QVERIFY(Form1->DropFilesPanel1->acceptDrops());
  }

  void MenuHasTheStoredCaptionsAndNoShortcuts() {
    QCOMPARE(Form1->File1->title(), QString("&File"));
    QCOMPARE(Form1->Help1->title(), QString("&Help"));
    QList<QAction*> file = Form1->File1->actions();
    QCOMPARE(file.size(), 3);
    QCOMPARE(file[0]->text(), QString("&Open"));
    QVERIFY(file[1]->isSeparator());
    QCOMPARE(file[2]->text(), QString("E&xit"));
    QCOMPARE(Form1->Help1->actions().size(), 1);
    QCOMPARE(Form1->About1->text(), QString("&About"));
    for (QAction* action : {Form1->Open1, Form1->Exit1, Form1->About1}) {
      QVERIFY(action->shortcut().isEmpty());
    }
  }

  void FileOpenScansTheMailAndSavesThroughTheRealDialogs() {
    TTempDir dir;
    std::filesystem::copy_file(DataFile("tune.eml"), dir / "tune.eml");
    QString filter;
    QVERIFY(Drive({Type(dir / "tune.eml"),
                   [&](QWidget* dialog) {
                     filter = dialog->findChild<QComboBox*>("fileTypeCombo")->currentText();
                     Type(dir / "song")(dialog);  // no extension: ".mid" is added
                   }},
                  [] { Form1->Open1->trigger(); }));
    QCOMPARE(filter, QString("MIDI(*.mid)"));
    QCOMPARE(ReadFile(dir / "song.mid"), ReadFile(DataFile("tune.mid")));
    QCOMPARE(Form1->StatusBar1->SimpleText(), std::string("Done."));
    // The second File, Open offers the path confirmed the first time.
    QString offered;
    QVERIFY(Drive({[&](QWidget* dialog) {
                    offered = qobject_cast<QFileDialog*>(dialog)->directory().filePath(
                        FileNameEdit(dialog)->text());
                    Cancel()(dialog);
                  }},
                  [] { Form1->Open1->trigger(); }));
    QCOMPARE(offered, QString::fromStdString(dir / "tune.eml"));
  }

  void SaveDialogKeepsATypedExtensionAndAsksBeforeReplacing() {
    TTempDir dir;
    WriteFile(dir / "two.eml", TwoPartMail());
    AnsiString mail = dir / "two.eml";
    QString offered;
    TBoxSeen question;
    QVERIFY(Drive({Type(dir / "first.txt"),
                   [&](QWidget* dialog) {
                     // The previous output path is offered; confirming it asks first.
                     offered = FileNameEdit(dialog)->text();
                     Confirm(dialog);
                   },
                   Answer(QMessageBox::No, &question), Type(dir / "second.mid")},
                  [&] { Form1->DropFilesPanel1DropFile(mail); }));
    QCOMPARE(offered, QString("first.txt"));
    QVERIFY(question.Text.contains("first.txt"));
    QCOMPARE(ReadFile(dir / "first.txt"), std::string("MThd"));
    QCOMPARE(ReadFile(dir / "second.mid"), std::string("ABC"));
    // Answering yes replaces the file, as the user asked.
    QVERIFY(Drive({Type(dir / "third.mid"), Type(dir / "third.mid"), Answer(QMessageBox::Yes)},
                  [&] { Form1->DropFilesPanel1DropFile(mail); }));
    QCOMPARE(ReadFile(dir / "third.mid"), std::string("ABC"));
  }

  void CancellingEitherDialogWritesNothing() {
    TTempDir dir;
    WriteFile(dir / "two.eml", TwoPartMail());
    Form1->StatusBar1->SetSimpleText("Done.");
    QVERIFY(Drive({Cancel()}, [] { Form1->Open1->trigger(); }));
    QCOMPARE(Form1->StatusBar1->SimpleText(), std::string("Done."));
    QVERIFY(Drive({Type(dir / "two.eml"), Cancel(), Cancel()}, [] { Form1->Open1->trigger(); }));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  }

  void DropOfTwoMailsRunsTwoWholeScansInOrder() {
    TTempDir dir;
    WriteFile(dir / "a.eml", Mail({"------", "Content-Type: audio/mid", "", "QQ=="}));
    WriteFile(dir / "b.eml", TwoPartMail());
    QVERIFY(Drive({Type(dir / "1.mid"), Type(dir / "2.mid"), Type(dir / "3.mid")}, [&] {
      QVERIFY(Drop({dir / "a.eml", dir / "b.eml"}));
      WaitFor([] { return OpenDropHandles() == 0; });
    }));
    QCOMPARE(ReadFile(dir / "1.mid"), std::string("A"));
    QCOMPARE(ReadFile(dir / "2.mid"), std::string("MThd"));
    QCOMPARE(ReadFile(dir / "3.mid"), std::string("ABC"));
  }

  void DropsAreTakenAsCopiesOfLocalFilesOnly() {
    TTempDir dir;
    WriteFile(dir / "plain.eml", Mail({"Subject: none"}));
    QVERIFY(Drop({dir / "plain.eml"}, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction));
    QVERIFY(!Drop({dir / "plain.eml"}, Qt::MoveAction));  // no copy offered: refused
    std::unique_ptr<QMimeData> web(new QMimeData);
    web->setUrls({QUrl("https://example.org/x.eml")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, web.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form1->DropFilesPanel1, &enter);
    QVERIFY(!enter.isAccepted());
    WaitFor([] { return OpenDropHandles() == 0; });
    // While a dialog of the program is open, no drop is taken.
    bool refusedInDialog = false;
    QVERIFY(Drive({[&](QWidget* dialog) {
                    refusedInDialog = !Drop({dir / "plain.eml"});
                    Cancel()(dialog);
                  }},
                  [] { Form1->Open1->trigger(); }));
    QVERIFY(refusedInDialog);
    // Switching acceptance applies every time, also when unchanged.
    Form1->DropFilesPanel1->setAcceptDrops(false);
    Form1->DropFilesPanel1->SetAccept(true);
    QVERIFY(Form1->DropFilesPanel1->acceptDrops());
    Form1->DropFilesPanel1->SetAccept(false);
    QVERIFY(!Form1->DropFilesPanel1->acceptDrops() && !Form1->DropFilesPanel1->DragFilesEnable());
    Form1->DropFilesPanel1->SetAccept(true);
  }

  void ErrorShowsTheBoxAndTheWindowStaysUsable() {
    TTempDir dir;
    WriteFile(dir / "two.eml", TwoPartMail());
    WriteFile(dir / "file", "");
    TBoxSeen seen;
    // A save path inside a regular file cannot be created, even by root; the second part
    // is not offered (a dialog for it would count as unexpected).
    QVERIFY(Drive({Type(dir / "two.eml"), Type(dir / "file/x.mid"), Answer(QMessageBox::Ok, &seen)},
                  [] { Form1->Open1->trigger(); }));
    QCOMPARE(seen.Title, QString("Tonbrix"));
    QCOMPARE(seen.Text,
             QString::fromStdString("ファイル " + dir / "file/x.mid" + " を作成できません."));
    QCOMPARE(seen.Icon, QMessageBox::Critical);
    QCOMPARE(seen.Buttons, 1);
    QVERIFY(Drive({Type(dir / "two.eml"), Type(dir / "ok.mid"), Cancel()},
                  [] { Form1->Open1->trigger(); }));
    QCOMPARE(ReadFile(dir / "ok.mid"), std::string("MThd"));
  }

  void ErrorInADroppedMailEndsTheDropAndIsShown() {
    TTempDir dir;
    WriteFile(dir / "a.eml", Mail({"------", "Content-Type: audio/mid", "", "QQ=="}));
    WriteFile(dir / "file", "");
    TBoxSeen seen;
    // The save path lies inside a regular file; the second dropped mail is never scanned.
    QVERIFY(Drive({Type(dir / "file/x.mid"), Answer(QMessageBox::Ok, &seen)}, [&] {
      QVERIFY(Drop({dir / "a.eml", dir / "a.eml"}));
      WaitFor([] { return OpenDropHandles() == 0; });
    }));
    QVERIFY(seen.Text.endsWith("を作成できません."));
  }

  void ErrorsOutsideTheExceptionFamilyAreShownToo() {
    TBoxSeen seen;
    QVERIFY(Drive({Answer(QMessageBox::Ok, &seen)},
                  [] { Application->Invoke([] { throw std::bad_alloc(); }); }));
    QCOMPARE(seen.Text, QString("メモリが不足しています."));
    QVERIFY(Drive({Answer(QMessageBox::Ok, &seen)}, [] { Application->Invoke([] { throw 42; }); }));
    QCOMPARE(seen.Title, QString("Tonbrix"));
    QVERIFY(!seen.Text.isEmpty());
  }

  void PanelDeliversEveryPathInOrderAndFinishesOnce() {
    TDropFilesPanel panel;
    std::vector<std::string> got;
    auto dispatch = [&panel](std::vector<std::string> paths) {
      TMessage message{WM_DROPFILES, reinterpret_cast<WPARAM>(DragCreate(std::move(paths))), 0, 0};
      panel.Dispatch(message);
    };
    dispatch({"/a", "/b"});  // no handler: nothing called, the drop still finished
    QCOMPARE(OpenDropHandles(), size_t(0));
    panel.SetOnDropFile([&got](AnsiString& filename) { got.push_back(filename); });
    const std::string path1023 = "/" + std::string(1022, 'p'),
                      path2000 = "/" + std::string(1999, 'q');
    dispatch({"/mail/one.eml", "/mail/folder", path1023, path2000});
    QCOMPARE(got, (std::vector<std::string>{"/mail/one.eml", "/mail/folder", path1023, path2000}));
    QCOMPARE(OpenDropHandles(), size_t(0));
    got.clear();
    panel.SetOnDropFile([&got](AnsiString& filename) {
      got.push_back(filename);
      if (got.size() == 2) throw Exception("second");
    });
    bool raised = false;
    try {
      dispatch({"/1", "/2", "/3"});
    } catch (const Exception& error) {
      raised = error.Message() == "second";
    }
    QVERIFY(raised);
    QCOMPARE(got, (std::vector<std::string>{"/1", "/2"}));
    QCOMPARE(OpenDropHandles(), size_t(0));
  }

  void AboutBoxShowsItsTextsAndClosesWithEnterNotEsc() {
    QCOMPARE(AboutBox->windowTitle(), QString("バージョン情報"));
    QCOMPARE(AboutBox->size(), QSize(298, 213));
    QCOMPARE(AboutBox->ProductName->text(), QString("Tonbrix"));
    QCOMPARE(AboutBox->Version->text(), QString("Version 0.1"));
    QCOMPARE(AboutBox->Comments->text(), QString("get Midi(*.mid) from E-Mail(*.eml)"));
    QVERIFY(AboutBox->Copyright->text().contains("2026"));
    QCOMPARE(AboutBox->ProgramIcon->size(), QSize(65, 57));
    QCOMPARE(AboutBox->ProgramIcon->pixmap().size(), QSize(32, 32));
    QVERIFY(AboutBox->OKButton->isDefault());
    TUrlRecorder recorder;
    QDesktopServices::setUrlHandler("https", &recorder, "Open");
    bool openAfterEsc = false, openAfterClicks = false;
    QPoint firstPlace;
    QVERIFY(Drive({[&](QWidget* box) {
                    firstPlace = box->frameGeometry().center();
                    QTest::keyClick(box, Qt::Key_Escape);
                    openAfterEsc = box->isVisible();
                    QTest::mouseClick(AboutBox->Copyright, Qt::LeftButton);
                    QTest::mouseClick(AboutBox->Copyright, Qt::LeftButton);
                    openAfterClicks = box->isVisible();
                    box->move(40, 50);
                    QTest::keyClick(AboutBox->OKButton, Qt::Key_Return);
                  }},
                  [] { Form1->About1->trigger(); }));
    QDesktopServices::unsetUrlHandler("https");
    QVERIFY(openAfterEsc);
    QVERIFY(openAfterClicks);
    QCOMPARE(recorder.Opened.size(), 2);
    QCOMPARE(recorder.Opened[0], QUrl(TONBRIX_HOMEPAGE));
    QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((firstPlace - screenCentre).manhattanLength() <= 4,
             qPrintable(QString("shown at %1,%2").arg(firstPlace.x()).arg(firstPlace.y())));
    QCOMPARE(AboutBox->result(), 1);
    // Shown again: the same box, where it was closed.
    QPoint secondPlace;
    QVERIFY(Drive({[&](QWidget* box) {
                    secondPlace = box->pos();
                    box->close();
                  }},
                  [] { Form1->About1->trigger(); }));
    QCOMPARE(secondPlace, QPoint(40, 50));
  }

  void ExitAndTheCloseBoxEndTheMessageLoop() {
    bool stuck = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [&] {
      stuck = true;
      QApplication::exit();
    });
    watchdog.start(5000);
    QTimer::singleShot(50, Form1->Exit1, &QAction::trigger);
    Application->Run();
    QVERIFY(!stuck);
    QVERIFY(!Form1->isVisible());
    watchdog.start(5000);
    QTimer::singleShot(50, Form1, [] { Form1->close(); });
    Application->Run();
    QVERIFY(!stuck);
  }
};

int main(int argc, char** argv) {
  Application->Initialize();
  Application->Title = "Tonbrix";
  int status;
  {
    AppTest test;
    status = QTest::qExec(&test, argc, argv);
  }
  Application->Finalize();
  return status;
}

#include "AppTest.moc"
