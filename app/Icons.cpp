#include "Icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "CommandIds.h"

namespace {

const QColor Ink(40, 40, 40);
const QColor Paper(250, 250, 250);
const QColor Accent(30, 90, 170);
const QColor Warn(200, 40, 30);

QPixmap Canvas(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A sheet of paper with a folded corner, in a 16-unit square.
void DrawPage(QPainter& p, QRectF r) {
  const qreal fold = r.width() * 0.3;
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(Ink, 1));
  p.setBrush(Paper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void DrawTextLines(QPainter& p, QRectF r, int count) {
  p.setPen(QPen(QColor(120, 120, 120), 1));
  for (int i = 0; i < count; ++i) {
    const qreal y = r.top() + 5 + i * 2.5;
    if (y > r.bottom() - 1.5)
      break;
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
  }
}

void DrawMagnifier(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(QPen(Ink, 1.5));
  p.setBrush(QColor(200, 225, 255));
  p.drawEllipse(centre, radius, radius);
  p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre + QPointF(radius * 0.7, radius * 0.7), centre + QPointF(radius * 1.8, radius * 1.8));
}

void DrawArrow(QPainter& p, QPointF from, QPointF to, QColor colour) {
  p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const QPointF d = to - from;
  const qreal length = std::max(1.0, std::hypot(d.x(), d.y()));
  const QPointF u = d / length, n(-u.y(), u.x());
  p.drawLine(to, to - u * 3 + n * 2.5);
  p.drawLine(to, to - u * 3 - n * 2.5);
}

void DrawErrorMark(QPainter& p, bool next) {
  p.setPen(QPen(Warn.darker(130), 1));
  p.setBrush(Warn);
  p.drawEllipse(QRectF(1, 1, 9, 9));
  p.setPen(QPen(Qt::white, 1.6));
  p.drawLine(QPointF(5.5, 2.8), QPointF(5.5, 6.6));
  p.drawPoint(QPointF(5.5, 8.3));
  if (next)
    DrawArrow(p, QPointF(5, 13), QPointF(15, 13), Accent);
  else
    DrawArrow(p, QPointF(15, 13), QPointF(5, 13), Accent);
}

void DrawCommand(QPainter& p, int id) {
  switch (id) {
    case Cmd::New:
      DrawPage(p, QRectF(3, 1, 10, 14));
      p.setPen(QPen(QColor(230, 170, 0), 1.5));
      p.drawLine(QPointF(12, 10), QPointF(12, 15));
      p.drawLine(QPointF(9.5, 12.5), QPointF(14.5, 12.5));
      break;
    case Cmd::Open:
      p.setPen(QPen(Ink, 1));
      p.setBrush(QColor(235, 190, 70));
      p.drawRect(QRectF(1, 4, 12, 10));
      p.setBrush(QColor(250, 215, 110));
      p.drawPolygon(QPolygonF({QPointF(3, 7), QPointF(15, 7), QPointF(13, 14), QPointF(1, 14)}));
      DrawArrow(p, QPointF(9, 5), QPointF(13, 1.5), Accent);
      break;
    case Cmd::Save:
      p.setPen(QPen(Ink, 1));
      p.setBrush(Accent);
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(Paper);
      p.drawRect(QRectF(4, 1.5, 8, 5));
      p.setBrush(QColor(180, 180, 180));
      p.drawRect(QRectF(4, 9, 8, 5.5));
      break;
    case Cmd::Print:
      p.setPen(QPen(Ink, 1));
      p.setBrush(Paper);
      p.drawRect(QRectF(4, 1.5, 8, 5));
      p.setBrush(QColor(170, 170, 170));
      p.drawRect(QRectF(1.5, 6.5, 13, 6));
      p.setBrush(Paper);
      p.drawRect(QRectF(4, 10.5, 8, 4));
      break;
    case Cmd::PrintPreview:
      DrawPage(p, QRectF(1.5, 1, 10, 14));
      DrawTextLines(p, QRectF(1.5, 1, 10, 14), 4);
      DrawMagnifier(p, QPointF(9, 9), 3);
      break;
    case Cmd::Undo: {
      p.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(3, 3, 11, 10), 90 * 16, -250 * 16);
      p.setPen(QPen(Accent, 1.5));
      p.setBrush(Accent);
      p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(7, 1), QPointF(7, 7)}));
      break;
    }
    case Cmd::Cut:
      p.setPen(QPen(Ink, 1.3));
      p.setBrush(Qt::NoBrush);
      p.drawLine(QPointF(4, 1), QPointF(10, 11));
      p.drawLine(QPointF(12, 1), QPointF(6, 11));
      p.setPen(QPen(Warn, 1.5));
      p.drawEllipse(QRectF(2, 10, 4.5, 4.5));
      p.drawEllipse(QRectF(9.5, 10, 4.5, 4.5));
      break;
    case Cmd::Copy:
      DrawPage(p, QRectF(1.5, 1, 8, 10));
      DrawPage(p, QRectF(6.5, 5, 8, 10));
      DrawTextLines(p, QRectF(6.5, 5, 8, 10), 3);
      break;
    case Cmd::Paste:
      p.setPen(QPen(Ink, 1));
      p.setBrush(QColor(180, 130, 70));
      p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(4, 1, 5, 3));
      DrawPage(p, QRectF(7, 6, 8, 9.5));
      break;
    case Cmd::Find:
      DrawMagnifier(p, QPointF(6.5, 6.5), 4.5);
      break;
    case Cmd::Replace:
      DrawMagnifier(p, QPointF(5.5, 5.5), 3.5);
      DrawArrow(p, QPointF(9, 14), QPointF(15, 8), Warn);
      break;
    case Cmd::FindNext:
      DrawMagnifier(p, QPointF(5.5, 5.5), 3.5);
      DrawArrow(p, QPointF(9, 14.5), QPointF(15.5, 14.5), Accent);
      break;
    case Cmd::PreviousError: DrawErrorMark(p, false); break;
    case Cmd::NextError: DrawErrorMark(p, true); break;
    case Cmd::Assemble: {
      // A gear: the assembler at work.
      p.setPen(QPen(Ink, 1));
      p.setBrush(QColor(120, 130, 150));
      QPainterPath gear;
      for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(i * 45);
        p.drawRect(QRectF(-1.5, -7.5, 3, 3));
        p.restore();
      }
      p.drawEllipse(QPointF(8, 8), 5, 5);
      p.setBrush(Paper);
      p.drawEllipse(QPointF(8, 8), 2, 2);
      break;
    }
    case Cmd::HelpContents: {
      p.setPen(QPen(Accent.darker(130), 1));
      p.setBrush(Accent);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      QFont font;
      font.setPixelSize(12);
      font.setBold(true);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    default:
      p.setPen(QPen(Ink, 1));
      p.setBrush(QColor(210, 210, 210));
      p.drawRect(QRectF(2, 2, 12, 12));
  }
}

QIcon PaintedIcon(void (*draw)(QPainter&, int), int id) {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p, id);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void DrawFrameIcon(QPainter& p, int) {
  p.setPen(QPen(Accent.darker(140), 1));
  p.setBrush(Accent);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
  QFont font;
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0.5, 0.5, 15, 15), Qt::AlignCenter, QStringLiteral("T"));
}

void DrawDocumentIcon(QPainter& p, int) {
  DrawPage(p, QRectF(2.5, 0.5, 11, 15));
  DrawTextLines(p, QRectF(2.5, 0.5, 11, 15), 4);
  p.setPen(QPen(Accent, 1.2));
  p.drawText(QRectF(3, 8, 10, 8), Qt::AlignCenter, QStringLiteral("A"));
}

}  // namespace

QIcon FrameIcon() { return PaintedIcon(DrawFrameIcon, 0); }
QIcon DocumentIcon() { return PaintedIcon(DrawDocumentIcon, 0); }

const char* CommandIconName(int id) {
  // Names of the freedesktop icon naming scheme. Find next and the error steps have no
  // name of their own there: the error steps borrow the arrows, Find next keeps its picture.
  switch (id) {
    case Cmd::New: return "document-new";
    case Cmd::Open: return "document-open";
    case Cmd::Save: return "document-save";
    case Cmd::Print: return "document-print";
    case Cmd::PrintPreview: return "document-print-preview";
    case Cmd::Undo: return "edit-undo";
    case Cmd::Cut: return "edit-cut";
    case Cmd::Copy: return "edit-copy";
    case Cmd::Paste: return "edit-paste";
    case Cmd::Find: return "edit-find";
    case Cmd::Replace: return "edit-find-replace";
    case Cmd::PreviousError: return "go-previous";
    case Cmd::NextError: return "go-next";
    case Cmd::Assemble: return "system-run";
    case Cmd::HelpContents: return "help-contents";
    default: return nullptr;
  }
}

QIcon CommandIcon(int id) {
  // The desktop's own icons make the toolbar look native; where no theme is installed (or it
  // lacks the name) the drawn picture stands in, so a button is never blank.
  QIcon drawn = PaintedIcon(DrawCommand, id);
  const char* name = CommandIconName(id);
  return name ? QIcon::fromTheme(QString::fromLatin1(name), drawn) : drawn;
}

QPixmap SplashPicture(int width, int height) {
  QPixmap pixmap(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(20, 50, 110));
  sky.setColorAt(1, QColor(60, 120, 200));
  p.fillRect(pixmap.rect(), sky);
  // A strip of hexadecimal code bytes along the bottom, the assembler's output.
  QFont mono(QStringLiteral("Monospace"));
  mono.setStyleHint(QFont::TypeWriter);
  mono.setPixelSize(11);
  p.setFont(mono);
  p.setPen(QColor(160, 200, 255, 150));
  p.drawText(QRect(10, height - 34, width - 20, 30), Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral(":10080000D8A900852085218A9502E8D0FBA0FF0041 "
                            ":0A081000B1209D0004C8D0F86000C7"));
  QFont title;
  title.setPixelSize(26);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 28, width, 40), Qt::AlignHCenter, QStringLiteral("Tarnex"));
  QFont sub;
  sub.setPixelSize(15);
  p.setFont(sub);
  p.drawText(QRect(0, 66, width, 24), Qt::AlignHCenter, QStringLiteral("Meta-Assembler"));
  sub.setPixelSize(11);
  p.setFont(sub);
  p.setPen(QColor(220, 230, 255));
  p.drawText(QRect(0, 94, width, 20), Qt::AlignHCenter, QStringLiteral("Version 4.0.1"));
  p.setPen(QPen(QColor(255, 255, 255, 180), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  return pixmap;
}
