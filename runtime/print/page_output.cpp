#include "runtime/print/page_output.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace vrt {

namespace {

const char* const kNoPages = "No page of the report was chosen.";

// Plays the pages on a painter already begun; `newPage` moves the device to a fresh page.
OutputResult replay(QPainter& painter, double scale, const PageStore& store, const std::vector<int>& pages,
                    const std::function<bool()>& newPage, const OutputProgress& progress) {
  int done = 0;
  for (int number : pages) {
    RecordedPage page;
    if (!store.page(number, page)) return {false, QString("Page %1 of the report could not be read.").arg(number)};
    if (done > 0 && !newPage()) return {false, "The next page could not be started."};
    painter.save();
    painter.scale(scale, scale);
    paintPage(painter, page);
    painter.restore();
    ++done;
    if (progress && !progress(done, static_cast<int>(pages.size()))) return {false, "Cancelled."};
  }
  return {};
}

}  // namespace

OutputResult writePdf(const PageStore& store, const std::vector<int>& pages, const QString& path,
                      const OutputProgress& progress) {
  if (pages.empty()) return {false, kNoPages};
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return {false, QString("%1 could not be created: %2").arg(path, file.errorString())};
  OutputResult result;
  {
    QPdfWriter writer(&file);
    writer.setCreator("Vespera");
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);  // one painter unit to one point
    QPainter painter;
    if (!painter.begin(&writer)) return {false, QString("%1 could not be written.").arg(path)};
    result = replay(painter, 1.0, store, pages, [&] { return writer.newPage(); }, progress);
    painter.end();
  }
  if (!result.ok) {
    file.cancelWriting();
    return result;
  }
  if (!file.commit()) return {false, QString("%1 could not be written: %2").arg(path, file.errorString())};
  return {};
}

OutputResult printPages(QPrinter& printer, const PageStore& store, const std::vector<int>& pages,
                        const OutputProgress& progress) {
  if (pages.empty()) return {false, kNoPages};
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return {false, QString("The printer %1 could not be used.").arg(printer.printerName())};
  const double scale = printer.logicalDpiX() / 72.0;
  OutputResult result = replay(painter, scale, store, pages, [&] { return printer.newPage(); }, progress);
  if (!painter.end() && result.ok) result = {false, "The printer did not take the report."};
  if (result.ok && printer.printerState() == QPrinter::Error) result = {false, "The printer reported an error."};
  return result;
}

}  // namespace vrt
