#include "platform/PlayerList.h"

#include <algorithm>

namespace korvale {

void InsertPlayer(PlayerList& users, PlayerList& passwords, std::size_t index,
                  std::string_view name, std::string_view password) {
    users.Insert(std::min(index, users.Count()), name);
    passwords.Insert(std::min(index, passwords.Count()), password);
}

}  // namespace korvale
