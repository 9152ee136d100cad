#pragma once
// The texts screens show for the numbers a service stores: a performer's display name, a
// topic's text, a series' name, a performer group's description. A number of 0, or one
// whose record cannot be read, shows an empty text. The look-up table must be open on this
// thread; its buffer holds the record found afterwards.
#include <string>

#include "dictionary/declare.h"

namespace vesp {

// The first name without its trailing blanks, one blank, the last name: of the performer
// in the Performers buffer.
std::string PerformerDisplayName();
std::string PerformerName(double number);
std::string TopicText(double number);
std::string SeriesName(double number);
std::string PerformerGroupName(double number);

// A number field of the thread's record of `table`.
double NumberIn(const dict::TableDecl& table, int field);

}  // namespace vesp
