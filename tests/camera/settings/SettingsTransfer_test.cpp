// Settings of every model saved from a simulated camera, changed, and loaded back; partial
// files; a camera that stops answering part-way.
#include "camera/RVXReg.h"
#include "camera/audit/WriteRecord.h"
#include "camera/settings/SettingCatalog.h"
#include "camera/settings/SettingsTransfer.h"
#include "tests/camera/CamsimLink.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

using testing_support::CamsimLink;

namespace {

camsim::Model SimulatedModel(CameraModel model)
{
    return *camsim::ModelFromName(CameraModelName(model));
}

// Goes silent, as an unplugged camera does, after a number of requests.
class FailingLink : public CamsimLink {
public:
    using CamsimLink::CamsimLink;
    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override
    {
        ++calls;
        if (answered >= answerLimit)
            return LINK_TIMEOUT;
        ++answered;
        return CamsimLink::SendReceive(request, reply, replySize);
    }
    std::size_t calls = 0;
    std::size_t answered = 0;
    std::size_t answerLimit = SIZE_MAX;
};

struct Rig {
    explicit Rig(CameraModel model)
        : model(model), camera(SimulatedModel(model)), link(camera),
          map(MakeRegisterMap(model, &link))
    {
    }
    CameraModel model;
    camsim::Camera camera;
    FailingLink link;
    std::unique_ptr<CRVXReg> map;
    testing_support::LogRecorder log;
};

// Another value the page could write, as far from the current one as the range allows.
int OtherValue(const SettingDef& def, int value)
{
    if (!def.allowed.empty())
        return def.allowed.front() == value ? def.allowed.back() : def.allowed.front();
    return value == def.maximum ? def.minimum : def.maximum;
}

class EveryModel : public ::testing::TestWithParam<CameraModel> {};

} // namespace

TEST_P(EveryModel, SaveChangeLoadBringsTheCameraBack)
{
    Rig rig(GetParam());
    const auto before = rig.camera.Registers();

    const SaveOutcome saved = ReadCameraSettings(rig.model, &rig.link, *rig.map, nullptr, {});
    ASSERT_TRUE(saved.Ok()) << (saved.failures.empty() ? "" : saved.failures[0].reason);
    EXPECT_EQ(saved.file.values.size(), SettingsOf(rig.model).size());
    EXPECT_EQ(saved.file.camera.model, CameraModelName(rig.model));
    // Reading leaves the camera as it was. Every named read leaves its sequence-log line (the
    // plain register reads write none): four identity texts, five on the RVQM52 models.
    EXPECT_EQ(rig.camera.Registers(), before);
    std::size_t named = IsRVQM52(rig.model) ? 5 : 4;
    for (const SettingDef& def : SettingsOf(rig.model))
        named += def.setter.rfind("SetRegister", 0) == 0 ? 0 : 1;
    EXPECT_EQ(rig.log.Seq().size(), named);

    // Through the file and back.
    SettingsFile file;
    FileProblem problem;
    ASSERT_TRUE(SettingsFromJson(SettingsToJson(saved.file), file, problem)) << problem.reason;
    EXPECT_EQ(file.values, saved.file.values);

    for (const auto& [name, value] : saved.file.values) {
        const SettingDef* def = FindSetting(rig.model, name);
        ASSERT_NE(def, nullptr);
        ASSERT_EQ(def->write(*rig.map, OtherValue(*def, value)), 0) << name;
    }
    ASSERT_NE(rig.camera.Registers(), before);

    const LoadOutcome loaded = WriteCameraSettings(file, *rig.map, {});
    EXPECT_TRUE(loaded.Ok());
    EXPECT_EQ(loaded.written.size(), file.values.size());
    EXPECT_EQ(rig.camera.Registers(), before);
}

// A write of a setting is known by its registers (the window names what a page wrote by them):
// each setter writes exactly the registers its setting lists.
TEST_P(EveryModel, EachSettingListsTheRegistersItsSetterWrites)
{
    Rig rig(GetParam());
    for (const SettingDef& def : SettingsOf(rig.model)) {
        SCOPED_TRACE(def.name);
        int value = 0;
        ASSERT_EQ(def.read(*rig.map, value), 0);
        std::vector<int> written;
        {
            const CWriteRecorder recorder(*rig.map);
            ASSERT_EQ(def.write(*rig.map, OtherValue(def, value)), 0);
            for (const RegisterWrite& write : recorder.Writes())
                written.push_back(write.address);
        }
        EXPECT_EQ(written, def.registers);
        for (int address : def.registers)
            EXPECT_EQ(SettingOfRegister(rig.model, address), &def);
    }
    EXPECT_EQ(SettingOfRegister(rig.model, 0x6E), nullptr) << "the update command is no setting";
}

INSTANTIATE_TEST_SUITE_P(Settings, EveryModel,
                         ::testing::Values(CameraModel::RV1240DLX, CameraModel::RV1250LX,
                                           CameraModel::RVQM52BM14, CameraModel::RVQM52CM14),
                         [](const auto& info) { return std::string(CameraModelName(info.param)); });

TEST(SettingsTransfer, APartialFileChangesOnlyItsValues)
{
    Rig rig(CameraModel::RVQM52CM14);
    rig.camera.Set(0x79, 0xF8); // the bits above the R gain's field stay
    auto expected = rig.camera.Registers();
    SettingsFile file;
    file.model = CameraModel::RVQM52CM14;
    file.values = {{"RGain", 0x5A5}};

    const LoadOutcome loaded = WriteCameraSettings(file, *rig.map, {});
    EXPECT_TRUE(loaded.Ok());
    EXPECT_EQ(loaded.written, std::vector<std::string>{"RGain"});
    EXPECT_EQ(rig.link.Writes(), (std::vector<std::string>{"79FD", "78A5"}));
    expected[0x79] = 0xFD;
    expected[0x78] = 0xA5;
    EXPECT_EQ(rig.camera.Registers(), expected);
}

TEST(SettingsTransfer, TheColourPageOrderModeFirstUserBeforeTheGains)
{
    SettingsFile file;
    file.model = CameraModel::RVQM52CM14;
    file.values = {{"WhiteBalanceMode", 0}, {"WbColorTemp", 255}, {"RGain", 7}, {"BGain", 9}};
    EXPECT_EQ(PlannedWrites(file),
              (std::vector<std::string>{"SetWhiteBalanceMode 0", "SetWbColorTemp 255", "SetRGain 7",
                                        "SetBGain 9"}));
    // Whatever order a file gives them in, they are written in the page's order.
    FileProblem problem;
    ASSERT_TRUE(SettingsFromJson(R"({"format": "VireoStudio camera settings", "version": 1,
        "model": "RVQM52CM14", "settings": {"BGain": 9, "RGain": 7, "WbColorTemp": 255,
        "WhiteBalanceMode": 0}})",
                                 file, problem))
        << problem.reason;
    EXPECT_EQ(PlannedWrites(file).front(), "SetWhiteBalanceMode 0");
    EXPECT_EQ(PlannedWrites(file).back(), "SetBGain 9");
}

TEST(SettingsTransfer, ACameraThatStopsAnsweringNamesWhatWasWrittenAndWhatWasNot)
{
    Rig rig(CameraModel::RV1240DLX);
    SettingsFile file;
    file.model = CameraModel::RV1240DLX;
    file.values = {
        {"OutLevelOffset", -3}, {"OutLevelGain", 9}, {"ShatterMd1", 1}, {"ShatterSpeed", 13}};
    // OutLevelOffset takes three exchanges, OutLevelGain one; then silence.
    rig.link.answerLimit = 4;

    const LoadOutcome loaded = WriteCameraSettings(file, *rig.map, {});
    EXPECT_FALSE(loaded.Ok());
    EXPECT_EQ(loaded.written, (std::vector<std::string>{"OutLevelOffset", "OutLevelGain"}));
    ASSERT_EQ(loaded.failures.size(), 1u);
    EXPECT_EQ(loaded.failures[0].name, "ShatterMd1");
    EXPECT_EQ(loaded.failures[0].reason, "no answer: the camera may have taken it");
    EXPECT_EQ(loaded.notWritten, std::vector<std::string>{"ShatterSpeed"});
    // Once the camera went silent nothing more was asked of it.
    EXPECT_EQ(rig.link.calls, 5u);
    EXPECT_EQ(JoinNames(loaded.written), "OutLevelOffset and OutLevelGain");
}

TEST(SettingsTransfer, AnUnansweredWriteEndsTheLoadWhateverTheCameraDidWithIt)
{
    // The write of ShatterMd1 (0x66) gets no answer: it reached the camera or it did not. A late
    // answer could be taken for the next request's, so nothing more is asked.
    struct UnansweredLink : CamsimLink {
        using CamsimLink::CamsimLink;
        CResult SendReceive(const char* request, char* reply, std::size_t size) override
        {
            last = request;
            if (std::string(request) != "\x02"
                                        "6603\x03")
                return CamsimLink::SendReceive(request, reply, size);
            if (reaches)
                CamsimLink::SendReceive(request, reply, size);
            return LINK_TIMEOUT;
        }
        bool reaches = false;
        std::string last;
    };
    for (const bool reaches : {true, false}) {
        SCOPED_TRACE(reaches ? "the ACK came too late" : "the request was lost");
        Rig rig(CameraModel::RV1250LX);
        rig.camera.Set(0x66, 0);
        SettingsFile file;
        file.model = CameraModel::RV1250LX;
        file.values = {{"OutLevelOffset", 5}, {"ShatterMd1", 3}, {"BitInfo", 2}};
        UnansweredLink link(rig.camera);
        link.reaches = reaches;
        const auto map = MakeRegisterMap(file.model, &link);
        const LoadOutcome loaded = WriteCameraSettings(file, *map, {});
        EXPECT_EQ(loaded.written, std::vector<std::string>{"OutLevelOffset"});
        ASSERT_EQ(loaded.failures.size(), 1u);
        EXPECT_EQ(loaded.failures[0].name, "ShatterMd1");
        EXPECT_EQ(loaded.failures[0].reason, "no answer: the camera may have taken it");
        EXPECT_EQ(loaded.notWritten, std::vector<std::string>{"BitInfo"});
        EXPECT_FALSE(loaded.After("ShatterMd1"));
        EXPECT_EQ(rig.camera.Get(0x66), reaches ? 3 : 0);
        // Nothing was sent after it.
        EXPECT_EQ(link.last, "\x02"
                             "6603\x03");
    }
}

TEST(SettingsTransfer, ARefusedWriteIsNamedAndTheOthersStillGo)
{
    Rig rig(CameraModel::RV1250LX);
    SettingsFile file;
    file.model = CameraModel::RV1250LX;
    file.values = {{"OutLevelOffset", 5}, {"ShatterMd1", 3}, {"BitInfo", 2}};
    rig.link.refuse = {"6603"};
    const LoadOutcome loaded = WriteCameraSettings(file, *rig.map, {});
    EXPECT_FALSE(loaded.Ok());
    EXPECT_EQ(loaded.written, (std::vector<std::string>{"OutLevelOffset", "BitInfo"}));
    ASSERT_EQ(loaded.failures.size(), 1u);
    EXPECT_EQ(loaded.failures[0].name, "ShatterMd1");
    EXPECT_EQ(loaded.failures[0].reason, "not written: [NAK] Recieved");
    EXPECT_TRUE(loaded.notWritten.empty());
}

TEST(SettingsTransfer, AValueThatReadsBackDifferentlyFails)
{
    Rig rig(CameraModel::RVQM52CM14);
    SettingsFile file;
    file.model = CameraModel::RVQM52CM14;
    file.values = {{"Gamma", 0}};
    rig.camera.Set(0x7D, 0x01);
    // The write of gamma off is acknowledged but never reaches the camera, which keeps it on.
    struct DroppingLink : CamsimLink {
        using CamsimLink::CamsimLink;
        CResult SendReceive(const char* request, char* reply, std::size_t size) override
        {
            if (std::string(request) == "\x02"
                                        "7D00\x03") {
                std::snprintf(reply, size, "\x06");
                return LINK_OK;
            }
            return CamsimLink::SendReceive(request, reply, size);
        }
    } dropping(rig.camera);
    const auto map = MakeRegisterMap(CameraModel::RVQM52CM14, &dropping);
    const LoadOutcome loaded = WriteCameraSettings(file, *map, {});
    EXPECT_FALSE(loaded.Ok());
    ASSERT_EQ(loaded.failures.size(), 1u);
    EXPECT_EQ(loaded.failures[0].reason, "reads back 1, not 0");
}

TEST(SettingsTransfer, SavingAValueNoPageCouldWriteFailsAndAStopIsHonoured)
{
    Rig rig(CameraModel::RVQM52BM14);
    rig.camera.Set(0x62, 10); // below the user-gain page's 50
    const SaveOutcome saved = ReadCameraSettings(rig.model, &rig.link, *rig.map, nullptr, {});
    EXPECT_FALSE(saved.Ok());
    ASSERT_EQ(saved.failures.size(), 1u);
    EXPECT_EQ(saved.failures[0].name, "OutLevelOffset");

    // Stopped after the identity and two values: the rest is named, nothing more is sent.
    Rig other(CameraModel::RVQM52BM14);
    const SaveOutcome stopped = ReadCameraSettings(
        other.model, &other.link, *other.map, nullptr,
        [](std::size_t done, std::size_t total) { return done < 3 && total == 12; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.file.values.size(), 2u);
    EXPECT_EQ(stopped.notRead.size(), 9u);
}

// All or nothing: a failed load leaves the camera with its old values wherever it still answers,
// and says of each setting how it ended.
TEST(SettingsTransfer, AFailedLoadPutsBackTheOldValues)
{
    struct Case {
        const char* name;
        std::vector<std::string> refuse; // requests the camera answers with NAK
        std::size_t answerLimit;         // answers before it falls silent
        bool rolledBack;
        bool unchanged;             // the registers end as they were
        std::size_t writes;         // requests that change a register, restores included
        std::vector<bool> restored; // per report, in the file's order
    };
    // RV1250LX: three reads before; then OutLevelOffset (a read and a write), ShatterMd1 and
    // BitInfo (one write each); then the restores.
    const Case cases[] = {
        {"all taken", {}, SIZE_MAX, false, false, 3, {}},
        {"a refused write", {"6603"}, SIZE_MAX, true, true, 6, {true, true, true}},
        {"a value that cannot be read first", {"66RQ"}, SIZE_MAX, false, true, 0, {}},
        // BitInfo's write goes unanswered: it may have been taken, so it is put back too.
        {"silent after two writes", {}, 6, true, false, 2, {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(CameraModel::RV1250LX);
        rig.link.refuse = {c.refuse.begin(), c.refuse.end()};
        rig.link.answerLimit = c.answerLimit;
        const auto before = rig.camera.Registers();
        SettingsFile file;
        file.model = CameraModel::RV1250LX;
        file.values = {{"OutLevelOffset", 5}, {"ShatterMd1", 3}, {"BitInfo", 2}};

        const LoadOutcome loaded = LoadCameraSettings(file, *rig.map, {});
        EXPECT_EQ(loaded.Ok(), !c.rolledBack && !c.unchanged);
        EXPECT_EQ(loaded.rolledBack, c.rolledBack);
        EXPECT_EQ(rig.camera.Registers() == before, c.unchanged);
        EXPECT_EQ(rig.link.Writes().size(), c.writes);
        std::vector<bool> restored;
        for (const RestoreReport& report : loaded.restore)
            restored.push_back(report.restored);
        EXPECT_EQ(restored, c.restored);
        EXPECT_EQ(loaded.FullyRestored(),
                  std::find(restored.begin(), restored.end(), false) == restored.end());
    }
}
