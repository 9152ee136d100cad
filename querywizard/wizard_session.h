#pragma once
// One run of the wizard: what the caller passed, the query being edited, and the outcome.
// The wizard's pages (the dialogs) edit `elements` or the manual text and call these
// operations; XB_QWIZARD turns the outcome into the caller's filter, description and
// XBQW_Response.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "querywizard/element.h"
#include "querywizard/filter_text.h"
#include "querywizard/lists.h"

namespace qrywiz {

class WizardSession {
 public:
  WizardSession(XBQW_FIELDSQUEUE& fields, std::string className, Syntax syntax, bool restrictManual,
                bool combine, std::string previousFilter, std::string previousDescription);

  XBQW_FIELDSQUEUE& fields() { return fields_; }
  const std::string& className() const { return className_; }
  Syntax syntax() const { return syntax_; }
  bool restrictManual() const { return restrictManual_; }
  // Whether the finished query may be joined to the caller's filter.
  bool mayCombine() const { return combine_ && !previousFilter_.empty(); }
  const std::string& previousFilter() const { return previousFilter_; }

  // Options bit 1: start on a new query rather than in the saved-queries window.
  bool startOnNewQuery = false;
  // The caller's filter variable, set by XB_QWIZARD before the pages open: a query longer
  // than it (and never more than 1,024 bytes) is refused, not cut.
  std::size_t filterSize() const { return filterSize_; }
  void setFilterSize(std::size_t size) { filterSize_ = std::min(size, kFilterWidth); }

  // The query being edited.
  CurrentQuery elements;
  bool manualPage = false;
  std::string manualText;
  std::int32_t loadedNumber() const { return loaded_; }
  const std::string& loadedDescription() const { return loadedDescription_; }
  void forgetLoadedQuery() { loaded_ = 0; }

  // Opens a saved query for editing: false (after its message) when it cannot be read
  // (31/32) or is a restricted manual query (39/40); an invalid one is loaded after the
  // warning 37/38.
  bool open(std::int32_t number);

  // The filter the query produces now: the typed text on the manual page, else assembled.
  std::string queryText() const;
  // Finishing: the text must fit the filter ("Query String Too Small" otherwise) and, in
  // standard syntax, evaluate (33/34 otherwise).
  bool checkFinished() const;
  // Saves as a new query or rewrites the loaded one (description form included); false
  // when nothing was saved, and the wizard stays open.
  bool save(bool asNew);

  // Outcomes.
  void finishUnsaved();
  void finishWithSaved(std::int32_t number, std::string description);
  // 30 AND, 40 OR: the finished (or chosen) query is to be joined to the caller's filter.
  void joinWith(int conjunctionCode) { join_ = conjunctionCode; }

  bool finished() const { return finished_; }
  std::int32_t resultNumber() const { return resultNumber_; }  // 0 for an unsaved query
  const std::string& resultText() const { return resultText_; }
  const std::string& resultDescription() const { return resultDescription_; }
  int joinCode() const { return join_; }

 private:
  XBQW_FIELDSQUEUE& fields_;
  std::string className_;
  Syntax syntax_;
  bool restrictManual_;
  bool combine_;
  std::string previousFilter_, previousDescription_;
  std::int32_t loaded_ = 0;
  std::string loadedDescription_;
  bool finished_ = false;
  std::int32_t resultNumber_ = 0;
  std::string resultText_, resultDescription_;
  int join_ = 0;
  std::size_t filterSize_ = kFilterWidth;
};

inline constexpr int kJoinAnd = 30;
inline constexpr int kJoinOr = 40;

}  // namespace qrywiz
