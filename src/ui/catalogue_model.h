#pragma once

#include <QAbstractListModel>
#include <cstddef>
#include <string>
#include <vector>

namespace palquin {

/// The catalogue as one list model shared by the ten satellite selectors; it also serves as the
/// report list. Each row keeps the line's bytes as read and the text shown for them.
class CatalogueModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    void SetEntries(std::vector<std::string> entries);
    const std::vector<std::string>& EntryBytes() const { return bytes_; }
    /// Up to `count` rows with the longest lines, longest first (worked out once per catalogue).
    std::vector<size_t> LongestRows(size_t count) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    /// The shown text of a row, decoded the first time it is asked for: a selector's list only
    /// ever asks for the rows it shows.
    const QString& TextAt(size_t row) const;

    std::vector<std::string> bytes_;
    mutable std::vector<QString> texts_;
    mutable std::vector<bool> decoded_;
    mutable std::vector<size_t> longest_;
};

}  // namespace palquin
