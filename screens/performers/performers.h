#pragma once
// The people of the ministry and their teams: performers, performer groups and their members.
// The browses are on the frame's menu and are the look-ups of every person and group field.
namespace vesp {

void BrowsePerformers();            // vsp014
void UpdatePerformers();            // vsp015
void BrowsePerformerGroupHeader();  // vsp044
void UpdatePerformerGroupHeader();  // vsp045
void UpdatePerformerGroupDetail();  // vsp046

// Registers the procedures above by their names.
void RegisterPerformers();

}  // namespace vesp
