#pragma once

#include "shell/WindowRegistry.h"

// Each subsystem registers its own working windows and menu commands.
namespace shell {
void registerWindows(WindowRegistry &registry);
}
namespace catalog {
void registerWindows(WindowRegistry &registry);
}
namespace mailing {
void registerWindows(WindowRegistry &registry);
}
namespace inventory {
void registerWindows(WindowRegistry &registry);
}
namespace pagemap {
void registerWindows(WindowRegistry &registry);
}
namespace reports {
void registerWindows(WindowRegistry &registry);
}

// Every window and command of the client.
inline WindowRegistry clientWindows()
{
    WindowRegistry registry;
    shell::registerWindows(registry);
    catalog::registerWindows(registry);
    mailing::registerWindows(registry);
    inventory::registerWindows(registry);
    pagemap::registerWindows(registry);
    // After the page map: the reports' printing joins the page map's.
    reports::registerWindows(registry);
    return registry;
}
