// Copy and paste of work groups: the copy stays in the open network and
// goes with it.
#include "apps/arrowplan/main_window.h"

namespace arrowplan {

void TFrmMain::ActCopyExecute()
{
    if (network::TVYRNetwork* net = Network())
        net->CopyWorks();
}

void TFrmMain::ActPaseExecute()
{
    if (network::TVYRNetwork* net = Network())
        net->PasteWorks(net->Nodes().GetSelectedNode(), net->Works().GetSelectedWork());
}

} // namespace arrowplan
