#pragma once
// Saved queries: listing a class's queries, reading one back into a current-query list,
// saving a list (new or rewritten) and deleting a query with its elements. Every failure
// shows the store's message; the caller then goes on without the saved query.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "querywizard/element.h"
#include "querywizard/lists.h"

namespace qrywiz {

struct SavedQuery {
  std::int32_t number = 0;
  std::string className;
  std::string description;
  bool manual = false;
  bool invalid = false;
  std::string queryString;
};

// The queries of a class in the order of class and description.
std::vector<SavedQuery> listQueries(std::string_view className);
// The query row by number; nullopt when there is none (or the file cannot be read).
std::optional<SavedQuery> readQuery(std::int32_t number);

// The row and its elements, each element built against the offered fields. nullopt when
// the row cannot be read (the caller shows its own message).
struct LoadedQuery {
  SavedQuery query;
  CurrentQuery elements;
};
std::optional<LoadedQuery> loadQuery(std::int32_t number, const XBQW_FIELDSQUEUE& fields);

// The text an element shows in the current-query list, from the offered fields it names
// by QWFLDQPOINTER ("?????" for one that is gone).
std::string describeElement(const QueryElement& element, const XBQW_FIELDSQUEUE& fields);

struct SaveInput {
  std::string_view className;
  std::string_view filterText;
  bool isNew = true;
  std::int32_t number = 0;  // the query rewritten when not new
  bool manualPage = false;
};
// Runs the description form and writes the query: returns its number, or 0 when nothing
// was saved. `elements` is emptied for a manual query; `description` receives the text
// the user accepted.
std::int32_t saveQuery(CurrentQuery& elements, const XBQW_FIELDSQUEUE& fields, const SaveInput& input,
                       std::string& description);

// After the standard confirmation; true only when the delete was committed.
bool deleteQuery(std::int32_t number);

}  // namespace qrywiz
