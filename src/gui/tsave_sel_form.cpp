// The selected-save dialog: heading, icon, description, name and stamp, five choices.
#include "gui/tsave_sel_form.h"

#include <QStyle>

#include "gui/lazy_icon.h"

namespace quorvel {

TSave_sel_Form::TSave_sel_Form(QWidget* parent)
    : SaveDialog("Save_sel_Form", tr("單元選取..."), parent) {
  setFixedSize(330, 250);
  Label2 = AddLabel("Label2", tr("已選單元"), 16, 12, 200, 20);
  QFont heading = Label2->font();
  heading.setBold(true);
  Label2->setFont(heading);
  Image1->move(16, 40);
  Label1 = AddLabel("Label1", QString(), 60, 40, 256, 18);
  Label3 = AddLabel("Label3", QString(), 60, 60, 256, 18);
  BitBtn1 = AddButton("BitBtn1", tr("複製到..."), kCopyTo, 16, 96, 145, 30);
  BitBtn1->setToolTip(tr("已選的單元可以任意複製到其他記憶卡,\n或已開啟的 DCM 檔案"));
  BitBtn2 = AddButton("BitBtn2", tr("刪除"), kDelete, 169, 96, 145, 30);
  BitBtn5 = AddButton("BitBtn5", tr("儲存圖示..."), kSaveIcon, 16, 134, 145, 30);
  BitBtn5->setToolTip(tr("將已選單元的代表圖示另儲到 BMP 檔案"));
  BitBtn4 = AddButton("BitBtn4", tr("儲存單元..."), kSaveSave, 169, 134, 145, 30);
  BitBtn4->setToolTip(tr("將已選單元另存到一個 DCI 檔案"));
  BitBtn3 = AddButton("BitBtn3", tr("返回"), kBack, 92, 200, 145, 30);
  BitBtn1->setIcon(LazyStandardIcon(style(), QStyle::SP_ArrowRight));
  BitBtn2->setIcon(LazyStandardIcon(style(), QStyle::SP_TrashIcon));
  BitBtn5->setIcon(LazyStandardIcon(style(), QStyle::SP_FileDialogContentsView));
  BitBtn4->setIcon(LazyStandardIcon(style(), QStyle::SP_DialogSaveButton));
  BitBtn3->setIcon(LazyStandardIcon(style(), QStyle::SP_DialogCancelButton));
}

}  // namespace quorvel
