#pragma once
// The File menu's "Back Up Data Now..." and "Restore Data...", on the frame's thread: a
// verified set made on demand, and a set chosen from the list put back in place of the
// current data. A restore is refused while another window of the program has the files
// open, and on any failure leaves the data as it was.
#include <string>

namespace vesp {

// Makes a set in the data folder's backups folder and tells where it went.
void BackUpDataNow();
// Lists the sets, asks which one and for confirmation, and restores it.
void RestoreData();

// What has the data files open besides the calling thread ("the window \"Browse ...\""),
// or "" when nothing does.
std::string DataFilesInUse();

}  // namespace vesp
