#include "ui/catalogue_model.h"

#include "ui/text_codec.h"

namespace palquin {

void CatalogueModel::SetCatalogue(CatalogueText catalogue) {
    beginResetModel();
    catalogue_ = std::move(catalogue);
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

}  // namespace palquin
