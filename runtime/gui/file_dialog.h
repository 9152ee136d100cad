#pragma once
// The system's file dialog for picking a file to open, or a name to save under. Like a
// message box it belongs to the calling thread, which waits by taking events; no nested
// event loop. While it is open the thread's own newest window takes no input.
#include <string>
#include <utility>
#include <vector>

namespace vrt {

inline constexpr const char* kFileDialogProperty = "vrtFileDialog";

struct FileDialogRequest {
  std::string title = "Select A File";
  std::string initialDirectory;  // empty: the current directory
  std::string defaultName;
  std::vector<std::pair<std::string, std::string>> masks;  // ("All Files", "*.*"), ...
  bool restoreDirectory = false;  // the current directory is the same afterwards
  // A name to save under: it need not exist. Replacing a file that does is for the caller
  // to confirm (the dialog's own question would run a nested event loop).
  bool saving = false;
};

struct FileDialogResult {
  std::string path;  // empty when cancelled
  bool cancelled = true;
};

// Outside every thread nothing can wait: a cancelled result comes back at once.
FileDialogResult FileDialog(const FileDialogRequest& request);

}  // namespace vrt
