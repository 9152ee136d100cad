#include "runtime/gui/buttons.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

#include "runtime/gui/frame_host.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace vrt {

namespace {

struct ButtonEntry {
  int value;
  std::string_view caption;
  std::string_view use;
};

constexpr std::array<ButtonEntry, 8> kButtons{{
    {kButtonOk, "O&k", "?Button:Ok"},
    {kButtonYes, "&Yes", "?Button:Yes"},
    {kButtonNo, "&No", "?Button:No"},
    {kButtonAbort, "&Abort", "?Button:Abort"},
    {kButtonRetry, "&Retry", "?Button:Retry"},
    {kButtonIgnore, "&Ignore", "?Button:Ignore"},
    {kButtonCancel, "&Cancel", "?Button:Cancel"},
    {kButtonHelp, "&Help", "?Button:Help"},
}};

const ButtonEntry* entryFor(int button) {
  for (const ButtonEntry& e : kButtons)
    if (e.value == button) return &e;
  return nullptr;
}

int firstButton(int mask) {
  for (const ButtonEntry& e : kButtons)
    if (mask & e.value) return e.value;
  return 0;
}

// The key of the letter a caption underlines; 0 when it has none.
int mnemonicKey(std::string_view caption) {
  const std::size_t amp = caption.find('&');
  if (amp == std::string_view::npos || amp + 1 >= caption.size()) return 0;
  const char c = caption[amp + 1];
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : 0;
}

int effectiveDefault(int mask, int defaultButton) {
  return (mask & defaultButton) && entryFor(defaultButton) ? defaultButton : firstButton(mask);
}

}  // namespace

std::string_view buttonCaption(int button) {
  const ButtonEntry* e = entryFor(button);
  return e ? e->caption : std::string_view();
}

std::string_view buttonUse(int button) {
  const ButtonEntry* e = entryFor(button);
  return e ? e->use : std::string_view();
}

ControlSpec buttonRow(int mask, int defaultButton) {
  if (!firstButton(mask)) mask = kButtonOk;  // a box nobody can answer would never close
  const int chosen = effectiveDefault(mask, defaultButton);
  std::vector<ControlSpec> buttons;
  for (const ButtonEntry& e : kButtons) {
    if (!(mask & e.value)) continue;
    ControlSpec b = button(std::string(e.use), std::string(e.caption));
    if (e.value == chosen) b = std::move(b).makeDefault();
    buttons.push_back(std::move(b));
  }
  return row(std::move(buttons));
}

int closingAnswer(int mask, int defaultButton) {
  if (mask & kButtonCancel) return kButtonCancel;
  if (mask & kButtonNo) return kButtonNo;
  return effectiveDefault(firstButton(mask) ? mask : kButtonOk, defaultButton);
}

// A question belongs in front of the program, not in the screen's corner over its menus;
// but whole on the screen, even when the frame is narrower than the box or half off it.
static void centreOverFrame(Window& window) {
  QWidget* box = window.widget();
  const Window* frame = FrameHost::frame();
  if (!box || !frame || !frame->widget() || frame == &window) return;
  box->adjustSize();
  QRect place = window.position();
  place.moveCenter(frame->widget()->frameGeometry().center());
  if (const QScreen* screen = frame->widget()->screen()) {
    const QRect room = screen->availableGeometry();
    place.moveLeft(std::clamp(place.left(), room.left(), std::max(room.left(), room.right() + 1 - place.width())));
    place.moveTop(std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() + 1 - place.height())));
  }
  window.setPosition(place);
}

void answerByLetters(Window& window, int mask) {
  for (const ButtonEntry& b : kButtons)
    if (const int key = mnemonicKey(b.caption); key && (mask & b.value)) {
      window.alert(key);
      window.alert(kShift | key);
    }
}

int waitForButton(Window& window, int mask, int defaultButton) {
  if (!firstButton(mask)) mask = kButtonOk;
  if (ThreadNumber() == 0) return effectiveDefault(mask, defaultButton);
  window.alert(kEscKey);
  window.open();
  centreOverFrame(window);
  if (Control* preferred = window.control(buttonUse(effectiveDefault(mask, defaultButton))))
    window.select(preferred->number());
  int answer = 0;
  while (answer == 0) {
    const Event e = window.accept();
    if (e.event == kEventAccepted) {
      for (const ButtonEntry& b : kButtons)
        if ((mask & b.value) && window.number(b.use) == e.control) answer = b.value;
    } else if (e.event == kEventCloseWindow || e.event == kEventCloseDown ||
               (e.event == kEventAlertKey && e.key == kEscKey)) {
      answer = closingAnswer(mask, defaultButton);
    } else if (e.event == kEventAlertKey) {
      for (const ButtonEntry& b : kButtons)
        if ((mask & b.value) && mnemonicKey(b.caption) == (e.key & ~kShift)) answer = b.value;
    }
  }
  window.close();
  return answer;
}

}  // namespace vrt
