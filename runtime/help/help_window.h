#pragma once
// The help window: the program's user guide (guide.h) with its contents, index and search
// beside the page being read. There is one, a top-level window of its own outside the
// system's threads, so it stays usable whatever form is open; opening help never waits.
//
//   ShowHelp("first-steps");             // any code, any thread of the system
//   ShowHelpForWindow(window.procedure());  // what F1 and a window's Help button do
#include <QString>
#include <QUrl>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string_view>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace vrt {

class Guide;

// Where the guide is read from; the program compiles its guide into its resources here.
inline constexpr const char* kGuideRoot = ":/guide";
// The page help opens on when no other is asked for, and the one about the help itself.
inline constexpr const char* kGuideHomePage = "contents";
inline constexpr const char* kGuideHelpOnHelpPage = "how-to-use-help";

// Opens the help window, or brings it forward, at a page named without its ".html"
// ("first-steps"); a name the guide lacks opens the home page and says so in the window.
void ShowHelp(std::string_view page);
// The home page with the contents list in front, the search with its box ready, the
// index with its box ready.
void ShowHelpContents();
void ShowHelpSearch();
void ShowHelpIndex();
// The page describing the window of `procedure`, the home page when no page does.
void ShowHelpForWindow(std::string_view procedure);
// Closes the help window if it is open.
void CloseHelp();

// The guide as the program ships it, read on first use and kept.
const Guide& ProgramGuide();

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  enum class Tab { Contents = 0, Index = 1, Search = 2 };

  // The open help window, or nullptr.
  static HelpWindow* current();

  explicit HelpWindow(const Guide& guide);
  ~HelpWindow() override;

  // Shows a page; false (and the home page with a note) when the guide has no such page.
  bool showPage(const QString& name);
  QString currentPage() const { return page_; }
  QString currentTitle() const;
  QString currentText() const;  // as the reader sees it
  void showTab(Tab tab);
  Tab currentTab() const;

  // Runs a search as if typed into the search box and started: the titles found, best first.
  QStringList search(const QString& words);
  QStringList searchResults() const;  // page names, in the list's order
  // Opens the n-th result (0-based); false when there is none.
  bool openSearchResult(int n);
  // Narrows the index to entries starting with `text`; the entries shown.
  QStringList filterIndex(const QString& text);

  bool back();
  bool forward();

 private:
  void build();
  void fillContents();
  void fillIndex(const QString& filter);
  void runSearch();
  // The cursor goes where the tab is used: the search words, the index words, the contents.
  void focusTab(Tab tab);
  QUrl urlOf(const QString& page) const;

  const Guide& guide_;
  QString page_;
  QStringList results_;
  QTabWidget* tabs_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* indexBox_ = nullptr;
  QListWidget* index_ = nullptr;
  QLineEdit* searchBox_ = nullptr;
  QListWidget* found_ = nullptr;
  QTextBrowser* browser_ = nullptr;
  QString lastSearch_;
};

}  // namespace vrt
