#pragma once
// The codes procedures exchange: the request a procedure is called for, the response it
// leaves, and what an event handler tells the event loop. One type per family, so that the
// compiler keeps them apart from each other and from message levels; the numbers are the
// ones the program passes between procedures and threads.
namespace vesp {

enum class Request {
  None = 0,
  Insert = 1,
  Change = 2,
  Delete = 3,
  Select = 4,
  View = 6,
};

enum class Response {
  None = 0,  // nothing yet: the procedure is still running
  Completed = 1,
  Cancelled = 2,
};

enum class EventResult {
  Continue = 0,  // not taken: the next handler sees the event
  EndLoop = 3,   // the window's event loop ends
  Consumed = 5,  // taken: nobody else sees it
};

// Whether a handler took the event, so that its caller stops there.
[[nodiscard]] constexpr bool Handled(EventResult result) { return result != EventResult::Continue; }

}  // namespace vesp
