#pragma once

#include <span>
#include <string>
#include <vector>

#include <QAbstractListModel>

namespace korvale {

// A player list's entries as the files hold them (Latin-1), turned into text only when a row is
// shown: thousands of identities go in with one insert, without an item object each.
class Latin1ListModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void InsertTexts(int at, std::span<const std::string> texts);

private:
    std::vector<std::string> m_texts;
};

}  // namespace korvale
