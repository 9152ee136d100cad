#pragma once
// The program with the service data of the service screens' tests, a report clock that
// stands still (each timer event prints until the rows run out), and helpers that run a
// report's progress window to its preview and read the preview's pages back as a user
// reads them: line by line, each text under the column title above it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "runtime/print/page_store.h"
#include "runtime/print/recorded_page.h"
#include "services/service_data.h"
#include "ui/screens_fixture.h"
#include "windows/report_manager.h"

namespace vesp::testing {

inline constexpr const char* kPreview = "Report Preview";

template <class Base>
class WorshipReports : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    ReportSettings s;
    s.clock = [] { return 1000L; };
    SetReportSettings(s);
  }
  void TearDown() override {
    SetReportSettings({});
    Base::TearDown();
  }

  // Lets the progress window `caption` run until the preview replaces it.
  void runToPreview(const char* caption) {
    ASSERT_NE(this->robot.findWindow(caption), nullptr) << caption;
    for (int i = 0; i < 100 && this->robot.findWindow(caption); ++i) this->robot.fireTimer(caption);
    ASSERT_EQ(this->robot.findWindow(caption), nullptr);
    ASSERT_NE(this->robot.findWindow(kPreview), nullptr);
  }

  std::vector<vrt::RecordedPage> pages() {
    std::vector<vrt::RecordedPage> out;
    const auto folders = vrt::PageStore::liveFolders();
    EXPECT_EQ(folders.size(), 1u);
    if (folders.empty()) return out;
    QDir folder(folders.front());
    for (const QString& name : folder.entryList({"*.vpg"}, QDir::Files, QDir::Name)) {
      vrt::RecordedPage p;
      EXPECT_TRUE(vrt::loadPage(folder.filePath(name), p));
      out.push_back(p);
    }
    return out;
  }
  // Every text of every page, in drawing order.
  std::vector<std::string> texts() {
    std::vector<std::string> out;
    for (const auto& p : pages())
      for (const auto& i : p.items)
        if (i.kind == vrt::PageItem::Text) out.push_back(i.text.toStdString());
    return out;
  }
  static std::ptrdiff_t indexOf(const std::vector<std::string>& v, const std::string& s) {
    const auto at = std::find(v.begin(), v.end(), s);
    return at == v.end() ? -1 : at - v.begin();
  }

  // The lines printed under column titles: per line, the text under each title. A new
  // box of titles (a new section or page) names the columns of the lines after it.
  using Line = std::map<std::string, std::string>;
  std::vector<Line> tableLines() {
    std::vector<Line> out;
    for (const auto& p : pages()) {
      std::vector<std::pair<double, std::string>> titles;  // x of each title in the latest box
      double boxBottom = -1;
      std::map<double, Line> lines;  // by y
      const auto flush = [&] {
        for (auto& [y, line] : lines) out.push_back(line);
        lines.clear();
      };
      for (const auto& i : p.items) {
        if (i.kind == vrt::PageItem::Box) {
          flush();
          titles.clear();
          boxBottom = i.rect.bottom();
          continue;
        }
        if (i.kind != vrt::PageItem::Text) continue;
        if (boxBottom >= 0 && i.rect.top() < boxBottom && i.rect.top() > boxBottom - 40) {
          titles.emplace_back(i.rect.left(), i.text.toStdString());
        } else if (!titles.empty() && i.rect.top() > boxBottom) {
          for (const auto& [x, title] : titles)
            if (std::abs(x - i.rect.left()) < 0.5) lines[i.rect.top()][title] = i.text.toStdString();
        }
      }
      flush();
    }
    return out;
  }

  // Saves the preview's pages as PDF through its Save As; with VESP_SCREENSHOT_DIR set the
  // PDF is kept there too, to be looked at.
  void saveAsPdf(const std::string& path) {
    this->robot.chooseMenu(kPreview, "&File|Save As -PDF");
    this->robot.chooseFile(path);
    const QByteArray keep = qgetenv("VESP_SCREENSHOT_DIR");
    if (keep.isEmpty()) return;
    const QString from = QString::fromStdString(path);
    const QString to = QDir(QString::fromLocal8Bit(keep)).filePath(QFileInfo(from).fileName());
    QDir().mkpath(QString::fromLocal8Bit(keep));
    QFile::remove(to);
    QFile::copy(from, to);
  }
  void closePreview() {
    this->robot.chooseMenu(kPreview, "&File|E&xit");
    EXPECT_EQ(this->robot.findWindow(kPreview), nullptr);
  }

  // A poppler tool's output; empty (with `found` false) when the tool is not installed.
  static QString runTool(const char* tool, const QStringList& args, bool& found) {
    const QString program = QStandardPaths::findExecutable(tool);
    found = !program.isEmpty();
    if (!found) return {};
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
  }
  // Each font of the PDF and whether it is embedded, from pdffonts' table.
  static std::vector<std::pair<std::string, bool>> pdfFonts(const std::string& path, bool& found) {
    std::vector<std::pair<std::string, bool>> out;
    const QString table = runTool("pdffonts", {QString::fromStdString(path)}, found);
    const QStringList lines = table.split('\n', Qt::SkipEmptyParts);
    for (int l = 2; l < lines.size(); ++l) {
      const QStringList words = lines[l].split(' ', Qt::SkipEmptyParts);
      // name type... encoding emb sub uni object ID
      if (words.size() >= 7) out.emplace_back(words.front().toStdString(), words[words.size() - 5] == "yes");
    }
    return out;
  }

  // An element of `service` with everything the order of service shows.
  struct Element {
    int order;
    const char* title;
    const char* duration;
    const char* type = "Song";
    std::int64_t bibliography = 0;
    const char* preService = "N";
    const char* tempo = "";
    const char* lights = "";
    const char* instrumentation = "";
    std::int64_t performer = 0, group = 0;
  };
  void addElements(std::int64_t service, const std::vector<Element>& elements) {
    this->onThread([&] {
      for (const Element& e : elements)
        ServicesTest::add(tables::ServiceElement, [&](vrt::RecordRef r) {
          r.set(SEL_SERVICENUMBER, static_cast<std::int32_t>(service));
          r.set(SEL_ELEMENTORDER, e.order);
          r.set(SEL_TITLE, e.title);
          r.set(SEL_TYPE, e.type);
          r.set(SEL_DURATION, e.duration);
          r.set(SEL_BIBLIOGRAPHYNUMBER, static_cast<std::int32_t>(e.bibliography));
          r.set(SEL_PRESERVICE, e.preService);
          r.set(SEL_TEMPO, e.tempo);
          r.set(SEL_LIGHTS, e.lights);
          r.set(SEL_SOUND, e.instrumentation);
          r.set(SEL_PERFORMER, static_cast<std::int32_t>(e.performer));
          r.set(SEL_PERFORMERGROUP, static_cast<std::int32_t>(e.group));
        });
    });
  }
};

using WorshipReportTest = WorshipReports<ServiceDataTest>;

}  // namespace vesp::testing
