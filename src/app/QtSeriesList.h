#pragma once
// cboFile as the series commands see it: a combo box of three-digit numbers over the file
// label. It forwards the list's keys, clicks, double clicks and the loss of the focus to
// the recording files, and switches the window's key handling off while it is open.
#include <QComboBox>
#include <QObject>
#include <functional>

#include "recording/RecordingFiles.h"

namespace zk {

class QtSeriesList : public QObject, public SeriesList {
 public:
  // `keyPreview` switches the window's own key handling on and off.
  QtSeriesList(QComboBox& box, std::function<void(bool)> keyPreview);

  // Where the list's events go; until then they are ignored.
  void SetTarget(RecordingFiles* files) { files_ = files; }

  void Clear() override;
  void AddItem(const std::string& text) override;
  void SetListIndex(int index) override;
  std::string Text() const override;
  void DropDown() override;
  void SetKeyPreview(bool on) override { keyPreview_(on); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QComboBox& box_;
  std::function<void(bool)> keyPreview_;
  RecordingFiles* files_ = nullptr;
};

}  // namespace zk
