#pragma once
// A service's elements with their associated files, and the bibliography they draw on.
// The service screens call them by name.
namespace vesp {

void UpdateServiceElement();   // vsp013
void BrowseBibliography();     // vsp018
void UpdateBibliography();     // vsp019
void UpdateAssociatedFiles();  // vsp027

// Registers the procedures above by their names.
void RegisterElements();

}  // namespace vesp
