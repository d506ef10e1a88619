#pragma once

class QComboBox;

namespace korvale {

class PlayerListModel;

// Makes `combo` an editable view of one column of the players. Only a user's pick selects an
// entry: typing never does, the list never grows from what is typed, and rows added to the
// model select nothing and keep what was typed.
void showPlayerColumn(QComboBox& combo, PlayerListModel& model, int column);

}  // namespace korvale
