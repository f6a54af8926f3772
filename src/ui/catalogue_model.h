// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <cstddef>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_text.h"

namespace palquin {

/// The catalogue as one list model shared by the ten satellite selectors; it also serves as the
/// report list. It holds the file's bytes once; a row's text is decoded only when a view asks for
/// it (a selector's list only asks for the rows it shows), and shown shortened when it is long.
class CatalogueModel : public QAbstractListModel {
    Q_OBJECT
  public:
    /// The whole entry, decoded, for the calculation and the links.
    static constexpr int kEntryRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    void SetCatalogue(CatalogueText catalogue);
    const CatalogueText& Text() const { return catalogue_; }
    /// Row's bytes, verbatim.
    std::string_view EntryBytes(int row) const;
    /// Up to `count` rows with the longest lines, longest first (worked out once per catalogue).
    std::vector<size_t> LongestRows(size_t count) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    CatalogueText catalogue_;
    mutable std::vector<size_t> longest_;
};

}  // namespace palquin
