#pragma once
// The service screens' print buttons: each starts its report by name on a thread of its
// own, which outlives the screen that started it. The order of service gets a copy of the
// caller's service record, so it prints the service the user is looking at.
namespace vesp {

void StartSongUsage();
void StartOrderOfService();
void StartStatisticsChart();

}  // namespace vesp
