// The application object owns three register maps for four models and deletes each exactly once.
#include "app/VireoApp.h"
#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "comm/ComIF.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every deletion of the program passes here, so that the test can count what was freed.
namespace {
constexpr int kWatchMax = 64;
std::atomic<bool> g_watching{false};
std::atomic<int> g_freedCount{0};
void* g_freed[kWatchMax];

void Forget(void* p) noexcept
{
    if (p && g_watching.load()) {
        const int at = g_freedCount.fetch_add(1);
        if (at < kWatchMax)
            g_freed[at] = p;
    }
    std::free(p);
}

int TimesFreed(const void* p)
{
    int times = 0;
    for (int i = 0; i < std::min(g_freedCount.load(), kWatchMax); ++i)
        times += g_freed[i] == p ? 1 : 0;
    return times;
}
} // namespace

void* operator new(std::size_t size)
{
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// The program allocates with the nothrow form; every form that ends in free() must begin in
// malloc().
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept
{
    Forget(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    Forget(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    Forget(p);
}
void operator delete[](void* p) noexcept
{
    Forget(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    Forget(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    Forget(p);
}

TEST(RegisterMaps, ThreeMapsForFourModelsEachDeletedOnce)
{
    const void* maps[3] = {};
    {
        CVireoApp app;
        app.CreateRegisterMaps();
        ASSERT_NE(app.m_pReg1240, nullptr);
        ASSERT_NE(app.m_pReg1250, nullptr);
        ASSERT_NE(app.m_pRegQM52, nullptr);
        // The common views are the same objects, not copies.
        EXPECT_EQ(app.m_pBaseReg1240, static_cast<CRVXReg*>(app.m_pReg1240));
        EXPECT_EQ(app.m_pBaseReg1250, static_cast<CRVXReg*>(app.m_pReg1250));
        EXPECT_EQ(app.m_pBaseRegQM52, static_cast<CRVXReg*>(app.m_pRegQM52));
        maps[0] = app.m_pReg1240;
        maps[1] = app.m_pReg1250;
        maps[2] = app.m_pRegQM52;
        g_watching = true;
    }
    g_watching = false;
    for (const void* map : maps)
        EXPECT_EQ(TimesFreed(map), 1);
}

TEST(RegisterMaps, AnApplicationWithoutMapsDeletesNothing)
{
    g_freedCount = 0;
    g_watching = true;
    {
        CVireoApp app;
    }
    g_watching = false;
    EXPECT_EQ(g_freedCount.load(), 0);
}
