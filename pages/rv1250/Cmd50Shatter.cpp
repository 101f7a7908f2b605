#include "pages/rv1250/Cmd50Shatter.h"

#include "camera/RVX1250Reg.h"
#include "res/Resource.h"
#include "res/ids/Rv1250.h"

#include <utility>

namespace {
// No register map yet (before start-up made one): nothing was exchanged.
constexpr int kNoMap = -1;
} // namespace

CCmd50Shatter::CCmd50Shatter(pages::MapSlot<CRVX1250Reg> map)
    : pages::CShutterPage(IDD_CMD50_SHATTER,
                          {IDC_50SHUT_REFRESH, IDC_50SHUT_APPLY, IDC_50SHUT_SPEED, IDC_50SHUT_DRAFT,
                           IDC_50SHUT_PARTIAL, IDC_50SHUT_8BIT, IDC_50SHUT_RANDOM, IDC_50SHUT_POSI,
                           IDC_50SHUT_PULSE, IDC_50SHUT_MULTIPLE, 0},
                          map),
      m_speedMap(std::move(map))
{
}

int CCmd50Shatter::ReadShutterSpeed(std::uint16_t* speed)
{
    CRVX1250Reg* map = m_speedMap.Get();
    return map ? map->GetShutterSpeed(speed) : kNoMap;
}

int CCmd50Shatter::WriteShutterSpeed(std::uint16_t speed)
{
    CRVX1250Reg* map = m_speedMap.Get();
    return map ? map->SetShutterSpeed(speed) : kNoMap;
}
