// Tests of drag and drop between the panes: the accept rule, copy and move of several saves
// with the replace question, the refresh order, a drop with nothing selected, a copy that
// finds no room, the automatic refresh held for the whole drop, and the Qt drag events.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <fstream>
#include <iterator>
#include <map>

#include "card/save_commands.h"
#include "card/save_transfer.h"
#include "gui/pane_list_view.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"

namespace quorvel::test {
namespace {

SaveSpec Data(const std::string& name, int blocks = 1, int icons = 1) {
  return {.name = name, .blocks = blocks, .icons = icons};
}

std::string Padded(std::string name) {
  name.resize(12, ' ');
  return name;
}

class DragTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
  }

  // Gives the pane's list the keyboard focus, as pressing the mouse on it to drag does.
  void StartDragFrom(int pane) {
    QApplication::setActiveWindow(&form());
    form().ListView(pane)->setFocus();
    ASSERT_TRUE(form().ListView(pane)->hasFocus());
  }

  // Records, in order, each pane whose rows are emptied or filled again (a refresh), from now
  // on; one entry for the rows of one refresh.
  void RecordRefills() {
    for (int pane = 0; pane < 3; ++pane) {
      auto record = [this, pane] {
        if (refills_.empty() || refills_.back() != pane) refills_.push_back(pane);
      };
      const QAbstractItemModel* model = form().ListView(pane)->model();
      QObject::connect(model, &QAbstractItemModel::modelReset, &form(), record);
      QObject::connect(model, &QAbstractItemModel::rowsInserted, &form(), record);
    }
  }

  // The names of the saves a pane lists, in row order.
  std::vector<std::string> Names(int pane) {
    std::vector<std::string> names;
    CardImage& card = form().Card(pane);
    for (int row = 0; row < card.listed_count; ++row) {
      names.push_back(card.records[card.list_order[row]].name);
    }
    return names;
  }

  // The save's data as the card holds it, by name, read through the card's source.
  std::vector<std::uint8_t> SaveData(int pane, const std::string& name) {
    const std::optional<std::size_t> slot = FindSaveByName(form().Card(pane), Padded(name));
    if (!slot) return {};
    const std::filesystem::path path = root_ / "save.bin";
    OwnLook([&] { EXPECT_TRUE(ExportSaveData(form().Card(pane), *slot, path.string())); });
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::vector<int> refills_;
};

TEST_F(DragTest, MovingThreeSavesFromSlotOneToTheImage) {
  StartLoaded(CardBuilder()
                  .Add(Data("ONE"))
                  .Add(Data("TWO", 2, 2))
                  .Add(Data("THREE", 3, 3))
                  .Add(Data("STAYS")),
              CardBuilder(), CardBuilder().Add(Data("OLD", 4)));
  std::map<std::string, std::vector<std::uint8_t>> before;
  for (const char* name : {"ONE", "TWO", "THREE"}) before[name] = SaveData(kPaneSlot1, name);
  ASSERT_EQ(before["THREE"].size(), 3u * 512);
  // The image file changes on disk after it was read: the drop must read it again first.
  CardBuilder().Add(Data("OLD", 4)).Add(Data("EXTRA", 2)).Write(root_ / "image.dcm");
  settings_.drag_mode = 1;
  Select(kPaneSlot1, {0, 1, 2});
  StartDragFrom(kPaneSlot1);
  RecordRefills();

  ASSERT_TRUE(form().PaneDragOver(kPaneImage));
  form().PaneDragDrop(kPaneImage);

  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(refills_, (std::vector<int>{kPaneImage, kPaneSlot1, kPaneImage}))
      << "image re-read first; after the loop slot 1, then the image";
  EXPECT_EQ(Names(kPaneSlot1), std::vector<std::string>{Padded("STAYS")});
  EXPECT_EQ(Names(kPaneImage),
            (std::vector<std::string>{Padded("OLD"), Padded("EXTRA"), Padded("ONE"), Padded("TWO"),
                                      Padded("THREE")}));
  EXPECT_EQ(form().FileCard.free_blocks, 200 - 4 - 2 - 6);
  for (const auto& [name, data] : before) EXPECT_EQ(SaveData(kPaneImage, name), data) << name;
  EXPECT_TRUE(form().Card1ListView->selectedItems().isEmpty());
  EXPECT_EQ(Reloaded(form().Slot1Card), std::vector<std::string>{});
  EXPECT_EQ(Reloaded(form().FileCard), std::vector<std::string>{});
  EXPECT_EQ(form().Slot1Card.free_blocks, 199);
}

TEST_F(DragTest, CopyModeLeavesTheSourceAndRefreshesOnlyTheTarget) {
  StartLoaded(CardBuilder().Add(Data("ONE")).Add(Data("TWO", 2, 2)), CardBuilder());
  const std::vector<std::uint8_t> two = SaveData(kPaneSlot1, "TWO");
  settings_.drag_mode = 0;
  Select(kPaneSlot1, {0, 1});
  StartDragFrom(kPaneSlot1);
  RecordRefills();
  form().PaneDragDrop(kPaneSlot2);
  EXPECT_EQ(refills_, std::vector<int>{kPaneSlot2});
  EXPECT_EQ(Names(kPaneSlot2), (std::vector<std::string>{Padded("ONE"), Padded("TWO")}));
  EXPECT_EQ(SaveData(kPaneSlot2, "TWO"), two);
  EXPECT_EQ(Reloaded(form().Slot1Card), std::vector<std::string>{});
  EXPECT_EQ(Names(kPaneSlot1), (std::vector<std::string>{Padded("ONE"), Padded("TWO")}));
  EXPECT_EQ(SaveData(kPaneSlot1, "TWO"), two);
  EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
}

TEST_F(DragTest, ASameNameAnsweredNoIsSkippedAndTheOthersGoOn) {
  StartLoaded(CardBuilder(),
              CardBuilder().Add(Data("FIRST")).Add(Data("SAME", 2)).Add(Data("LAST")),
              CardBuilder().Add(Data("SAME", 5)));
  settings_.drag_mode = 1;
  messages_.yes = false;
  Select(kPaneSlot2, {0, 1, 2});
  StartDragFrom(kPaneSlot2);
  form().PaneDragDrop(kPaneImage);
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 SAME         己存在,是否要取代它嗎? "});
  EXPECT_EQ(Names(kPaneImage),
            (std::vector<std::string>{Padded("SAME"), Padded("FIRST"), Padded("LAST")}));
  EXPECT_EQ(form().FileCard.records[*FindSaveByName(form().FileCard, Padded("SAME"))].size, 5)
      << "the image's own save is kept";
  EXPECT_EQ(Names(kPaneSlot2), std::vector<std::string>{Padded("SAME")})
      << "the skipped save stays on the source, the moved ones are gone";
  EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
  EXPECT_EQ(Reloaded(form().FileCard), std::vector<std::string>{});
}

TEST_F(DragTest, ASameNameAnsweredYesIsReplaced) {
  StartLoaded(CardBuilder().Add(Data("SAME", 2, 2)), CardBuilder().Add(Data("SAME", 5)));
  const std::vector<std::uint8_t> data = SaveData(kPaneSlot1, "SAME");
  settings_.drag_mode = 1;
  Select(kPaneSlot1, {0});
  StartDragFrom(kPaneSlot1);
  form().PaneDragDrop(kPaneSlot2);
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 SAME         己存在,是否要取代它嗎? "});
  EXPECT_EQ(Names(kPaneSlot2), std::vector<std::string>{Padded("SAME")});
  EXPECT_EQ(SaveData(kPaneSlot2, "SAME"), data);
  EXPECT_EQ(form().Slot2Card.free_blocks, 198);
  EXPECT_TRUE(Names(kPaneSlot1).empty());
  EXPECT_EQ(Reloaded(form().Slot1Card), std::vector<std::string>{});
  EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
}

// The second of two saves of the same name finds the first one already on the target, so the
// replace question is asked for it.
TEST_F(DragTest, TwoSavesOfTheSameNameAskBeforeTheSecond) {
  StartLoaded(CardBuilder().Add(Data("SAME", 1)).Add(Data("SAME", 2)), CardBuilder());
  const std::string question = " 檔案 SAME         己存在,是否要取代它嗎? ";
  for (const bool replace : {false, true}) {
    messages_.texts.clear();
    messages_.answers = {replace};
    Select(kPaneSlot1, {0, 1});
    StartDragFrom(kPaneSlot1);
    form().PaneDragDrop(kPaneSlot2);
    EXPECT_EQ(messages_.texts, std::vector<std::string>{question}) << replace;
    ASSERT_EQ(Names(kPaneSlot2), std::vector<std::string>{Padded("SAME")}) << replace;
    EXPECT_EQ(form().Slot2Card.records[form().Slot2Card.list_order[0]].size, replace ? 2 : 1);
    EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
    form().FormatPane(kPaneSlot2, 200);
    messages_.texts.clear();
  }
}

TEST_F(DragTest, DropOntoTheSourceOrAGreyPaneIsRefused) {
  StartLoaded(CardBuilder().Add(Data("ONE")), CardBuilder());
  Select(kPaneSlot1, {0});
  StartDragFrom(kPaneSlot1);
  RecordRefills();
  EXPECT_TRUE(form().PaneDragOver(kPaneSlot2));
  EXPECT_FALSE(form().PaneDragOver(kPaneSlot1)) << "the pane the drag started from";
  EXPECT_FALSE(form().PaneDragOver(kPaneImage)) << "no image open";
  form().PaneDragDrop(kPaneSlot1);
  form().PaneDragDrop(kPaneImage);
  EXPECT_FALSE(form().ImageLoaded);
  form().Slot2Loaded = false;
  EXPECT_FALSE(form().PaneDragOver(kPaneSlot2)) << "a pane that went grey";
  form().PaneDragDrop(kPaneSlot2);
  EXPECT_TRUE(refills_.empty());
  EXPECT_TRUE(Names(kPaneSlot2).empty());
  EXPECT_EQ(form().Slot1Card.listed_count, 1);
}

TEST_F(DragTest, ADropFromAPaneWithNothingSelectedIsIgnored) {
  StartLoaded(CardBuilder().Add(Data("ONE")), CardBuilder(), CardBuilder());
  settings_.drag_mode = 1;
  StartDragFrom(kPaneSlot1);
  RecordRefills();
  form().PaneDragDrop(kPaneImage);
  form().PaneDragDrop(kPaneSlot2);
  EXPECT_TRUE(refills_.empty()) << "nothing read again, not even the image";
  EXPECT_EQ(Names(kPaneSlot1), std::vector<std::string>{Padded("ONE")});
  EXPECT_TRUE(form().Timer3->isActive());
}

TEST_F(DragTest, EachSaveThatFindsNoRoomIsToldOnceAndKeptWhenMoving) {
  StartLoaded(CardBuilder()
                  .Add(Data("BIG", 100))
                  .Add(Data("SMALL"))
                  .Add({.name = "GAME", .blocks = 2, .icons = 1, .game = true})
                  .Add(Data("HUGE", 60)),
              CardBuilder()
                  .Add({.name = "PLAYS", .blocks = 3, .icons = 1, .game = true})
                  .Add(Data("FILL", 150)));
  settings_.drag_mode = 1;
  Select(kPaneSlot1, {0, 1, 2, 3});
  StartDragFrom(kPaneSlot1);
  form().PaneDragDrop(kPaneSlot2);
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{
                                 " 檔案 BIG          不能複製: 空間不足.",
                                 " 檔案 GAME         不能複製: 遊戲必須放在第 0 區塊起, "
                                 "但那裡已被使用.",
                                 " 檔案 HUGE         不能複製: 空間不足.",
                             }));
  EXPECT_EQ(Names(kPaneSlot1),
            (std::vector<std::string>{Padded("BIG"), Padded("GAME"), Padded("HUGE")}))
      << "what was not copied stays on the source";
  EXPECT_EQ(Names(kPaneSlot2),
            (std::vector<std::string>{Padded("PLAYS"), Padded("FILL"), Padded("SMALL")}));
  EXPECT_EQ(Reloaded(form().Slot1Card), std::vector<std::string>{});
  EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
}

TEST_F(DragTest, TheAutomaticRefreshWaitsForTheWholeDrop) {
  StartLoaded(CardBuilder().Add(Data("A")).Add(Data("B")),
              CardBuilder().Add(Data("A")).Add(Data("B")));
  ASSERT_TRUE(form().Timer3->isActive());
  settings_.drag_mode = 1;
  std::vector<bool> timer_running;
  messages_.on_ask = [&] { timer_running.push_back(form().Timer3->isActive()); };
  Select(kPaneSlot1, {0, 1});
  StartDragFrom(kPaneSlot1);
  form().PaneDragDrop(kPaneSlot2);
  EXPECT_EQ(timer_running, (std::vector<bool>{false, false}))
      << "also after the first row was deselected";
  EXPECT_TRUE(form().Timer3->isActive()) << "re-armed with AutoRefresh = 1";
}

TEST_F(DragTest, QtDragEventsFromAPaneReachTheDrop) {
  StartLoaded(CardBuilder().Add(Data("ONE")).Add(Data("TWO")), CardBuilder());
  settings_.drag_mode = 0;
  Select(kPaneSlot1, {1});
  StartDragFrom(kPaneSlot1);
  QListWidget* source = form().Card1ListView;
  const std::unique_ptr<QMimeData> data(
      source->model()->mimeData(source->selectionModel()->selectedIndexes()));
  ASSERT_TRUE(data && data->hasFormat(PaneListView::kMimeType));
  const QPointF at(10, 10);

  QDragEnterEvent onto_itself(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(),
                              Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(source->viewport(), &onto_itself);
  EXPECT_FALSE(onto_itself.isAccepted());

  QWidget* target = form().Card2ListView->viewport();
  QMimeData text;
  text.setText("ONE");
  QDragEnterEvent foreign(at.toPoint(), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &foreign);
  EXPECT_FALSE(foreign.isAccepted()) << "only a pane's own drag is taken";

  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                      Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  EXPECT_TRUE(move.isAccepted());
  EXPECT_EQ(move.dropAction(), Qt::CopyAction) << "the source list never removes rows itself";
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
  EXPECT_TRUE(Names(kPaneSlot2).empty()) << "the copy runs once the drag has ended";
  QApplication::processEvents();
  EXPECT_EQ(Names(kPaneSlot2), std::vector<std::string>{Padded("TWO")});
  EXPECT_EQ(source->count(), 2);
}

// A file manager asks for the files only when the drag ends over it: the selected saves are
// then written as DCI files, once, and go with the window.
TEST_F(DragTest, SavesDraggedToAFileManagerArriveAsDciFiles) {
  StartLoaded(CardBuilder().Add(Data("ONE", 2)).Add(Data("TWO", 3)).Add(Data("THREE")),
              CardBuilder());
  Select(kPaneSlot1, {0, 2});
  StartDragFrom(kPaneSlot1);
  QListWidget* source = form().Card1ListView;
  const std::unique_ptr<QMimeData> data(
      source->model()->mimeData(source->selectionModel()->selectedIndexes()));
  ASSERT_TRUE(data && data->hasFormat(PaneListView::kMimeType) && data->hasUrls());
  const QList<QUrl> urls = data->urls();
  ASSERT_EQ(urls.size(), 2);
  const std::vector<std::string> names = {"ONE.DCI", "THREE.DCI"};
  for (int k = 0; k < 2; ++k) {
    const std::filesystem::path file = urls[k].toLocalFile().toStdString();
    EXPECT_EQ(file.filename(), names[k]);
    const std::size_t slot = form().Slot1Card.list_order[k == 0 ? 0 : 2];
    const std::filesystem::path expected = root_ / "expected.dci";
    OwnLook([&] { ASSERT_TRUE(ExportSaveFile(form().Slot1Card, slot, expected).Written()); });
    EXPECT_EQ(testing::ReadFile(file), testing::ReadFile(expected));
  }
  EXPECT_EQ(data->urls(), urls) << "written once per drag";
  EXPECT_EQ(form().PortAccessesOffTheWorker(), 0) << "the saves were read on the link worker";
  const std::filesystem::path folder = urls[0].toLocalFile().toStdString();
  form_.reset();
  EXPECT_FALSE(std::filesystem::exists(folder.parent_path())) << "removed with the window";
}

}  // namespace
}  // namespace quorvel::test
