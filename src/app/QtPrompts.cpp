#include "app/QtPrompts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QUrl>

namespace zk {

void KeepDialogSettingsIn(const std::string& folder) {
  // The dialog's settings are user-scope settings in the native format (an INI file on
  // Linux); both formats are pointed at the folder, whichever a Qt version takes.
  for (QSettings::Format f : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(f, QSettings::UserScope, QString::fromStdString(folder));
}

QColor ToQColor(int32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

int32_t FromQColor(const QColor& c) { return c.red() + 256 * c.green() + 65536 * c.blue(); }

QString QtNameFilters(const std::string& filter) {
  // Pairs of "shown text|pattern"; the shown text already carries its pattern in the
  // description, but the pattern after the bar is the one that filters.
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i];
    const int paren = desc.indexOf('(');
    if (paren >= 0) desc = desc.left(paren).trimmed();
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    out << QStringLiteral("%1 (%2)").arg(desc, patterns);
  }
  if (out.isEmpty() && !filter.empty()) out << QString::fromStdString(filter);
  return out.join(QStringLiteral(";;"));
}

MsgResult QtPrompts::MsgBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) {
  QMessageBox box(owner_);
  box.setWindowTitle(QString::fromStdString(title));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
  }
  switch (buttons) {
    case MsgButtons::OK: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case MsgButtons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Retry: return MsgResult::Retry;
    case QMessageBox::Ok: return MsgResult::OK;
    default: break;
  }
  // Closing the box with Escape or its close box answers its cancelling button.
  switch (buttons) {
    case MsgButtons::OK: return MsgResult::OK;
    case MsgButtons::YesNo: return MsgResult::No;
    default: return MsgResult::Cancel;
  }
}

namespace {

QString StartPath(const FileDialogRequest& req) {
  const QString name = QString::fromStdString(req.fileName);
  const QString dir = QString::fromStdString(req.initDir);
  if (name.isEmpty()) return dir;
  if (QFileInfo(name).isAbsolute() || dir.isEmpty()) return name;
  return dir + "/" + name;
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

std::optional<std::string> QtPrompts::OpenFile(const FileDialogRequest& req) {
  return Chosen(QFileDialog::getOpenFileName(owner_, QString::fromStdString(req.title), StartPath(req),
                                             QtNameFilters(req.filter)));
}

std::optional<std::string> QtPrompts::SaveFile(const FileDialogRequest& req) {
  QFileDialog::Options opts;
  if (!(req.flags & 0x2)) opts |= QFileDialog::DontConfirmOverwrite;
  return Chosen(QFileDialog::getSaveFileName(owner_, QString::fromStdString(req.title), StartPath(req),
                                             QtNameFilters(req.filter), nullptr, opts));
}

std::optional<int32_t> QtPrompts::ChooseColor(int32_t initial) {
  const QColor c = QColorDialog::getColor(ToQColor(initial), owner_);
  if (!c.isValid()) return std::nullopt;
  return FromQColor(c);
}

bool QtPrompts::OpenFolder(const std::string& folder) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

}  // namespace zk
