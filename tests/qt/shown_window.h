// A fixture with a freshly built frmMain shown and active on the test's X
// display, and the lookups the tests use to reach its controls.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>

#include "frm_main_window.h"
#include "qt_text.h"

namespace colfix::testing {

// INSTANTIATE_TEST_SUITE_P(..., ControlRowName()) for rows that are a control or
// are about one (a `control` member): the row is named after it.
struct ControlRowName {
  std::string operator()(const ::testing::TestParamInfo<Control>& row) const {
    return std::string(ControlName(row.param));
  }
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return std::string(ControlName(row.param.control));
  }
};

class ShownWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<FrmMainWindow>();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  FrmMainWindow& window() { return *window_; }

  template <class Widget = QWidget>
  Widget& control(Control name) {
    auto* widget = window_->findChild<Widget*>(ObjectName(name));
    if (widget == nullptr) throw std::logic_error("no such control");
    return *widget;
  }

 private:
  std::unique_ptr<FrmMainWindow> window_;
};

}  // namespace colfix::testing
