// The selected-save dialog of the three panes (double-click or Enter) with its choices, the
// copy-to flow, and the keys of the list views.
#include <QKeyEvent>
#include <string>

#include "card/save_commands.h"
#include "card/save_texts.h"
#include "gui/centre_on.h"
#include "gui/command_texts.h"
#include "gui/save_rows.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/tform1.h"
#include "gui/translations.h"
#include "gui/tsave_sel_form.h"

namespace quorvel {

namespace {

// The keys of a list view: Enter opens the selected-save dialog, Delete runs the pane menu's
// delete item, any other key acts as a click once the list has handled it.
class PaneKeys : public QObject {
 public:
  PaneKeys(TForm1* form, int pane, QAction* delete_item)
      : QObject(form), form_(form), pane_(pane), delete_item_(delete_item) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      form_->PaneDblClick(pane_);
      return true;
    }
    if (key == Qt::Key_Delete) {
      delete_item_->trigger();
      return true;
    }
    const int pane = pane_;
    TForm1* form = form_;
    QMetaObject::invokeMethod(
        form, [form, pane] { form->PaneClick(pane); }, Qt::QueuedConnection);
    return false;
  }

 private:
  TForm1* form_;
  int pane_;
  QAction* delete_item_;
};

QString Latin(const std::string& text) { return QString::fromLatin1(text); }

}  // namespace

void TForm1::AttachSaveDialogs(TSave_sel_Form* save_sel_form, TDelete_Form* delete_form,
                               TcopyForm* copy_form) {
  Save_sel_Form = save_sel_form;
  Delete_Form = delete_form;
  copyForm = copy_form;
  ConnectSaveDialogKeys();
}

void TForm1::AttachSaveDialogs(std::function<TSave_sel_Form*()> make_save_sel,
                               std::function<TDelete_Form*()> make_delete,
                               std::function<TcopyForm*()> make_copy) {
  make_save_sel_form_ = std::move(make_save_sel);
  make_delete_form_ = std::move(make_delete);
  make_copy_form_ = std::move(make_copy);
  ConnectSaveDialogKeys();
}

bool TForm1::SaveDialogsBuilt() {
  const bool save_sel = BuiltOnFirstUse(Save_sel_Form, make_save_sel_form_) != nullptr;
  const bool remove = BuiltOnFirstUse(Delete_Form, make_delete_form_) != nullptr;
  const bool copy = BuiltOnFirstUse(copyForm, make_copy_form_) != nullptr;
  return save_sel && remove && copy;
}

void TForm1::ConnectSaveDialogKeys() {
  ConnectSaveCommands();
  for (int pane = 0; pane < 3; ++pane) {
    connect(ListView(pane), &QListWidget::itemDoubleClicked, this,
            [this, pane] { PaneDblClick(pane); });
    ListView(pane)->installEventFilter(new PaneKeys(this, pane, Pane(pane).menu().delete_selected));
  }
}

void TForm1::RefreshPane(int pane) {
  if (pane == kPaneSlot1) RefreshSlot1();
  if (pane == kPaneSlot2) RefreshSlot2();
  if (pane == kPaneImage) RefreshImage();
}

void TForm1::FillSaveDialogs(int pane, std::uint8_t slot) {
  const SaveRecord& record = Card(pane).records[slot];
  const QPixmap icon = Pane(pane).FramePicture(slot, record.current_frame);
  Save_sel_Form->SetIcon(icon);
  Delete_Form->SetIcon(icon);
  copyForm->SetIcon(icon);
  CentreOn(*Save_sel_Form, *this);
  CentreOn(*Delete_Form, *this);
  CentreOn(*copyForm, *this);
  const QString stamp = Latin(record.date + "   " + record.time);
  Save_sel_Form->ShowSave(DescriptionLines(QString::fromStdString(ShortDescription(record)),
                                           QString::fromStdString(LongDescription(record))),
                          Latin(record.name) + "   " + stamp);
  Delete_Form->Label2->setText(Latin(record.name));
  Delete_Form->Label3->setText(stamp);
  copyForm->Label2->setText(Latin(record.name));
  copyForm->Label3->setText(stamp);
  copyForm->SetTargets(pane, Slot1Loaded, Slot2Loaded, ImageLoaded);
}

void TForm1::PaneDblClick(int pane) {
  const int selected = static_cast<int>(ListView(pane)->selectedItems().size());
  if (pane == kPaneSlot1 ? selected != 1 : selected < 1) return;
  const int row = Pane(pane).FirstSelectedRow();
  if (row < 0 || row >= Card(pane).listed_count) return;
  if (!SaveDialogsBuilt()) return;
  // Every choice may touch a card: the automatic refresh waits until the dialogs are done.
  const Timer3Hold hold(*this);
  const std::uint8_t slot = Card(pane).list_order[row];
  FillSaveDialogs(pane, slot);
  switch (Save_sel_Form->Ask()) {
    case TSave_sel_Form::kDelete:
      if (Delete_Form->Ask() == 1) {
        ShowWaitWindow();
        DeleteOneSave(pane, slot);
        RefreshPane(pane);
        HideWaitWindow();
      }
      break;
    case TSave_sel_Form::kCopyTo:
      if (const std::optional<int> target = TcopyForm::TargetPane(pane, copyForm->Ask())) {
        CopyToPane(pane, slot, *target);
      }
      break;
    case TSave_sel_Form::kSaveSave:
      ExportSaveFile(pane, slot);
      break;
    case TSave_sel_Form::kSaveIcon:
      SaveIconFile(pane, slot);
      break;
    default:
      break;
  }
}

bool TForm1::AskReplace(const std::string& lead, const std::string& name) {
  // The two leads the commands use, each question translated whole.
  const QString question = lead == " 儲存 " ? tr(" 儲存 %1 己存在,是否要取代它嗎? ")
                                            : tr(" 檔案 %1 己存在,是否要取代它嗎? ");
  return env_.messages->AskYesNoDefaultNo(Filled(question, {name}));
}

NameClashAnswers TForm1::ReplaceAnswers(const std::string& lead) {
  return {.replace =
              [this, lead](const std::string& name) {
                if (!AskReplace(lead, SaveNameText(name))) return false;
                ShowWaitWindow();
                return true;
              },
          .add = nullptr};
}

TForm1::CopyOutcome TForm1::CopyAskingToReplace(int source, std::uint8_t slot, int target,
                                                const std::string& lead) {
  const std::string name = SaveNameText(Card(source).records[slot].name);
  StoreResult result;
  OnLinkWorker([&] {
    result =
        CopySaveCommand(Card(source), slot, Card(target), AnsweredOnWindow(ReplaceAnswers(lead)));
  });
  if (result.declined) return CopyOutcome::kSkipped;
  if (result.old_save_kept) env_.messages->Inform(OldSaveKeptMessage(name));
  if (result.Stored()) return CopyOutcome::kCopied;
  const std::string message = StoreFailureMessage(name, result.error, CopyAction());
  if (!message.empty()) env_.messages->Inform(message);
  return CopyOutcome::kFailed;
}

void TForm1::CopyToPane(int source, std::uint8_t slot, int target) {
  ShowWaitWindow();
  if (target == kPaneImage) RefreshImage();
  const bool image_to_slot2 = source == kPaneImage && target == kPaneSlot2;
  if (CopyAskingToReplace(source, slot, target, image_to_slot2 ? " 儲存 " : " 檔案 ") !=
      CopyOutcome::kSkipped) {
    RefreshPane(target);
  }
  HideWaitWindow();
}

}  // namespace quorvel
