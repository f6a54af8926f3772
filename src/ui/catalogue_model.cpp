// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/catalogue_model.h"

#include <algorithm>
#include <numeric>

#include "text/text_codec.h"

namespace palquin {

void CatalogueModel::SetCatalogue(CatalogueText catalogue) {
    beginResetModel();
    catalogue_ = std::move(catalogue);
    longest_.clear();
    endResetModel();
}

std::string_view CatalogueModel::EntryBytes(int row) const {
    return catalogue_[static_cast<size_t>(row)];
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
    // A view counts rows in an int; a catalogue beyond that shows its first rows only.
    constexpr size_t kMaxRows = 0x7FFFFFFF;
    return parent.isValid() ? 0 : static_cast<int>(std::min(catalogue_.size(), kMaxRows));
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const std::string_view bytes = EntryBytes(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return DecodeForDisplay(bytes, catalogue_.Encoding());
        case kEntryRole:
            return DecodeFileText(bytes, catalogue_.Encoding());
        default:
            return {};
    }
}

std::vector<size_t> CatalogueModel::LongestRows(size_t count) const {
    const size_t wanted = std::min(count, catalogue_.size());
    if (longest_.size() < wanted) {
        std::vector<size_t> rows(catalogue_.size());
        std::iota(rows.begin(), rows.end(), size_t{0});
        const auto longer = [this](size_t a, size_t b) {
            const size_t sizeA = catalogue_[a].size();
            const size_t sizeB = catalogue_[b].size();
            return sizeA > sizeB || (sizeA == sizeB && a < b);
        };
        std::partial_sort(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(wanted),
                          rows.end(), longer);
        rows.resize(wanted);
        longest_ = std::move(rows);
    }
    return {longest_.begin(), longest_.begin() + static_cast<std::ptrdiff_t>(wanted)};
}

}  // namespace palquin
