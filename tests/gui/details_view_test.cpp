// Tests of a pane's details view: its columns and their sorting, the selection shared with the
// icon view both ways, and the commands, keys, double-click and drag and drop run from it,
// which act on the saves selected there exactly as from the icon view.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>

#include "gui/card_pane.h"
#include "gui/dialog_script.h"
#include "gui/pane_list_view.h"
#include "gui/save_details_view.h"
#include "gui/save_rows_model.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/translations.h"
#include "gui/tsave_sel_form.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

using Column = SaveRowsModel::Column;

SaveSpec Save(const std::string& name, int blocks, std::array<std::uint8_t, 7> stamp,
              bool game = false) {
  return {.name = name, .blocks = blocks, .icons = 1, .game = game, .stamp = stamp};
}

class DetailsViewTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
  }
  void TearDown() override {
    copy_.reset();
    delete_.reset();
    save_sel_.reset();
    WindowTest::TearDown();
  }

  // Slot 1 holds four saves whose names, sizes and stamps each sort differently: bytes (not
  // letters: "ZULU" before "alpha"), numbers (9 before 10 before 100), dates with their times.
  void StartFourSaves() {
    StartLoaded(CardBuilder()
                    .Add(Save("alpha", 10, {0x20, 0x01, 0x05, 0x06, 0x07, 0x00, 0x00}))
                    .Add(Save("ZULU", 100, {0x19, 0x99, 0x12, 0x31, 0x23, 0x59, 0x59}))
                    .Add(Save("MIKE", 9, {0x20, 0x01, 0x05, 0x06, 0x06, 0x59, 0x59}, true))
                    .Add(Save("BRAVO", 2, {0x20, 0x10, 0x01, 0x01, 0x00, 0x00, 0x01})),
                CardBuilder().Add(Save("OTHER", 1, {0x20, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00})),
                CardBuilder());
    save_sel_ = std::make_unique<TSave_sel_Form>(&form());
    delete_ = std::make_unique<TDelete_Form>(&form());
    copy_ = std::make_unique<TcopyForm>(&form());
    form().AttachSaveDialogs(save_sel_.get(), delete_.get(), copy_.get());
  }

  SaveDetailsView& Details(int pane) { return *form().Pane(pane).details(); }
  QAction* Toggle(int pane) { return form().Pane(pane).menu().details; }
  void ShowDetails(int pane) {
    Toggle(pane)->setChecked(true);
    ASSERT_TRUE(Details(pane).isVisible());
  }
  // The texts of one column, top to bottom as the view shows them.
  std::vector<std::string> ColumnTexts(int pane, int column) {
    std::vector<std::string> texts;
    const QAbstractItemModel* model = Details(pane).model();
    for (int row = 0; row < model->rowCount(); ++row) {
      texts.push_back(Text(model->index(row, column).data().toString()));
    }
    return texts;
  }
  std::vector<std::string> Names(int pane) { return ColumnTexts(pane, Column::kNameColumn); }
  // Selects rows of the details view as shown (its sorted order).
  void SelectShown(int pane, const std::vector<int>& rows) {
    SaveDetailsView& view = Details(pane);
    QItemSelection selection;
    for (const int row : rows) {
      selection.select(view.model()->index(row, 0),
                       view.model()->index(row, Column::kColumnCount - 1));
    }
    view.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  }
  std::vector<int> IconRowsSelected(int pane) {
    std::vector<int> rows;
    for (int row = 0; row < form().ListView(pane)->count(); ++row) {
      if (form().ListView(pane)->item(row)->isSelected()) rows.push_back(row);
    }
    return rows;
  }
  std::vector<int> ShownRowsSelected(int pane) {
    std::vector<int> rows;
    for (const QModelIndex& index : Details(pane).selectionModel()->selectedRows()) {
      rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  void FocusDetails(int pane) {
    QApplication::setActiveWindow(&form());
    Details(pane).setFocus();
    ASSERT_TRUE(Details(pane).hasFocus());
  }

  std::unique_ptr<TSave_sel_Form> save_sel_;
  std::unique_ptr<TDelete_Form> delete_;
  std::unique_ptr<TcopyForm> copy_;
};

TEST_F(DetailsViewTest, OneRowPerSaveWithItsTextsInCardOrder) {
  StartFourSaves();
  ShowDetails(kPaneSlot1);
  EXPECT_EQ(Names(kPaneSlot1), (std::vector<std::string>{"alpha", "ZULU", "MIKE", "BRAVO"}));
  EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kShortDescriptionColumn),
            (std::vector<std::string>{"Test save alpha", "Test save ZULU", "Test save MIKE",
                                      "Test save BRAVO"}));
  EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kKindColumn),
            (std::vector<std::string>{"資料", "資料", "遊戲", "資料"}));
  EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kBlocksColumn),
            (std::vector<std::string>{"10", "100", "9", "2"}));
  EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kDateColumn),
            (std::vector<std::string>{"2001/05/06", "1999/12/31", "2001/05/06", "2010/01/01"}));
  EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kTimeColumn),
            (std::vector<std::string>{"07:00:00", "23:59:59", "06:59:59", "00:00:01"}));
  const QModelIndex first = Details(kPaneSlot1).model()->index(0, Column::kNameColumn);
  EXPECT_FALSE(first.data(Qt::DecorationRole).value<QIcon>().isNull()) << "the save's icon";
  EXPECT_EQ(first.data(Qt::ToolTipRole).toString(), form().Card1ListView->item(0)->toolTip());
  EXPECT_EQ(Text(Details(kPaneSlot1)
                     .model()
                     ->headerData(Column::kBlocksColumn, Qt::Horizontal)
                     .toString()),
            "Blocks");
}

TEST_F(DetailsViewTest, EachColumnSortsByItsOwnOrder) {
  StartFourSaves();
  ShowDetails(kPaneSlot1);
  SaveDetailsView& view = Details(kPaneSlot1);
  const struct {
    int column;
    std::vector<std::string> ascending;
  } cases[] = {
      {Column::kKindColumn, {}},
      {Column::kNameColumn, {"BRAVO", "MIKE", "ZULU", "alpha"}},  // as the bytes order them
      {Column::kBlocksColumn, {"BRAVO", "MIKE", "alpha", "ZULU"}},
      {Column::kDateColumn, {"ZULU", "MIKE", "alpha", "BRAVO"}},  // same day: by the time
      {Column::kTimeColumn, {"BRAVO", "MIKE", "alpha", "ZULU"}},
  };
  for (const auto& sorted : cases) {
    view.sortByColumn(sorted.column, Qt::AscendingOrder);
    if (sorted.column != Column::kKindColumn) {
      EXPECT_EQ(Names(kPaneSlot1), sorted.ascending) << "column " << sorted.column;
      view.sortByColumn(sorted.column, Qt::DescendingOrder);
      EXPECT_EQ(Names(kPaneSlot1),
                std::vector<std::string>(sorted.ascending.rbegin(), sorted.ascending.rend()))
          << "column " << sorted.column;
    } else {
      EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kKindColumn),
                (std::vector<std::string>{"資料", "資料", "資料", "遊戲"}));
    }
  }
  EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kBlocksColumn),
            (std::vector<std::string>{"100", "10", "9", "2"}))
      << "sorted by time descending";
  // The icon view keeps the card's order; a refresh keeps the chosen column.
  view.sortByColumn(Column::kBlocksColumn, Qt::AscendingOrder);
  EXPECT_EQ(Captions(kPaneSlot1), (std::vector<std::string>{"10", "100", "9", "2"}));
  form().Refresh_Slot1Click();
  EXPECT_EQ(Names(kPaneSlot1), (std::vector<std::string>{"BRAVO", "MIKE", "alpha", "ZULU"}));
  view.sortByColumn(-1, Qt::AscendingOrder);
  EXPECT_EQ(Names(kPaneSlot1), (std::vector<std::string>{"alpha", "ZULU", "MIKE", "BRAVO"}))
      << "back to the card's order";
}

TEST_F(DetailsViewTest, SelectionIsSharedWithTheIconViewBothWaysAfterSorting) {
  StartFourSaves();
  ShowDetails(kPaneSlot1);
  Details(kPaneSlot1).sortByColumn(Column::kBlocksColumn, Qt::DescendingOrder);
  ASSERT_EQ(Names(kPaneSlot1), (std::vector<std::string>{"ZULU", "alpha", "MIKE", "BRAVO"}));

  SelectShown(kPaneSlot1, {0, 2});  // ZULU and MIKE
  EXPECT_EQ(IconRowsSelected(kPaneSlot1), (std::vector<int>{1, 2}));
  EXPECT_EQ(Text(form().Info1->text()), " 插槽1 : 2  已選擇") << "the pane saw the change";
  EXPECT_EQ(Text(form().Info2->text()), "109 Blocks 的總數 ");

  Select(kPaneSlot1, {0, 3});  // alpha and BRAVO, in the icon view
  EXPECT_EQ(ShownRowsSelected(kPaneSlot1), (std::vector<int>{1, 3}));

  // A new order keeps the same saves selected in both views.
  Details(kPaneSlot1).sortByColumn(Column::kNameColumn, Qt::AscendingOrder);
  ASSERT_EQ(Names(kPaneSlot1), (std::vector<std::string>{"BRAVO", "MIKE", "ZULU", "alpha"}));
  EXPECT_EQ(ShownRowsSelected(kPaneSlot1), (std::vector<int>{0, 3}));
  SelectShown(kPaneSlot1, {1});
  EXPECT_EQ(IconRowsSelected(kPaneSlot1), (std::vector<int>{2}));
  form().Card1ListViewClick();
  EXPECT_EQ(form().SelectedName, "MIKE        ");

  // A click in the details view is a click on the pane: nothing selected slides the panel out.
  Details(kPaneSlot1).clearSelection();
  EXPECT_TRUE(IconRowsSelected(kPaneSlot1).empty());
  emit Details(kPaneSlot1).Acted();
  QApplication::processEvents();
  EXPECT_TRUE(form().SelectedName.empty());
}

TEST_F(DetailsViewTest, DeleteKeyAndMenuDeleteTheSavesSelectedInTheDetails) {
  StartFourSaves();
  ShowDetails(kPaneSlot1);
  Details(kPaneSlot1).sortByColumn(Column::kDateColumn, Qt::AscendingOrder);
  SelectShown(kPaneSlot1, {0, 3});  // ZULU (1999) and BRAVO (2010)
  FocusDetails(kPaneSlot1);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(&Details(kPaneSlot1), &press);
  ASSERT_EQ(messages_.texts, std::vector<std::string>{" 確定刪除這檔案嗎? "});
  EXPECT_EQ(Names(kPaneSlot1), (std::vector<std::string>{"MIKE", "alpha"}));
  EXPECT_EQ(Captions(kPaneSlot1), (std::vector<std::string>{"10", "9"}));
}

TEST_F(DetailsViewTest, DoubleClickAndEnterOpenTheDialogOnTheSaveOfTheRow) {
  StartFourSaves();
  ShowDetails(kPaneSlot1);
  SaveDetailsView& view = Details(kPaneSlot1);
  view.sortByColumn(Column::kBlocksColumn, Qt::AscendingOrder);  // BRAVO MIKE alpha ZULU
  const QRect row = view.visualRect(view.model()->index(2, Column::kNameColumn));
  {
    DialogScript script({{"Save_sel_Form", "BitBtn3"}});
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(script.shown, std::vector<std::string>{"Save_sel_Form"});
  }
  EXPECT_EQ(Text(save_sel_->Label3->text()).substr(0, 12), "alpha       ");
  {
    SelectShown(kPaneSlot1, {3});
    FocusDetails(kPaneSlot1);
    DialogScript script({{"Save_sel_Form", "BitBtn3"}});
    QTest::keyClick(&view, Qt::Key_Return);
    ASSERT_EQ(script.shown, std::vector<std::string>{"Save_sel_Form"});
  }
  EXPECT_EQ(Text(save_sel_->Label3->text()).substr(0, 12), "ZULU        ");
}

TEST_F(DetailsViewTest, DragFromTheDetailsCarriesTheSavesSelectedThere) {
  StartFourSaves();
  settings_.drag_mode = 0;
  ShowDetails(kPaneSlot1);
  ShowDetails(kPaneSlot2);
  Details(kPaneSlot1).sortByColumn(Column::kBlocksColumn, Qt::AscendingOrder);
  SelectShown(kPaneSlot1, {0, 1});  // MIKE and BRAVO
  FocusDetails(kPaneSlot1);
  EXPECT_EQ(form().DragSource(kPaneSlot2), kPaneSlot1) << "the details' focus is the pane's";
  EXPECT_FALSE(form().PaneDragOver(kPaneSlot1)) << "no drop on the pane it came from";

  auto* icons = static_cast<PaneListView*>(form().Card1ListView);
  const std::unique_ptr<QMimeData> data(icons->DragData());
  const QPoint at(10, 10);
  QDragEnterEvent onto_itself(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Details(kPaneSlot1).viewport(), &onto_itself);
  EXPECT_FALSE(onto_itself.isAccepted());

  QWidget* target = Details(kPaneSlot2).viewport();
  QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_TRUE(drop.isAccepted());
  QApplication::processEvents();
  EXPECT_EQ(Names(kPaneSlot2), (std::vector<std::string>{"OTHER", "MIKE", "BRAVO"}));
  EXPECT_EQ(Names(kPaneSlot1).size(), 4u) << "copied, not moved";
}

TEST_F(DetailsViewTest, TheToggleSwapsTheViewsAndKeepsTheChoiceForThePane) {
  StartFourSaves();
  for (int pane = 0; pane < 3; ++pane) EXPECT_FALSE(Details(pane).isVisible());
  QApplication::setActiveWindow(&form());
  form().Card1ListView->setFocus();
  ShowDetails(kPaneSlot1);
  EXPECT_TRUE(Details(kPaneSlot1).hasFocus()) << "the focus follows the view shown";
  EXPECT_TRUE(form().Card1ListView->hasFocus()) << "and the pane still has it";
  EXPECT_EQ(Details(kPaneSlot1).geometry(), form().Card1ListView->rect());
  EXPECT_FALSE(Details(kPaneSlot2).isVisible()) << "each pane has its own choice";
  form().resize(form().width() + 100, form().height() + 60);
  QApplication::processEvents();
  EXPECT_EQ(Details(kPaneSlot1).geometry(), form().Card1ListView->rect()) << "follows resizing";
  form().Refresh_Slot1Click();
  EXPECT_TRUE(Details(kPaneSlot1).isVisible()) << "kept over a refresh";
  EXPECT_EQ(Names(kPaneSlot1).size(), 4u);
  // The refresh's wait window took the focus; the pane takes it back, into the details.
  QApplication::setActiveWindow(&form());
  form().Card1ListView->setFocus();
  ASSERT_TRUE(Details(kPaneSlot1).hasFocus());
  Toggle(kPaneSlot1)->setChecked(false);
  EXPECT_FALSE(Details(kPaneSlot1).isVisible());
  EXPECT_TRUE(form().Card1ListView->hasFocus());
  EXPECT_EQ(QApplication::focusWidget(), form().Card1ListView);
}

TEST_F(DetailsViewTest, TabReachesTheDetailsRightAfterTheIconView) {
  StartFourSaves();
  ShowDetails(kPaneSlot1);
  // The widgets Tab stops at, in the window's focus chain from the icon view on: the details
  // view stands right after its icon view, so that Tab leaves the pane for the same widget
  // from either view.
  QWidget* icons = form().Card1ListView;
  std::vector<QWidget*> tab_stops;
  QWidget* widget = icons;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) tab_stops.push_back(widget);
    widget = widget->nextInFocusChain();
  } while (widget != icons);
  ASSERT_GE(tab_stops.size(), 2u);
  EXPECT_EQ(tab_stops[1], &Details(kPaneSlot1));
}

TEST_F(DetailsViewTest, ColumnTitlesKindsAndTooltipsHaveTheirEnglish) {
  ASSERT_TRUE(InstallTranslations(Language::kEnglish));
  struct Chinese {
    ~Chinese() { RemoveTranslations(); }
  } back_to_chinese;
  StartFourSaves();
  const QAbstractItemModel* model = Details(kPaneSlot1).model();
  std::vector<std::string> titles;
  for (int column = 0; column < Column::kColumnCount; ++column) {
    titles.push_back(Text(model->headerData(column, Qt::Horizontal).toString()));
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Name", "VMU description", "Console description",
                                              "Type", "Blocks", "Date", "Time"}));
  EXPECT_EQ(ColumnTexts(kPaneSlot1, Column::kKindColumn),
            (std::vector<std::string>{"Data", "Data", "Game", "Data"}));
  EXPECT_EQ(Text(Toggle(kPaneSlot1)->text()), "Details");
  EXPECT_EQ(Text(form().Card1ListView->item(1)->toolTip()),
            "Name: ZULU\nVMU description: Test save ZULU\nConsole description: \n100 blocks\n"
            "1999/12/31   23:59:59");
}

}  // namespace
}  // namespace quorvel::test
