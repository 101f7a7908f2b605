#include "pages/rvqm52/Cmd52BShatter.h"

#include "camera/RVQM52BM14Reg.h"
#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

namespace {
// What the page reports when the application has no RVQM52 map; no caller looks at it.
constexpr int kNoMap = 2;
} // namespace

CCmd52BShatter::CCmd52BShatter(pages::MapSlot<CRVQM52BM14Reg> map)
    : pages::CShutterPage(IDD_CMD52B_SHATTER,
                          {IDC_52SHUT_REFRESH, IDC_52SHUT_APPLY, IDC_52SHUT_SPEED, IDC_52SHUT_DRAFT,
                           IDC_52SHUT_PARTIAL, IDC_52SHUT_8BIT, IDC_52SHUT_RANDOM, IDC_52SHUT_POSI,
                           IDC_52SHUT_PULSE, IDC_52SHUT_MULTIPLE, IDC_52SHUT_RESTART},
                          map),
      m_speedMap(std::move(map))
{
}

int CCmd52BShatter::ReadShutterSpeed(std::uint16_t* speed)
{
    CRVQM52BM14Reg* map = m_speedMap.Get();
    return map ? map->GetShutterSpeed(speed) : kNoMap;
}

int CCmd52BShatter::WriteShutterSpeed(std::uint16_t speed)
{
    CRVQM52BM14Reg* map = m_speedMap.Get();
    return map ? map->SetShutterSpeed(speed) : kNoMap;
}
