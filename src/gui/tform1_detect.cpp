// The main window's side of the link unit: which kind of unit answers and the layout that
// goes with it, card presence, the pages of a paged card, the 16M page store, the start-up
// detection (Timer2) and the automatic refresh (Timer3).
#include <QSignalBlocker>
#include <algorithm>

#include "gui/centre_on.h"
#include "gui/tform1.h"
#include "gui/twaitform.h"
#include "gui/win_colors.h"

namespace quorvel {

namespace {

constexpr int kStatusWidth = 217;
constexpr int kPanel8Step = 5;
constexpr int kPanel8TwoSlotWidth = 210;
constexpr int kPanel7PagedWidth = 417;
constexpr int kRemovalPauseMs = 3800;
constexpr int kRemovalPauseStepMs = 100;              // how soon Cancel ends the pause
constexpr std::uint32_t kPageLabelColour = 0x80A0D0;  // red 0xD0, green 0xA0, blue 0x80

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

// The pause after a card was taken out runs on the link worker, so the window keeps painting and
// the wait window scrolls. Nothing is written during it: Cancel only makes it shorter.
void TForm1::PauseAfterRemoval() {
  OnLinkWorker([this] {
    for (int left = kRemovalPauseMs; left > 0 && !cancel_.Requested();
         left -= kRemovalPauseStepMs) {
      env_.sleep(std::min(left, kRemovalPauseStepMs));
    }
    if (cancel_.Requested()) cancel_.Acknowledge(CancelOutcome::kNothingWritten);
  });
}

std::string PageSizeSuffix(std::uint16_t highest_page) {
  if (highest_page >= 15) return "16M";
  if (highest_page >= 7) return "8M";
  if (highest_page >= 3) return "4M";
  if (highest_page <= 1) return "2M";
  return "";
}

bool TForm1::CardPresent(int slot) {
  if (link_->PagedMode()) return true;
  bool slot1 = false;
  bool slot2 = false;
  bool answered = false;
  OnLinkWorker([&] { answered = link_->GetCardPresence(slot1, slot2); });
  if (!answered) return false;
  if (slot == 0) return slot1;
  if (slot == 1) return slot2;
  return false;
}

void TForm1::SetPanel8Width(int width) {
  const QList<int> sizes = Splitter2->sizes();
  const int total = sizes[0] + sizes[1];
  Splitter2->setSizes({total - width, width});
}

void TForm1::WidenPanel8() {
  Splitter2->handle(1)->hide();
  do {
    const int before = Splitter2->sizes()[1];
    SetPanel8Width(before + kPanel8Step);
    RepaintWindow();
    if (Splitter2->sizes()[1] == before) break;  // the splitter allows no more
  } while (Splitter2->sizes()[1] < kPanel8TwoSlotWidth);
  Splitter2->handle(1)->show();
}

void TForm1::NarrowPanel8() {
  do {
    const int before = Splitter2->sizes()[1];
    SetPanel8Width(before - kPanel8Step);
    RepaintWindow();
    if (Splitter2->sizes()[1] == before) break;
  } while (Splitter2->sizes()[0] < kPanel7PagedWidth);
}

void TForm1::ShowTwoSlotLayout() {
  Label5->resize(kStatusWidth, Label5->height());
  MILFlashLabel1->hide();
  Panel3->hide();
  Card2ListView->show();
  SLOT2->show();
  slot2_sizePanel->show();
  BitBtn1->setEnabled(true);
  SLOT1->show();
  slot1_sizePanel->show();
}

void TForm1::ShowPagedLayout() {
  Label5->resize(kStatusWidth, Label5->height());
  MILFlashLabel1->show();
  PageBox();
  Panel3->show();
  SetFontColor(MILFlashLabel1, kPageLabelColour);
  SLOT2->hide();
  slot2_sizePanel->hide();
  Card2ListView->hide();
  BitBtn1->setEnabled(false);
  SLOT1->show();
  slot1_sizePanel->show();
  NarrowPanel8();
}

bool TForm1::DetectUnit() {
  bool found = false;
  OnLinkWorker([&] { found = link_->DetectUnitType(); });
  ForgetLostPage();
  return found;
}

void TForm1::ForgetLostPage() {
  // The card may now be on another page than the one its pane shows: the pane's card must be
  // read again before any command writes to it.
  if (link_->TakePageLost()) Slot1Loaded = false;
}

void TForm1::ApplyUnitLayout() {
  if (!DetectUnit()) return;
  if (!link_->PagedMode()) {
    if (AutoBoxTicked()) settings().auto_refresh = 1;
    Label5->setText(QStringLiteral("Vantric"));
    ShowTwoSlotLayout();
    if (Splitter2->sizes()[1] < 30) WidenPanel8();
  } else {
    Label5->setText(Text("ORIEL " + PageSizeSuffix(HighestPage)));
    ShowPagedLayout();
  }
  RepaintWindow();
}

void TForm1::MeasurePages() {
  OnLinkWorker([&] { link_->HighestPage(HighestPage, &CurrentPage); });
  ForgetLostPage();
  Set16MBtn->setVisible(HighestPage > 14);
}

void TForm1::SpinEdit1Change() {
  const int value = SpinEdit1->value();
  bool set = false;
  bool read = false;
  std::uint16_t page = 0;
  OnLinkWorker([&] {
    set = link_->SetPage(static_cast<std::uint16_t>(value & 0xFF));
    read = set && link_->GetPage(page);
  });
  if (!set) return;
  if (read) {
    const QSignalBlocker quiet(SpinEdit1);
    SpinEdit1->setValue(page);
    CurrentPage = page;
    Set16MBtn->setVisible(HighestPage > 14);
    // The pane holds another page's directory and FAT now: written to this page they would
    // replace its saves, so it must be read again before any command writes to it.
    if (page != ShownPage) Slot1Loaded = false;
  } else {
    env_.messages->Inform(tr(" 連接錯誤,請檢查程式的速度值,電源和連接器. ").toStdString());
    Label5->setText(tr("  -沒硬體連接-"));
  }
}

void TForm1::Set16MBtnClick() {
  std::uint16_t page = 0;
  bool set = false;
  OnLinkWorker([&] {
    link_->GetPage(page);
    set = link_->Set16MPage(static_cast<std::uint8_t>(page));
  });
  if (!set) {
    env_.messages->Inform(
        tr(" 連接錯誤,請檢查16M 記憶卡,程式的速度值,電源和連接器.").toStdString());
    return;
  }
  Set16MBtn->hide();
  if (!WaitForm()) return;
  CentreOn(*waitForm, *this);
  waitForm->CloseTimer->start();
  waitForm->exec();
  waitForm->CloseTimer->stop();
}

void TForm1::Timer2Timer() {
  if (PortClosed()) {  // nothing can answer: "No Device" stands since the start
    Timer2->stop();
    return;
  }
  std::uint16_t page = 0;
  bool page_read = false;
  OnLinkWorker([&] { page_read = link_->GetPage(page); });
  if (page > 63) page = 0;
  if (DetectUnit()) {
    if (!link_->PagedMode()) {
      if (AutoBoxTicked()) settings().auto_refresh = 1;
      Label5->setText(QStringLiteral("Vantric"));
      HighestPage = 0;
      ShowTwoSlotLayout();
      WidenPanel8();
      EnableTimer(Timer1);
    } else {
      if (!page_read) {
        OnLinkWorker([&] { page_read = link_->GetPage(page); });
        if (page > 63) page = 0;
      }
      // A page that was never read is not changed: measuring would leave the card elsewhere.
      if (page_read) {
        CurrentPage = 255;
        bool back = false;
        OnLinkWorker([&] {
          link_->SetPage(255);
          link_->GetPage(HighestPage);
          back = link_->SetPage(page);
        });
        if (!back) Slot1Loaded = false;
        CurrentPage = page;
      }
      {
        const QSignalBlocker quiet(PageBox());
        SpinEdit1->setValue(page);
      }
      MILFlashLabel1->setText(tr(" 轉頁 : %1").arg(page));
      const std::string suffix = PageSizeSuffix(HighestPage);
      Label5->setText(Text("ORIEL " + suffix));
      if (suffix == "16M") Set16MBtn->show();
      ShowPagedLayout();
    }
  }
  Timer2->stop();
}

void TForm1::Timer3Timer() {
  Timer3->stop();
  if (PortClosed()) return;  // each look would wait for a time-out; nothing can change
  // A card put into slot 2 (only once the two-slot unit has been seen).
  if (!Slot2Loaded && CardPresent(1) && TwoSlotSeen) {
    AutoRefreshBusy = true;
    refresh_slot2Click();
    AutoRefreshBusy = false;
    RearmTimer3();
  }
  // A card put into slot 1: present on two checks in a row.
  if (!Slot1Loaded && CardPresent(0) && CardPresent(0)) {
    AutoRefreshBusy = true;
    Refresh_Slot1Click();
    if (!link_->PagedMode()) Label5->setText(QStringLiteral("   Vantric"));
    AutoRefreshBusy = false;
    RearmTimer3();
  }
  // The card of slot 2 taken out.
  if (Slot2Loaded && !CardPresent(1) && !AutoRefreshBusy && TwoSlotSeen) {
    ShowWaitWindow();
    if (!CardPresent(0)) PauseAfterRemoval();
    if (!CardPresent(1)) Slot2Loaded = false;
    HideWaitWindow();
    RearmTimer3();
    return;
  }
  // The card of slot 1 taken out (or the unit gone).
  if (Slot1Loaded && !CardPresent(0) && !AutoRefreshBusy) {
    if (!DetectUnit()) {
      Slot1Loaded = false;
      HideWaitWindow();
      RearmTimer3();
      return;
    }
    ShowWaitWindow();
    if (!CardPresent(1)) PauseAfterRemoval();
    if (!CardPresent(0)) {
      Slot1Loaded = false;  // the wait window stays up until the next run
      RearmTimer3();
      return;
    }
  } else {
    HideWaitWindow();
  }
  // Which kind of unit answers now.
  if (DetectUnit()) {
    if (link_->PagedMode()) {
      TwoSlotSeen = false;
      Label5->setText(Text("    ORIEL " + PageSizeSuffix(HighestPage)));
    } else {
      if (AutoBoxTicked()) settings().auto_refresh = 1;
      Label5->setText(QStringLiteral("    Vantric"));
      TwoSlotSeen = true;
    }
  }
  // A second look: switch the layout when the unit changed kind in between.
  if (DetectUnit()) {
    if (link_->PagedMode() && TwoSlotSeen) {
      ApplyUnitLayout();
      Refresh_Slot1Click();
    } else if (!link_->PagedMode() && !TwoSlotSeen) {
      if (AutoBoxTicked()) settings().auto_refresh = 1;
      ApplyUnitLayout();
    }
  }
  RearmTimer3();
}

}  // namespace quorvel
