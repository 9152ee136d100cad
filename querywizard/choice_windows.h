#pragma once
// The small windows that offer a choice of what to do: the saved-queries window, the
// query-option window and the combine-queries window. Each runs on the calling thread.
#include <cstdint>
#include <string_view>

#include "querywizard/wizard_session.h"

namespace qrywiz {

inline constexpr std::string_view kSavedQueriesProcedure = "SavedQueries";
inline constexpr std::string_view kQueryOptionProcedure = "XB_QWPREACTION";
inline constexpr std::string_view kCombineProcedure = "CombineQueries";

// What the user chose in the saved-queries window.
enum class SavedChoice { Closed = 0, Select = 1, Insert = 100, Change = 200, AndJoin = 30, OrJoin = 40 };
struct SavedPick {
  SavedChoice choice = SavedChoice::Closed;
  std::int32_t number = 0;
};

// The saved queries of the session's class; Select only when picking for the wizard, the
// joins only when the session may combine. Invalid queries are refused with 220/221.
SavedPick runSavedQueries(WizardSession& session, bool forWizard);

// 1 select a saved query, 2 new query, 4 none, 3 cancel, 0 closed.
std::uint8_t runQueryOption();
// 0 do not join, 30 AND join, 40 OR join (closing: 0).
int runCombineQueries();

}  // namespace qrywiz
