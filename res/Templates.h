// The program's templates, each defined in its own file under res/.
#pragma once

#include "platform/ui/Template.h"

#include <vector>

namespace res {

const ui::DialogTemplate& AboutTemplate();
const ui::DialogTemplate& MainFormTemplate();
const ui::DialogTemplate& LogSeqTemplate();
const ui::DialogTemplate& CommSetupTemplate();
const ui::DialogTemplate& LogTemplate();
const ui::DialogTemplate& LogCommTemplate();
const ui::MenuTemplate& MainMenuTemplate();

// Setting pages, one list per model set.
std::vector<const ui::DialogTemplate*> Rv1240PageTemplates();
std::vector<const ui::DialogTemplate*> Rv1250PageTemplates();
std::vector<const ui::DialogTemplate*> Rvqm52PageTemplates();
std::vector<const ui::DialogTemplate*> Rvqm52ColorPageTemplates();

} // namespace res
