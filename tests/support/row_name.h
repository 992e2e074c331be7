// Table rows name their own tests: `Cases/PasteHandling.RunsTheStepsInOrder/Ticked`
// says what the row checks and stays the same from build to build, where
// GoogleTest's default would number the rows or print their bytes.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace colfix::testing {

// INSTANTIATE_TEST_SUITE_P(..., RowName()) for rows with a `name` member.
struct RowName {
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return row.param.name;
  }
};

}  // namespace colfix::testing
