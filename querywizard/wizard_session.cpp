#include "querywizard/wizard_session.h"

#include "querywizard/display_text.h"
#include "querywizard/hooks.h"
#include "querywizard/query_store.h"
#include "runtime/gui/beep.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

WizardSession::WizardSession(XBQW_FIELDSQUEUE& fields, std::string className, Syntax syntax, bool restrictManual,
                             bool combine, std::string previousFilter, std::string previousDescription)
    : fields_(fields),
      className_(std::move(className)),
      syntax_(syntax),
      restrictManual_(restrictManual),
      combine_(combine),
      previousFilter_(vrt::clip(previousFilter)),
      previousDescription_(vrt::clip(previousDescription)) {}

bool WizardSession::open(std::int32_t number) {
  auto loaded = loadQuery(number, fields_);
  if (!loaded) {
    showMessage(displayText(32), displayText(31));
    return false;
  }
  if (loaded->query.manual && restrictManual_) {
    showMessage(displayText(40), displayText(39));
    return false;
  }
  if (loaded->query.invalid) {
    vrt::Beep();
    showMessage(displayText(38), displayText(37));
  }
  elements = std::move(loaded->elements);
  manualPage = loaded->query.manual;
  manualText = manualPage ? loaded->query.queryString : std::string();
  loaded_ = number;
  loadedDescription_ = loaded->query.description;
  return true;
}

std::string WizardSession::queryText() const {
  if (manualPage) return std::string(vrt::clip(manualText));
  return assembleQuery(elements, syntax_);
}

bool WizardSession::checkFinished() const {
  const std::string text = queryText();
  return queryFits(text, filterSize_) && (syntax_ == Syntax::Sql || checkQueryText(text));
}

bool WizardSession::save(bool asNew) {
  SaveInput in;
  in.className = className_;
  const std::string text = queryText();
  in.filterText = text;
  in.isNew = asNew || loaded_ == 0;
  in.number = in.isNew ? 0 : loaded_;
  in.manualPage = manualPage;
  std::string description;
  const std::int32_t number = saveQuery(elements, fields_, in, description);
  if (number == 0) return false;
  finishWithSaved(number, description);
  return true;
}

void WizardSession::finishUnsaved() {
  finished_ = true;
  resultNumber_ = 0;
  resultText_ = queryText();
  resultDescription_ = resultText_;
}

void WizardSession::finishWithSaved(std::int32_t number, std::string description) {
  finished_ = true;
  resultNumber_ = number;
  loaded_ = number;
  const auto row = readQuery(number);
  resultText_ = row ? row->queryString : queryText();
  resultDescription_ = !description.empty() || !row ? std::move(description) : row->description;
}

}  // namespace qrywiz
