#include "windows/Latin1ListModel.h"

#include "windows/QtText.h"

namespace korvale {

int Latin1ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_texts.size());
}

QVariant Latin1ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return FromLatin1(m_texts[static_cast<std::size_t>(index.row())]);
}

void Latin1ListModel::InsertTexts(int at, std::span<const std::string> texts) {
    if (texts.empty()) {
        return;
    }
    beginInsertRows({}, at, at + static_cast<int>(texts.size()) - 1);
    m_texts.insert(m_texts.begin() + at, texts.begin(), texts.end());
    endInsertRows();
}

}  // namespace korvale
