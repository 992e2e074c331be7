// A fixture with a freshly built frmMain shown and active on the test's X
// display, and the lookups the tests use to reach its controls.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "control_names.h"
#include "frm_main_window.h"

namespace colfix::testing {

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
    auto* widget = window_->findChild<Widget*>(ControlName(name));
    if (widget == nullptr) throw std::logic_error("no such control");
    return *widget;
  }

 private:
  std::unique_ptr<FrmMainWindow> window_;
};

}  // namespace colfix::testing
