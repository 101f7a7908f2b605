#include "tools/vireoctl/Fleet.h"

#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "platform/files/SystemCalls.h"
#include "platform/log/LogWriter.h"
#include "tools/vireoctl/IdentityGuard.h"
#include "tools/vireoctl/Interrupt.h"
#include "tools/vireoctl/Progress.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace vireoctl {
namespace {

struct Camera {
    Target target;
    std::unique_ptr<CComIF> com; // this camera's own port objects
    JobResult result;
    bool open = false;
};

void RunOne(const Options& options, Camera& camera, const CameraJob& job, ProgressLines& progress,
            std::size_t line, bool prefixed)
{
    // An ending signal caught by the command stops the work between two steps.
    const TransferProgress report = [&progress, line](std::size_t done, std::size_t total) {
        progress.Update(line, done, total);
        return InterruptSignal() == 0;
    };
    const std::string label = camera.result.label;
    const std::string port = camera.result.port;
    const CancelOnSignal cancellable(*camera.com);
    camera.com->TakeNotice();
    std::optional<AcceptedReplacement> accepted;
    const auto refused =
        options.checkBeforeWrite
            ? CheckBeforeWrite(options, camera.target, *camera.com, prefixed, accepted)
            : std::nullopt;
    if (refused) {
        camera.result.errors.push_back(*refused);
        camera.result.status = kExitFailed;
    } else {
        camera.result = job(*camera.com, report);
        // The inventory names the new camera only once the change it was let in for is made.
        if (accepted)
            if (const auto failed = SettleReplacement(*accepted, camera.result.status == kExitOk)) {
                camera.result.errors.push_back(*failed);
                camera.result.status = kExitFailed;
            }
    }
    camera.result.label = label;
    camera.result.port = port;
    NoticeLine(camera.com->TakeNotice());
    progress.Finish(line, camera.result.status == kExitOk);
}

} // namespace

std::string JobResult::Reason() const
{
    std::string reason;
    for (const Error& error : errors)
        reason += (reason.empty() ? "" : "; ") + error.reason;
    return reason;
}

std::vector<JobResult> RunOnTargets(const Options& options, bool showProgress, const CameraJob& job,
                                    const ResultShown& shown)
{
    std::vector<Target> targets = options.targets;
    if (targets.empty())
        targets.push_back({});
    const bool several = targets.size() > 1;

    std::vector<Camera> cameras(targets.size());
    std::vector<std::string> labels;
    const auto open = [&options](Camera& camera) {
        std::string problem;
        camera.open = OpenTarget(options, camera.target, *camera.com, problem);
        if (!camera.open)
            camera.result.Fail(problem);
        // The stored port: named as the settings name it.
        if (camera.result.port.empty())
            camera.result.port = camera.com->m_Settings.PortName;
    };
    for (std::size_t i = 0; i < targets.size(); ++i) {
        Camera& camera = cameras[i];
        camera.target = targets[i];
        camera.com = std::make_unique<CComIF>();
        camera.result.label = targets[i].Label();
        camera.result.port = targets[i].PortLabel();
        labels.push_back(camera.result.label.empty() ? "stored port" : camera.result.label);
        // A grabber's library is loaded and opened from one thread; serial and network ports
        // are opened by their cameras' threads, each within its own time-out.
        if (!several || camera.target.clIndex)
            open(camera);
    }

    {
        ProgressLines progress(labels, showProgress && !options.log && files::IsTerminal(2));
        if (!several) {
            if (cameras[0].open)
                RunOne(options, cameras[0], job, progress, 0, false);
            else
                progress.Finish(0, false);
            if (shown)
                shown(cameras[0].result);
        } else {
            std::mutex doneMutex;
            std::condition_variable doneChanged;
            std::vector<bool> done(cameras.size(), false);
            std::vector<std::thread> threads;
            for (std::size_t i = 0; i < cameras.size(); ++i) {
                threads.emplace_back([&, i] {
                    Camera& camera = cameras[i];
                    SetLinePrefix(camera.result.label + ": ", true);
                    if (!camera.open && !camera.target.clIndex)
                        open(camera);
                    if (camera.open)
                        RunOne(options, camera, job, progress, i, true);
                    else
                        progress.Finish(i, false);
                    {
                        std::lock_guard lock(doneMutex);
                        done[i] = true;
                    }
                    doneChanged.notify_all();
                });
            }
            // Each result is shown once it and all before it are known: a camera that takes
            // its whole time-out holds back only the lines after its own.
            for (std::size_t next = 0; shown && next < cameras.size(); ++next) {
                {
                    std::unique_lock lock(doneMutex);
                    doneChanged.wait(lock, [&] { return done[next]; });
                }
                shown(cameras[next].result);
            }
            for (std::thread& thread : threads)
                thread.join();
        }
    }

    std::vector<JobResult> results;
    for (Camera& camera : cameras) {
        if (camera.open)
            camera.com->Close();
        results.push_back(std::move(camera.result));
    }
    // Records of closing and of the program's exit are not part of the command's output.
    g_pLogDlg.store(nullptr);
    for (Camera& camera : cameras)
        camera.com.reset();
    return results;
}

int PrintResultLines(const Options& options, const std::vector<JobResult>& results)
{
    int status = kExitOk;
    for (const JobResult& result : results) {
        if (options.targets.size() <= 1) {
            std::fputs(result.out.c_str(), stdout);
            FlushOutput();
            for (const JobResult::Error& error : result.errors)
                ErrorLine(error.line);
        } else if (result.status == kExitOk) {
            std::printf("%s\tok%s\n", result.label.c_str(), result.okText.c_str());
        } else {
            std::printf("%s\tfailed: %s\n", result.label.c_str(), result.Reason().c_str());
        }
        if (result.status != kExitOk)
            status = kExitFailed;
    }
    FlushOutput();
    return status;
}

void PrintBlock(const JobResult& result)
{
    std::printf("[%s]\n%s", result.label.c_str(), result.out.c_str());
    if (!result.errors.empty())
        std::printf("failed: %s\n", result.Reason().c_str());
    FlushOutput();
}

int BlocksStatus(const std::vector<JobResult>& results)
{
    int status = kExitOk;
    bool failed = false;
    for (const JobResult& result : results) {
        if (result.status == kExitFailed || result.status == kExitUsage)
            failed = true;
        status = std::max(status, result.status);
    }
    return failed ? kExitFailed : status;
}

int PrintBlocks(const Options& options, const std::vector<JobResult>& results)
{
    if (options.targets.size() <= 1) {
        PrintResultLines(options, results);
        return results.front().status;
    }
    for (const JobResult& result : results)
        PrintBlock(result);
    return BlocksStatus(results);
}

int RunStatus(const std::vector<JobResult>& results)
{
    int status = kExitOk;
    for (const JobResult& result : results) {
        if (result.status == kExitFailed || result.status == kExitUsage)
            return kExitFailed;
        status = std::max(status, result.status);
    }
    return status;
}

OrderedJson CameraJson(const JobResult& result, const char* okWord)
{
    OrderedJson camera = OrderedJson::object();
    camera["name"] = result.label.empty() ? result.port : result.label;
    camera["port"] = result.port;
    camera["result"] = result.status == kExitOk        ? okWord
                       : result.status == kExitDiffers ? "differs"
                                                       : "failed";
    if (!result.errors.empty())
        camera["reason"] = result.Reason();
    camera.update(result.facts);
    return camera;
}

void PrintJsonDocument(const Options& options, OrderedJson cameras)
{
    OrderedJson document = OrderedJson::object();
    document["command"] = options.args.front();
    document["version"] = VIREO_VERSION;
    document["cameras"] = std::move(cameras);
    std::fputs((JsonText(document, 2) + "\n").c_str(), stdout);
    FlushOutput();
}

int PrintJson(const Options& options, const std::vector<JobResult>& results, const char* okWord)
{
    OrderedJson cameras = OrderedJson::array();
    for (const JobResult& result : results)
        cameras.push_back(CameraJson(result, okWord));
    PrintJsonDocument(options, std::move(cameras));
    return RunStatus(results);
}

} // namespace vireoctl
