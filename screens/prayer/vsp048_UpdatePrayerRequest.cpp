// vsp048 UpdatePrayerRequest: one prayer request, its answer and how long it took.
#include "screens/prayer/prayer_request.h"

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "screens/prayer/categories.h"
#include "screens/prayer/journal_conventions.h"
#include "windows/form_screen.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace PRA = dict::idx::PRA;

constexpr const char* kAnswered = "?PRA:DATEANSWERED";
constexpr const char* kStartedCalendar = kCalendarButtonUse;
constexpr const char* kAnsweredCalendar = "?G_CALBUTTON:2";

FieldRef pra(int field) { return {tables::PrayerRequest, field}; }

// A prayer cannot be answered before it was prayed: the user is told, and the date
// answered takes the focus. False when the dates are impossible.
bool datesPossible(FormScreen& form) {
  vrt::RecordRef r(form.Record());
  const vrt::DayNumber started = r.get(PRA_DATESTARTED), answered = r.get(PRA_DATEANSWERED);
  if (answered == 0 || answered >= started) return true;
  vrt::Message("The date answered, " + vrt::formatPicture(answered, "@d2-") + ", is before the date started, " +
                   vrt::formatPicture(started, "@d2-") + ".|Please correct one of them.",
               "Invalid Date Answered", vrt::kIconExclamation);
  form.MYWINDOW()->select(form.MYWINDOW()->number(kAnswered));
  return false;
}

// Only accepting the date answered recomputes the days: a changed start date alone leaves
// them as they were. Impossible dates count no days.
EventResult onAccepted(FormScreen& form, int control) {
  if (control != form.MYWINDOW()->number(kAnswered)) return EventResult::Continue;
  vrt::RecordRef r(form.Record());
  const bool possible = datesPossible(form);
  r.set(PRA_NUMBERDAYS, possible ? NumberOfDays(r.get(PRA_DATESTARTED), r.get(PRA_DATEANSWERED)) : std::string());
  if (vrt::Control* days = form.MYWINDOW()->control("?PRA:NUMBERDAYS")) days->display();
  return EventResult::Continue;
}

// A viewed request keeps its number, category and dates; its texts can still be read and
// scrolled, though nothing is saved.
void onOpened(FormScreen& form) {
  if (form.REQUEST() != Request::View) return;
  vrt::Window& w = *form.MYWINDOW();
  for (const char* use : {"?PRA:REQUESTNUMBER", "?PRA:REQUESTCATEGORY", "?PRA:DATESTARTED", kAnswered,
                          "?PRA:NUMBERDAYS"})
    if (vrt::Control* c = w.control(use)) c->setReadOnly(true);
  for (const char* use : {kLookupButtonUse, kStartedCalendar, kAnsweredCalendar, "?PRA:ANSWER"})
    if (vrt::Control* c = w.control(use)) c->setDisabled(true);
}

const FormDecl& prayerRequestForm() {
  static const FormDecl form = [] {
    FormDecl f("UpdatePrayerRequest", "Form PrayerRequest", tables::PrayerRequest, "");
    FollowJournalConventions(f);
    f.cancelText = "&Cancel";
    FormItem number = field("Number:", "?PRA:REQUESTNUMBER", pra(PRA::REQUESTNUMBER), "@n-14");
    number.readOnly = true;
    FormItem days = field("Number of Days:", "?PRA:NUMBERDAYS", pra(PRA::NUMBERDAYS), "@s10");
    days.readOnly = true;
    f.tabs = {{"Prayer Request",
               {number,
                lookupField("Category:", "?PRA:REQUESTCATEGORY", pra(PRA::REQUESTCATEGORY), CategoryLookup(BrowsePrayerRequestCategory), "@s30"),
                textBoxField("Request:", "?PRA:REQUEST", pra(PRA::REQUEST), 5),
                dateField("Date Started:", "?PRA:DATESTARTED", pra(PRA::DATESTARTED), "@d2-b", kStartedCalendar),
                dateField("Date Answered:", kAnswered, pra(PRA::DATEANSWERED), "@d2-b", kAnsweredCalendar),
                dropListField("Answer:", "?PRA:ANSWER", pra(PRA::ANSWER), {" ", "Yes", "No", "Other"}),
                days,
                textBoxField("Comments:", "?PRA:COMMENTS", pra(PRA::COMMENTS), 4)}}};
    f.prime = [](FormScreen& form) { vrt::RecordRef(form.Record()).set(PRA_DATESTARTED, vrt::today()); };
    f.onButton = onAccepted;
    f.validate = datesPossible;
    f.opened = onOpened;
    return f;
  }();
  return form;
}

}  // namespace

std::string NumberOfDays(vrt::DayNumber started, vrt::DayNumber answered) {
  return answered == 0 ? std::string() : std::to_string(static_cast<long long>(answered) - started);
}

void UpdatePrayerRequest() { RunForm(prayerRequestForm()); }

}  // namespace vesp
