#include "ui/Tfm_login.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScreen>

namespace {

constexpr QSize kContentSize(724, 487);
constexpr int kTitleBandHeight = 57;
const QColor kTitleBand(0x33, 0x33, 0x33);

}  // namespace

Tfm_login::Tfm_login(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Tfm_login"));
  setWindowTitle(QStringLiteral("Pilvora"));
  setFixedSize(kContentSize);
  setAutoFillBackground(true);
  setPalette(QPalette(Qt::white));
}

void Tfm_login::showEvent(QShowEvent* event) {
  if (const QScreen* display = screen())
    move(display->availableGeometry().center() - rect().center());
  QWidget::showEvent(event);
}

void Tfm_login::closeEvent(QCloseEvent* event) {
  event->accept();
  hide();  // the host may end the program from the notification: be gone first
  if (FFormClose) FFormClose(this);
}

void Tfm_login::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(0, 0, width(), kTitleBandHeight, kTitleBand);
}
