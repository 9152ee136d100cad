#pragma once
// A user guide made of HTML pages under one resource folder, read once: each page's title,
// the index words it declares, the windows it describes, and a word index for searching.
//
// A page is `<root>/<name>.html`. Besides its <title> it may carry
//   <meta name="keywords" content="first entry; second entry">   its index entries
//   <meta name="windows" content="BrowseService UpdateService">  the windows (procedure
//                                                                names) it describes
// `<root>/contents.txt` lists the contents tree: one page name a line, indented two spaces
// a level; lines starting with '#' are comments. `<root>/guide.css` styles every page.
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace vrt {

struct GuidePage {
  QString name;      // "first-steps"
  QString title;     // its <title>
  QString html;      // the page as written
  QString text;      // its words as a reader sees them (no markup)
  QStringList keywords;
  QStringList windows;
};

struct GuideContentsEntry {
  QString page;
  int level = 0;  // 0 for a top entry
};

struct GuideIndexEntry {
  QString term;   // as the page wrote it
  QString page;
};

struct GuideHit {
  QString page;
  int score = 0;  // larger is better
};

class Guide {
 public:
  // Reads every page under `root` (a resource folder such as ":/guide"); an empty guide
  // when the folder holds none.
  explicit Guide(const QString& root);

  const QString& root() const { return root_; }
  bool empty() const { return pages_.empty(); }
  const GuidePage* page(const QString& name) const;  // nullptr when there is none
  const std::map<QString, GuidePage>& pages() const { return pages_; }
  const std::vector<GuideContentsEntry>& contents() const { return contents_; }
  // `<root>/guide.css`, the style every page is shown with; empty when there is none.
  const QString& styleSheet() const { return styleSheet_; }
  // Every index entry of every page, sorted as a reader looks them up (case does not matter).
  const std::vector<GuideIndexEntry>& index() const { return index_; }

  // The page describing the window of `procedure` (case does not matter); empty when none does.
  QString pageForWindow(const QString& procedure) const;

  // Pages holding every word of `words` (a word matches words it starts, so "rota" finds
  // "rotation"), best first: words in the title and index count most.
  std::vector<GuideHit> search(const QString& words) const;

  // The words of a text as the search sees them: letters and digits, case folded.
  static QStringList wordsOf(const QString& text);

 private:
  void readPage(const QString& name, const QString& file);
  void readContents();

  QString root_;
  QString styleSheet_;
  std::map<QString, GuidePage> pages_;
  std::vector<GuideContentsEntry> contents_;
  std::vector<GuideIndexEntry> index_;
  std::map<QString, QString> windowPages_;             // folded procedure: page
  std::map<QString, std::map<QString, int>> words_;    // word: page: weight
};

}  // namespace vrt
