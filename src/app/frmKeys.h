#pragma once
// Help > Keyboard: the operator's keys and what each does, read from the keyboard's own
// key table, so the list cannot drift from what the keys do.
#include <QDialog>
#include <QTableWidget>

namespace zk {

class frmKeys : public QDialog {
  Q_OBJECT
 public:
  explicit frmKeys(QWidget* parent);

  QTableWidget* table() const { return table_; }

 private:
  QTableWidget* table_;
};

}  // namespace zk
