// What the printing branch of the editor's paint routine reads and writes:
// the page bounds and the pages to draw, kept by the printer's set-up.
#pragma once

struct TPrintPageRange {
  int MinPage = 1;
  int MaxPage = 1;
  // The pages to draw; -1 counts as page 1.
  int FromPage = -1;
  int ToPage = -1;
};

// Whole lines of LINEHEIGHT that fit in BANDHEIGHT. A line cut at the page's
// edge would lose its lower part, so only whole lines count; a font taller
// than the page still prints one line per page rather than none.
inline int PrintLinesPerPage(int bandHeight, int lineHeight) {
  if (lineHeight <= 0)
    lineHeight = 10;
  const int lines = bandHeight / lineHeight;
  return lines > 0 ? lines : 1;
}

// Pages for LINES lines at LINESPERPAGE each: a last page filled exactly
// needs no empty sheet after it, and an empty text still has its one page.
inline long long PrintPageCount(long long lines, int linesPerPage) {
  if (linesPerPage <= 0)
    linesPerPage = 1;
  const long long pages = (lines + linesPerPage - 1) / linesPerPage;
  return pages > 0 ? pages : 1;
}
