#pragma once
// The columns a service's element list shows, shared by the service browse and the service
// form: title, type, duration, "Pre Service" centred, and the performer's display name.
#include <vector>

#include "windows/form_declaration.h"

namespace vesp {

std::vector<BrowseColumn> ElementColumns();
// The element list of the service in the thread's service record, in element order; its
// buttons run the element form; its rows move up and down.
ChildListDecl ElementList(std::string use);

}  // namespace vesp
