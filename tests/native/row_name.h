#pragma once
// Names each row of a table-driven test after its `name` field, so a failure
// says which case broke.
#include <gtest/gtest.h>

#include <string>

namespace ventalune::testing_support {

struct RowName {
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return row.param.name;
  }
};

}  // namespace ventalune::testing_support
