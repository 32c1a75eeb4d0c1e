// The refresh procedures: re-read one source (slot 1, slot 2 or the image) into its model and
// its pane, with the link checks and messages, and the two refresh commands of the slot menus.
#include <QSignalBlocker>

#include "card/block_io.h"
#include "card/file_system.h"
#include "gui/tform1.h"

namespace quorvel {

void TForm1::ShowPageInPanel(std::uint16_t page) {
  {
    const QSignalBlocker quiet(PageBox());
    SpinEdit1->setValue(page);
  }
  MILFlashLabel1->setText(tr(" 轉頁: %1").arg(page));
  CurrentPage = page;
}

void TForm1::RefreshSlot1() {
  ClearSelection();
  ApplyUnitLayout();
  std::uint16_t page = 0;
  bool page_read = false;
  OnLinkWorker([&] { page_read = link_->GetPage(page); });
  if (page_read) ShowPageInPanel(page);
  ShownPage = CurrentPage;
  journal_->SetPage(Slot1Card,
                    link_->PagedMode() ? std::optional<std::uint16_t>(ShownPage) : std::nullopt);
  if (link_->TimedOut()) {
    env_.messages->Inform(tr(" 連接錯誤,請檢查程式的速度值,電源和連接器. ").toStdString());
    Label5->setText(tr("  -沒硬體連接-"));
    Slot1Loaded = false;
    return;
  }
  if (!CardPresent(0)) {
    env_.messages->Inform(tr(" 插槽1沒有記憶卡").toStdString());
    Slot1Loaded = false;
    return;
  }
  LoadSource(kPaneSlot1);
}

void TForm1::RefreshSlot2() {
  ClearSelection();
  ApplyUnitLayout();
  if (link_->TimedOut()) {
    env_.messages->Inform(tr("  連接錯誤,請檢查程式的速度值,電源和連接器. ").toStdString());
    Label5->setText(tr("  -沒硬體連接-"));
    Slot2Loaded = false;
    return;
  }
  if (link_->PagedMode()) return;  // a paged card has no slot 2
  if (!CardPresent(1)) {
    env_.messages->Inform(tr(" 插槽2沒有記憶卡 ").toStdString());
    Slot2Loaded = false;
    return;
  }
  LoadSource(kPaneSlot2);
}

void TForm1::RefreshImage() {
  ClearSelection();
  ApplyUnitLayout();
  LoadSource(kPaneImage);
}

// Steps shared by the three refreshes: the card layer's load (root, FAT, system chain,
// directory, listing; its progress drives ProgressBar1), then the icons and the pane. A slot
// stops as soon as the link has failed.
void TForm1::LoadSource(int pane) {
  CardImage& card = Card(pane);
  bool& loaded = Loaded(pane);
  const bool slot = pane != kPaneImage;
  // One read per block for the load and for the icon frames read after it.
  const CacheScope one_read_per_block(card);
  auto link_failed = [&] { return slot && (link_->TimedOut() || card.link_failed); };
  auto stop = [&] {
    // Nothing of the card read before stays listed.
    EmptyPane(pane);
    loaded = false;
    HideWaitWindow();
  };

  ShowWaitWindow();
  LoadResult result = LoadResult::kFailed;
  OnLinkWorker([&] { result = LoadCard(card); });
  if (result == LoadResult::kFailed || link_failed()) {
    stop();
    return;
  }
  if (result == LoadResult::kUnformatted) {
    // Kept loaded so that it can be formatted, but nothing of a previous card stays listed.
    loaded = true;
    EmptyPane(pane);
    Pane(pane).ShowUnformatted();
    HideWaitWindow();
    return;
  }
  FillIconList(pane);
  if (link_failed()) {
    stop();
    return;
  }
  FillPane(pane);
  loaded = true;
  HideWaitWindow();
}

void TForm1::Refresh_Slot1Click() {
  Timer3->stop();
  MeasurePages();
  RefreshSlot1();
  OfferInterruptedUndo(kPaneSlot1);
  RearmTimer3();
}

void TForm1::refresh_slot2Click() {
  Timer3->stop();
  MeasurePages();
  RefreshSlot2();
  OfferInterruptedUndo(kPaneSlot2);
  RearmTimer3();
}

}  // namespace quorvel
