// Setting pages on real widgets of the offscreen platform, talking to an in-process simulated
// camera through the application's register maps, with the sequence log recorded.
#pragma once

#include "app/VireoApp.h"
#include "pages/CmdPage.h"
#include "tests/app/AppMaps.h"
#include "tests/camera/CamsimLink.h"
#include "tests/support/TestEnvironment.h"
#include "tools/camsim/Camera.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <string>
#include <vector>

namespace page_test {

class PageFixture : public ::testing::Test {
protected:
    explicit PageFixture(camsim::Model model);
    ~PageFixture() override;

    // Creates the page inside a host window; nothing is read until it is shown.
    void Create(pages::CCmdPage& page);

    // Forgets the frames and log lines so far.
    void Fresh();
    // Request frames since Fresh(), without STX and ETX ("42FF", "43RQ").
    std::vector<std::string> Sent() const { return link.Sent(); }
    std::vector<std::string> Writes() const { return link.Writes(); }
    std::vector<std::string> SeqLines() const { return log.Seq(); }

    // As the user does it.
    static void Click(ui::Dialog& page, int id);
    static void Scroll(pages::CCmdPage& page, int barId, int code, int pos = 0);
    static void Choose(ui::Dialog& page, int comboId, int index);                  // a list item
    static void Type(pages::CCmdPage& page, int comboId, const std::string& text); // pasted

    // Each test's own settings store: the view stores the model chosen, among others.
    testing_support::ScopedSettingsDir settings;
    camsim::Camera camera;
    testing_support::CamsimLink link;
    testing_support::LogRecorder log;
    QWidget host;

private:
    testing_support::ScopedAppMaps m_maps;
};

// "42FF": a write request of value to address, as the frames read.
std::string WriteFrame(int address, int value);

} // namespace page_test
