#include "runtime/help/help_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "runtime/help/guide.h"

namespace vrt {

namespace {

constexpr int kPageRole = Qt::UserRole;

QPointer<HelpWindow>& openWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The help window, created on first use and brought forward after.
HelpWindow& raisedWindow() {
  QPointer<HelpWindow>& window = openWindow();
  if (!window) {
    window = new HelpWindow(ProgramGuide());
    // Leaving the program closes its help; it is nobody's child, so that a form or a
    // message box that disables the frame never disables the help.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return *window;
}

}  // namespace

const Guide& ProgramGuide() {
  static const Guide guide(QString::fromLatin1(kGuideRoot));
  return guide;
}

void ShowHelp(std::string_view page) { raisedWindow().showPage(qs(page)); }

void ShowHelpContents() {
  HelpWindow& w = raisedWindow();
  w.showPage(QString::fromLatin1(kGuideHomePage));
  w.showTab(HelpWindow::Tab::Contents);
}

void ShowHelpSearch() {
  HelpWindow& w = raisedWindow();
  if (w.currentPage().isEmpty()) w.showPage(QString::fromLatin1(kGuideHomePage));
  w.showTab(HelpWindow::Tab::Search);
}

void ShowHelpIndex() {
  HelpWindow& w = raisedWindow();
  if (w.currentPage().isEmpty()) w.showPage(QString::fromLatin1(kGuideHomePage));
  w.showTab(HelpWindow::Tab::Index);
}

void ShowHelpForWindow(std::string_view procedure) {
  const QString page = ProgramGuide().pageForWindow(qs(procedure));
  HelpWindow& w = raisedWindow();
  w.showPage(page.isEmpty() ? QString::fromLatin1(kGuideHomePage) : page);
  if (page.isEmpty()) w.showTab(HelpWindow::Tab::Contents);
}

void CloseHelp() {
  if (HelpWindow* w = openWindow()) delete w;
}

HelpWindow* HelpWindow::current() { return openWindow(); }

HelpWindow::HelpWindow(const Guide& guide) : guide_(guide) {
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_DeleteOnClose, true);
  setWindowTitle(QApplication::applicationName().isEmpty() ? tr("Help")
                                                           : tr("%1 Help").arg(QApplication::applicationName()));
  setObjectName(QStringLiteral("HelpWindow"));
  build();
  fillContents();
  fillIndex({});
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::build() {
  auto* back = new QToolButton;
  back->setText(tr("Back"));
  back->setToolTip(tr("Back to the page read before (Alt+Left)"));
  auto* ahead = new QToolButton;
  ahead->setText(tr("Forward"));
  ahead->setToolTip(tr("Forward again (Alt+Right)"));
  auto* home = new QToolButton;
  home->setText(tr("Contents"));
  home->setToolTip(tr("The guide's first page"));
  auto* helpOnHelp = new QToolButton;
  helpOnHelp->setText(tr("Using Help"));
  helpOnHelp->setToolTip(tr("How to use this window (F1)"));
  auto* bar = new QHBoxLayout;
  for (QToolButton* b : {back, ahead, home, helpOnHelp}) {
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAccessibleName(b->text());
    bar->addWidget(b);
  }
  bar->addStretch();

  browser_ = new QTextBrowser;
  browser_->setOpenExternalLinks(true);
  browser_->document()->setDefaultStyleSheet(guide_.styleSheet());
  browser_->setAccessibleName(tr("Help page"));
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    const QString file = url.fileName();
    page_ = file.endsWith(QLatin1String(".html")) ? file.chopped(5) : file;
  });
  connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(ahead, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, ahead, &QToolButton::setEnabled);
  back->setEnabled(false);
  ahead->setEnabled(false);
  connect(home, &QToolButton::clicked, this, [this] { showPage(QString::fromLatin1(kGuideHomePage)); });
  connect(helpOnHelp, &QToolButton::clicked, this, [this] { showPage(QString::fromLatin1(kGuideHelpOnHelpPage)); });

  contents_ = new QTreeWidget;
  contents_->setHeaderHidden(true);
  contents_->setAccessibleName(tr("Contents"));
  connect(contents_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { showPage(item->data(0, kPageRole).toString()); });
  connect(contents_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { showPage(item->data(0, kPageRole).toString()); });

  indexBox_ = new QLineEdit;
  indexBox_->setPlaceholderText(tr("Type the first letters of a word"));
  indexBox_->setAccessibleName(tr("Index entry"));
  index_ = new QListWidget;
  index_->setAccessibleName(tr("Index"));
  connect(indexBox_, &QLineEdit::textChanged, this, [this](const QString& t) { fillIndex(t); });
  connect(indexBox_, &QLineEdit::returnPressed, this, [this] {
    if (index_->count() > 0) showPage(index_->item(0)->data(kPageRole).toString());
  });
  connect(index_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { showPage(item->data(kPageRole).toString()); });
  connect(index_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { showPage(item->data(kPageRole).toString()); });
  auto* indexPage = new QWidget;
  auto* indexLayout = new QVBoxLayout(indexPage);
  indexLayout->addWidget(indexBox_);
  indexLayout->addWidget(index_);

  searchBox_ = new QLineEdit;
  searchBox_->setPlaceholderText(tr("Words to look for"));
  searchBox_->setAccessibleName(tr("Search for"));
  auto* go = new QPushButton(tr("Search"));
  found_ = new QListWidget;
  found_->setAccessibleName(tr("Pages found"));
  connect(searchBox_, &QLineEdit::returnPressed, this, [this] { runSearch(); });
  connect(go, &QPushButton::clicked, this, [this] { runSearch(); });
  connect(found_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { openSearchResult(found_->row(item)); });
  connect(found_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { openSearchResult(found_->row(item)); });
  auto* searchPage = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchPage);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(searchBox_);
  searchRow->addWidget(go);
  searchLayout->addLayout(searchRow);
  searchLayout->addWidget(found_);

  tabs_ = new QTabWidget;
  tabs_->addTab(contents_, tr("&Contents"));
  tabs_->addTab(indexPage, tr("&Index"));
  tabs_->addTab(searchPage, tr("&Search"));
  // A tab chosen by mouse or key is ready to be typed into.
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { focusTab(static_cast<Tab>(index)); });

  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addLayout(bar);
  rightLayout->addWidget(browser_);

  auto* split = new QSplitter;
  split->addWidget(tabs_);
  split->addWidget(right);
  split->setStretchFactor(1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split);

  new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this, [this] { this->back(); });
  new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this, [this] { this->forward(); });
  new QShortcut(QKeySequence(Qt::Key_F1), this, [this] { showPage(QString::fromLatin1(kGuideHelpOnHelpPage)); });
  new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
  new QShortcut(QKeySequence::Find, this, [this] { showTab(Tab::Search); });

  // Beside the work rather than over it: the right part of the screen, within it.
  QRect room(0, 0, 1280, 800);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) room = screen->availableGeometry();
  const QSize size = QSize(960, 700).boundedTo(room.size() * 9 / 10);
  resize(size);
  move(room.right() - size.width() - room.width() / 40, room.top() + (room.height() - size.height()) / 2);
}

void HelpWindow::fillContents() {
  contents_->clear();
  std::vector<QTreeWidgetItem*> parents;
  for (const GuideContentsEntry& e : guide_.contents()) {
    const GuidePage* page = guide_.page(e.page);
    auto* item = new QTreeWidgetItem(QStringList{page ? page->title : e.page});
    item->setData(0, kPageRole, e.page);
    const int level = std::min<int>(e.level, static_cast<int>(parents.size()));
    parents.resize(level);
    if (parents.empty()) contents_->addTopLevelItem(item);
    else parents.back()->addChild(item);
    parents.push_back(item);
  }
  contents_->expandAll();
}

void HelpWindow::fillIndex(const QString& filter) {
  index_->clear();
  const QString start = filter.trimmed();
  for (const GuideIndexEntry& e : guide_.index()) {
    if (!start.isEmpty() && !e.term.startsWith(start, Qt::CaseInsensitive)) continue;
    const GuidePage* page = guide_.page(e.page);
    auto* item = new QListWidgetItem(page ? tr("%1 \u2014 %2").arg(e.term, page->title) : e.term);
    item->setData(kPageRole, e.page);
    index_->addItem(item);
  }
  if (index_->count() > 0) index_->setCurrentRow(0);
}

QStringList HelpWindow::filterIndex(const QString& text) {
  showTab(Tab::Index);
  indexBox_->setText(text);
  QStringList shown;
  for (int i = 0; i < index_->count(); ++i) shown << index_->item(i)->text();
  return shown;
}

QUrl HelpWindow::urlOf(const QString& page) const {
  const QString file = guide_.root() + u'/' + page + QStringLiteral(".html");
  if (file.startsWith(u':')) return QUrl(QStringLiteral("qrc") + file);
  return QUrl::fromLocalFile(file);
}

bool HelpWindow::showPage(const QString& name) {
  const bool known = guide_.page(name) != nullptr;
  const QString shown = known ? name : QString::fromLatin1(kGuideHomePage);
  if (!guide_.page(shown)) {
    browser_->setHtml(tr("<h1>Help is missing</h1><p>The user guide was not found in this copy of the "
                         "program. Please reinstall it.</p>"));
    page_.clear();
    return false;
  }
  browser_->setSource(urlOf(shown));
  page_ = shown;
  if (!known) {
    // Say so on the page itself; the contents stay one click away.
    QTextCursor cursor(browser_->document());
    cursor.insertHtml(tr("<p><i>There is no help page named \u201c%1\u201d; here are the contents.</i></p>")
                          .arg(name.toHtmlEscaped()));
  }
  for (QTreeWidgetItemIterator it(contents_); *it; ++it)
    if ((*it)->data(0, kPageRole).toString() == shown) {
      contents_->setCurrentItem(*it);
      break;
    }
  return known;
}

QString HelpWindow::currentTitle() const {
  const GuidePage* page = guide_.page(page_);
  return page ? page->title : QString();
}

QString HelpWindow::currentText() const { return browser_->toPlainText(); }

void HelpWindow::showTab(Tab tab) {
  tabs_->setCurrentIndex(static_cast<int>(tab));
  focusTab(tab);
}

void HelpWindow::focusTab(Tab tab) {
  if (tab == Tab::Search) searchBox_->setFocus();
  if (tab == Tab::Index) indexBox_->setFocus();
  if (tab == Tab::Contents) contents_->setFocus();
}

HelpWindow::Tab HelpWindow::currentTab() const { return static_cast<Tab>(tabs_->currentIndex()); }

void HelpWindow::runSearch() {
  lastSearch_ = searchBox_->text();
  found_->clear();
  results_.clear();
  const std::vector<GuideHit> hits = guide_.search(lastSearch_);
  for (const GuideHit& hit : hits) {
    const GuidePage* page = guide_.page(hit.page);
    results_ << hit.page;
    found_->addItem(page ? page->title : hit.page);
  }
  if (hits.empty() && !Guide::wordsOf(lastSearch_).isEmpty())
    found_->addItem(tr("No page holds all of these words."));
  else if (!hits.empty())
    found_->setCurrentRow(0);
}

QStringList HelpWindow::search(const QString& words) {
  showTab(Tab::Search);
  searchBox_->setText(words);
  runSearch();
  QStringList titles;
  for (const QString& page : results_) titles << (guide_.page(page) ? guide_.page(page)->title : page);
  return titles;
}

QStringList HelpWindow::searchResults() const { return results_; }

bool HelpWindow::openSearchResult(int n) {
  if (n < 0 || n >= results_.size()) return false;
  showPage(results_[n]);
  // Show the first place the words are used.
  const QStringList words = Guide::wordsOf(lastSearch_);
  if (!words.isEmpty()) browser_->find(words.front());
  return true;
}

bool HelpWindow::back() {
  if (!browser_->isBackwardAvailable()) return false;
  browser_->backward();
  return true;
}

bool HelpWindow::forward() {
  if (!browser_->isForwardAvailable()) return false;
  browser_->forward();
  return true;
}

}  // namespace vrt
