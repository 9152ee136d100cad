#pragma once
// Before a record that others name is deleted: where it is named, in words for the question.
#include <string>

#include "records/file_manager.h"

namespace vesp {

// "Kwame Anderson is named in 9 services, 32 service elements and 1 group. Delete anyway?"
// for the record in `named`'s buffer; empty when nothing names it, or when its table is not
// one that others name. The naming tables' state on this thread is kept.
std::string NamedElsewhereQuestion(FileManager& named);

}  // namespace vesp
