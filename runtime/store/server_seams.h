#pragma once
// A place inside a transaction on a server that the program itself never touches: just
// before its COMMIT is sent. Only test support includes this header; tests cut the
// connection there to prove that a save whose connection goes never reports success.
#include <functional>

namespace vrt::store {

// Empty in the program; set by test support. Called on the committing thread with the
// server process of the connection about to commit.
std::function<void(int serverProcess)>& beforeServerCommit();

}  // namespace vrt::store
