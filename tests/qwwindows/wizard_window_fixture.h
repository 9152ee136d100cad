#pragma once
// The wizard window driven through the robot on a thread of its own, as a browse calls it,
// with the small offered-field list of wizard_texts.h.
#include <gtest/gtest.h>

#include "qw_gui_fixture.h"
#include "querywizard/qrywiz.h"
#include "querywizard/wizard_layout.h"
#include "runtime/expr/bindings.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "wizard_texts.h"

namespace qrywiz {

inline constexpr std::string_view W = kWizardProcedure;

class WizardWindowTest : public qwtest::LibraryWindowsTest {
 protected:
  void SetUp() override {
    LibraryWindowsTest::SetUp();
    qwtest::setWizardTexts();
    fields = qwtest::wizardFields();
  }
  // The wizard on a thread of its own, as a browse would call it.
  void openWizard(std::uint8_t options = 1, std::uint8_t restrictManual = 0, std::int32_t number = 0) {
    vrt::StartThread(
        [this, options, restrictManual, number] {
          vrt::expr::BindingScope scope;
          vrt::expr::bindName("PRA:Request", &request);
          vrt::expr::bindName("PRA:DateStarted", &started);
          vrt::expr::bindName("PRA:Answer", &answer);
          vrt::expr::bindName("PRA:Private", &privateFlag);
          XB_QWIZARD(fields, "PrayerRequest", query, description, options, restrictManual, number);
          response = XBQW_Response();
          ended = true;
        },
        200'000);
    robot.settle();
  }
  int page() { return robot.control(W, "?Pages").selected(); }
  bool hidden(std::string_view use) { return robot.control(W, use).hidden(); }
  std::vector<std::string> row(std::string_view list, int r) { return robot.control(W, list).list()->rowAt(r); }
  int rows(std::string_view list) { return robot.control(W, list).list()->rowCount(); }
  int fieldRow(std::string_view description) {
    for (int r = 1; r <= rows("?FieldList"); ++r)
      if (row("?FieldList", r)[0] == description) return r;
    ADD_FAILURE() << "no field " << description;
    return 1;
  }
  // Page 1 to 4 for a field, an operation row and a typed value.
  void addElement(std::string_view field, int operation, std::string_view value) {
    robot.chooseRow(W, "?FieldList", fieldRow(field));
    robot.press(W, "?Next");
    robot.chooseRow(W, "?OperationList", operation);
    robot.press(W, "?Next");
    robot.type(W, "?Value", value);
    robot.press(W, "?Next");
    ASSERT_EQ(page(), 4);
  }

  XBQW_FIELDSQUEUE fields;
  std::string query = "untouched", description, request, started, answer, privateFlag;
  std::int32_t response = 99;
  bool ended = false;
  vrt::TestRobot robot;
};

}  // namespace qrywiz
