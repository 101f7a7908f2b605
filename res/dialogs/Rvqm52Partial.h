// The partial-scan page's layout, shared by the monochrome and the colour RVQM52 models, which
// give it different control ids.
#pragma once

#include "platform/ui/Template.h"

namespace res {

struct PartialTemplateIds {
    int templateId;
    int vStartBar, vStartHex, vStartDec;
    int heightBar, heightHex, heightDec;
    int shutterBar, shutterHex, shutterDec;
    int bp, act, fp;
    int fps, maxHeight, exposure;
    int picture;
    int refresh, apply;
};

ui::DialogTemplate MakePartialTemplate(const PartialTemplateIds& ids);

} // namespace res
