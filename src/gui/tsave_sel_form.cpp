// The selected-save dialog: heading, icon, description, name and stamp, five choices.
#include "gui/tsave_sel_form.h"

#include <QFontMetrics>
#include <QStyle>
#include <algorithm>

#include "gui/lazy_icon.h"

namespace quorvel {

namespace {

// The dialog's size and places when the texts fit the labels' own room.
constexpr int kWidth = 330;
constexpr int kHeight = 250;
constexpr int kTextLeft = 60;
constexpr int kTextTop = 40;
constexpr int kTextWidth = 256;
constexpr int kLineHeight = 18;
constexpr int kFirstButtonRow = 96;

}  // namespace

TSave_sel_Form::TSave_sel_Form(QWidget* parent)
    : SaveDialog("Save_sel_Form", tr("單元選取..."), parent) {
  setFixedSize(kWidth, kHeight);
  Label2 = AddLabel("Label2", tr("已選單元"), 16, 12, 200, 20);
  QFont heading = Label2->font();
  heading.setBold(true);
  Label2->setFont(heading);
  Image1->move(16, kTextTop);
  Label1 = AddLabel("Label1", QString(), kTextLeft, kTextTop, kTextWidth, kLineHeight);
  Label3 = AddLabel("Label3", QString(), kTextLeft, kTextTop + 20, kTextWidth, kLineHeight);
  BitBtn1 = AddButton("BitBtn1", tr("複製到..."), kCopyTo, 16, kFirstButtonRow, 145, 30);
  BitBtn1->setToolTip(tr("已選的單元可以任意複製到其他記憶卡,\n或已開啟的 DCM 檔案"));
  BitBtn2 = AddButton("BitBtn2", tr("刪除"), kDelete, 169, kFirstButtonRow, 145, 30);
  BitBtn5 = AddButton("BitBtn5", tr("儲存圖示..."), kSaveIcon, 16, kFirstButtonRow + 38, 145, 30);
  BitBtn5->setToolTip(tr("將已選單元的代表圖示另儲到 BMP 檔案"));
  BitBtn4 = AddButton("BitBtn4", tr("儲存單元..."), kSaveSave, 169, kFirstButtonRow + 38, 145, 30);
  BitBtn4->setToolTip(tr("將已選單元另存到一個 DCI 檔案"));
  BitBtn3 = AddButton("BitBtn3", tr("返回"), kBack, 92, kFirstButtonRow + 104, 145, 30);
  BitBtn1->setIcon(LazyStandardIcon(style(), QStyle::SP_ArrowRight));
  BitBtn2->setIcon(LazyStandardIcon(style(), QStyle::SP_TrashIcon));
  BitBtn5->setIcon(LazyStandardIcon(style(), QStyle::SP_FileDialogContentsView));
  BitBtn4->setIcon(LazyStandardIcon(style(), QStyle::SP_DialogSaveButton));
  BitBtn3->setIcon(LazyStandardIcon(style(), QStyle::SP_DialogCancelButton));
}

void TSave_sel_Form::ShowSave(const QString& description, const QString& name_and_stamp) {
  Label1->setText(description);
  Label3->setText(name_and_stamp);
  // The room the texts take: the widest line, and one line height per line of the description.
  int text_width = kTextWidth;
  const QStringList lines = description.split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    text_width = std::max(text_width, Label1->fontMetrics().horizontalAdvance(line) + 4);
  }
  text_width = std::max(text_width, Label3->fontMetrics().horizontalAdvance(name_and_stamp) + 4);
  const int line_height = std::max(kLineHeight, Label1->fontMetrics().height() + 2);
  const int description_height = line_height * static_cast<int>(lines.size());
  Label1->setGeometry(kTextLeft, kTextTop, text_width, description_height);
  Label3->setGeometry(kTextLeft, kTextTop + description_height + 2, text_width, line_height);

  // The buttons keep their block, moved down below the texts and centred in the wider dialog.
  const int width = std::max(kWidth, kTextLeft + text_width + 14);
  const int down = std::max(0, Label3->geometry().bottom() + 16 - kFirstButtonRow);
  const int right = (width - kWidth) / 2;
  const struct {
    QPushButton* button;
    int x;
    int y;
  } places[] = {{BitBtn1, 16, kFirstButtonRow},
                {BitBtn2, 169, kFirstButtonRow},
                {BitBtn5, 16, kFirstButtonRow + 38},
                {BitBtn4, 169, kFirstButtonRow + 38},
                {BitBtn3, 92, kFirstButtonRow + 104}};
  for (const auto& place : places) place.button->move(place.x + right, place.y + down);
  setFixedSize(width, kHeight + down);
}

}  // namespace quorvel
