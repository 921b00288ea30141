// Toolbar pictures: the desktop's icon theme first, the drawn pictures where it has none.
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "CommandIds.h"
#include "Commands.h"
#include "Icons.h"

namespace {

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32); }

// Points the icon lookup at ROOT and nothing else, so the machine's installed themes play no part.
void UseThemesIn(const QString& root, const QString& theme) {
  QIcon::setThemeSearchPaths({root});
  QIcon::setFallbackSearchPaths({});
  QIcon::setFallbackThemeName(QStringLiteral("tarn-no-such-theme"));
  QIcon::setThemeName(theme);
}

}  // namespace

class IconsTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

 private slots:
  // On a desktop without an icon theme every button must still show its own drawn picture:
  // not a blank, and not the plain square of a command that has no picture.
  void withoutThemeTheDrawnPicturesShow() {
    UseThemesIn(Dir.path(), QStringLiteral("tarn-no-such-theme"));
    const QImage square = Picture(CommandIcon(-1));
    int buttons = 0;
    for (int id : ToolbarLayout()) {
      if (id == 0) continue;
      ++buttons;
      const QIcon icon = CommandIcon(id);
      const QByteArray what = QByteArray::number(id);
      QVERIFY2(!icon.isNull(), what);
      QVERIFY2(icon.name().isEmpty(), what);  // not taken from a theme
      QVERIFY2(Picture(icon) != square, what);
    }
    QVERIFY(buttons >= 10);
  }

  // A theme that has the name is used; one that lacks a name leaves that button drawn.
  void themeIconIsTakenByItsName() {
    const QString theme = Dir.filePath(QStringLiteral("tarn-test"));
    QVERIFY(QDir().mkpath(theme + "/16x16/actions"));
    QFile index(theme + "/index.theme");
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=tarn-test\nDirectories=16x16/actions\n\n"
                "[16x16/actions]\nSize=16\nContext=Actions\nType=Fixed\n");
    index.close();
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(theme + "/16x16/actions/document-new.png"));
    UseThemesIn(Dir.path(), QStringLiteral("tarn-test"));

    const QIcon themed = CommandIcon(Cmd::New);
    QCOMPARE(themed.name(), QStringLiteral("document-new"));
    QCOMPARE(Picture(themed).pixelColor(8, 8), QColor(Qt::red));

    const QIcon drawn = CommandIcon(Cmd::Open);
    QVERIFY(!drawn.isNull());
    QVERIFY(drawn.name().isEmpty());
  }
};

QTEST_MAIN(IconsTest)
#include "IconsTest.moc"
