#include "pages/rvqm52/Cmd52BShatter.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

CCmd52BShatter::CCmd52BShatter(pages::MapSlot<CRVQM52BM14Reg> map)
    : CShutterPageOf(IDD_CMD52B_SHATTER,
                     {IDC_52SHUT_REFRESH, IDC_52SHUT_APPLY, IDC_52SHUT_SPEED, IDC_52SHUT_DRAFT,
                      IDC_52SHUT_PARTIAL, IDC_52SHUT_8BIT, IDC_52SHUT_RANDOM, IDC_52SHUT_POSI,
                      IDC_52SHUT_PULSE, IDC_52SHUT_MULTIPLE, IDC_52SHUT_RESTART},
                     std::move(map))
{
}
