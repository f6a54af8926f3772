#include "ui/catalogue_model.h"

#include "ui/text_codec.h"

namespace palquin {

void CatalogueModel::SetEntries(std::vector<std::string> entries) {
    beginResetModel();
    bytes_ = std::move(entries);
    texts_.assign(bytes_.size(), QString());
    decoded_.assign(bytes_.size(), false);
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
        return TextAt(static_cast<size_t>(index.row()));
    }
    return {};
}

const QString& CatalogueModel::TextAt(size_t row) const {
    if (!decoded_[row]) {
        texts_[row] = DecodeFileText(bytes_[row]);
        decoded_[row] = true;
    }
    return texts_[row];
}

}  // namespace palquin
