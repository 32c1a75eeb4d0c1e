// The main window's settings button: opens the link settings dialog with the live settings,
// applies and saves them after OK (the journal's switches at once), and keeps the automatic
// refresh paused meanwhile.
#include "app/config.h"
#include "gui/tform1.h"
#include "gui/toptform.h"

namespace quorvel {

void TForm1::AttachOptForm(ToptForm* opt_form) {
  optForm = opt_form;
  AttachOptButton();
}

void TForm1::AttachOptForm(std::function<ToptForm*()> make) {
  make_opt_form_ = std::move(make);
  AttachOptButton();
}

void TForm1::AttachOptButton() {
  // A dialog not built yet has never been opened: its box is as built, not ticked.
  AutoBoxTicked = [this] { return optForm != nullptr && optForm->AutoBox1->isChecked(); };
  connect(optBitBtn, &QPushButton::clicked, this, &TForm1::optBitBtnClick, Qt::UniqueConnection);
}

void TForm1::optBitBtnClick() {
  if (!BuiltOnFirstUse(optForm, make_opt_form_)) return;
  Timer3->stop();
  optForm->move(x() + (width() - optForm->width()) / 2, y() + (height() - optForm->height()) / 2);
  optForm->Fields = settings();
  // Closing the dialog by its frame leaves the settings as they were, also after an earlier OK.
  optForm->OkFlag = false;
  optForm->LoadControls();
  optForm->exec();
  if (optForm->OkFlag) {
    settings() = optForm->Fields;
    ApplyJournalSettings();
    WriteConfig(WorkDir, settings(), *env_.messages);
  }
  RearmTimer3();
}

void TForm1::ApplyJournalSettings() {
  JournalOptions& options = journal_->MutableOptions();
  options.record = JournalOn(settings());
  options.verify_whole_card = VerifyWholeCard(settings());
  options.verify_single_saves = VerifySingleSaves(settings());
}

}  // namespace quorvel
