#include "tests/support/PtyCamera.h"

#include "tests/support/TestEnvironment.h"

namespace testing_support {

bool PtyCamera::Attach(CComIF& facade, int timeoutMs, std::string& failure)
{
    if (!Start(failure))
        return false;
    UseSimulatedCameraPort(facade, Path(), timeoutMs);
    return true;
}

} // namespace testing_support
