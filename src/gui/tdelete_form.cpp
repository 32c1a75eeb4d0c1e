// The delete dialog: heading, icon, name and stamp, confirm and cancel.
#include "gui/tdelete_form.h"

#include <QStyle>

#include "gui/lazy_icon.h"

namespace quorvel {

TDelete_Form::TDelete_Form(QWidget* parent) : SaveDialog("Delete_Form", tr("刪除單元..."), parent) {
  setFixedSize(260, 170);
  Label1 = AddLabel("Label1", tr("刪除單元"), 16, 12, 200, 20);
  QFont heading = Label1->font();
  heading.setBold(true);
  Label1->setFont(heading);
  Image1->move(16, 40);
  Label2 = AddLabel("Label2", QString(), 60, 40, 186, 18);
  Label3 = AddLabel("Label3", QString(), 60, 60, 186, 18);
  BitBtn1 = AddButton("BitBtn1", tr("確認"), 1, 24, 112, 100, 30);
  BitBtn2 = AddButton("BitBtn2", tr("取消"), 0, 136, 112, 100, 30);
  BitBtn1->setIcon(LazyStandardIcon(style(), QStyle::SP_DialogApplyButton));
  BitBtn2->setIcon(LazyStandardIcon(style(), QStyle::SP_DialogCancelButton));
}

}  // namespace quorvel
