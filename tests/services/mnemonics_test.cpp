// Alt keys of the planning windows: on the service browse (with the frame's menu bar, whose
// Alt keys reach a window inside the frame) and on each tab of the service form, no two
// different captions shown together share one. One caption repeated (the two lists' own
// "&Insert") is one command twice and stays allowed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabBar>
#include <map>
#include <set>

#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

// The Alt key a caption gives, or a null character.
QChar mnemonicOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return text[i + 1].toUpper();
  }
  return {};
}

class MnemonicsTest : public ServiceDataTest {
 protected:
  using Keys = std::map<QChar, std::set<QString>>;

  static void note(Keys& keys, const QString& text) {
    if (const QChar key = mnemonicOf(text); !key.isNull()) keys[key].insert(text);
  }

  // Every caption with an Alt key that the window shows now.
  Keys shownKeys(const char* caption) {
    Keys keys;
    vrt::Window& window = robot.window(caption);
    for (QWidget* w : window.widget()->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      if (auto* b = qobject_cast<QAbstractButton*>(w)) note(keys, b->text());
      if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) note(keys, l->text());
      if (auto* g = qobject_cast<QGroupBox*>(w)) note(keys, g->title());
      if (auto* t = qobject_cast<QTabBar*>(w))
        for (int i = 0; i < t->count(); ++i) note(keys, t->tabText(i));
    }
    if (window.insideFrame())
      if (auto* main = qobject_cast<QMainWindow*>(vrt::FrameHost::frame()->widget()))
        for (QAction* a : main->menuBar()->actions()) note(keys, a->text());
    return keys;
  }

  void expectNoClash(const char* caption, const std::string& where) {
    const Keys keys = shownKeys(caption);
    EXPECT_FALSE(keys.empty()) << where;
    for (const auto& [key, texts] : keys) {
      if (texts.size() < 2) continue;
      std::string all;
      for (const QString& t : texts) all += " \"" + t.toStdString() + "\"";
      ADD_FAILURE() << where << ": Alt+" << QString(key).toStdString() << " is" << all;
    }
  }
};

}  // namespace

TEST_F(MnemonicsTest, NoTwoCaptionsOfAPlanningWindowShareAnAltKey) {
  robot.chooseMenu("&Browse|Browse the Services file");
  ASSERT_NE(robot.findWindow(kServices), nullptr);
  expectNoClash(kServices, "the service browse");

  robot.chooseRow(kServices, "?BROWSE:1", 1);
  robot.press(kServices, "?Change");
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  for (const char* tab :
       {"General Info", "Key Passages", "Key Words", "Service Elements", "Associated Files", "Statistics"}) {
    robot.chooseTab(kChangeService, "?CurrentTab", tab);
    expectNoClash(kChangeService, std::string("the service form's ") + tab + " tab");
  }
  robot.press(kChangeService, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("&No");
}
