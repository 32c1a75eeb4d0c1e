// TselcolorForm: the colour panels and boxes, the two previews, the name, the buttons, and
// the monochrome preview written to "~ico2.bmp" on every change.
#include "gui/tselcolorform.h"

#include <QPixmap>

#include "card/bmp_file.h"
#include "card/card_icon_file.h"
#include "card/work_files.h"
#include "gui/file_chooser.h"
#include "gui/win_colors.h"

namespace quorvel {

namespace {

constexpr int kGridLeft = 12;
constexpr int kGridTop = 14;
constexpr int kCellWidth = 54;
constexpr int kCellHeight = 36;
constexpr int kPanelSide = 26;
constexpr int kPreviewSide = 64;

constexpr const char* kColourHint =
    QT_TRANSLATE_NOOP("quorvel::TselcolorForm", "已選的顏色會顯示在 LCD 畫面配合的圖形上");

template <typename T>
T* Named(T* object, const QString& name) {
  object->setObjectName(name);
  return object;
}

std::uint32_t WinColour(Bgr colour) {
  return static_cast<std::uint32_t>(colour.blue) << 16 |
         static_cast<std::uint32_t>(colour.green) << 8 | colour.red;
}

}  // namespace

TselcolorForm::TselcolorForm(FileChooser* files, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      files_(files) {
  setObjectName("selcolorForm");
  setWindowTitle(tr("顏色選擇"));
  setModal(true);
  setFixedSize(420, 270);
  BuildColourGrid();
  BuildPictures();
  BuildNameAndButtons();
}

void TselcolorForm::BuildColourGrid() {
  for (int k = 0; k < kColours; ++k) {
    const int left = kGridLeft + (k % 4) * kCellWidth;
    const int top = kGridTop + (k / 4) * kCellHeight;
    QLabel* panel = Named(new QLabel(this), QStringLiteral("Panel%1").arg(k + 1));
    panel->setGeometry(left, top, kPanelSide, kPanelSide);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setToolTip(TselcolorForm::tr(kColourHint));
    QCheckBox* box = Named(new QCheckBox(this), QStringLiteral("CheckBox%1").arg(k + 1));
    box->setGeometry(left + kPanelSide + 4, top + 3, 20, 20);
    box->setToolTip(TselcolorForm::tr(kColourHint));
    connect(box, &QCheckBox::clicked, this, &TselcolorForm::CheckBoxClick);
    Panel[k] = panel;
    CheckBox[k] = box;
  }
}

void TselcolorForm::BuildPictures() {
  Label1 = Named(new QLabel(tr("畫面"), this), "Label1");
  Label1->setGeometry(244, 10, kPreviewSide, 18);
  Label1->setAlignment(Qt::AlignCenter);
  Image1 = Named(new QLabel(this), "Image1");
  Image1->setGeometry(244, 30, kPreviewSide, kPreviewSide);
  Image1->setScaledContents(true);
  Image1->setToolTip(tr("記憶卡插入了遊戲機後,\r\n顯示的記憶卡圖示"));
  Label2 = Named(new QLabel(QStringLiteral("LCD"), this), "Label2");
  Label2->setGeometry(332, 10, kPreviewSide, 18);
  Label2->setAlignment(Qt::AlignCenter);
  Image2 = Named(new QLabel(this), "Image2");
  Image2->setGeometry(332, 30, kPreviewSide, kPreviewSide);
  Image2->setScaledContents(true);
  Image2->setToolTip(tr("VMU's 記憶卡上的液晶體顯示圖表"));
}

void TselcolorForm::BuildNameAndButtons() {
  Label3 = Named(new QLabel(tr("圖示名稱 :"), this), "Label3");
  Label3->setGeometry(kGridLeft, 166, 200, 18);
  Edit1 = Named(new QLineEdit(this), "Edit1");
  Edit1->setGeometry(kGridLeft, 186, 396, 24);
  Edit1->setMaxLength(kNameLength);
  Edit1->setToolTip(tr("整張記憶卡的名稱"));
  Button2 = Named(new QPushButton(tr("另外開啟檔案"), this), "Button2");
  Button2->setGeometry(kGridLeft, 228, 140, 30);
  Button2->setToolTip(tr("用其他圖片作 LCD 畫面的圖示"));
  Button3 = Named(new QPushButton(tr("自動選擇"), this), "Button3");
  Button3->setGeometry(204, 228, 100, 30);
  Button1 = Named(new QPushButton(tr("確認"), this), "Button1");
  Button1->setGeometry(308, 228, 100, 30);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TselcolorForm::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TselcolorForm::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TselcolorForm::Button3Click);
}

void TselcolorForm::Prepare(const IconImage& monochrome_source, const std::string& work_dir,
                            const QString& bmp_file, const QString& name) {
  Monochrome = monochrome_source;
  WorkDir = work_dir;
  Edit1->setText(name);
  Preparation(bmp_file);
}

void TselcolorForm::Preparation(const QString& bmp_file) {
  for (int k = 0; k < kColours; ++k) {
    SetBackColor(Panel[k], WinColour(Monochrome.Colour(static_cast<std::size_t>(k))));
    CheckBox[k]->setChecked(false);
  }
  UpdatePreview();
  Image1->setPixmap(QPixmap(bmp_file));
}

std::bitset<TselcolorForm::kColours> TselcolorForm::DarkColours() const {
  std::bitset<kColours> dark;
  for (int k = 0; k < kColours; ++k) dark[static_cast<std::size_t>(k)] = CheckBox[k]->isChecked();
  return dark;
}

void TselcolorForm::CheckBoxClick() { UpdatePreview(); }

void TselcolorForm::UpdatePreview() {
  SetDarkColours(Monochrome, DarkColours());
  const auto bmp = EncodeIconBmp(Monochrome);
  // A working file that the preview shows; a failed write leaves the preview unaffected.
  ReplaceFileContents(std::filesystem::path(WorkDir + std::string(kMonochromePreviewFile)), bmp);
  QPixmap preview;
  preview.loadFromData(bmp.data(), static_cast<uint>(bmp.size()), "BMP");
  Image2->setPixmap(preview);
}

void TselcolorForm::Button2Click() {
  if (!files_) return;
  const std::optional<QString> chosen =
      ChooseOpenFileIn(*files_, history_, FileKind::kBitmap, kBitmapFilter, kBitmapPreset);
  if (!chosen) return;
  // A file that is not a 32 x 32 8-bit BMP leaves the source as it was.
  ReadIconBmp(Monochrome, ToPath(*chosen));
  Preparation(*chosen);
}

}  // namespace quorvel
