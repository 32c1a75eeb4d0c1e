// TForm1: the main window. Three panes (slot 1, slot 2, the open card image), the left column
// with the selected save, the page panel and the buttons, the link status, and the timers that
// animate icons, detect the link unit and refresh slots when cards come and go.
#pragma once

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/file_history.h"
#include "app/settings.h"
#include "card/cancel.h"
#include "card/card_image.h"
#include "card/journal.h"
#include "card/link_slots.h"
#include "card/save_commands.h"
#include "card/save_identity.h"
#include "gui/card_pane.h"
#include "gui/pane_list_view.h"
#include "host/messages.h"
#include "host/reports.h"
#include "link/link_device.h"
#include "port/port_io.h"

namespace quorvel {

class Tasm86kForm;
class TMiniEdForm;
class TwaitForm;
class ToptForm;
class TselcolorForm;
class FileChooser;
class TSave_sel_Form;
class TDelete_Form;
class TcopyForm;
class CardHistoryWindow;
class LinkWorker;
class WorkerMessages;
class WorkerPort;

// What the main window needs from start-up. Tests replace the clock and the sleep.
struct MainWindowEnv {
  PortIo* port = nullptr;
  Settings* settings = nullptr;
  Messages* messages = nullptr;
  // Blocks the thread for `ms` milliseconds without handling any event (the pauses of the
  // automatic refresh and the steps of the slide animations).
  std::function<void(int ms)> sleep;
  // The time of day in the long time format, for the link handshake (empty: the clock).
  std::function<std::string()> time_of_day;
  // The working directory; empty means the process's current directory at creation.
  std::string work_dir;
  // The picture-open dialog of the add-icon commands (none: they find no file).
  FileChooser* files = nullptr;
  // Why the configured parallel port cannot be used; empty when it can (or on the virtual
  // unit). The window then shows "No Device" and leaves the link alone.
  std::string port_problem;
};

// A window built on first use: `window`, made by `make` (when given) if it is not there yet.
template <typename Window>
Window* BuiltOnFirstUse(Window*& window, const std::function<Window*()>& make) {
  if (window == nullptr && make) window = make();
  return window;
}

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 665;
  static constexpr int kClientHeight = 561;
  static constexpr std::uint32_t kBackground = 0x404000;
  static constexpr int kPanel2Home = 336;
  static constexpr int kPanel2Parked = 736;
  static constexpr int kPanel3Parked = -248;
  static constexpr int kPanel3Shown = 8;

  explicit TForm1(MainWindowEnv env, QWidget* parent = nullptr);
  ~TForm1() override;

  // The windows created after this one; the main window reaches them through here.
  // Its Cancel button and Esc ask the running command to stop (tform1_worker.cpp).
  void AttachWaitForm(TwaitForm* wait_form);
  // Also wires AsmBtn to AsmBtnClick.
  void AttachAsmForm(Tasm86kForm* asm_form);
  // The settings dialog: optBitBtn opens it; detection reads its AutoBox1 (tform1_settings.cpp).
  void AttachOptForm(ToptForm* opt_form);
  // The colour dialog of the add-icon commands, which it connects (tform1_cardicon.cpp).
  void AttachSelcolorForm(TselcolorForm* selcolor_form);
  // Also wires EditBtn to EditBtnClick.
  void AttachMiniEdForm(TMiniEdForm* mini_ed_form);
  // The same two windows, built by `make` (with this window as their parent) when first used:
  // building the hex editor and the disassembly window is a large part of the program's start.
  void AttachAsmForm(std::function<Tasm86kForm*()> make);
  void AttachMiniEdForm(std::function<TMiniEdForm*()> make);
  // The settings dialog likewise, built when its button is first clicked, and the colour
  // dialog, built when an add-icon command first runs.
  void AttachOptForm(std::function<ToptForm*()> make);
  void AttachSelcolorForm(std::function<TselcolorForm*()> make);

  // The selected-save, delete and copy-to dialogs; wires the double-click, Enter, Delete and
  // other keys of the panes and the delete and format menu items (tform1_copy.cpp).
  void AttachSaveDialogs(TSave_sel_Form* save_sel_form, TDelete_Form* delete_form,
                         TcopyForm* copy_form);
  // The same dialogs and the wait window, built by these functions (with this window as their
  // parent) when a save is first opened and when the wait window is first shown.
  void AttachSaveDialogs(std::function<TSave_sel_Form*()> make_save_sel,
                         std::function<TDelete_Form*()> make_delete,
                         std::function<TcopyForm*()> make_copy);
  void AttachWaitForm(std::function<TwaitForm*()> make);

  // ---- Selected-save dialog and copy to (tform1_copy.cpp) ------------------------------
  void Card1ListViewDblClick() { PaneDblClick(kPaneSlot1); }
  void Card2ListViewDblClick() { PaneDblClick(kPaneSlot2); }
  void FileListViewDblClick() { PaneDblClick(kPaneImage); }
  void PaneDblClick(int pane);
  // Copies the save in directory slot `slot` of pane `source` to pane `target`, asking before
  // it replaces a save of the same name, then refreshes the target.
  void CopyToPane(int source, std::uint8_t slot, int target);
  // The pane's refresh procedure (RefreshSlot1, RefreshSlot2 or RefreshImage).
  void RefreshPane(int pane);

  // ---- Drag and drop between the panes (tform1_drag.cpp) --------------------------------
  // Whether pane `target` takes a drop now: it is live and its list has not the focus (the
  // list a drag starts from takes it).
  bool PaneDragOver(int target) const;
  // The pane whose list has the focus, the two other panes tried in ascending order.
  std::optional<int> DragSource(int target) const;
  // Copies (with the move setting: moves) the selected saves of the drag's source to `target`.
  void PaneDragDrop(int target);
  // Files dropped on pane `target` from a file manager: single-save files are added to its
  // card with the usual questions, a card image dropped on the image pane is opened.
  void PaneFilesDropped(int target, const QStringList& files);
  // The selected saves of `pane` written as DCI files into a new folder of this run's private
  // folder, for a drag that ends in a file manager; the paths of those written.
  QStringList WriteDraggedSaves(int pane);

  // ---- Delete and format (tform1_delete.cpp) -------------------------------------------
  void SLOT1DELSEL1Click() { DeleteSelectedSaves(kPaneSlot1); }
  void Slot2DelSel1Click() { DeleteSelectedSaves(kPaneSlot2); }
  void DelSel1Click() { DeleteSelectedSaves(kPaneImage); }
  void DeleteSelectedSaves(int pane);
  void FormatPane(int pane, std::uint8_t user_blocks);

  // ---- Undo and the card history (tform1_undo.cpp) --------------------------------------
  // "復原上一個動作": puts the pane's card back as it was before the last command recorded
  // for it, after a question that names the card and the command.
  void UndoLastCommand(int pane);
  // The card history window of the pane's card; its button puts the card back as it was
  // before the chosen command.
  void ShowCardHistory(int pane);
  // When the last command recorded for the pane's card did not finish, says so (once per
  // command in a run) and offers to put the card back. Called when a card is read into a
  // pane by a refresh, a detection, a page change or the opening of an image, never from
  // inside a command.
  void OfferInterruptedUndo(int pane);
  // The journal options from the settings (journal on or off, verify after write).
  void ApplyJournalSettings();
  Journal& journal() { return *journal_; }

  // ---- Card image files (tform1_dcm.cpp) -----------------------------------------------
  void NEWDCMFILE1Click();
  void LOADDCMfile1Click();
  void CLOSEDCMFILE1Click();
  void SAVEAS1Click();
  void SLOT1SAVEAS1Click() { SaveSlotAsImage(kPaneSlot1); }
  void SLOT2SAVEAS1Click() { SaveSlotAsImage(kPaneSlot2); }
  void SLOT1LOADDCM1Click() { LoadImageIntoSlot(kPaneSlot1); }
  void SLOT2LOADDCM1Click() { LoadImageIntoSlot(kPaneSlot2); }

  // ---- Single-save files (tform1_dci.cpp) ----------------------------------------------
  void SLOT1LOADDCI1Click() { AddSaveFile(kPaneSlot1); }
  void SLOT2LOADDCI1Click() { AddSaveFile(kPaneSlot2); }
  void LOADDCIFILE1Click() { AddSaveFile(kPaneImage); }

  // ---- Settings and the card's own icon -----------------------------------------------
  void optBitBtnClick();
 public slots:
  void SLOT1LOADBMP1Click();
  void S1Click();
  void LOADBMPPIC1Click();

 public:
  // ---- Start-up and close -------------------------------------------------------------
  void FormCreate();
  void quitclick();

  // ---- Unit detection, pages and automatic refresh ------------------------------------
  bool CardPresent(int slot);
  // DetectUnitType, and the slot-1 card forgotten when the detection left a paged card on
  // another page than the one read (ForgetLostPage).
  bool DetectUnit();
  void ForgetLostPage();
  void ApplyUnitLayout();
  void MeasurePages();
  void SpinEdit1Change();
  void Set16MBtnClick();
  void Timer2Timer();
  void Timer3Timer();

  // ---- Refresh procedures and commands ------------------------------------------------
  void RefreshSlot1();
  void RefreshSlot2();
  void RefreshImage();
  void Refresh_Slot1Click();
  void refresh_slot2Click();

  // ---- Panes --------------------------------------------------------------------------
  void FillIconList(int pane);
  void FillPane(int pane);
  void PaneTick();
  void Card1ListViewClick() { PaneClick(kPaneSlot1); }
  void Card2ListViewClick() { PaneClick(kPaneSlot2); }
  void FileListViewClick() { PaneClick(kPaneImage); }
  void PaneClick(int pane);
  void ShowSelectedSave(int pane);
  void ClearSelection();
  void SlideSelectionIn();
  void PaneSelectItem(int pane);
  void PagePanelIn();
  void PagePanelOut();
  void Splitter2CanResize();

  // ---- Disassembly of the selected game (tform1_asm.cpp) -------------------------------
  void AsmBtnClick();
  // ---- Hex editor on the selected save (tform1_edit.cpp) --------------------------------
  void EditBtnClick();

  // ---- The link worker (tform1_worker.cpp) ----------------------------------------------
  // True while a card command runs on the link worker: input that would start another is
  // refused, and the timers start nothing.
  bool CommandRunning() const;
  // Asks the running command to stop at its next safe point (the wait window's Cancel, Esc).
  void CancelCommand();

  // The wait window, built on first use; null when the window has none.
  TwaitForm* WaitForm();
  // Shows the wait window without blocking, centred on this window, painted at once.
  void ShowWaitWindow();
  void HideWaitWindow();
  // Paints what is pending in this window now, without handling any input.
  void RepaintWindow();
  // ProgressBar1 back to an empty bar, after every operation.
  void EmptyProgressBar();

  // The panes and their controls and data, by pane index.
  CardPane& Pane(int pane) const { return *panes_[pane]; }
  QListWidget* ListView(int pane) const { return panes_[pane]->list(); }
  ImageList& Images(int pane) { return panes_[pane]->images(); }
  CardImage& Card(int pane) { return panes_[pane]->card(); }
  bool& Loaded(int pane) { return panes_[pane]->loaded(); }
  LinkDevice& Link() { return *link_; }
  // How often the port was touched from another thread than the link worker's (for tests:
  // the window thread never should).
  int PortAccessesOffTheWorker() const;
  // While false, those accesses are not counted: a test reads a card through the link itself.
  void CountPortAccessesOffTheWorker(bool count);
  Settings& settings() { return *env_.settings; }

  // ---- State --------------------------------------------------------------------------
  std::string WorkDir;
  bool Slot1Loaded = false;
  bool Slot2Loaded = false;
  bool ImageLoaded = false;
  bool AutoRefreshBusy = false;
  bool TwoSlotSeen = false;
  std::uint16_t CurrentPage = 0;
  std::uint16_t HighestPage = 0;
  std::uint16_t ShownPage = 0;  // the page shown by the last RefreshSlot1
  std::string SelectedName;
  std::uint16_t SelectedSlot = 0;
  CardImage* SelectedImage = nullptr;
  // The settings dialog's AutoBox1 as that dialog last displayed it (unticked until the
  // dialog has been opened once).
  std::function<bool()> AutoBoxTicked = [] { return false; };

  CardImage Slot1Card{kSourceSlot1, &card_env_};
  CardImage Slot2Card{kSourceSlot2, &card_env_};
  CardImage FileCard{kSourceImage, &card_env_};

  // ---- Controls, named as in the window description -------------------------------------
  QLabel* Label1;  // maker's name
  QLabel* Label2;  // maker's web address
  QLabel* Label3;  // program name and version
  QLabel* Label4;  // edition
  QLabel* Image1;  // branding picture
  QLabel* Label5;  // link status
  QLabel* MILFlashLabel1;
  QFrame* Panel3;  // page panel
  QLabel* Label6;
  // The page box; built by PageBox() when a paged card first needs it (until then the page
  // panel stands parked out of sight, and a spin box is the one control that would lay out text,
  // and so wait for the fonts, before the window is first shown).
  QSpinBox* SpinEdit1 = nullptr;
  QSpinBox* PageBox();
  QPushButton* Set16MBtn;
  QPushButton* BitBtn;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QPushButton* optBitBtn;
  QPushButton* QUIT = nullptr;
  QProgressBar* ProgressBar1;
  QLabel* NamePanel;
  QFrame* Panel2;  // selected-save panel
  QLabel* Image2;
  QLabel* Label7;
  QPushButton* EditBtn;
  QPushButton* AsmBtn;
  QLabel* Info1;
  QLabel* Info2;

  QSplitter* Splitter1 = nullptr;
  QSplitter* Splitter2;
  // The three panes; the controls below are their parts, under the window description's names.
  CardPane* slot1_pane = nullptr;
  CardPane* slot2_pane = nullptr;
  CardPane* image_pane = nullptr;
  QWidget* Panel7;  // slot-1 pane
  QWidget* Panel8;  // slot-2 pane
  QWidget* FilePane;
  QLabel* SLOT1;
  QLabel* SLOT2;
  QLabel* Panel9;
  QListWidget* Card1ListView;
  QListWidget* Card2ListView;
  QListWidget* FileListView;
  QLabel* slot1_sizePanel;
  QLabel* slot2_sizePanel;
  QLabel* FileCardPanel;
  QToolButton* SpeedButton1;
  QToolButton* SpeedButton2;
  QToolButton* SpeedButton3;
  QToolButton* SpeedButton4;
  QToolButton* SpeedButton5;
  QToolButton* SpeedButton6;
  ImageList card1Image;
  ImageList Card2Image;
  ImageList FileImage;

  QMenu* PopupMenu1;
  QAction* Refresh_Slot1;
  QAction* SLOT1LOADDCM1;
  QAction* SLOT1LOADDCI1;
  QAction* SLOT1LOADBMP1;
  QAction* SLOT1SAVEAS1;
  QMenu* delete_shot1;
  QAction* N2411;
  QAction* N240Block1;
  QAction* N200Block1;
  QAction* SLOT1DELSEL1;
  QAction* UndoSlot1;
  QAction* HistorySlot1;

  QMenu* PopupMenu2;
  QAction* refresh_slot2;
  QAction* SLOT2LOADDCM1;
  QAction* SLOT2LOADDCI1;
  QAction* S1;
  QAction* SLOT2SAVEAS1;
  QMenu* format_slot2;
  QAction* N2412;
  QAction* N240Blocks1;
  QAction* N200Blocks1;
  QAction* Slot2DelSel1;
  QAction* UndoSlot2;
  QAction* HistorySlot2;

  QMenu* FilePopupMenu;
  QAction* NEWDCMFILE1;
  QAction* LOADDCMfile1;
  QAction* CLOSEDCMFILE1;
  QMenu* RecentImagesMenu;  // the card images opened lately
  QAction* LOADDCIFILE1;
  QAction* LOADBMPPIC1;
  QAction* SAVEAS1;
  QMenu* Delete1;
  QAction* N2413;
  QAction* N241Blocks1;
  QAction* N200Blocks2;
  QAction* DelSel1;
  QAction* UndoImage;
  QAction* HistoryImage;

  QTimer* Timer1;  // 800 ms: PaneTick
  QTimer* Timer2;  // 1000 ms, once: first detection of the link unit
  QTimer* Timer3;  // 1500 ms: automatic refresh

  TwaitForm* waitForm = nullptr;
  Tasm86kForm* asm86kForm = nullptr;
  ToptForm* optForm = nullptr;
  TselcolorForm* selcolorForm = nullptr;
  TSave_sel_Form* Save_sel_Form = nullptr;
  TDelete_Form* Delete_Form = nullptr;
  TcopyForm* copyForm = nullptr;
  TMiniEdForm* MiniEdForm = nullptr;
  CardHistoryWindow* CardHistory = nullptr;  // created on first use
  std::function<Tasm86kForm*()> make_asm_form_;
  std::function<ToptForm*()> make_opt_form_;
  std::function<TselcolorForm*()> make_selcolor_form_;
  std::function<TMiniEdForm*()> make_mini_ed_form_;
  std::function<TSave_sel_Form*()> make_save_sel_form_;
  std::function<TDelete_Form*()> make_delete_form_;
  std::function<TcopyForm*()> make_copy_form_;
  std::function<TwaitForm*()> make_wait_form_;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The first show says what went wrong at start-up (the configuration file, the port), over
  // the window.
  void showEvent(QShowEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the window (tform1_layout.cpp).
  void BuildLeftColumn();
  void BuildPanes();
  // The window description's names bound to the panes' parts.
  void BindPaneNames();
  void BuildTimers();
  void ConnectEvents();
  // Places what follows the window's size: the panes fill everything right of the left column,
  // the buttons at the column's foot keep their distance from the bottom edge.
  void LayOutWindow();

  // Unit layouts (tform1_detect.cpp).
  void PauseAfterRemoval();
  void ShowTwoSlotLayout();
  void ShowPagedLayout();
  void WidenPanel8();
  void NarrowPanel8();
  void SetPanel8Width(int width);
  bool AutoRefreshOn() const;
  void RearmTimer3();

  // The selected save handed to the hex editor or the code window (tform1_edit.cpp). TakeSaveOut
  // checks that a slot still holds a card, stops Timer3 (the caller re-arms it when done) and
  // exports the save to `path`; nullopt when there is nothing to edit (the user was told why).
  // PutSaveBack writes `path` over that save only while the card still holds it.
  std::optional<SaveIdentity> TakeSaveOut(CardImage& card, std::size_t slot,
                                          const std::string& path);
  bool PutSaveBack(CardImage& card, const SaveIdentity& save, const std::string& path);

  // The settings button opens the dialog; detection reads the dialog's box (tform1_settings.cpp).
  void AttachOptButton();

  // Refresh (tform1_refresh.cpp).
  void LoadSource(int pane);
  void ShowPageInPanel(std::uint16_t page);
  void EmptyPane(int pane);

  // Panes (tform1_panes.cpp).
  void DrawOnImage2(const QPixmap& picture);
  void MoveSelectionPanel(int dy);
  void MovePagePanel(int dx);
  void ClearRows(int pane);
  void Pause(int ms);
  void ReadConfig();
  // The port cannot be used: no link command can reach a unit.
  bool PortClosed() const { return !env_.port_problem.empty(); }

  // Save commands (tform1_copy.cpp, tform1_delete.cpp).
  void FillSaveDialogs(int pane, std::uint8_t slot);
  void DeleteOneSave(int pane, std::uint8_t slot);
  // " 檔案 NAME 己存在,是否要取代它嗎? " with `lead` in place of " 檔案 ".
  bool AskReplace(const std::string& lead, const std::string& name);
  // The replace question as a store asks it: Yes shows the wait window for the writing.
  NameClashAnswers ReplaceAnswers(const std::string& lead);
  void ConnectSaveCommands();
  // The panes' double-click and keys, which open the save dialogs.
  void ConnectSaveDialogKeys();
  // Builds those of the save dialogs not built yet; false when one is missing.
  bool SaveDialogsBuilt();

  // Copies one save, first asking (" 檔案 " or `lead`) whether to replace a save of the same
  // name on the target, and tells the user why the save was not stored (room, block 0,
  // directory); link and file failures were already reported by the block layer.
  enum class CopyOutcome { kSkipped, kFailed, kCopied };
  CopyOutcome CopyAskingToReplace(int source, std::uint8_t slot, int target,
                                  const std::string& lead);

  // Drag and drop (tform1_drag.cpp).
  void ConnectDragAndDrop();
  void DropOneSave(int source, int target);

  // Keeps Timer3 stopped while a command that touches a card runs (its question boxes run
  // their own event loop, and a selection change would re-arm it); the outermost hold re-arms
  // it when it ends.
  class Timer3Hold {
   public:
    explicit Timer3Hold(TForm1& form);
    ~Timer3Hold();
    Timer3Hold(const Timer3Hold&) = delete;
    Timer3Hold& operator=(const Timer3Hold&) = delete;

   private:
    TForm1& form_;
  };
  int timer3_holds_ = 0;

  // Runs `work` (a card command) on the link worker while this thread keeps the window alive;
  // afterwards says how a command that was asked to stop left the card (`file_command`: a
  // backup, whose stop leaves no file). On the worker (inside a command) it runs `work` at
  // once; from this thread while a command runs, `work` runs on the worker after it.
  void OnLinkWorker(const std::function<void()>& work, bool file_command = false);
  // The same answers, each asked on this window's thread (the command runs on the worker).
  NameClashAnswers AnsweredOnWindow(const NameClashAnswers& answers);
  // Runs `show` on this window's thread: at once there, queued from the worker.
  void OnWindowThread(std::function<void()> show);
  // Input to this window while a command runs: refused, and the status label says why; Esc
  // asks the command to stop. True when `event` is taken.
  bool RefuseWhileBusy(QObject* watched, QEvent* event);
  std::unique_ptr<LinkWorker> worker_;
  std::unique_ptr<WorkerMessages> worker_messages_;  // the card layer's questions, from the worker
  std::unique_ptr<WorkerPort> worker_port_;          // the port as the link reaches it
  CancelRequest cancel_;                             // the running command's request to stop
  bool close_after_command_ = false;                 // the window was closed while a command ran

  // Undo (tform1_undo.cpp): the menu items wired; the undo itself (to = nullopt: the last
  // command) with the wait window, its failure said, and the pane read again.
  void ConnectUndoCommands();
  void RunUndo(int pane, std::optional<std::uint64_t> to);
  // How the questions name the pane's card: its slot, its page or its file.
  std::string CardText(int pane);
  // The journal of the card in a pane, found by the card's root read on the link worker.
  JournalFile ReadCardJournal(int pane);
  // The interrupted commands already offered in this run, by card and command number.
  std::set<std::pair<CardKey, std::uint64_t>> offered_undos_;
  bool offering_undo_ = false;

  // The add-icon command for one pane (tform1_cardicon.cpp).
  void AddCardIcon(int pane);

  // Card image files (tform1_dcm.cpp).
  void ConnectFileCommands();
  void SaveSlotAsImage(int pane);
  void LoadImageIntoSlot(int pane);
  // Opens the image file `path` in the image pane; false (and told) when it cannot be opened.
  bool OpenImage(const QString& path);
  // Opens `path` in the image pane after the open command's checks (size, byte order), telling
  // the user why not.
  void OpenCheckedImage(const QString& path);
  // A card image file to open or to write, asked with the image dialogs' filters; `name` is
  // the file name proposed.
  std::optional<QString> ChooseImageToOpen();
  std::optional<QString> ChooseImageToWrite(const QString& name);
  // The file a card image is to be copied to: nothing when the chooser was cancelled, when it
  // names the open image's own file (said to the user), or when the user keeps an existing file.
  std::optional<QString> ChooseImageCopyTarget(const QString& name);
  // The 檔案 menu's list of the card images opened lately: a file that is gone is shown
  // disabled.
  void FillRecentImages();
  // The open image's own file: writing over it from another command is refused.
  bool IsOpenImageFile(const QString& path) const;
  // True, after telling the user, when an output file `path` is a card file in use (the open
  // image, a virtual card's file, a card another program holds): it is never written over.
  bool RefuseCardFile(const QString& path);
  // Whether an output file may be written: never a card file in use (told), and a file that
  // exists only after the user's yes to a question that names it (No by default).
  bool MayWriteTo(const QString& path);

  // Single-save files and icon pictures of one save (tform1_dci.cpp).
  void AddSaveFile(int pane);
  // Adds the single-save file `file` (chosen or dropped) to the pane's card.
  void AddSaveFileFrom(int pane, const QString& file);
  void ExportSaveFile(int pane, std::uint8_t slot);
  void SaveIconFile(int pane, std::uint8_t slot);
  // Stores the single-save file `file` (its bytes `save_file`) on the pane's card with the
  // given answers to a save of the same name, tells the user why when it was not stored, and
  // refreshes the pane when the card changed. True when stored.
  // The questions asked for a VMS file without its VMI: its name on the card, and whether it
  // is a game when its blocks do not tell.
  VmsQuestions LoneVmsQuestions(const std::string& file);
  bool ImportIntoPane(int pane, const std::string& file, std::span<const std::uint8_t> save_file,
                      const NameClashAnswers& answers);

  MainWindowEnv env_;
  // What the link and the card layer report: progress to ProgressBar1, the status text to
  // Label5, a link that gave up switches the automatic refresh off.
  Reports reports_;
  std::unique_ptr<LinkDevice> link_;
  std::unique_ptr<LinkSlots> slot_link_;
  std::unique_ptr<Journal> journal_;  // of every write to the three cards
  // The folders the file choosers last used and the card images opened lately, kept in
  // WorkDir.
  FileHistory file_history_;
  CardEnvironment card_env_;
  std::array<CardPane*, 3> panes_{};
  // The folders of the saves dragged out as files; removed when the window goes.
  std::vector<std::filesystem::path> drag_folders_;
  // What start-up has to say, said once the window is on the screen.
  HeldMessages start_notices_;
};

// Sets `timer` running unless it already runs (enabling an enabled timer does not restart
// its interval); disables it with stop().
void EnableTimer(QTimer* timer);

// The size suffix of a paged card's label from its highest page: "16M", "8M", "4M", "2M", or
// nothing for a highest page of 2.
std::string PageSizeSuffix(std::uint16_t highest_page);

}  // namespace quorvel
