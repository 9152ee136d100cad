#pragma once
// Asking the user for a name to write a file under, for every file the program writes where
// the user says: the program's own files (records/own_files.h) are refused with a message
// and the dialog asked again; any other file that exists is replaced only when the user says so.
#include <string>

#include "runtime/gui/file_dialog.h"

namespace vesp {

// The name chosen through `request` (a saving dialog), with `extension` added when the name
// has none; "" when the user cancelled or would not replace an existing file. `caption`
// heads the messages.
std::string AskSaveName(vrt::FileDialogRequest request, const std::string& extension, const std::string& caption);

}  // namespace vesp
