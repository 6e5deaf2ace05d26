#include "app/frmKeys.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QVBoxLayout>
#include <iterator>

#include "app/Keyboard.h"
#include "base/Version.h"

namespace zk {

frmKeys::frmKeys(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(ProgramTitle) + " - Keyboard");
  table_ = new QTableWidget(static_cast<int>(std::size(KeyTable)), 2, this);
  table_->setHorizontalHeaderLabels({"Key", "Does"});
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  int row = 0;
  for (const KeyUse& k : KeyTable) {
    table_->setItem(row, 0, new QTableWidgetItem(QString::fromLatin1(k.keys)));
    table_->setItem(row, 1, new QTableWidgetItem(QString::fromLatin1(k.does)));
    ++row;
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(460, 520);
}

}  // namespace zk
