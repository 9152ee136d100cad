#pragma once
// The display texts the main program sets for the wizard's windows, and the small list of
// offered fields the tests drive them with.
#include "querywizard/display_text.h"
#include "querywizard/field_registry.h"
#include "querywizard/lists.h"

namespace qwtest {

inline void setWizardTexts() {
  struct Entry {
    int id;
    const char* text;
  };
  static const Entry entries[] = {
      {1, "Is Equal To"}, {2, "Is NOT Equal To"}, {3, "Is Greater Than"}, {4, "Is Less Than"},
      {5, "Is Greater Than or Equal To"}, {6, "Is Less Than or Equal To"}, {7, "Begins With"}, {8, "Contains"},
      {9, "Does NOT Begin With"}, {10, "Does NOT Contain"}, {11, "Is Checked"}, {12, "Is NOT Checked"},
      {33, "Invalid Query"}, {34, "The query you have designed is invalid."},
      {35, "Query Exists"}, {36, "Do you want to replace the saved query?"},
      {37, "Query No Longer Valid"}, {38, "This query is no longer valid."},
      {39, "Restricted Query"}, {40, "Sorry, this is a restricted query and may not be modified."},
      {41, "Save Query"}, {42, "Would you like to save this query?"},
      {71, "MS Sans Serif"}, {72, "8"}, {73, "MS Sans Serif"}, {74, "10"}, {75, "MS Sans Serif"}, {76, "8"},
      {77, "MS Sans Serif"}, {78, "8"}, {79, "MS Sans Serif"}, {80, "12"},
      {101, "Add a New AND Query Element"}, {102, "New AND Condition"}, {103, "AND"}, {104, "Go Back to the Previous Page"}, {106, "< &Back"},
      {107, "Cancel Changes and Exit Wizard"}, {109, "Cancel"}, {110, "Change Query Element"}, {112, "&Change"},
      {113, "Delete Query Element"}, {115, "&Delete"}, {116, "Finish the Wizard and Run Query"}, {118, "&Finish"},
      {119, "Manually Enter Query Criteria"}, {121, "&Manual"}, {122, "Go Forward to the Next Page"},
      {124, "&Next >"}, {125, "Add a New OR Query Element"}, {127, "OR"},
      {151, "Constant &Value"}, {152, "E&xpression"}, {153, "&Another Field"},
      {155, "Add conditions by pressing the AND or OR buttons."},
      {156, "Press Change or Delete to modify a condition."}, {157, "Enter a value to complete your expression."},
      {154, "Current Query"}, {158, "Field Selection"}, {159, "Fields to Evaluate"}, {165, "Query Operations"}, {160, "Manual Override"},
      {161, "Compare Using Absolute Values"}, {162, "Compare Using Case Sensitive Matching"},
      {163, "(New Query)"}, {164, "Operation Selection"}, {166, "Select a field from the list below."},
      {167, "Select an Option Below"}, {168, "Select a query operation to perform on the selected field."},
      {169, "Value Entry"}, {170, "1"}, {171, "Query Wizard"},
      {231, "Enter a new description for the query or press OK to accept the existing description."},
      {232, "Enter a description for the new query."}, {233, "Changing an Existing Query"}, {234, "Deleting a Saved Query"}, {235, "Adding a New Query"},
      {236, "Query Description:"}, {237, "Cancel Save and Go Back to Editing Query"}, {239, "Cancel"},
      {240, "Accept Description and Save Query"}, {242, "OK"}, {302, "All Records"},
      {202, "Saved Queries"}, {205, "&Change"}, {208, "Close"}, {211, "&Delete"}, {214, "&Insert"},
      {217, "&Select"}, {220, "Query No Longer Valid"}, {221, "This query is no longer valid."},
      {245, "Query Options"}, {246, "Combine Queries"},
  };
  for (const Entry& e : entries) qrywiz::XB_SETQWDISPLAYTEXT(e.id, e.text);
}

inline std::string packedField(const std::vector<std::string>& values) {
  std::string s;
  for (const auto& v : values) s += v + "\xA6";
  return s + "\xAB";
}

// Sorted by description: Answer, Date Started, Private, Request.
inline qrywiz::XBQW_FIELDSQUEUE wizardFields() {
  qrywiz::XBQW_FIELDSQUEUE fields;
  std::int32_t error = 0;
  qrywiz::XB_ADDFIELDSQUEUEDATA(
      fields, error,
      packedField({"Request", "0", "PRA:Request", "@s255", "5000", "1", "1", "", ""}) +
          packedField({"Date Started", "0", "PRA:DateStarted", "@d2-", "4", "4", "1", "", ""}) +
          packedField({"Answer", "0", "PRA:Answer", "@s20", "20", "1", "3", "", " |Yes|No|Other"}) +
          packedField({"Private", "0", "PRA:Private", "@n1", "1", "2", "2", "", "Private"}));
  qrywiz::XB_INITFIELDSQUEUE(fields, "PrayerRequest");
  return fields;
}

}  // namespace qwtest
