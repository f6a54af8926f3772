#pragma once

#include <QAbstractListModel>
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

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    std::vector<std::string> bytes_;
    std::vector<QString> texts_;
};

}  // namespace palquin
