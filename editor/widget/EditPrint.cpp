// The printing branch of the editor's paint routine: the text split into
// pages of whole lines, no header, footer or margin of its own.
#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it

#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

// A device's default tab stops stand every eight average character widths.
constexpr int DeviceTabCells = 8;

}  // namespace

int TTarnEditFile::PrintPageTotal(int bandHeight) const {
  const int perPage = PrintLinesPerPage(bandHeight, LineHeight());
  return static_cast<int>(std::min<long long>(PrintPageCount(Model.Lines.Count(), perPage), INT_MAX));
}

void TTarnEditFile::PaintPages(QPainter& painter, const QRect& band, TPrintPageRange& range) {
  if (band.isEmpty())
    return;
  const int lineHeight = LineHeight();
  const int perPage = PrintLinesPerPage(band.height(), lineHeight);
  const std::int64_t lines = Model.Lines.Count();
  range.MinPage = 1;
  range.MaxPage = PrintPageTotal(band.height());
  const int from = range.FromPage == -1 ? 1 : range.FromPage;
  const int to = range.ToPage == -1 ? 1 : range.ToPage;

  const QFont before = painter.font();
  const QPen pen = painter.pen();
  painter.setFont(Font);
  painter.setPen(Qt::black);
  const int tabWidth = DeviceTabCells * CharWidthPx;
  for (int p = std::max(from, 1); p <= to; ++p) {
    for (int i = 0; i < perPage; ++i) {
      const std::int64_t index = static_cast<std::int64_t>(p - 1) * perPage + i;
      if (index >= lines)
        break;
      const std::string& line = Model.Lines[index];
      const int baseline = band.top() + i * lineHeight + Metrics.ascent();
      std::int64_t x = 0;
      std::size_t c = 0;
      // What lies beyond the page's right edge would be cut off anyway.
      while (c < line.size() && x <= band.width()) {
        if (line[c] == '\t') {
          x = (x / tabWidth + 1) * tabWidth;
          ++c;
          continue;
        }
        std::size_t end = line.find('\t', c);
        if (end == std::string::npos)
          end = line.size();
        // Glyphs stand at the screen's whole-pixel advances, as the editor
        // shows them, so that the page looks like the window.
        const std::string_view piece = std::string_view(line).substr(c, end - c);
        DrawPiece(painter, QPointF(static_cast<qreal>(band.left() + x), baseline), piece);
        for (char ch : piece)
          x += Advance[static_cast<unsigned char>(ch)];
        c = end;
      }
    }
  }
  painter.setFont(before);
  painter.setPen(pen);
}
