#include "pages/rv1250/Cmd50Shatter.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

#include <utility>

CCmd50Shatter::CCmd50Shatter(pages::MapSlot<CRVX1250Reg> map)
    : CShutterPageOf(IDD_CMD50_SHATTER,
                     {IDC_50SHUT_REFRESH, IDC_50SHUT_APPLY, IDC_50SHUT_SPEED, IDC_50SHUT_DRAFT,
                      IDC_50SHUT_PARTIAL, IDC_50SHUT_8BIT, IDC_50SHUT_RANDOM, IDC_50SHUT_POSI,
                      IDC_50SHUT_PULSE, IDC_50SHUT_MULTIPLE, 0},
                     std::move(map))
{
}
