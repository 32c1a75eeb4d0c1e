// The main window's settings button: opens the link settings dialog with the live settings,
// applies and saves them after OK (the journal's switches at once), and keeps the automatic
// refresh paused meanwhile.
#include "app/config.h"
#include "gui/tform1.h"
#include "gui/toptform.h"

namespace quorvel {

void TForm1::AttachOptForm(ToptForm* opt_form) {
  optForm = opt_form;
  AutoBoxTicked = [opt_form] { return opt_form->AutoBox1->isChecked(); };
  connect(optBitBtn, &QPushButton::clicked, this, &TForm1::optBitBtnClick);
}

void TForm1::optBitBtnClick() {
  if (!optForm) return;
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
