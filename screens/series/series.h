#pragma once
// Sermon series and the publicity used for them. The series browse is also the look-up
// behind a service's "Sermon Series:" field.
namespace vesp {

void BrowseSermonSeries();     // vsp005
void UpdateSermonSeries();     // vsp004
void UpdateSeriesPublicity();  // vsp025

// Registers the procedures above by name.
void RegisterSeries();

}  // namespace vesp
