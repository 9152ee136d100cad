#include "runtime/help/guide.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace vrt {

namespace {

QString readText(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

QString decodeEntities(QString text) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&rarr;", "\u2192"},
      {"&mdash;", "\u2014"}, {"&ndash;", "\u2013"}, {"&hellip;", "\u2026"}};
  for (const auto& [entity, plain] : kEntities) text.replace(QLatin1String(entity), QString::fromUtf8(plain));
  return text.replace(QLatin1String("&amp;"), QLatin1String("&"));  // last: "&amp;lt;" stays "&lt;"
}

QString firstMatch(const QString& html, const QRegularExpression& pattern) {
  const QRegularExpressionMatch m = pattern.match(html);
  return m.hasMatch() ? decodeEntities(m.captured(1)).simplified() : QString();
}

QString metaContent(const QString& html, const QString& name) {
  const QRegularExpression pattern(
      QStringLiteral("<meta\\s+name=\"%1\"\\s+content=\"([^\"]*)\"").arg(QRegularExpression::escape(name)),
      QRegularExpression::CaseInsensitiveOption);
  return firstMatch(html, pattern);
}

// What a reader sees: the body without markup, scripts or the head.
QString visibleText(const QString& html) {
  static const QRegularExpression head(QStringLiteral("<head>.*</head>"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
  QString text = html;
  text.remove(head);
  text.replace(tag, QStringLiteral(" "));
  return decodeEntities(text).simplified();
}

}  // namespace

Guide::Guide(const QString& root) : root_(root) {
  const QDir dir(root);
  for (const QString& file : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
    readPage(file.chopped(5), dir.filePath(file));
  readContents();
  styleSheet_ = readText(dir.filePath(QStringLiteral("guide.css")));
  std::sort(index_.begin(), index_.end(), [](const GuideIndexEntry& a, const GuideIndexEntry& b) {
    const int c = a.term.compare(b.term, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.page < b.page;
  });
}

void Guide::readPage(const QString& name, const QString& file) {
  static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                        QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::DotMatchesEverythingOption);
  GuidePage page;
  page.name = name;
  page.html = readText(file);
  page.title = firstMatch(page.html, title);
  if (page.title.isEmpty()) page.title = name;
  page.text = visibleText(page.html);
  for (const QString& k : metaContent(page.html, QStringLiteral("keywords")).split(u';', Qt::SkipEmptyParts))
    if (!k.trimmed().isEmpty()) page.keywords << k.trimmed();
  page.windows = metaContent(page.html, QStringLiteral("windows")).split(u' ', Qt::SkipEmptyParts);

  for (const QString& w : page.windows) windowPages_.emplace(w.toCaseFolded(), name);
  for (const QString& k : page.keywords) index_.push_back({k, name});
  // Title words weigh most, then index entries, then each use in the text.
  for (const QString& w : wordsOf(page.title)) words_[w][name] += 20;
  for (const QString& k : page.keywords)
    for (const QString& w : wordsOf(k)) words_[w][name] += 5;
  for (const QString& w : wordsOf(page.text)) words_[w][name] += 1;
  pages_.emplace(name, std::move(page));
}

void Guide::readContents() {
  const QString list = readText(QDir(root_).filePath(QStringLiteral("contents.txt")));
  for (const QString& line : list.split(u'\n')) {
    const QString name = line.trimmed();
    if (name.isEmpty() || name.startsWith(u'#')) continue;
    const int indent = static_cast<int>(line.indexOf(name));
    contents_.push_back({name, indent / 2});
  }
}

const GuidePage* Guide::page(const QString& name) const {
  const auto it = pages_.find(name);
  return it == pages_.end() ? nullptr : &it->second;
}

QString Guide::pageForWindow(const QString& procedure) const {
  const auto it = windowPages_.find(procedure.toCaseFolded());
  return it == windowPages_.end() ? QString() : it->second;
}

QStringList Guide::wordsOf(const QString& text) {
  QStringList words;
  QString word;
  for (const QChar c : text) {
    if (c.isLetterOrNumber()) {
      word += c;
    } else if (!word.isEmpty()) {
      words << word.toCaseFolded();
      word.clear();
    }
  }
  if (!word.isEmpty()) words << word.toCaseFolded();
  return words;
}

std::vector<GuideHit> Guide::search(const QString& words) const {
  std::map<QString, int> found;
  bool first = true;
  for (const QString& w : wordsOf(words)) {
    std::map<QString, int> forWord;
    for (auto it = words_.lower_bound(w); it != words_.end() && it->first.startsWith(w); ++it)
      for (const auto& [page, weight] : it->second) forWord[page] += weight;
    if (first) {
      found = std::move(forWord);
      first = false;
      continue;
    }
    std::map<QString, int> both;
    for (const auto& [page, score] : found)
      if (const auto hit = forWord.find(page); hit != forWord.end()) both[page] = score + hit->second;
    found = std::move(both);
  }
  std::vector<GuideHit> hits;
  for (const auto& [page, score] : found) hits.push_back({page, score});
  std::stable_sort(hits.begin(), hits.end(), [](const GuideHit& a, const GuideHit& b) { return a.score > b.score; });
  return hits;
}

}  // namespace vrt
