// The copy-to dialog: heading, icon, name and stamp, two target panes and cancel.
#include "gui/tcopyform.h"

#include <QStyle>
#include <array>

#include "gui/lazy_icon.h"

namespace quorvel {

namespace {

// The two targets of each source pane, in button order.
constexpr std::array<std::array<int, 2>, 3> kTargets = {{{1, 2}, {0, 2}, {0, 1}}};

QString TargetCaption(int pane) {
  switch (pane) {
    case 0:
      return TcopyForm::tr(" 插槽1");
    case 1:
      return TcopyForm::tr(" 插槽2");
    default:
      return TcopyForm::tr(" 檔案");
  }
}

}  // namespace

TcopyForm::TcopyForm(QWidget* parent) : SaveDialog("copyForm", tr("複製到..."), parent) {
  setFixedSize(300, 170);
  Label1 = AddLabel("Label1", tr("複製到..."), 16, 12, 200, 20);
  QFont heading = Label1->font();
  heading.setBold(true);
  Label1->setFont(heading);
  Image1->move(16, 40);
  Label2 = AddLabel("Label2", QString(), 60, 40, 226, 18);
  Label3 = AddLabel("Label3", QString(), 60, 60, 226, 18);
  BitBtn1 = AddButton("BitBtn1", QString(), 1, 16, 112, 84, 30);
  BitBtn2 = AddButton("BitBtn2", QString(), 2, 108, 112, 84, 30);
  BitBtn3 = AddButton("BitBtn3", tr("取消"), 0, 200, 112, 84, 30);
  BitBtn1->setIcon(LazyStandardIcon(style(), QStyle::SP_ArrowRight));
  BitBtn2->setIcon(LazyStandardIcon(style(), QStyle::SP_ArrowRight));
  BitBtn3->setIcon(LazyStandardIcon(style(), QStyle::SP_DialogCancelButton));
}

void TcopyForm::SetTargets(int source, bool slot1_loaded, bool slot2_loaded, bool image_loaded) {
  const std::array<bool, 3> live = {slot1_loaded, slot2_loaded, image_loaded};
  const std::array<int, 2>& targets = kTargets[source];
  BitBtn1->setText(TargetCaption(targets[0]));
  BitBtn1->setEnabled(live[targets[0]]);
  BitBtn2->setText(TargetCaption(targets[1]));
  BitBtn2->setEnabled(live[targets[1]]);
}

std::optional<int> TcopyForm::TargetPane(int source, std::uint8_t result) {
  if (source < 0 || source > 2 || result < 1 || result > 2) return std::nullopt;
  return kTargets[source][result - 1];
}

}  // namespace quorvel
