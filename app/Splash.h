// The start-up picture: a small frameless window that closes itself after a
// few seconds or at a click, without holding up the start-up.
#pragma once

#include <QWidget>

class TSplashWindow : public QWidget {
  Q_OBJECT
public:
  static constexpr int Width = 360;
  static constexpr int Height = 180;
  static constexpr int ShowMilliseconds = 4000;

  explicit TSplashWindow(QWidget* parent = nullptr);
  // Shows a splash window centred on the screen, unless TARN_NO_SPLASH is set.
  // The window deletes itself when it closes.
  static TSplashWindow* ShowSplash();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};
