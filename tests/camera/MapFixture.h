// A register map wired to an in-process simulated camera, with the sequence log recorded.
#pragma once

#include "tests/camera/CamsimLink.h"
#include "tests/support/TestEnvironment.h"
#include "tools/camsim/Camera.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testing_support {

template <class Map> class MapFixture : public ::testing::Test {
protected:
    explicit MapFixture(camsim::Model model) : camera(model), link(camera), map(&link) {}

    // Forgets the frames and log lines so far.
    void Fresh()
    {
        link.ClearSent();
        log.Clear();
    }

    // The one sequence-log line written since Fresh().
    std::string Line() const
    {
        const auto lines = log.Seq();
        EXPECT_EQ(lines.size(), 1u) << "one line per operation";
        return lines.empty() ? std::string() : lines.back();
    }

    std::vector<std::string> Writes() const { return link.Writes(); }

    camsim::Camera camera;
    CamsimLink link;
    LogRecorder log;
    Map map;
};

} // namespace testing_support
