// Pages whose reads fail, through the window's action runner: a camera that refuses every
// request, one that answers noise, and no open port at all. A value that was not read is shown
// as not read with its control disabled, Apply writes none of it, and the action shows one box.
#include "app/ActionUi.h"
#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "comm/ComIF.h"
#include "pages/rv1240/Cmd40Mem.h"
#include "pages/rv1240/Cmd40Register.h"
#include "pages/rv1240/Cmd40SelfChk.h"
#include "pages/rv1240/Cmd40Shatter.h"
#include "pages/rv1240/Cmd40UsrGain.h"
#include "pages/rv1250/Cmd50Shatter.h"
#include "pages/rvqm52/Cmd52BInfo.h"
#include "pages/rvqm52/Cmd52BPartial.h"
#include "pages/rvqm52/Cmd52CColor.h"
#include "res/ids/Rv1240.h"
#include "res/ids/Rv1250.h"
#include "res/ids/Rvqm52.h"
#include "tests/pages/PageFixture.h"

#include <QAbstractButton>
#include <QComboBox>

#include <functional>
#include <memory>
#include <optional>

using namespace page_test;
using testing_support::CamsimLink;
using testing_support::MessageBoxRecorder;

namespace {

// The three register maps on one port, and the slots the pages read them from.
struct Maps {
    explicit Maps(CComIF* port) : r40(port), r50(port), r52(port) {}
    CRVX1240Reg r40;
    CRVX1250Reg r50;
    CRVQM52BM14Reg r52;
};
struct Slots {
    CRVX1240Reg* r40 = nullptr;
    CRVX1250Reg* r50 = nullptr;
    CRVQM52BM14Reg* r52 = nullptr;
    void Point(Maps& maps)
    {
        r40 = &maps.r40;
        r50 = &maps.r50;
        r52 = &maps.r52;
    }
};

struct FaultCase {
    const char* name;
    std::optional<camsim::Fault> fault; // none: the maps talk to a port that is not open
    const char* caption;
    const char* text; // null: the port's own notice
};
const FaultCase kFaults[] = {
    {"nak", camsim::Fault::Nak, kCameraErrorTitle, "The camera refused the request."},
    {"garbage", camsim::Fault::Garbage, kCameraErrorTitle,
     "The camera's answer could not be understood."},
    {"no open port", std::nullopt, kNoticeTitle, nullptr},
};

struct PageCase {
    const char* name;
    camsim::Model model;
    std::function<std::unique_ptr<pages::CCmdPage>(Slots&)> make;
    int refresh;
    int apply;                 // 0: the page writes nothing
    std::vector<int> disabled; // controls of values that were not read
    std::vector<int> dashed;   // read-outs that show the not-read mark
    std::function<void(camsim::Camera&)> setUp = {};
    // Choices that show nothing chosen (no radio button, no check mark, no list item) while
    // their value is not read, whatever the camera said before.
    std::vector<int> unchosen = {};
};

const std::vector<PageCase>& PageCases()
{
    static const std::vector<PageCase> cases = {
        {"RV1240 UserGain",
         camsim::Model::RV1240DLX,
         [](Slots& s) { return std::make_unique<CCmd40UsrGain>(&s.r40); },
         IDC_40GAIN_REFRESH,
         IDC_40GAIN_APPLY,
         {IDC_40GAIN_OFFSET_BAR, IDC_40GAIN_GAIN_BAR},
         {IDC_40GAIN_OFFSET_DEC, IDC_40GAIN_GAIN_HEX}},
        {"RV1250 Shutter",
         camsim::Model::RV1250LX,
         [](Slots& s) { return std::make_unique<CCmd50Shatter>(&s.r50); },
         IDC_50SHUT_REFRESH,
         IDC_50SHUT_APPLY,
         {IDC_50SHUT_SPEED, IDC_50SHUT_DRAFT, IDC_50SHUT_PARTIAL, IDC_50SHUT_8BIT,
          IDC_50SHUT_RANDOM, IDC_50SHUT_PULSE, IDC_50SHUT_MULTIPLE},
         {},
         {},
         {IDC_50SHUT_8BIT, IDC_50SHUT_10BIT, IDC_50SHUT_12BIT, IDC_50SHUT_POSI, IDC_50SHUT_SPEED}},
        {"RV1240 Shutter",
         camsim::Model::RV1240DLX,
         [](Slots& s) { return std::make_unique<CCmd40Shatter>(&s.r40); },
         IDC_40SHUT_REFRESH,
         IDC_40SHUT_APPLY,
         {IDC_40SHUT_SPEED, IDC_40SHUT_8BIT, IDC_40SHUT_10BIT, IDC_40SHUT_12BIT},
         {},
         {},
         {IDC_40SHUT_8BIT, IDC_40SHUT_10BIT, IDC_40SHUT_12BIT, IDC_40SHUT_POSI, IDC_40SHUT_SPEED}},
        {"RVQM52C Color",
         camsim::Model::RVQM52CM14,
         [](Slots& s) { return std::make_unique<CCmd52CColor>(&s.r52); },
         IDC_52COL_REFRESH,
         IDC_52COL_APPLY,
         {IDC_52COL_MANUAL, IDC_52COL_GAMMA, IDC_52COL_MASKING, IDC_52COL_FORMAT, IDC_52COL_TEMP,
          IDC_52COL_R_BAR, IDC_52COL_B_BAR},
         {IDC_52COL_R_HEX, IDC_52COL_R_DEC, IDC_52COL_B_HEX, IDC_52COL_B_DEC},
         [](camsim::Camera& camera) {
             camera.Set(0x74, 0x80); // manual, with the manual gains chosen
             camera.Set(0x75, 0xFF);
         },
         {IDC_52COL_MANUAL, IDC_52COL_ONEPUSH}},
        {"RVQM52B Partial",
         camsim::Model::RVQM52BM14,
         [](Slots& s) { return std::make_unique<CCmd52BPartial>(&s.r52); },
         IDC_52BPART_REFRESH,
         IDC_52BPART_APPLY,
         {IDC_52BPART_VSTART_BAR, IDC_52BPART_HEIGHT_BAR, IDC_52BPART_SHUTTER_BAR},
         {IDC_52BPART_VSTART_HEX, IDC_52BPART_HEIGHT_DEC, IDC_52BPART_SHUTTER_HEX, IDC_52BPART_BP,
          IDC_52BPART_FPS, IDC_52BPART_EXPOSURE}},
        {"RV1240 SelfCheck",
         camsim::Model::RV1240DLX,
         [](Slots& s) { return std::make_unique<CCmd40SelfChk>(&s.r40); },
         IDC_40CHK_REFRESH,
         0,
         {IDC_40CHK_STATUS, IDC_40CHK_STATUS2},
         {IDC_40CHK_STATUS, IDC_40CHK_STATUS2}},
        {"RVQM52 Info",
         camsim::Model::RVQM52BM14,
         [](Slots& s) { return std::make_unique<CCmd52BInfo>(&s.r52); },
         IDC_52INFO_REFRESH,
         0,
         {IDC_52INFO_VENDOR, IDC_52INFO_MODEL, IDC_52INFO_SERIAL, IDC_52INFO_CPU, IDC_52INFO_FPGA},
         {}},
    };
    return cases;
}

// One simulated camera of the page's model, its link, the maps on it, and maps on a port that
// was never opened; the page's slots point at either.
struct Bench {
    explicit Bench(camsim::Model model) : camera(model), link(camera) {}
    camsim::Camera camera;
    CamsimLink link;
    Maps live{&link};
    Maps dead{&g_ComIF};
    Slots held;
};

class ReadFailures : public PageFixture {
protected:
    ReadFailures() : PageFixture(camsim::Model::RV1240DLX)
    {
        // The window's runner: one action per press, one box per action.
        new CActionUi(&host);
        g_ComIF.Close();
    }

    // Makes the next action fail as the case says.
    static void Fail(Bench& bench, const FaultCase& fault)
    {
        if (fault.fault)
            bench.camera.SetFaults({*fault.fault});
        else
            bench.held.Point(bench.dead);
    }
    static void Heal(Bench& bench)
    {
        bench.camera.SetFaults({});
        bench.held.Point(bench.live);
    }
    // A refusal reads as one on every page, the identity texts' too.
    static void ExpectOneBox(const MessageBoxRecorder& boxes, const FaultCase& fault)
    {
        const auto shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].caption, fault.caption);
        if (fault.text)
            EXPECT_EQ(shown[0].text, fault.text);
        else
            EXPECT_FALSE(shown[0].text.empty());
    }
    // Whether a choice control shows something chosen.
    static bool Chosen(pages::CCmdPage& page, int id)
    {
        QWidget* control = page.GetDlgItem(id);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->isChecked();
        if (auto* list = qobject_cast<QComboBox*>(control))
            return list->currentIndex() >= 0 || !list->currentText().isEmpty();
        ADD_FAILURE() << "no choice control " << id;
        return false;
    }
};

TEST_F(ReadFailures, AValueNotReadIsShownAsNotReadAndNeverWritten)
{
    for (const PageCase& pageCase : PageCases())
        for (const FaultCase& fault : kFaults) {
            SCOPED_TRACE(testing::Message() << pageCase.name << ", " << fault.name);
            Bench bench(pageCase.model);
            bench.held.Point(bench.live);
            if (pageCase.setUp)
                pageCase.setUp(bench.camera);
            const std::unique_ptr<pages::CCmdPage> page = pageCase.make(bench.held);
            Create(*page);
            page->ShowWindow(true); // every value read
            for (int id : pageCase.disabled)
                EXPECT_TRUE(page->GetWindow(id).IsWindowEnabled()) << "read: " << id;

            MessageBoxRecorder boxes;
            Fail(bench, fault);
            Click(*page, pageCase.refresh);
            for (int id : pageCase.disabled)
                EXPECT_FALSE(page->GetWindow(id).IsWindowEnabled()) << "not read: " << id;
            for (int id : pageCase.dashed)
                EXPECT_EQ(page->GetDlgItemText(id), pages::kNotReadText) << id;
            for (int id : pageCase.unchosen)
                EXPECT_FALSE(Chosen(*page, id)) << "not read: " << id;
            ExpectOneBox(boxes, fault);

            if (pageCase.apply) {
                Heal(bench);
                bench.link.ClearSent();
                Click(*page, pageCase.apply);
                EXPECT_TRUE(bench.link.Writes().empty()) << "what was not read is not written";
                EXPECT_EQ(boxes.Boxes().size(), 1u) << "a write-free Apply fails nothing";
            }
        }
}

// A page that read its values shows none of them once the camera may have changed or the port
// is gone: it shows what it read only of the camera it read it from.
TEST_F(ReadFailures, ValuesOfTheLastCameraGoWhenItMayBeAnother)
{
    for (const PageCase& pageCase : PageCases()) {
        SCOPED_TRACE(pageCase.name);
        Bench bench(pageCase.model);
        bench.held.Point(bench.live);
        if (pageCase.setUp)
            pageCase.setUp(bench.camera);
        const std::unique_ptr<pages::CCmdPage> page = pageCase.make(bench.held);
        Create(*page);
        page->ShowWindow(true);
        bench.held.Point(bench.dead); // no port open
        page->ForgetCamera();
        for (int id : pageCase.disabled)
            EXPECT_FALSE(page->GetWindow(id).IsWindowEnabled()) << id;
        for (int id : pageCase.dashed)
            EXPECT_EQ(page->GetDlgItemText(id), pages::kNotReadText) << id;
        for (int id : pageCase.unchosen)
            EXPECT_FALSE(Chosen(*page, id)) << id;
    }
}

TEST_F(ReadFailures, RegisterReadAndBankCommandsShowOneBoxPerAction)
{
    for (const FaultCase& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        Bench bench(camsim::Model::RV1240DLX);
        bench.held.Point(bench.live);
        CCmd40Register reg(&bench.held.r40);
        CCmd40Mem mem(&bench.held.r40);
        Create(reg);
        Create(mem);
        MessageBoxRecorder boxes;
        boxes.Answer(true);
        Fail(bench, fault);

        reg.SetDlgItemText(IDC_40REG_ADDRESS, "20");
        reg.SetDlgItemText(IDC_40REG_DATA, "7");
        Click(reg, IDC_40REG_READ);
        EXPECT_EQ(reg.GetDlgItemText(IDC_40REG_DATA), "") << "nothing read, nothing shown";
        EXPECT_FALSE(reg.GetDlgItemText(IDC_40REG_STATUS).empty());
        ExpectOneBox(boxes, fault);

        Click(mem, IDC_40MEM_BANK1);
        for (int command : {IDC_40MEM_SAVE, IDC_40MEM_LOAD, IDC_40MEM_RESET}) {
            Click(mem, command);
            EXPECT_NE(mem.GetDlgItemText(IDC_40MEM_DONE).find("failed"), std::string::npos);
        }
        EXPECT_EQ(boxes.Boxes().size(), 4u) << "one box for each of the four actions";
    }
}

} // namespace
