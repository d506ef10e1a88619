#pragma once

class QComboBox;

namespace korvale {

class PlayerListModel;

// Makes `combo` an editable view of the players' names. Only a user's pick selects an entry:
// typing never does, the list never grows from what is typed, and rows added to the model select
// nothing and keep what was typed.
void showPlayerNames(QComboBox& combo, PlayerListModel& model);

}  // namespace korvale
