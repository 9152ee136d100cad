#pragma once
// Inserts text at the cursor of a text box and reads the box back into its variable,
// leaving the cursor after what was inserted.
#include <QPlainTextEdit>
#include <QTextCursor>
#include <string_view>

#include "runtime/gui/window.h"

namespace qrywiz {

inline void insertAtCursor(vrt::Window& window, vrt::Control& box, std::string_view text) {
  auto* edit = qobject_cast<QPlainTextEdit*>(box.widget());
  if (!edit) return;
  const QString inserted = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const int after = edit->textCursor().position() + static_cast<int>(inserted.size());
  edit->insertPlainText(inserted);
  box.setTouched(true);
  window.updateAll();
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(std::min(after, static_cast<int>(edit->toPlainText().size())));
  edit->setTextCursor(cursor);
}

}  // namespace qrywiz
