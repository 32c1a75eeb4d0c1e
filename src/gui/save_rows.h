// What a pane's row knows of its save besides its icon and block count: the save's texts and
// numbers, kept on the icon view's item in the roles below, and the tooltip built from them.
// The details view shows its columns from these roles.
#pragma once

#include <QListWidgetItem>
#include <QString>

#include "card/card_image.h"

namespace quorvel {

enum SaveRowRole : int {
  kSaveNameRole = Qt::UserRole + 1,  // QString: the 12 name bytes, one character per byte
  kShortDescriptionRole,             // QString: the card's own screen's description
  kLongDescriptionRole,              // QString: the console's file menu's description
  kGameRole,                         // bool: a mini-game
  kBlocksRole,                       // int: the save's size in blocks
  kDateRole,                         // QString: "CCYY/MM/DD"
  kTimeRole,                         // QString: "HH:MM:SS"
};

// Stores the save's texts and numbers on `item` and sets its tooltip.
void DescribeSaveRow(QListWidgetItem& item, const SaveRecord& record);

// A save's name as people read it: the name bytes without their padding.
QString ShownSaveName(const QString& name);

// The description a window shows for a save: the card's own screen's text, then on a line of
// its own the console's file menu's text, without padding; one line when they are the same
// or one is empty.
QString DescriptionLines(const QString& short_description, const QString& long_description);

// The tooltip of a save's icon: name, both descriptions, blocks, date and time.
QString SaveToolTip(const QListWidgetItem& item);

// The details view's words for the kind of a save.
QString SaveKindText(bool game);

}  // namespace quorvel
