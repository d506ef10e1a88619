#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korvale {

// One of the two parallel player lists: names (cboUsers) or passwords (cboUserPass). Texts are
// Latin-1 bytes, as in the files. Entries never sort and are never removed.
class PlayerList {
public:
    virtual ~PlayerList() = default;

    // Inserts the texts, in order, at `index` (0..Count()); later entries move up.
    virtual void Insert(std::size_t index, std::span<const std::string> texts) = 0;
    virtual std::size_t Count() const = 0;
    // -1 when nothing is selected.
    virtual std::ptrdiff_t SelectedIndex() const = 0;
    virtual void SetSelectedIndex(std::ptrdiff_t index) = 0;
    // What the list's edit box shows: after a pick, the picked entry.
    virtual std::string Text() const = 0;

    void Insert(std::size_t index, std::string_view text) {
        const std::string one(text);
        Insert(index, std::span<const std::string>(&one, 1));
    }
};

// Inserts a name and its password at the same index of both lists, one right after the other. An
// index past the end puts them at the end of both, so the pairing holds whatever the file said.
void InsertPlayer(PlayerList& users, PlayerList& passwords, std::size_t index,
                  std::string_view name, std::string_view password);

}  // namespace korvale
