#pragma once
// Where the program's data lives for this run: the files in the program's folder, or the
// server the station's location file names (records/location_file.h). Start-up settles it
// before any table is opened; the frame's status bar shows it; File > "Data Location..."
// changes the recorded choice for the next start.
#include <string>

#include "records/location_file.h"
#include "runtime/store/change_listener.h"

namespace vesp {

using vrt::store::DataLocation;

// On thread 1 at start-up, before any table is opened. A server is reached (its password
// asked when the server wants one and the password file has none); when it cannot be
// reached, or the location file is wrong, the user chooses to retry, to open the files in
// this folder instead, or to end. False when the user chose to end: nothing was opened.
// `newData` comes in true when this folder holds no data files yet; it goes out true when
// the data reached is new: that folder, or a server database that held no data, so that
// start-up gives it the starting pick lists.
bool OpenDataLocation(bool& newData);

// The status bar's words for where the data of this run lives ("Data: Files in
// /home/office/vespera"), as OpenDataLocation() left it.
std::string DataLocationText();

// Keeps the frame's status zone `zone` saying whether the server answers, for as long as
// `hearing` lives: when it stops answering, and when Vespera hears it again. On files
// nothing is heard.
void FollowServerInStatusBar(vrt::store::TableChangeHearing& hearing, int zone);

// File > "Data Location...": the window that records where the data lives from the next
// start, and tests a server's connection on the way.
void ChooseDataLocation();

}  // namespace vesp
