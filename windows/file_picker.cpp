#include "windows/file_picker.h"

#include <QDir>

#include "runtime/gui/file_dialog.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"

namespace vesp {

void FilePicker::AddMask(std::string_view description, std::string_view pattern) {
  masks_.emplace_back(std::string(description), std::string(pattern));
}

std::vector<std::pair<std::string, std::string>> FilePicker::Masks() const {
  if (masks_.empty()) return {{"All Files", "*.*"}};
  return masks_;
}

std::string FilePicker::Ask(bool restoreDirectory) {
  const QString saved = QDir::currentPath();
  vrt::FileDialogRequest request;
  request.initialDirectory = initialDirectory_;
  request.defaultName = defaultName_;
  request.masks = Masks();
  request.restoreDirectory = restoreDirectory;
  vrt::FileDialogResult result = vrt::FileDialog(request);
  if (restoreDirectory) QDir::setCurrent(saved);
  cancelled_ = result.cancelled;
  if (!cancelled_) return result.path;
  return clearOnCancel_ ? std::string() : defaultName_;
}

void FilePicker::PickInto(vrt::Control& field) {
  std::string chosen = Ask(true);
  if (field.binding().bound()) {
    // A name cut to the field's size would name another file: keep the old one instead.
    const std::string old = field.binding().value();
    field.binding().setValue(chosen);
    if (field.binding().value() != chosen) {
      field.binding().setValue(old);
      vrt::Message("The file name is too long for this field:|" + chosen, "Select A File", vrt::kIconExclamation);
    }
  } else {
    field.setText(chosen);
  }
  field.window().display();
}

}  // namespace vesp
