// Which of the application's register maps a page talks to the camera through. Pages name the
// member of the application object, so a map created after the page is still found.
#pragma once

#include "app/VireoApp.h"

class CRVXReg;

namespace pages {

using BaseMapMember = CRVXReg* CVireoApp::*;

inline CRVXReg* BaseMap(BaseMapMember member)
{
    return theApp.*member;
}

} // namespace pages
