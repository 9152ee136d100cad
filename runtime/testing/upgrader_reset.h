#pragma once
// Puts the file-structure upgrader back as a process starts: no table registered, every
// option off and no hook before a conversion, so one test's registrations never convert
// another test's files.
namespace vrt {

void ds_ResetForTesting();

}  // namespace vrt
