// Layouts of the pages that every model has in the same shape (identity, self-check, memory
// banks, raw register access); each model gives its own template id, control ids and captions.
#pragma once

#include "platform/ui/Template.h"

#include <string>
#include <vector>

namespace res {

struct IdentityPageIds {
    int vendor;
    int model;
    int serial;
    int cpu;
    int fpga; // 0: the model has no FPGA version
    int refresh;
};
ui::DialogTemplate IdentityPage(int templateId, const char* group, const IdentityPageIds& ids);

struct SelfCheckBox {
    int id;
    const char* caption;
};
struct SelfCheckPageIds {
    std::vector<SelfCheckBox> boxes; // top to bottom
    int status;
    int status2;
    int spare;      // the box that stays empty
    bool wideSpare; // across the page under both groups, rather than in "Status"
    int refresh;
};
ui::DialogTemplate SelfCheckPage(int templateId, int height, const SelfCheckPageIds& ids);

struct MemoryPageIds {
    int firstBank; // the four bank buttons have consecutive ids
    int save;
    int load;
    int reset;
    int done;                // a line that tells what the last command did
    const char* bankCaption; // "Bank" or "Bank ", followed by the bank's number
};
ui::DialogTemplate MemoryPage(int templateId, const MemoryPageIds& ids);

struct RegisterPageIds {
    int address;
    int data;
    int read;
    int write;
    int status;
    bool hexPrefix; // a "0x" label before the address and data boxes
};
ui::DialogTemplate RegisterPage(int templateId, const RegisterPageIds& ids);

// One bar of a user-gain page in its group, with a hexadecimal read-out ("0x" label) and/or a
// second read-out with its unit, and the range labels under the bar.
struct GainBar {
    const char* group;
    int bar;
    int hex;          // 0: no hexadecimal read-out
    int other;        // 0: no second read-out
    const char* unit; // the second read-out's unit label, or null
    const char* minimum;
    const char* maximum;
};
ui::DialogTemplate GainPage(int templateId, const GainBar& top, const GainBar& bottom, int refresh,
                            int apply);

struct ShutterPageIds {
    int speed;
    std::vector<std::string> speeds; // the speed list, in its order
    int draft;
    int partial;
    int firstBitDepth; // "8bit", "10bit" and "12bit" have consecutive ids
    int random;
    int restartReset; // 0: the model has no such box
    int posi;
    int pulse;
    int multiple;
    int shutter; // 0: the model shows no shutter on/off box
    int refresh;
    int apply;
};
ui::DialogTemplate ShutterPage(int templateId, const ShutterPageIds& ids);

} // namespace res
