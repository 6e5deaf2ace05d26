#include "app/frmZkSplash.h"

#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "app/AppInfo.h"

namespace zk {

namespace {

// The logo: a small dial with a needle.
QPixmap Logo() {
  QPixmap pm(72, 72);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 48), 3));
  p.setBrush(QColor(44, 169, 153));
  p.drawEllipse(QRectF(4, 4, 64, 64));
  p.setBrush(Qt::white);
  p.drawPie(QRectF(12, 12, 48, 48), 30 * 16, 120 * 16);
  p.setPen(QPen(QColor(220, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(36, 36), QPointF(48, 17));
  return pm;
}

}  // namespace

frmZkSplash::frmZkSplash(std::string& versionText) : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint) {
  setWindowTitle("zk3 Zodovaz ");
  auto* imlLogo = new QLabel(this);
  imlLogo->setPixmap(Logo());
  auto* lblTitle = new QLabel("Vantorel ", this);
  QFont big = lblTitle->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  lblTitle->setFont(big);
  auto* lblProductName = new QLabel(QString(ProgramTitle), this);
  versionText = "Version " + VersionNumberText();
  auto* lblVersion = new QLabel(QString::fromStdString(versionText), this);
  auto* lblCopyright = new QLabel(QString::fromStdString(MakerNotice()), this);
  lblInfo_ = new QLabel("Info", this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(imlLogo, 0, 0, 3, 1);
  grid->addWidget(lblTitle, 0, 1, 1, 2);
  grid->addWidget(new QLabel("Product Name:", this), 1, 1);
  grid->addWidget(lblProductName, 1, 2);
  grid->addWidget(new QLabel("Software Version:", this), 2, 1);
  grid->addWidget(lblVersion, 2, 2);
  grid->addWidget(lblCopyright, 3, 0, 1, 3);
  grid->addWidget(lblInfo_, 4, 0, 1, 3);
  setAutoFillBackground(true);
  setContentsMargins(12, 12, 12, 12);
}

void frmZkSplash::paintEvent(QPaintEvent* e) {
  QWidget::paintEvent(e);
  QPainter p(this);
  p.setPen(QPen(QColor(44, 169, 153), 3));
  p.drawRect(rect().adjusted(1, 1, -2, -2));
}

void frmZkSplash::SetInfo(const std::string& text) {
  lblInfo_->setText(QString::fromStdString(text));
  lblInfo_->repaint();
}

void Splash::Show() {
  if (!window_) {
    window_ = new frmZkSplash(versionText_);
    window_->adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen())
      window_->move(s->availableGeometry().center() - window_->rect().center());
  }
  window_->show();
  window_->raise();
}

void Splash::Info(const std::string& text) {
  if (window_) window_->SetInfo(text);
}

void Splash::Unload() {
  if (window_) window_->hide();
}

}  // namespace zk
