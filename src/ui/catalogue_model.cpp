#include "ui/catalogue_model.h"

#include "ui/text_codec.h"

namespace palquin {

void CatalogueModel::SetEntries(std::vector<std::string> entries) {
    beginResetModel();
    bytes_ = std::move(entries);
    texts_.clear();
    texts_.reserve(bytes_.size());
    for (const std::string& entry : bytes_) {
        texts_.push_back(DecodeFileText(entry));
    }
    endResetModel();
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(texts_.size());
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(texts_.size())) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return texts_[static_cast<size_t>(index.row())];
    }
    return {};
}

}  // namespace palquin
