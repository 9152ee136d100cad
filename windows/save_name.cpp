#include "windows/save_name.h"

#include <QFileInfo>

#include "records/own_files.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"

namespace vesp {

namespace {

constexpr const char* kRefused = "%1.|It cannot be written over; choose another name.";
constexpr const char* kReplace = "%1 exists already.|Replace it?";

std::string fill(std::string text, const std::string& value) {
  if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace

std::string AskSaveName(vrt::FileDialogRequest request, const std::string& extension, const std::string& caption) {
  request.saving = true;
  for (;;) {
    const vrt::FileDialogResult picked = vrt::FileDialog(request);
    if (picked.cancelled || picked.path.empty()) return {};
    std::string path = picked.path;
    if (!extension.empty() && QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) path += "." + extension;
    if (const std::string why = OwnFileReason(path); !why.empty()) {
      vrt::Message(fill(kRefused, why), caption, vrt::kIconExclamation);
      continue;
    }
    if (QFileInfo::exists(QString::fromStdString(path)) &&
        vrt::Message(fill(kReplace, path), caption, vrt::kIconQuestion, vrt::kButtonYes | vrt::kButtonNo,
                     vrt::kButtonNo) != vrt::kButtonYes)
      return {};
    return path;
  }
}

}  // namespace vesp
