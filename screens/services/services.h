#pragma once
// Service planning: the service browse with the element list of the highlighted service,
// the service form with its six tabs, and the forms of a service's Bible references, key
// words and statistics.
namespace vesp {

void BrowseService();     // vsp008
void UpdateService();     // vsp006
void UpdateBibleRef();    // vsp007
void UpdateKeyWords();    // vsp031
void UpdateStatistics();  // vsp033

// Registers the procedures above by name.
void RegisterServices();

}  // namespace vesp
