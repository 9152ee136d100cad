#pragma once
// Where the program's own windows send the user into the user guide.
namespace vesp {

// Opens the help window at the guide's "first steps" page; returns at once.
void OpenFirstStepsHelp();

}  // namespace vesp
