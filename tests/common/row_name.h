// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

namespace palquin::testing_support {

/// Names a parameterised test after its row's `name`, so a failure says which case broke.
struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return std::string(row.param.name);
    }
};

}  // namespace palquin::testing_support
