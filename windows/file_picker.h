#pragma once
// The file picker a form owns for each of its file fields: the system's file dialog
// titled "Select A File" with the form's masks. Cancelling gives an empty name, so a
// cancelled pick empties the field.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/gui/control.h"

namespace vesp {

class FilePicker {
 public:
  static constexpr int kLongNames = 16;

  void AddMask(std::string_view description, std::string_view pattern);
  void SetInitialDirectory(std::string_view directory) { initialDirectory_ = std::string(directory); }
  void SetDefaultName(std::string_view name) { defaultName_ = std::string(name); }
  void SetClearOnCancel(bool clear) { clearOnCancel_ = clear; }

  // The chosen path; when cancelled the empty name (or, without clear-on-cancel, the
  // default name). With `restoreDirectory` the current directory is the same afterwards.
  std::string Ask(bool restoreDirectory);
  bool Cancelled() const { return cancelled_; }
  int Flags() const { return kLongNames; }
  // Without masks the dialog offers "All Files" / "*.*".
  std::vector<std::pair<std::string, std::string>> Masks() const;

  // A pick button: asks with the directory restored, puts the answer into `field`'s
  // variable and redisplays the window. A name longer than the field holds is refused
  // with a message and the field keeps its value.
  void PickInto(vrt::Control& field);

 private:
  std::string initialDirectory_;
  std::string defaultName_;
  std::vector<std::pair<std::string, std::string>> masks_;
  bool clearOnCancel_ = true;
  bool cancelled_ = false;
};

}  // namespace vesp
