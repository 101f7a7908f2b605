// Setting an entry's serial number keeps the entry's own form and every other byte, or leaves
// the text as it was.
#include "camera/inventory/InventorySerial.h"

#include <gtest/gtest.h>

namespace {

// Each way TOML lets an entry be written, with and without a serial number.
TEST(InventorySerial, TheSerialIsSetInTheEntrysOwnForm)
{
    struct Case {
        std::string text;
        std::string expected; // empty: refused, text untouched
    };
    const std::vector<Case> cases{
        {"[cameras.x]  # left\nport = \"p\"\nmodel = \"RV1250LX\"\n",
         "[cameras.x]  # left\nport = \"p\"\nserial = \"77\"\nmodel = \"RV1250LX\"\n"},
        {"[cameras.x]\r\n  port = 'p' # q\r\n",
         "[cameras.x]\r\n  port = 'p' # q\r\n  serial = \"77\"\r\n"},
        {"[cameras.x]\nport = \"p\"\nserial = 'old'  # fitted\n",
         "[cameras.x]\nport = \"p\"\nserial = \"77\"  # fitted\n"},
        {"cameras.x.port = \"p\"\ncameras.y.port = \"q\"\n",
         "cameras.x.port = \"p\"\ncameras.x.serial = \"77\"\ncameras.y.port = \"q\"\n"},
        {"[cameras]\ny.port = \"q\"\n  x . port = \"p\"",
         "[cameras]\ny.port = \"q\"\n  x . port = \"p\"\n  x . serial = \"77\"\n"},
        {"[cameras]\nx = { port = \"p\", model = \"RV1250LX\" }  # inline\n",
         "[cameras]\nx = { port = \"p\", model = \"RV1250LX\", serial = \"77\" }  # inline\n"},
        {"cameras = { x = { port = \"p\" } }\n",
         "cameras = { x = { port = \"p\", serial = \"77\" } }\n"},
        {"cameras.x = {port=\"p\",serial=\"1\"}\n", "cameras.x = {port=\"p\",serial=\"77\"}\n"},
        // A serial number that is no one-line text is left to a person.
        {"[cameras.x]\nport = \"p\"\nserial = \"\"\"1\n2\"\"\"\n", ""},
        {"[cameras.y]\nport = \"p\"\n", ""},
        {"[cameras.x\nport = \"p\"\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        std::string problem;
        EXPECT_EQ(inventory::SetSerialInText(text, "x", "77", problem), !c.expected.empty());
        EXPECT_EQ(text, c.expected.empty() ? c.text : c.expected);
        EXPECT_EQ(problem.empty(), !c.expected.empty()) << problem;
    }
}

} // namespace
