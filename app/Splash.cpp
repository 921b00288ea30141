#include "Splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "Icons.h"

TSplashWindow::TSplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(Width, Height);
  QTimer::singleShot(ShowMilliseconds, this, &QWidget::close);
}

TSplashWindow* TSplashWindow::ShowSplash() {
  if (!qEnvironmentVariableIsEmpty("TARN_NO_SPLASH"))
    return nullptr;
  auto* splash = new TSplashWindow;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    splash->move(area.center() - QPoint(Width / 2, Height / 2));
  }
  splash->show();
  return splash;
}

void TSplashWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, SplashPicture(Width, Height));
}

void TSplashWindow::mousePressEvent(QMouseEvent*) { close(); }
