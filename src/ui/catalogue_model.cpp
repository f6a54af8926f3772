#include "ui/catalogue_model.h"

#include <algorithm>
#include <numeric>

#include "ui/text_codec.h"

namespace palquin {

void CatalogueModel::SetEntries(std::vector<std::string> entries) {
    beginResetModel();
    bytes_ = std::move(entries);
    texts_.assign(bytes_.size(), QString());
    decoded_.assign(bytes_.size(), false);
    longest_.clear();
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

std::vector<size_t> CatalogueModel::LongestRows(size_t count) const {
    const size_t wanted = std::min(count, bytes_.size());
    if (longest_.size() < wanted) {
        std::vector<size_t> rows(bytes_.size());
        std::iota(rows.begin(), rows.end(), size_t{0});
        const auto longer = [this](size_t a, size_t b) {
            return bytes_[a].size() > bytes_[b].size() ||
                   (bytes_[a].size() == bytes_[b].size() && a < b);
        };
        std::partial_sort(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(wanted),
                          rows.end(), longer);
        rows.resize(wanted);
        longest_ = std::move(rows);
    }
    return {longest_.begin(), longest_.begin() + static_cast<std::ptrdiff_t>(wanted)};
}

const QString& CatalogueModel::TextAt(size_t row) const {
    if (!decoded_[row]) {
        texts_[row] = DecodeFileText(bytes_[row]);
        decoded_[row] = true;
    }
    return texts_[row];
}

}  // namespace palquin
